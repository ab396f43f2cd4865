// The exact wet-bulb search against the plain scan: the same found or
// give-up, the same ts bits and the same step count.
//
// NIMBARA_SAMENESS_INPUTS sets how many random inputs the comparison runs on
// (default 600,000, spread over the shards below); scripts/check-scan-sameness
// runs the full count, and with --negative-margin the test that shows the
// comparison would catch a wrong proof.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "physics.h"
#include "pressure.h"
#include "pressure_coefficients.h"
#include "reference_scan.h"
#include "wetbulb.h"

namespace {

constexpr int kShards = 4;

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

// Runs `count` inputs from `seed` through the exact search with `margin` and
// returns how many differ from the plain scan (reporting the first few).
long countDifferences(double margin, std::uint64_t seed, long count, bool report = true)
{
    SearchInputGenerator inputs(seed);
    long differences = 0;
    for (long i = 0; i < count; ++i) {
        const SearchInputs in = inputs.next();
        const WetBulbSearch want = ReferenceSearchWetBulb(in.B, in.upsilon, in.t, in.Pq);
        const WetBulbSearch got = SearchWetBulbWithMargin(margin, in.B, in.upsilon, in.t, in.Pq);
        if (!same(got, want) && ++differences <= 5 && report)
            ADD_FAILURE() << describe(in, got, want);
    }
    return differences;
}

class ExactSearch : public testing::TestWithParam<int> {};

TEST_P(ExactSearch, MatchesThePlainScanOnRandomInputs)
{
    const long count = inputCount() / kShards;
    const std::uint64_t seed = 1000003ull + static_cast<std::uint64_t>(GetParam());
    EXPECT_EQ(countDifferences(kExactSearchMargin, seed, count), 0) << count << " inputs";
}

INSTANTIATE_TEST_SUITE_P(Shards, ExactSearch, testing::Range(0, kShards));

// The ψ-known figures the calculation is known by, and the places where the
// search behaves differently: every one against the plain scan.
TEST(ExactSearchCases, MatchesThePlainScanOnThePublishedCases)
{
    const auto check = [&](double B, double u, double t, double psiPercent) {
        const double Pq = Pressure(t) * (psiPercent / 100);
        const WetBulbSearch want = ReferenceSearchWetBulb(B, u, t, Pq);
        const WetBulbSearch got = SearchWetBulb(B, u, t, Pq);
        EXPECT_TRUE(same(got, want)) << describe({B, u, t, Pq}, got, want);
        EXPECT_TRUE(same(ScanWetBulb(B, u, t, Pq), want)) << describe({B, u, t, Pq}, got, want);
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

// Wider margins prove fewer grid values and leave more to the plain scan's own
// step: the results must not change.
TEST(ExactSearchCases, AWiderMarginChangesNothing)
{
    for (double margin : {1e-6, 1e-4, 0.05})
        EXPECT_EQ(countDifferences(margin, 77, 20000), 0) << margin;
}

// The proof rests on the computed mismatch lying within half the margin of
// the exact one wherever it is near the tolerance. Checked against 80-bit
// long double from the same doubles: another libm, or flags that reorder the
// sum, would show here first.
TEST(ExactSearchCases, TheMismatchIsComputedWellWithinTheMargin)
{
    const auto pressureLong = [](long double t) {
        const double* C = kPressureC;
        const long double T = t + 273.15L;
        const long double lnp =
            t < 0 ? C[1] / T + C[2] + C[3] * T + C[4] * T * T + C[5] * T * T * T + C[6] * T * T * T * T + C[7] * logl(T)
                  : C[8] / T + C[9] + C[10] * T + C[11] * T * T + C[12] * T * T * T + C[13] * logl(T);
        return expl(lnp);
    };
    std::uint64_t state = 99;
    const auto uniform = [&] {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<double>(state >> 11) * 0x1.0p-53;
    };
    double worst = 0;
    for (int i = 0; i < 300000; ++i) {
        // A grid value anywhere the proof covers, B and Pq chosen so that the
        // mismatch there is within 1 % of the tolerance.
        const double ts = -263 + 1063 * uniform();
        const double t = ts + 0.1 + 40 * uniform();
        const double A = PsychrometerCoefficient(0.1 + 20 * uniform());
        const double p = Pressure(ts);
        const double wanted = (1 - kSearchTolerance * (0.995 + 0.01 * uniform())) * p;
        const double share = uniform();
        const double Pq = wanted * share;
        const double B = wanted * (1 - share) / (A * (t - ts));
        if (!(B > 0) || !std::isfinite(B))
            continue;
        const double mismatch = (p - (Pq + ((A * (t - ts)) * B))) / p;
        const long double P = pressureLong(ts);
        const long double exact = (P - (Pq + static_cast<long double>(A) * (static_cast<long double>(t) - ts) * B)) / P;
        worst = std::max(worst, static_cast<double>(std::fabs(mismatch - exact)));
    }
    EXPECT_LT(worst, kExactSearchMargin / 10);
    RecordProperty("worst_mismatch_error", std::to_string(worst));
}

// The comparison has teeth: a search whose margin is negative takes grid
// values within the tolerance for proven and skips past the end, and the
// comparison must see it. Run by scripts/check-scan-sameness --negative-margin.
TEST(ExactSearchCases, DISABLED_ANegativeMarginIsCaught)
{
    EXPECT_GT(countDifferences(-2e-4, 5, 20000, /*report=*/false), 100);
}

}  // namespace
