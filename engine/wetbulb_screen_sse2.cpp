// The wet-bulb screening kernel for SSE2, which every x86-64 processor has:
// sixteen vectors of two lanes.
#include <emmintrin.h>
#include <sleef.h>

#include "wetbulb_screen_kernel.h"

namespace {

struct Sse2 {
    using Vec = __m128d;
    static constexpr int kLanes = 2;
    static constexpr int kVectors = 16;
    static Vec load(const double* p) { return _mm_loadu_pd(p); }
    static void store(double* p, Vec v) { _mm_storeu_pd(p, v); }
    static Vec splat(double x) { return _mm_set1_pd(x); }
    static Vec log(Vec x) { return Sleef_logd2_u35sse2(x); }
    static Vec exp(Vec x) { return Sleef_expd2_u10sse2(x); }
    static std::uint32_t atLeast(Vec a, Vec b)
    {
        return static_cast<std::uint32_t>(_mm_movemask_pd(_mm_cmpge_pd(a, b)));
    }
};

}  // namespace

std::uint32_t ScreenSse2(const ScreenInput& in, const double* ts, double* p)
{
    return ScreenGridValues<Sse2>(in, ts, p);
}
