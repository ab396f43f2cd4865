// The wet-bulb search of the ψ-known mode: the plain scan, and the exact search that skips ahead.
#include "wetbulb.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "physics.h"
#include "pressure.h"
#include "pressure_coefficients.h"
#include "wetbulb_grid.h"

// Why grid values may be skipped without evaluating them. Write r(ts) for the
// mismatch (p − target)/p, p = Pressure(ts), target = Pq + A·(t − ts)·B, in
// exact arithmetic on the doubles A, B, t, Pq and ts that the scan uses.
//   1. Where Pressure() rises with temperature, r strictly falls as ts falls:
//      p falls, and target rises (A·B > 0, Pq >= 0, t − ts >= 0.1 > 0). d ln P/dT
//      is at least 0.0022 /K on the water set up to 800 °C and 0.082 /K on the
//      ice set down to −263 °C, and P steps upwards at 0 °C; so for grid values
//      in [kExactLowest, kExactHighest] and finite, positive A and B, finite
//      Pq >= 0, r(g₀) > r(g₁) > r(g₂) > … along the grid.
//   2. The computed mismatch m differs from r by less than ε_m ≈ 2·10⁻¹²
//      down to −263 °C and 3·10⁻¹⁴ from −100 °C up, wherever m is near the
//      tolerance (measured against 80-bit long double on 4 million grid
//      values: 1.55·10⁻¹² and 2.02·10⁻¹⁴ at worst). Most of it is ln p, a sum
//      of terms up to 570 at 10 K, with glibc's log and exp each within 1 ulp;
//      target carries four roundings.
//   3. So a grid value j whose computed m is at least kSearchTolerance + M,
//      M = kExactSearchMargin = 10⁻¹⁰ > 2·ε_m (25 times over), proves r(i) > r(j) >= tol + M − ε_m
//      for every i < j, hence m(i) > tol + M − 2·ε_m > tol: the plain scan steps
//      on at every grid value up to j (finite, not within the tolerance, not
//      at or below −tol), if j is below kMaxSearchSteps.
// The search below finds such a j near the end (Newton's method on the
// equation (1 − tol)·P(ts) = target gives a guess, galloping and bisection on
// grid indices make it sure), then lets the plain scan's own step decide
// from j + 1 on: the deciding grid value is never inferred. Outside the
// conditions of step 1 it runs the plain scan. Another Pressure(), another
// libm, fused multiply-adds or fast-math each void step 2 and must be
// measured again (tests/engine compares 600,000 inputs with the plain scan).

namespace {

// The range of grid values on which the proof holds.
constexpr double kExactLowest = -263;  // °C
constexpr double kExactHighest = 800;  // °C

enum class Verdict { StepOn, Found, GiveUp };

// The mismatch at grid value ts, exactly as the plain scan computes it.
double mismatchAt(double A, double B, double t, double Pq, double ts)
{
    const double p = Pressure(ts);
    const double target = Pq + ((A * (t - ts)) * B);
    // |p − target| / p, with p > 0 here, equals |(p − target) / p| exactly:
    // one division serves the tolerance test and the give-up test.
    return (p - target) / p;
}

// One step of the plain scan at grid value ts, the steps-th, from its
// mismatch: the only place where the result is decided.
Verdict decide(double mismatch, long steps)
{
    if (!std::isfinite(mismatch))
        return Verdict::GiveUp;
    if (!(std::fabs(mismatch) >= kSearchTolerance))
        return Verdict::Found;
    if (mismatch <= -kSearchTolerance || steps >= kMaxSearchSteps)
        return Verdict::GiveUp;
    return Verdict::StepOn;
}

// d ln P / dT at t, 1/K: for the Newton guess only, never for a decision.
double pressureLogSlope(double t)
{
    const double* C = kPressureC;
    const double T = t + kCelsiusToKelvin;
    if (t < 0)
        return -C[1] / (T * T) + C[3] + 2 * C[4] * T + 3 * C[5] * T * T + 4 * C[6] * T * T * T + C[7] / T;
    return -C[8] / (T * T) + C[10] + 2 * C[11] * T + 3 * C[12] * T * T + C[13] / T;
}

// Where the mismatch falls to the tolerance, (1 − tol)·P(x) = Pq + A·(t − x)·B,
// by Newton's method from the first grid value down: the last grid index
// above it. The left side is convex and rising, so the iterates fall towards
// the root. −1 when the first grid value is already at or past it, or the
// method fails.
long guessStopIndex(double A, double B, double t, double Pq, double start)
{
    const double keep = 1 - kSearchTolerance;
    double x = start;
    for (int iteration = 0; iteration < 50; ++iteration) {
        const double p = Pressure(x);
        const double f = keep * p - (Pq + A * (t - x) * B);
        const double slope = keep * p * pressureLogSlope(x) + A * B;
        if (!std::isfinite(f) || !std::isfinite(slope) || slope <= 0)
            return -1;
        if (iteration == 0 && f <= 0)
            return -1;
        double next = x - f / slope;
        if (!(next >= kExactLowest))
            next = kExactLowest;
        const double moved = std::fabs(next - x);
        x = next;
        // Newton's error after a step is of the order of the step squared.
        if (moved < 10 * kSearchStep)
            break;
    }
    const double index = std::floor((start - x) / kSearchStep);
    return index >= 0 && index < kMaxSearchSteps ? static_cast<long>(index) : -1;
}

// The plain scan from grid value ts, the steps-th.
WetBulbSearch scanFrom(double A, double B, double t, double Pq, double ts, long steps)
{
    for (;;) {
        const Verdict verdict = decide(mismatchAt(A, B, t, Pq, ts), steps);
        if (verdict != Verdict::StepOn)
            return {verdict == Verdict::Found, ts, steps};
        ts = ts - kSearchStep;
        ++steps;
    }
}

// Grid indices known to step on (lo and all below) and the first one not
// proven (hi), with the grid value at lo to count from.
class Bracket {
public:
    // Indices from `cap` on are never probed.
    Bracket(double A, double B, double t, double Pq, double start, double margin, long cap)
        : m_A(A), m_B(B), m_t(t), m_Pq(Pq), m_start(start), m_goesOn(kSearchTolerance + margin), m_cap(cap), m_hi(cap)
    {
    }

    long lo() const { return m_lo; }
    long hi() const { return m_hi; }
    // The mismatch at `steps`, from the probe that failed there if one did:
    // the same double the plain scan computes.
    double scanMismatch(long steps, double ts) const
    {
        return steps == m_hi && m_hiProbed ? m_hiMismatch : mismatchAt(m_A, m_B, m_t, m_Pq, ts);
    }
    double valueAfterLo() const { return m_lo >= 0 ? GridValueAfter(m_loValue, 1) : m_start; }

    // Evaluates index k, lo < k < hi; true when it proves the scan steps on there.
    bool probe(long k)
    {
        const double value = GridValueAfter(base(), k - std::max(m_lo, 0L));
        const double mismatch = mismatchAt(m_A, m_B, m_t, m_Pq, value);
        if (std::isfinite(mismatch) && mismatch >= m_goesOn) {
            m_lo = k;
            m_loValue = value;
            return true;
        }
        m_hi = k;
        m_hiProbed = true;
        m_hiMismatch = mismatch;
        return false;
    }
    // The plain scan stepped on at every index up to k; a failed probe at or
    // below k no longer bounds the search.
    void stepped(long k, double value)
    {
        m_lo = k;
        m_loValue = value;
        if (m_hi <= k) {
            m_hi = std::max(m_cap, k + 1);
            m_hiProbed = false;
        }
    }

private:
    double base() const { return m_lo >= 0 ? m_loValue : m_start; }

    double m_A, m_B, m_t, m_Pq, m_start, m_goesOn;
    long m_cap;
    long m_lo = -1;
    double m_loValue = 0;
    long m_hi;
    bool m_hiProbed = false;
    double m_hiMismatch = 0;
};

}  // namespace

bool PlainScanChosen()
{
    static const bool plain = [] {
        const char* asked = std::getenv("NIMBARA_SCAN");
        return asked != nullptr && std::strcmp(asked, "scalar") == 0;
    }();
    return plain;
}

WetBulbSearch ScanWetBulb(double B, double upsilon, double t, double Pq)
{
    return scanFrom(PsychrometerCoefficient(upsilon), B, t, Pq, t - kSearchStartOffset, 0);
}

WetBulbSearch SearchWetBulb(double B, double upsilon, double t, double Pq)
{
    return PlainScanChosen() ? ScanWetBulb(B, upsilon, t, Pq)
                             : SearchWetBulbWithMargin(kExactSearchMargin, B, upsilon, t, Pq);
}

WetBulbSearch SearchWetBulbWithMargin(double margin, double B, double upsilon, double t, double Pq)
{
    // A depends on υ alone: the same value at every step.
    const double A = PsychrometerCoefficient(upsilon);
    const double start = t - kSearchStartOffset;
    const bool provable = std::isfinite(A) && A > 0 && std::isfinite(B) && B > 0 && std::isfinite(Pq)
                          && Pq >= 0 && std::isfinite(t) && start <= kExactHighest && start >= kExactLowest;
    if (!provable)
        return scanFrom(A, B, t, Pq, start, 0);

    // Probes stay on grid values the proof covers and below the step bound.
    const long lastProvable = static_cast<long>(std::floor((start - kExactLowest) / kSearchStep)) - 1;
    Bracket bracket(A, B, t, Pq, start, margin, std::min(kMaxSearchSteps, std::max(lastProvable, 0L)));
    // Up from the highest proven index, doubling the jump until one is not
    // proven, then halving the gap.
    const auto narrow = [&] {
        for (long jump = 1; bracket.lo() + jump < bracket.hi(); jump *= 2) {
            if (!bracket.probe(bracket.lo() + jump))
                break;
        }
        while (bracket.hi() - bracket.lo() > 2)
            bracket.probe(bracket.lo() + (bracket.hi() - bracket.lo()) / 2);
    };

    // Usually the guess's next index is not proven and the guess itself is;
    // the plain scan then decides the next index from the mismatch already
    // computed there.
    const long guess = guessStopIndex(A, B, t, Pq, start);
    if (guess >= 0 && guess + 1 < bracket.hi()) {
        if (bracket.probe(guess + 1)) {
            narrow();
        } else if (!bracket.probe(guess)) {
            for (long jump = 1; guess - jump > bracket.lo(); jump *= 2) {
                if (bracket.probe(guess - jump))
                    break;
            }
            narrow();
        }
    }
    // The plain scan from the first index not proven; a guess that fell short
    // shows as a scan that goes on, which is proven further the same way.
    for (;;) {
        double ts = bracket.valueAfterLo();
        long steps = bracket.lo() + 1;
        for (int n = 0; n < 4; ++n, ts = ts - kSearchStep, ++steps) {
            const Verdict verdict = decide(bracket.scanMismatch(steps, ts), steps);
            if (verdict != Verdict::StepOn)
                return {verdict == Verdict::Found, ts, steps};
            bracket.stepped(steps, ts);
        }
        narrow();
    }
}
