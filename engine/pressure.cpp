// Saturation pressure of water vapour (Hyland–Wexler), as the ψ-known mode uses it.
#include "pressure.h"

#include <cmath>

#include "pressure_coefficients.h"

// The wet-bulb search compares against a tolerance, so reassociated or
// contracted arithmetic could move its result by a grid step.
#if defined(__FAST_MATH__)
#error "the engine must not be compiled with -ffast-math"
#endif

namespace {

constexpr const double* C = kPressureC;

}  // namespace

double Pressure(double t)
{
    const double T = t + kCelsiusToKelvin;  // absolute temperature, K
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
