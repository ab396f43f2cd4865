// The wet-bulb screening kernel for AVX2: eight vectors of four lanes.
// Compiled with -mavx2; called only where the processor has AVX2 and FMA
// (SLEEF's AVX2 functions use fused multiply-adds inside).
#include <immintrin.h>
#include <sleef.h>

#include "wetbulb_screen_kernel.h"

namespace {

struct Avx2 {
    using Vec = __m256d;
    static constexpr int kLanes = 4;
    static constexpr int kVectors = 8;
    static Vec load(const double* p) { return _mm256_loadu_pd(p); }
    static void store(double* p, Vec v) { _mm256_storeu_pd(p, v); }
    static Vec splat(double x) { return _mm256_set1_pd(x); }
    static Vec log(Vec x) { return Sleef_logd4_u35avx2(x); }
    static Vec exp(Vec x) { return Sleef_expd4_u10avx2(x); }
    static std::uint32_t atLeast(Vec a, Vec b)
    {
        return static_cast<std::uint32_t>(_mm256_movemask_pd(_mm256_cmp_pd(a, b, _CMP_GE_OQ)));
    }
};

}  // namespace

std::uint32_t ScreenAvx2(const ScreenInput& in, const double* ts, double* p)
{
    return ScreenGridValues<Avx2>(in, ts, p);
}
