// The screening kernel of the wet-bulb search, written once for every vector
// width; included only by the wetbulb_screen_<set>.cpp files.
#pragma once

// Everything here has internal linkage and uses no library templates: each
// file that includes it is compiled for another unit, and the linker must
// never pick one file's copy of a function for another.
#include "pressure_coefficients.h"
#include "wetbulb_screen.h"

namespace {

// Set describes one instruction set: the vector type Vec of Set::kLanes
// doubles, Set::kVectors vectors a call, load/store/splat, SLEEF's log
// (3.5 ULP) and exp (1.0 ULP), and atLeast(a, b), the mask of lanes with
// a >= b (false for NaN).
template <class Set>
std::uint32_t ScreenGridValues(const ScreenInput& in, const double* ts, double* p)
{
    using Vec = typename Set::Vec;
    constexpr const double* C = kPressureC;
    constexpr int kVectors = Set::kVectors;
    static_assert(Set::kLanes * kVectors == kBlockLanes);
    // In phases over all the vectors, so that the library calls of one vector
    // overlap with those of the others.
    Vec x[kVectors], T[kVectors], lnT[kVectors];
    for (int v = 0; v < kVectors; ++v) {
        x[v] = Set::load(ts + v * Set::kLanes);
        T[v] = x[v] + Set::splat(kCelsiusToKelvin);
        lnT[v] = Set::log(T[v]);
    }
    // Pressure(x) in its operations and their order; only log and exp are
    // SLEEF's instead of glibc's.
    Vec pressure[kVectors];
    for (int v = 0; v < kVectors; ++v) {
        const Vec K = T[v];
        Vec lnp;
        if (in.ice) {
            lnp = C[1] / K + C[2] + C[3] * K + C[4] * (K * K) + C[5] * (K * K * K)
                  + C[6] * (K * K * K * K) + C[7] * lnT[v];
        } else {
            lnp = C[8] / K + C[9] + C[10] * K + C[11] * (K * K) + C[12] * (K * K * K)
                  + C[13] * lnT[v];
        }
        pressure[v] = Set::exp(lnp);
    }
    // The target as SearchWetBulb computes it. The mismatch 1 − target/p is at
    // least 1 − keep exactly where target <= p·keep: no division needed.
    const Vec A = Set::splat(in.A);
    const Vec B = Set::splat(in.B);
    const Vec t = Set::splat(in.t);
    const Vec Pq = Set::splat(in.Pq);
    const Vec keep = Set::splat(in.keep);
    const Vec zero = Set::splat(0.0);
    std::uint32_t mask = 0;
    for (int v = 0; v < kVectors; ++v) {
        Set::store(p + v * Set::kLanes, pressure[v]);
        const Vec target = Pq + ((A * (t - x[v])) * B);
        const std::uint32_t sure =
            Set::atLeast(pressure[v] * keep, target) & Set::atLeast(target, zero);
        mask |= sure << (v * Set::kLanes);
    }
    return mask;
}

}  // namespace
