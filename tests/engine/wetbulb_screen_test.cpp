// The screened wet-bulb search against the plain scan, on every dispatch path:
// the same found or give-up, the same ts bits and the same step count.
//
// NIMBARA_SAMENESS_INPUTS sets how many random inputs the comparison runs on
// each path (default 600,000, spread over the shards below, so 2,400,000 in
// all); scripts/check-scan-sameness runs the full count.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "pressure.h"
#include "reference_scan.h"
#include "wetbulb.h"
#include "wetbulb_screen.h"

namespace {

constexpr ScanPath kAllPaths[] = {ScanPath::Scalar, ScanPath::Sse2, ScanPath::Avx2, ScanPath::Avx512};
constexpr ScanPath kVectorPaths[] = {ScanPath::Sse2, ScanPath::Avx2, ScanPath::Avx512};
constexpr int kShards = 4;

// The kernel of `path`, or a skip when this processor lacks it. Scalar has no
// kernel: SearchWetBulbWith then runs the plain fallback.
#define KERNEL_OR_SKIP(path, kernel)                                                     \
    const ScreenKernel* kernel = ScreenKernelFor(path);                                  \
    if ((path) != ScanPath::Scalar && kernel == nullptr)                                 \
        GTEST_SKIP() << "this processor has no " << ScanPathName(path) << " unit"

long inputCount()
{
    const char* text = std::getenv("NIMBARA_SAMENESS_INPUTS");
    return text != nullptr ? std::atol(text) : 600000;
}

bool same(const WetBulbSearch& a, const WetBulbSearch& b)
{
    return a.found == b.found && std::bit_cast<std::uint64_t>(a.ts) == std::bit_cast<std::uint64_t>(b.ts)
           && a.steps == b.steps;
}

std::string describe(const SearchInputs& in, const WetBulbSearch& got, const WetBulbSearch& want)
{
    char text[320];
    std::snprintf(text, sizeof text,
                  "B=%.17g u=%.17g t=%.17g Pq=%.17g: got found=%d ts=%.17g steps=%ld, "
                  "plain scan found=%d ts=%.17g steps=%ld",
                  in.B, in.upsilon, in.t, in.Pq, got.found, got.ts, got.steps, want.found, want.ts,
                  want.steps);
    return text;
}

// Runs `count` inputs from `seed` through the search on `kernel` with `margin`
// and returns how many differ from the plain scan (reporting the first few).
long countDifferences(const ScreenKernel* kernel, double margin, std::uint64_t seed, long count,
                      bool report = true)
{
    SearchInputGenerator inputs(seed);
    long differences = 0;
    for (long i = 0; i < count; ++i) {
        const SearchInputs in = inputs.next();
        const WetBulbSearch want = ReferenceSearchWetBulb(in.B, in.upsilon, in.t, in.Pq);
        const WetBulbSearch got = SearchWetBulbWith(kernel, margin, in.B, in.upsilon, in.t, in.Pq);
        if (!same(got, want) && ++differences <= 5 && report)
            ADD_FAILURE() << describe(in, got, want);
    }
    return differences;
}

struct PathShard {
    ScanPath path;
    int shard;
};

}  // namespace

void PrintTo(ScanPath path, std::ostream* os) { *os << ScanPathName(path); }

namespace {

void PrintTo(const PathShard& p, std::ostream* os) { *os << ScanPathName(p.path) << "/" << p.shard; }

class ScreenedSearch : public testing::TestWithParam<PathShard> {};

TEST_P(ScreenedSearch, MatchesThePlainScanOnRandomInputs)
{
    const PathShard& p = GetParam();
    KERNEL_OR_SKIP(p.path, kernel);
    const long count = inputCount() / kShards;
    const std::uint64_t seed = 1000003ull * (static_cast<int>(p.path) + 1) + static_cast<std::uint64_t>(p.shard);
    EXPECT_EQ(countDifferences(kernel, kScreenMargin, seed, count), 0) << count << " inputs";
}

std::vector<PathShard> allPathShards()
{
    std::vector<PathShard> all;
    for (ScanPath path : kAllPaths) {
        for (int shard = 0; shard < kShards; ++shard)
            all.push_back({path, shard});
    }
    return all;
}

INSTANTIATE_TEST_SUITE_P(Paths, ScreenedSearch, testing::ValuesIn(allPathShards()),
                         [](const testing::TestParamInfo<PathShard>& info) {
                             return std::string(ScanPathName(info.param.path)) + "_"
                                    + std::to_string(info.param.shard);
                         });

class ScreenedSearchOnPath : public testing::TestWithParam<ScanPath> {};

// The ψ-known figures the calculation is known by, and the places where the
// search behaves differently: every one on every path, against the plain scan.
TEST_P(ScreenedSearchOnPath, MatchesThePlainScanOnThePublishedCases)
{
    KERNEL_OR_SKIP(GetParam(), kernel);
    const auto check = [&](double B, double u, double t, double psiPercent) {
        const double Pq = Pressure(t) * (psiPercent / 100);
        const WetBulbSearch want = ReferenceSearchWetBulb(B, u, t, Pq);
        const WetBulbSearch got = SearchWetBulbWith(kernel, kScreenMargin, B, u, t, Pq);
        EXPECT_TRUE(same(got, want)) << describe({B, u, t, Pq}, got, want);
        return got;
    };
    // The default inputs: 1574 steps down from 26.9 to 19.03.
    const WetBulbSearch defaults = check(101325, 2.5, 27, 46.37);
    EXPECT_TRUE(defaults.found);
    EXPECT_EQ(defaults.steps, 1574);
    EXPECT_NEAR(defaults.ts, 19.03, 1e-9);
    // Hot dry air: 7613 steps.
    EXPECT_EQ(check(101325, 2.5, 60, 0).steps, 7613);
    // A wet bulb ending in 5 at the third decimal.
    EXPECT_NEAR(check(101325, 2.5, 27, 10).ts, 11.895, 1e-9);
    // Around the saturation limits at 5, 27 and 60 °C, at and above 100 %.
    for (double t : {5.0, 27.0, 60.0}) {
        for (double psi = 97.0; psi <= 101.0; psi += 0.05)
            check(101325, 2.5, t, psi);
    }
    // Low temperatures, where the step jumps over the band for some ψ.
    for (double t : {5.0, -10.0, -30.0}) {
        for (double psi = 0; psi <= 100; psi += 0.25)
            check(101325, 2.5, t, psi);
    }
    // The saturation-pressure figures as dry bulbs, with a spread of ψ, υ and B.
    for (double t : {0.0, -0.01, 0.01, -1e-9, -20.0, 10.0, 20.0, 27.0, 50.0, 100.0, 150.0}) {
        for (double psi : {0.0, 10.0, 46.37, 90.0, 99.0}) {
            for (double u : {0.3, 2.5, 10.0}) {
                for (double B : {80000.0, 101325.0, 1e6})
                    check(B, u, t, psi);
            }
        }
    }
    // Searches that end at the step bound, far above the formula's range.
    for (double t : {1000.0, 2150.0, 3200.0})
        EXPECT_FALSE(check(1e-10, 1e300, t, 0).found);
}

// A margin far wider than needed sends many lanes to Pressure(): the results
// must not change, whatever the screen leaves undecided.
TEST_P(ScreenedSearchOnPath, ReDecidingUnsureLanesChangesNothing)
{
    KERNEL_OR_SKIP(GetParam(), kernel);
    for (double margin : {1e-4, 1e-3, 0.05})
        EXPECT_EQ(countDifferences(kernel, margin, 77 + static_cast<int>(GetParam()), 20000), 0) << margin;
}

INSTANTIATE_TEST_SUITE_P(Paths, ScreenedSearchOnPath, testing::ValuesIn(kAllPaths),
                         [](const testing::TestParamInfo<ScanPath>& info) {
                             return std::string(ScanPathName(info.param));
                         });

class VectorKernel : public testing::TestWithParam<ScanPath> {};

// The comparison has teeth: a screen that passes lanes below the tolerance
// (a negative margin) is caught on these inputs.
TEST_P(VectorKernel, ASloppyScreenIsCaught)
{
    KERNEL_OR_SKIP(GetParam(), kernel);
    EXPECT_GT(countDifferences(kernel, -2e-4, 5, 20000, /*report=*/false), 100);
}

// The derivation of kScreenMargin rests on the bound on the vector pressure;
// a library that broke its documented accuracy would show here first.
TEST_P(VectorKernel, VectorPressureStaysWithinTheDerivedBound)
{
    KERNEL_OR_SKIP(GetParam(), kernel);
    ScreenInput in{1e-5 * (65 + 6.75 / 2.5), 101325, 30, 1000, 1 - kSearchTolerance, false};
    double ts[kBlockLanes];
    double p[kBlockLanes];
    double worst = 0;
    std::uint64_t state = 12345;
    for (int block = 0; block < 100000; ++block) {
        // Random blocks over the whole screened range, each on one side of 0 °C.
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        const double start = kScreenLowest + 0.2 + (kScreenHighest - kScreenLowest - 0.2)
                                                        * (static_cast<double>(state >> 11) * 0x1.0p-53);
        const double top = start < 0 ? start : std::max(start, 0.2);
        for (int k = 0; k < kBlockLanes; ++k)
            ts[k] = top - k * 0.00137;
        in.ice = top < 0;
        kernel->screen(in, ts, p);
        for (int k = 0; k < kBlockLanes; ++k)
            worst = std::max(worst, std::fabs(p[k] / Pressure(ts[k]) - 1));
    }
    EXPECT_LE(worst, kScreenPressureBound);
    char worstText[32];
    std::snprintf(worstText, sizeof worstText, "%.3g", worst);
    RecordProperty("worst_relative_deviation", worstText);
}

INSTANTIATE_TEST_SUITE_P(Paths, VectorKernel, testing::ValuesIn(kVectorPaths),
                         [](const testing::TestParamInfo<ScanPath>& info) {
                             return std::string(ScanPathName(info.param));
                         });

// An x86-64 build must carry the vector kernels: without them every
// calculation silently falls back to the slow plain scan.
TEST(ScanPaths, X86BuildsCarryTheVectorKernels)
{
#if defined(__x86_64__)
    EXPECT_NE(ScreenKernelFor(ScanPath::Sse2), nullptr);
    EXPECT_NE(BestScanPath(), ScanPath::Scalar);
    EXPECT_NE(ScreenKernelFor(BestScanPath()), nullptr);
#else
    GTEST_SKIP() << "no vector kernels off x86-64";
#endif
}

}  // namespace
