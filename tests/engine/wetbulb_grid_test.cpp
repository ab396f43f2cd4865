// The grid blocks against the serial chain of subtractions they stand for.
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
#include "wetbulb_screen.h"

namespace {

std::uint64_t bits(double x) { return std::bit_cast<std::uint64_t>(x); }

// Walks the whole chain from `start` down past `lowest` and compares the
// block filled at every position with the chain's own next values; returns
// the number of values that differ.
long walkChain(GridBlock& grid, double start, double lowest)
{
    std::vector<double> chain{start};
    while (chain.back() >= lowest)
        chain.push_back(chain.back() - kSearchStep);
    long differences = 0;
    double block[kBlockLanes];
    for (std::size_t i = 0; i + kBlockLanes <= chain.size(); ++i) {
        grid.fill(chain[i], block);
        for (int k = 0; k < kBlockLanes; ++k) {
            if (bits(block[k]) != bits(chain[i + k]) && ++differences <= 3)
                ADD_FAILURE() << "from " << chain[i] << " lane " << k << ": " << block[k] << " vs "
                              << chain[i + k];
        }
    }
    return differences;
}

// Every chain that a dry bulb of the given decimals starts, from the top of
// the screened range to its bottom, at every position: every binade the
// screen meets, on both sides of zero, with every block that crosses a binade
// edge or zero.
TEST(GridBlock, EveryBlockIsTheSerialChainForEveryDryBulb)
{
    const char* text = std::getenv("NIMBARA_GRID_DECIMALS");
    const int decimals = text != nullptr ? std::atoi(text) : 1;
    const double scale = std::pow(10.0, decimals);
    GridBlock grid;
    long differences = 0;
    const long top = std::lround((kScreenHighest + kSearchStartOffset) * scale);
    for (long i = top; i >= std::lround(kScreenLowest * scale); --i) {
        const double t = static_cast<double>(i) / scale;
        differences += walkChain(grid, t - kSearchStartOffset, kScreenLowest);
    }
    EXPECT_EQ(differences, 0);
}

// Blocks that start at, or end at, the edge of a binade: the powers of two
// themselves, their neighbours, and starts from which the block's last lanes
// fall just above, on and just below the edge, on both sides of zero.
TEST(GridBlock, BlocksAtTheEdgesOfBinades)
{
    GridBlock grid;
    double block[kBlockLanes];
    for (int e = -12; e <= 10; ++e) {
        for (double sign : {1.0, -1.0}) {
            const double edge = sign * std::ldexp(1.0, e);
            std::vector<double> starts{edge, std::nextafter(edge, 0.0), std::nextafter(edge, 2 * edge)};
            for (int j = 25; j <= 40; ++j) {
                for (double nudge : {-1e-9, 0.0, 1e-9, 0.0025})
                    starts.push_back(edge + sign * (j * kSearchStep + nudge));
            }
            for (double start : starts) {
                grid.fill(start, block);
                double x = start;
                for (int k = 0; k < kBlockLanes; ++k) {
                    ASSERT_EQ(bits(block[k]), bits(x)) << start << " lane " << k;
                    x = x - kSearchStep;
                }
            }
        }
    }
}

}  // namespace
