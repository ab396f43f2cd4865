// The grid at any step against the serial chain of subtractions it stands for.
//
// NIMBARA_GRID_DECIMALS (default 1) sets the decimals of the dry bulbs whose
// chains are walked; scripts/check-scan-sameness runs 2.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "wetbulb.h"
#include "wetbulb_grid.h"

namespace {

std::uint64_t bits(double x) { return std::bit_cast<std::uint64_t>(x); }

// The chain from `start`, `length` values long, as the scan makes it.
std::vector<double> chain(double start, long length)
{
    std::vector<double> values{start};
    while (static_cast<long>(values.size()) < length)
        values.push_back(values.back() - kSearchStep);
    return values;
}

// Compares GridValueAfter with the chain from its first value to every
// position, and from a spread of later positions; returns the differences.
long compare(const std::vector<double>& values, long stride)
{
    long differences = 0;
    const long n = static_cast<long>(values.size());
    for (long from = 0; from < n; from += stride) {
        for (long k = from; k < n; k += from == 0 ? 1 : 37) {
            const double got = GridValueAfter(values[from], k - from);
            if (bits(got) != bits(values[k]) && ++differences <= 3)
                ADD_FAILURE() << "from " << values[from] << " after " << k - from << ": " << got << " vs "
                              << values[k];
        }
    }
    return differences;
}

// The first 20 K of every chain that a dry bulb of the given decimals starts,
// across the whole range the exact search jumps in (−263 … 800 °C): every
// binade, both sides of zero, every jump that ends at, on or across a binade's
// edge. And a few whole chains down to −263 °C, by long jumps.
TEST(GridValueAfter, IsTheSerialChainForEveryDryBulb)
{
    const char* text = std::getenv("NIMBARA_GRID_DECIMALS");
    const int decimals = text != nullptr ? std::atoi(text) : 1;
    const double scale = std::pow(10.0, decimals);
    long differences = 0;
    for (long i = std::lround(800.1 * scale); i >= std::lround(-263 * scale); --i) {
        const double t = static_cast<double>(i) / scale;
        differences += compare(chain(t - kSearchStartOffset, 4000), 997);
    }
    for (double t : {800.1, 512.0, 27.0, 0.1, -50.0})
        differences += compare(chain(t - kSearchStartOffset, std::lround((t + 263) / kSearchStep)), 20011);
    EXPECT_EQ(differences, 0);
}

// Jumps from the edges of binades: the powers of two themselves, their
// neighbours, and starts just above, on and below a multiple of the step
// from the edge, on both sides of zero.
TEST(GridValueAfter, JumpsFromTheEdgesOfBinades)
{
    for (int e = -12; e <= 10; ++e) {
        for (double sign : {1.0, -1.0}) {
            const double edge = sign * std::ldexp(1.0, e);
            std::vector<double> starts{edge, std::nextafter(edge, 0.0), std::nextafter(edge, 2 * edge)};
            for (int j = 25; j <= 40; ++j) {
                for (double nudge : {-1e-9, 0.0, 1e-9, 0.0025})
                    starts.push_back(edge + sign * (j * kSearchStep + nudge));
            }
            for (double start : starts)
                EXPECT_EQ(compare(chain(start, 200), 1), 0) << start;
        }
    }
}

}  // namespace
