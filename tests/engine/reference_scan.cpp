// The reference wet-bulb scan and the random search inputs.
#include "reference_scan.h"

#include <cmath>
#include <iterator>

#include "physics.h"
#include "pressure.h"

WetBulbSearch ReferenceSearchWetBulb(double B, double upsilon, double t, double Pq)
{
    // A depends on υ alone: the same value at every step.
    const double A = PsychrometerCoefficient(upsilon);
    double ts = t - kSearchStartOffset;
    for (long steps = 0;; ++steps) {
        const double p = Pressure(ts);
        const double target = Pq + ((A * (t - ts)) * B);
        // |p − target| / p, with p > 0 here, equals |(p − target) / p| exactly:
        // one division serves the tolerance test and the give-up test.
        const double mismatch = (p - target) / p;
        if (!std::isfinite(mismatch))
            return {false, ts, steps};
        if (!(std::fabs(mismatch) >= kSearchTolerance))
            return {true, ts, steps};
        if (mismatch <= -kSearchTolerance || steps >= kMaxSearchSteps)
            return {false, ts, steps};
        ts = ts - kSearchStep;
    }
}

double SearchInputGenerator::uniform(double low, double high)
{
    // splitmix64
    m_state += 0x9E3779B97F4A7C15ull;
    std::uint64_t z = m_state;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    return low + (high - low) * (static_cast<double>(z >> 11) * 0x1.0p-53);
}

double SearchInputGenerator::logUniform(double low, double high)
{
    return std::exp(uniform(std::log(low), std::log(high)));
}

SearchInputs SearchInputGenerator::next()
{
    // Where the search's end is placed on purpose: the switch of sets at
    // 0 °C, the edges of binades (where the grid's rounding changes), the
    // ends of the published range and of the range the exact search skips in.
    static const double kCrossings[] = {0,    0.125, -0.125, 0.25,  -0.25, 0.5, -0.5, 1,   -1,   2,    -2,
                                        4,    -4,    8,      -8,    16,    -16, 32,   -32, 64,   -64,  128,
                                        -128, 256,   -256,   512,   -100,  200, 800,  -263};
    for (;;) {
        double t = uniform(-30, 60);
        double psi = uniform(0, 100);
        double upsilon = uniform(0.1, 20);
        double B = uniform(50000, 120000);
        const double region = uniform(0, 100);
        if (region < 25) {
            // everyday air, as drawn
        } else if (region < 37) {
            t = uniform(-40, 100);
            psi = uniform(95, 105);
        } else if (region < 49) {
            t = uniform(-100, 5);
        } else if (region < 55) {
            t = uniform(60, 230);
            B = logUniform(1000, 1e7);
        } else if (region < 63) {
            t = uniform(-1, 1);
            psi = uniform(0, 105);
        } else if (region < 73) {
            upsilon = logUniform(1e-6, 1e6);
            B = logUniform(1, 1e12);
            psi = uniform(0, 105);
        } else if (region < 88) {
            // The wet bulb within 0.02 K of a crossing: the psychrometer
            // equation made to hold there, by the B that fits.
            const double ts = kCrossings[static_cast<int>(uniform(0, std::size(kCrossings) - 0.5))]
                              + uniform(-0.02, 0.02);
            t = ts + (uniform(0, 1) < 0.5 ? uniform(0.1, 1) : logUniform(0.1, 300));
            const double A = PsychrometerCoefficient(upsilon);
            const double saturated = Pressure(ts);
            const double share = uniform(0, 1);
            const double Pq = saturated * (1 - share);
            B = share * saturated / (A * (t - ts));
            if (std::isfinite(Pq) && std::isfinite(B) && B > Pq && B > 0)
                return {B, upsilon, t, Pq};
            continue;
        } else if (region < 94) {
            // Anything the arithmetic can hold.
            t = uniform(-273.1, 900);
            psi = logUniform(1e-320, 100.5);
            B = logUniform(1e-300, 1e300);
            upsilon = logUniform(1e-300, 1e300);
        } else if (region < 99.99) {
            psi = 0;
        } else {
            t = uniform(0, 1) < 0.5 ? uniform(-273.1, -100) : logUniform(230, 1e6);
            B = logUniform(1e-10, 1e300);
            upsilon = logUniform(1e-6, 1e300);
        }
        const double Pq = Pressure(t) * (psi / 100);
        if (std::isfinite(Pq) && B > Pq)
            return {B, upsilon, t, Pq};
    }
}
