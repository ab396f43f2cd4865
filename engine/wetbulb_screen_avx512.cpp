// The wet-bulb screening kernel for AVX-512: four vectors of eight lanes (32 grid values a call: enough
// independent work to hide the library calls' latency).
// Compiled with -mavx512f; called only where the processor has AVX-512F.
#include <immintrin.h>
#include <sleef.h>

#include "wetbulb_screen_kernel.h"

namespace {

struct Avx512 {
    using Vec = __m512d;
    static constexpr int kLanes = 8;
    static constexpr int kVectors = 4;
    static Vec load(const double* p) { return _mm512_loadu_pd(p); }
    static void store(double* p, Vec v) { _mm512_storeu_pd(p, v); }
    static Vec splat(double x) { return _mm512_set1_pd(x); }
    static Vec log(Vec x) { return Sleef_logd8_u35avx512f(x); }
    static Vec exp(Vec x) { return Sleef_expd8_u10avx512f(x); }
    static std::uint32_t atLeast(Vec a, Vec b) { return _mm512_cmp_pd_mask(a, b, _CMP_GE_OQ); }
};

}  // namespace

std::uint32_t ScreenAvx512(const ScreenInput& in, const double* ts, double* p)
{
    return ScreenGridValues<Avx512>(in, ts, p);
}
