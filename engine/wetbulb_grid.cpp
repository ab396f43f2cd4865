// The grid of the wet-bulb search a block at a time.
#include "wetbulb_grid.h"

#include <bit>
#include <cmath>
#include <cstdint>

#include "wetbulb.h"

// Why the block needs no serial chain. Let s = kSearchStep as a double,
// s = m·2⁻⁶⁰ with m = 0x147AE147AE147B, an odd number. Let x be a double with
// 2^e <= |x| < 2^(e+1) and e >= −3; x is a multiple of u = 2^(e−52), and so is
// every double of that binade. s/u = m·2^(−8−e) has at least five bits after
// the binary point and an odd last bit, so it is never a half-integer: the
// rounding n = round(s/u) is unambiguous, |s − n·u| < u/2. Let d = n·u.
//   x > 0 and x − d > 2^e: x − d is a multiple of u, so x − d >= 2^e + u and
//     x − s = (x − d) − (s − d) > 2^e + u/2; also x − s < x < 2^(e+1). So x − s
//     lies in the binade, where the doubles are the multiples of u, and x − d
//     is the one nearest to it (closer than u/2): fl(x − s) = x − d.
//   x < 0 and x − d > −2^(e+1): |x| + d is a multiple of u below 2^(e+1), so
//     |x| + d <= 2^(e+1) − u and 2^e <= |x| + s < 2^(e+1) − u/2: again inside
//     the binade, and fl(x − s) = −fl(|x| + s) = x − d.
// By induction, when x₀ − 31·d is still above that edge, every value of the
// chain x₁ = fl(x₀ − s), x₂ = fl(x₁ − s), … up to x₃₁ is x₀ − k·d. These are
// computed exactly: n < 0.005·2⁵⁵ + 1 < 2⁴⁸, so k·n < 2⁵³ for k < 32 and k·d is
// a double, and x₀ − k·d is a multiple of u inside the binade, so a double too.
// Nearer zero (e < −3), or where the block crosses the edge of its binade, the
// block is filled by the serial chain itself.
void GridBlock::fill(double ts, double* __restrict out)
{
    const auto bits = std::bit_cast<std::uint64_t>(ts);
    const int exponent = static_cast<int>((bits >> 52) & 0x7ff) - 1023;
    if (exponent >= -3 && exponent <= 1023) {  // not a subnormal, zero, infinity or NaN
        if (exponent != m_exponent) {
            m_exponent = exponent;
            m_lowest = std::ldexp(1.0, exponent);
            const double step = std::round(std::ldexp(kSearchStep, 52 - exponent)) * std::ldexp(1.0, exponent - 52);
            for (int k = 0; k < kBlockLanes; ++k)
                m_offsets[k] = k * step;
        }
        const double edge = ts > 0 ? m_lowest : -2 * m_lowest;
        if (ts - m_offsets[kBlockLanes - 1] > edge) {
            for (int k = 0; k < kBlockLanes; ++k)
                out[k] = ts - m_offsets[k];
            return;
        }
    }
    out[0] = ts;
    for (int k = 1; k < kBlockLanes; ++k)
        out[k] = out[k - 1] - kSearchStep;
}
