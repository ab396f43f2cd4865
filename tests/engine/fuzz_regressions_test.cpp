// Inputs the fuzzers found faults with, kept as regression tests.
#include <gtest/gtest.h>

#include "calculate.h"

namespace {

CalcOutcome dryAir(const char* B, const char* t)
{
    return CalculateStatePoint(InputMode::PsiKnown, {B, "1e300", t, "", "0"});
}

// Far above the water formula's range the wet-bulb search ran for up to about
// a million 0.005 K steps (460 851 here) before it ended, too long for one
// press of the button; it now gives up 500 K below t.
TEST(FuzzRegressions, WetBulbSearchFarAboveTheFormulaRangeGivesUp)
{
    for (const char* t : {"2150", "3200", "1000"}) {
        const CalcOutcome out = dryAir("1e-10", t);
        EXPECT_EQ(out.status, CalcStatus::Failure) << t;
        EXPECT_FALSE(FailureMessage(out.failure).empty()) << t;
        EXPECT_TRUE(out.results.empty()) << t;
    }
    EXPECT_EQ(dryAir("101325", "1000").status, CalcStatus::Failure);
}

// The bound can only be met above 226.85 °C: up to there, even the longest
// searches (dry air at a tiny pressure) still find their wet bulb.
TEST(FuzzRegressions, LongestSearchesBelowTheBoundStillFindTheWetBulb)
{
    for (const char* B : {"1", "1000", "101325"}) {
        for (const char* t : {"200", "226"}) {
            const CalcOutcome out = dryAir(B, t);
            ASSERT_EQ(out.status, CalcStatus::Ok) << B << " " << t;
            EXPECT_GT(out.searchSteps, 30000) << B << " " << t;
            EXPECT_LT(out.point.ts, out.point.t - 100) << B << " " << t;
        }
    }
}

// A huge B at a very low t gives a ψ that is finite as a fraction but
// overflows as a percentage: the ψ box showed "inf" with the status Ok.
TEST(FuzzRegressions, RelativeHumidityTooLargeToShowIsAFailure)
{
    const CalcOutcome out =
        CalculateStatePoint(InputMode::TsKnown, {"1D134", "-4", "-218", "10", ""});
    EXPECT_EQ(out.status, CalcStatus::Failure);
    EXPECT_FALSE(FailureMessage(out.failure).empty());
    EXPECT_TRUE(out.results.empty());
}

}  // namespace
