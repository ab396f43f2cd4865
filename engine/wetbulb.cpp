// The wet-bulb search of the ψ-known mode.
#include "wetbulb.h"

#include <bit>
#include <cmath>

#include "physics.h"
#include "pressure.h"
#include "wetbulb_grid.h"
#include "wetbulb_screen.h"

namespace {

enum class Verdict { StepOn, Found, GiveUp };

// One step of the scan at grid value ts, the steps-th: the only place where a
// grid value is decided, by Pressure() itself.
Verdict decide(double A, double B, double t, double Pq, double ts, long steps)
{
    const double p = Pressure(ts);
    const double target = Pq + ((A * (t - ts)) * B);
    // |p − target| / p, with p > 0 here, equals |(p − target) / p| exactly:
    // one division serves the tolerance test and the give-up test.
    const double mismatch = (p - target) / p;
    if (!std::isfinite(mismatch))
        return Verdict::GiveUp;
    if (!(std::fabs(mismatch) >= kSearchTolerance))
        return Verdict::Found;
    if (mismatch <= -kSearchTolerance || steps >= kMaxSearchSteps)
        return Verdict::GiveUp;
    return Verdict::StepOn;
}

// Whether a block of kBlockLanes grid values from ts down lies inside
// the screen's range and on one side of 0 °C. Conservative by a few dozen grid
// values at the edges, which then go to Pressure().
constexpr double kBlockSpan = 0.2;  // K, more than a block spans
static_assert(kBlockLanes * kSearchStep < kBlockSpan);

bool screenable(double ts)
{
    return (ts <= kScreenHighest && ts >= kScreenLowest + kBlockSpan) && (ts < 0 || ts >= kBlockSpan);
}

}  // namespace

WetBulbSearch SearchWetBulb(double B, double upsilon, double t, double Pq)
{
    return SearchWetBulbWith(ScreenKernelFor(ActiveScanPath()), kScreenMargin, B, upsilon, t, Pq);
}

WetBulbSearch SearchWetBulbWith(const ScreenKernel* kernel, double margin, double B,
                                double upsilon, double t, double Pq)
{
    // A depends on υ alone: the same value at every step.
    const double A = PsychrometerCoefficient(upsilon);
    ScreenInput in{A, B, t, Pq, 1 - (kSearchTolerance + margin), false};
    GridBlock grid;
    double values[kBlockLanes];
    double pressures[kBlockLanes];

    double ts = t - kSearchStartOffset;
    long steps = 0;
    for (;;) {
        // Let the screen pass as many grid values as it can be sure of; the
        // block must end before the step bound, which Pressure() decides.
        if (kernel != nullptr && steps + kBlockLanes <= kMaxSearchSteps && screenable(ts)) {
            grid.fill(ts, values);
            in.ice = ts < 0;
            const std::uint32_t sure = kernel->screen(in, values, pressures);
            const int passed = std::countr_one(sure);
            if (passed == kBlockLanes) {
                ts = values[kBlockLanes - 1] - kSearchStep;
                steps += kBlockLanes;
                continue;
            }
            ts = values[passed];
            steps += passed;
        }
        const Verdict verdict = decide(A, B, t, Pq, ts, steps);
        if (verdict != Verdict::StepOn)
            return {verdict == Verdict::Found, ts, steps};
        ts = ts - kSearchStep;
        ++steps;
    }
}
