// Saturation pressure of water vapour (Hyland–Wexler), as the ψ-known mode uses it.
#include "pressure.h"

#include <cmath>

// The wet-bulb search compares against a tolerance, so reassociated or
// contracted arithmetic could move its result by a grid step.
#if defined(__FAST_MATH__)
#error "the engine must not be compiled with -ffast-math"
#endif

namespace {

// C[1]..C[7]: the set over ice; C[8]..C[13]: the set over water. C[0] is unused
// so that the indices read as the published coefficient numbers.
// The small coefficients are written as mantissa times a power of ten, the
// way the published table gives them.
constexpr double C[14] = {
    0.0,
    -5674.5359,           // C1  · 1/T
    6.3925247,            // C2  · 1
    -0.009677843,         // C3  · T
    0.62215701 * 1e-6,    // C4  · T²
    0.20747825 * 1e-8,    // C5  · T³
    -0.9484024 * 1e-12,   // C6  · T⁴
    4.1635019,            // C7  · ln T
    -5800.2206,           // C8  · 1/T
    1.3914993,            // C9  · 1
    -0.048640239,         // C10 · T
    0.41764768 * 1e-4,    // C11 · T²
    -0.14452093 * 1e-7,   // C12 · T³
    6.5459673,            // C13 · ln T
};

}  // namespace

double Pressure(double t)
{
    const double T = t + 273.15;  // absolute temperature, K
    double lnp;
    // Summed left to right in the order of the published formula: the wet-bulb
    // search compares against a tolerance, so a different summation order could
    // move its result by a grid step.
    if (t < 0) {
        lnp = C[1] / T + C[2] + C[3] * T + C[4] * (T * T) + C[5] * (T * T * T)
              + C[6] * (T * T * T * T) + C[7] * std::log(T);
    } else {
        lnp = C[8] / T + C[9] + C[10] * T + C[11] * (T * T) + C[12] * (T * T * T)
              + C[13] * std::log(T);
    }
    return std::exp(lnp);
}
