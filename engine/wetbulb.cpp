// The wet-bulb search of the ψ-known mode.
#include "wetbulb.h"

#include <cmath>

#include "physics.h"
#include "pressure.h"

WetBulbSearch SearchWetBulb(double B, double upsilon, double t, double Pq)
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
