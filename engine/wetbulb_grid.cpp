// The grid of the wet-bulb search at any step.
#include "wetbulb_grid.h"

#include <bit>
#include <cmath>
#include <cstdint>

#include "wetbulb.h"

// Why whole runs of the chain are one subtraction. Let s = kSearchStep as a
// double, s = m·2⁻⁶⁰ with m = 0x147AE147AE147B, an odd number. Let x be a
// double with 2^e <= |x| < 2^(e+1) and e >= −3; x is a multiple of u = 2^(e−52),
// and so is every double of that binade. s/u = m·2^(−8−e) has at least five
// bits after the binary point and an odd last bit, so it is never a
// half-integer: the rounding n = round(s/u) is unambiguous, |s − n·u| < u/2.
// Let d = n·u.
//   x > 0 and x − d > 2^e: x − d is a multiple of u, so x − d >= 2^e + u and
//     x − s = (x − d) − (s − d) > 2^e + u/2; also x − s < x < 2^(e+1). So x − s
//     lies in the binade, where the doubles are the multiples of u, and x − d
//     is the one nearest to it (closer than u/2): fl(x − s) = x − d.
//   x < 0 and x − d > −2^(e+1): |x| + d is a multiple of u below 2^(e+1), so
//     |x| + d <= 2^(e+1) − u and 2^e <= |x| + s < 2^(e+1) − u/2: again inside
//     the binade, and fl(x − s) = −fl(|x| + s) = x − d.
// By induction the chain from x is x − k·d for as long as x − k·d stays above
// the edge (2^e for x > 0, −2^(e+1) for x < 0). With R = (x − edge)/u, an
// integer below 2^53 (x − edge is a multiple of u and less than 2^(e+1)),
// that holds for every k with k·n < R, and x − k·d is then a double computed
// exactly. The step that crosses the edge, and every step within 0.125 of
// zero (e < −3), is the subtraction itself.
namespace {

constexpr int kLowestExponent = -3;
constexpr int kHighestExponent = 40;  // far above any dry bulb; the step is walked beyond

// 2^e as a double, for the normal range.
double powerOfTwo(int e)
{
    return std::bit_cast<double>(static_cast<std::uint64_t>(e + 1023) << 52);
}

// n = round(s/u) for each binade e, u = 2^(e−52).
struct StepTable {
    std::int64_t steps[kHighestExponent - kLowestExponent + 1];
    StepTable()
    {
        for (int e = kLowestExponent; e <= kHighestExponent; ++e)
            steps[e - kLowestExponent] = static_cast<std::int64_t>(std::round(std::ldexp(kSearchStep, 52 - e)));
    }
};

}  // namespace

double GridValueAfter(double ts, long n)
{
    static const StepTable table;
    while (n > 0) {
        const int e = static_cast<int>((std::bit_cast<std::uint64_t>(ts) >> 52) & 0x7ff) - 1023;  // 2^e <= |ts| < 2^(e+1)
        if (e < kLowestExponent || e > kHighestExponent) {  // near zero, or zero, or not finite
            ts = ts - kSearchStep;
            --n;
            continue;
        }
        const double u = powerOfTwo(e - 52);
        const std::int64_t steps = table.steps[e - kLowestExponent];
        const double edge = ts > 0 ? powerOfTwo(e) : -powerOfTwo(e + 1);
        const auto room = static_cast<std::int64_t>((ts - edge) / u);
        const std::int64_t exact = (room - 1) / steps;  // the k with k·n < R
        if (exact <= 0) {
            ts = ts - kSearchStep;
            --n;
            continue;
        }
        const std::int64_t take = exact < n ? exact : n;
        ts = ts - static_cast<double>(take * steps) * u;
        n -= static_cast<long>(take);
    }
    return ts;
}
