// The vector screening of the wet-bulb search: the saturation pressure and the
// mismatch of several consecutive grid values at once, in SIMD lanes.
#pragma once

#include <cstdint>

#include "wetbulb_grid.h"

// The unit that screens the grid values. Scalar screens nothing: every grid
// value is decided by Pressure() alone, as the plain scan does.
enum class ScanPath { Scalar, Sse2, Avx2, Avx512 };

// What a kernel needs of one search; A, B, t and Pq as in SearchWetBulb.
struct ScreenInput {
    double A;       // psychrometer coefficient, 1/K
    double B;       // barometric pressure, Pa
    double t;       // dry bulb, °C
    double Pq;      // vapour pressure, Pa
    double keep;    // 1 − (kSearchTolerance + margin): see kScreenMargin
    bool ice;       // every lane below 0 °C; otherwise every lane at or above 0 °C
};

// One instruction set's kernel. screen() evaluates the saturation pressures pv
// of the kBlockLanes grid values ts[k] into p[k] and returns a bit mask: bit k
// is set when grid value ts[k] certainly steps on, that is when its target g
// satisfies 0 <= g <= pv·keep (the mismatch 1 − g/pv is then at least
// 1 − keep, and at most 1). Every other lane must be decided by Pressure().
struct ScreenKernel {
    ScanPath path;
    std::uint32_t (*screen)(const ScreenInput& in, const double* ts, double* p);
};

// The lanes are screened only inside the published range of the formulation,
// where the error bound below is derived; grid values outside it are decided
// by Pressure() alone.
inline constexpr double kScreenLowest = -100;  // °C
inline constexpr double kScreenHighest = 200;  // °C

// How far above kSearchTolerance the mismatch of the vector pressure must lie
// for the screen to let that grid value step on without asking Pressure().
//
// Why that is safe. Both ways compute T, every term before the logarithm and
// the target g in the same double operations in the same order, so those are
// the same doubles. They differ only in ln T (glibc's log or SLEEF's) and in
// exp. With ε = 2⁻⁵³, for a grid value in [kScreenLowest, kScreenHighest]:
//   1. T lies in [173.15, 473.15] K, ln T in [5.15, 6.16] ⊂ [4, 8), where one
//      ulp is 2⁻⁵⁰. glibc's log is within 1 ulp (its published table for
//      x86-64), SLEEF's u35 log within 3.5 ulp (documented): the two differ by
//      at most 4.5·2⁻⁵⁰.
//   2. y = C·ln T, |C| <= 6.546 (C7 or C13), |y| < 64 (ulp 2⁻⁴⁷): the two
//      products differ by at most 6.546·4.5·2⁻⁵⁰ + 2⁻⁴⁷ < 3.34e−14 (the
//      difference of the inputs, plus half an ulp of rounding each).
//   3. ln p = S + y with the same partial sum S; |ln p| < 16 in the range (−6.6
//      at −100 °C, 14.3 at 200 °C), ulp <= 2⁻⁴⁹: the sums differ by less than
//      3.34e−14 + 2⁻⁴⁹ < 3.52e−14.
//   4. glibc's exp and SLEEF's u10 exp are each within 1 ulp, a relative 2⁻⁵²,
//      of e^(ln p), and p is a normal number (1.4e−3 to 1.6e6 Pa), so the
//      vector pressure pv and the scalar one ps satisfy pv = ps·(1 + ρ) with
//      |ρ| <= e^(3.52e−14)·(1 + 2⁻⁵²)/(1 − 2⁻⁵²) − 1 < 3.6e−14 = kScreenPressureBound.
//   5. The screen passes a lane when 0 <= g <= fl(pv·keep), keep = fl(1 − goesOn),
//      goesOn = fl(kSearchTolerance + margin). Then g/ps <= keep·(1 + ε)(1 + ρ)
//      <= (1 − goesOn) + 3.6e−14 + 3ε, so the exact mismatch of the scalar
//      pressure, μs = 1 − g/ps, is at least goesOn − 3.6e−14 − 3ε, and at most
//      1 as g >= 0. The scalar scan computes ms = μs·(1 + δ), |δ| <= 2ε + ε²
//      (one rounding for the subtraction of two doubles, one for the
//      division), so ms > goesOn − 3.7e−14 and ms <= 1.
//   So with a margin above 3.7e−14 every passed lane has kSearchTolerance <= ms <= 1:
//   the scalar scan steps on there too (ms is finite, not within the tolerance
//   and not at or below −kSearchTolerance). The margin is about 2,700 times
//   that bound, so that even library errors of hundreds of ulps are covered;
//   the screen still passes all but about one grid value a search (the one
//   where the search ends).
inline constexpr double kScreenPressureBound = 3.6e-14;
inline constexpr double kScreenMargin = 1e-10;

// The kernel of `path`, or nullptr for ScanPath::Scalar and for a path this
// build or this processor does not have.
const ScreenKernel* ScreenKernelFor(ScanPath path);

// The widest path this processor has.
ScanPath BestScanPath();

// The path SearchWetBulb uses, chosen once per process: the one the
// environment variable NIMBARA_SCAN names (scalar, sse2, avx2 or avx512) when
// this processor has it, otherwise BestScanPath(). NIMBARA_SCAN=scalar runs
// the plain scan, for comparisons.
ScanPath ActiveScanPath();

// "scalar", "sse2", "avx2" or "avx512".
const char* ScanPathName(ScanPath path);

// The kernels, one per instruction set (wetbulb_screen_<set>.cpp, each
// compiled for its unit): call one only where the processor has that unit.
std::uint32_t ScreenSse2(const ScreenInput& in, const double* ts, double* p);
std::uint32_t ScreenAvx2(const ScreenInput& in, const double* ts, double* p);
std::uint32_t ScreenAvx512(const ScreenInput& in, const double* ts, double* p);
