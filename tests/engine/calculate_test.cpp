// The calculate request: the worked examples, the dew-point range, incomplete input, failures, the search.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "calculate.h"
#include "golden.h"
#include "pressure.h"
#include "wetbulb.h"

namespace {

using Writes = std::vector<std::pair<Quantity, std::string>>;

Writes writesOf(const CalcOutcome& out)
{
    Writes w;
    for (const QuantityText& r : out.results)
        w.emplace_back(r.quantity, r.text);
    return w;
}

Writes goldenWrites(InputMode mode)
{
    Writes w;
    for (const GoldenBox& g : GoldenResults(mode))
        w.emplace_back(g.quantity, g.text);
    return w;
}

CalcInputs defaults()
{
    const auto typed = [](Quantity q) { return std::string(GoldenText(InputMode::PsiKnown, q)); };
    return {typed(Quantity::B), typed(Quantity::upsilon), typed(Quantity::t),
            std::string(GoldenText(InputMode::TsKnown, Quantity::ts)), typed(Quantity::psi)};
}

CalcOutcome psiKnown(const std::string& t, const std::string& psi, const std::string& B = "101325",
                     const std::string& u = "2.5")
{
    return CalculateStatePoint(InputMode::PsiKnown, {B, u, t, "19", psi});
}

CalcOutcome tsKnown(const std::string& t, const std::string& ts, const std::string& B = "101325",
                    const std::string& u = "2.5")
{
    return CalculateStatePoint(InputMode::TsKnown, {B, u, t, ts, "46.37"});
}

// ---- the two worked examples -------------------------------------------------

TEST(StatePointExamples, PsiKnownDefaultInputsWriteEveryBoxInOrder)
{
    const CalcOutcome out = CalculateStatePoint(InputMode::PsiKnown, defaults());
    ASSERT_EQ(out.status, CalcStatus::Ok);
    EXPECT_EQ(out.searchSteps, 1574);
    EXPECT_EQ(writesOf(out), goldenWrites(InputMode::PsiKnown));
    EXPECT_FALSE(out.dewPointOutOfRange);
    const StatePoint& s = out.point;
    EXPECT_EQ(s.B, 101325);
    EXPECT_EQ(s.upsilon, 2.5);
    EXPECT_EQ(s.t, 27);
    EXPECT_DOUBLE_EQ(s.psi, 0.4637);
    EXPECT_NEAR(s.ts, 19.03, 1e-9);  // the grid value, not the root 19.025
    EXPECT_NEAR(s.v * s.rho, 1.0, 1e-15);
    EXPECT_EQ(s.Pqb, Pressure(27));
    EXPECT_EQ(s.Pqbs, Pressure(s.ts));
}

TEST(StatePointExamples, TsKnownDefaultInputsWriteEveryBoxInOrder)
{
    const CalcOutcome out = CalculateStatePoint(InputMode::TsKnown, defaults());
    ASSERT_EQ(out.status, CalcStatus::Ok);
    EXPECT_EQ(writesOf(out), goldenWrites(InputMode::TsKnown));
    EXPECT_EQ(out.searchSteps, 0);
    EXPECT_EQ(out.point.ts, 19);
    EXPECT_NEAR(out.point.psi, 0.4672796, 5e-7);
}

TEST(StatePointExamples, UnitsAndBlanksInTheBoxesReadAsTheirNumbers)
{
    const CalcOutcome plain = CalculateStatePoint(InputMode::PsiKnown, defaults());
    const CalcOutcome typed =
        CalculateStatePoint(InputMode::PsiKnown, {" 101 325", "2.5m/s", "27℃", "", "46.37%"});
    ASSERT_EQ(typed.status, CalcStatus::Ok);
    EXPECT_EQ(writesOf(typed), writesOf(plain));
}

TEST(StatePointExamples, SaturatedAirInTheTsModeShowsSlightlyOverHundredPercent)
{
    const CalcOutcome out = tsKnown("27", "27");
    ASSERT_EQ(out.status, CalcStatus::Ok);
    EXPECT_EQ(out.results.front().quantity, Quantity::psi);
    EXPECT_EQ(out.results.front().text, "100.04");
}

TEST(StatePointExamples, DryHotAirTakesTheLongSearch)
{
    const CalcOutcome out = psiKnown("60", "0");
    ASSERT_EQ(out.status, CalcStatus::Ok);
    EXPECT_EQ(out.searchSteps, 7613);
}

// ---- the dew-point range -----------------------------------------------------

TEST(DewPoint, BelowZeroEmptiesTheBoxAfterAllOthers)
{
    const CalcOutcome out = tsKnown("27", "12");
    ASSERT_EQ(out.status, CalcStatus::Ok);
    EXPECT_TRUE(out.dewPointOutOfRange);
    ASSERT_EQ(out.results.size(), 9u);
    EXPECT_EQ(out.results[1].quantity, Quantity::d);
    EXPECT_EQ(out.results[1].text, "2.52");
    EXPECT_EQ(out.results.back().quantity, Quantity::tl);
    EXPECT_EQ(out.results.back().text, "");
    EXPECT_NEAR(out.point.tl, -1.36, 0.005);  // the record keeps the computed value
}

TEST(DewPoint, InsideTheRangeIsWrittenAndAboveIsEmptied)
{
    const CalcOutcome inside = tsKnown("70", "62");
    ASSERT_EQ(inside.status, CalcStatus::Ok);
    EXPECT_FALSE(inside.dewPointOutOfRange);
    EXPECT_EQ(inside.results.back().text, "64.03");

    const CalcOutcome above = tsKnown("80", "70");
    ASSERT_EQ(above.status, CalcStatus::Ok);
    EXPECT_TRUE(above.dewPointOutOfRange);
    EXPECT_EQ(above.results.back().text, "");
    EXPECT_NEAR(above.point.tl, 72.93, 0.005);
}

TEST(DewPoint, PerfectlyDryAirHasNoDewPointButEveryOtherResult)
{
    const CalcOutcome out = psiKnown("27", "0");
    ASSERT_EQ(out.status, CalcStatus::Ok);
    EXPECT_TRUE(out.dewPointOutOfRange);
    EXPECT_EQ(out.results.back().quantity, Quantity::tl);
    EXPECT_EQ(out.results.back().text, "");
    for (const QuantityText& w : out.results) {
        if (w.quantity != Quantity::tl) {
            EXPECT_EQ(w.text.find_first_of("ni"), std::string::npos) << w.text;  // no nan/inf
        }
    }
    EXPECT_EQ(writesOf(out)[7], (std::pair<Quantity, std::string>{Quantity::Pq, "0.00000"}));
}

// ---- incomplete input --------------------------------------------------------

TEST(IncompleteInput, EachModeNeedsItsOwnFourBoxes)
{
    EXPECT_EQ(CalculateStatePoint(InputMode::TsKnown, {"101325", "", "27", "19", "46.37"}).status,
              CalcStatus::Incomplete);  // υ is needed although it enters no result
    EXPECT_EQ(CalculateStatePoint(InputMode::PsiKnown, {"", "2.5", "27", "19", "46.37"}).status,
              CalcStatus::Incomplete);
    EXPECT_EQ(CalculateStatePoint(InputMode::PsiKnown, {"101325", "2.5", "", "19", "46.37"}).status,
              CalcStatus::Incomplete);
    EXPECT_EQ(CalculateStatePoint(InputMode::PsiKnown, {"101325", "2.5", "27", "19", ""}).status,
              CalcStatus::Incomplete);
    EXPECT_EQ(CalculateStatePoint(InputMode::TsKnown, {"101325", "2.5", "27", "", "46.37"}).status,
              CalcStatus::Incomplete);

    // the other mode's box may be empty
    EXPECT_EQ(CalculateStatePoint(InputMode::PsiKnown, {"101325", "2.5", "27", "", "46.37"}).status,
              CalcStatus::Ok);
    EXPECT_EQ(CalculateStatePoint(InputMode::TsKnown, {"101325", "2.5", "27", "19", ""}).status,
              CalcStatus::Ok);
}

TEST(IncompleteInput, BlanksAreNotEmptyAndReadAsZero)
{
    const CalcOutcome out = psiKnown("27", "   ");
    ASSERT_EQ(out.status, CalcStatus::Ok);
    EXPECT_EQ(out.point.psi, 0);
    EXPECT_FALSE(out.results.empty());
    const CalcOutcome incomplete = psiKnown("27", "");
    EXPECT_TRUE(incomplete.results.empty());
    EXPECT_FALSE(incomplete.failure);
}

// ---- inputs the formulas have no value for ------------------------------------

struct FailureCase {
    const char* name;
    InputMode mode;
    CalcInputs in;
    const char* mustMention;  // the quantity the message names
    CalcCause cause;
    Quantity blamed;
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

class Failures : public testing::TestWithParam<FailureCase> {};

TEST_P(Failures, ReportAMessageAndWriteNothing)
{
    const FailureCase& c = GetParam();
    const CalcOutcome out = CalculateStatePoint(c.mode, c.in);
    EXPECT_EQ(out.status, CalcStatus::Failure);
    EXPECT_TRUE(out.results.empty());
    EXPECT_EQ(out.failure.cause, c.cause);
    EXPECT_EQ(out.failure.blamed, c.blamed);
    const std::string message = FailureMessage(out.failure);
    EXPECT_NE(message.find(c.mustMention), std::string::npos) << message;
}

const InputMode Psi = InputMode::PsiKnown;
const InputMode Ts = InputMode::TsKnown;

INSTANTIATE_TEST_SUITE_P(
    Inputs, Failures,
    testing::Values(
        FailureCase{"SaturatedPsi", Psi, {"101325", "2.5", "27", "", "100"}, "相对湿度ψ太接近或超过100%", CalcCause::SearchFailed, Quantity::ts},
        FailureCase{"NearSaturation", Psi, {"101325", "2.5", "27", "", "99.3"}, "相对湿度ψ太接近或超过100%", CalcCause::SearchFailed, Quantity::ts},
        FailureCase{"Supersaturated", Psi, {"101325", "2.5", "27", "", "120"}, "相对湿度ψ太接近或超过100%", CalcCause::SearchFailed, Quantity::ts},
        FailureCase{"SteppedOverAtLowTemperature", Psi, {"101325", "2.5", "-30", "", "50"}, "湿球温度ts", CalcCause::SearchFailed, Quantity::ts},
        FailureCase{"TinyVelocity", Psi, {"101325", "1e-300", "27", "", "46.37"}, "空气流速υ过小", CalcCause::PsychrometerTermTooLarge, Quantity::upsilon},
        FailureCase{"SmallestVelocity", Psi, {"101325", "5e-324", "27", "", "46.37"}, "空气流速υ过小", CalcCause::PsychrometerTermTooLarge, Quantity::upsilon},
        FailureCase{"VelocityTooSmallForAnyTemperature", Psi, {"101325", "1e-9", "27", "", "46.37"}, "空气流速υ过小", CalcCause::PsychrometerTermTooLarge, Quantity::upsilon},
        FailureCase{"PressureTooLargeForTheSearch", Psi, {"1e300", "2.5", "27", "", "46.37"}, "大气压力B过大", CalcCause::PsychrometerTermTooLarge, Quantity::B},
        FailureCase{"PressureTooLargeEvenForFastAir", Psi, {"1e13", "1e300", "27", "", "46.37"}, "大气压力B过大", CalcCause::PsychrometerTermTooLarge, Quantity::B},
        FailureCase{"PressureTooLargeAtThisTemperature", Psi, {"1e10", "2.5", "27", "", "0"}, "在这个干球温度t下", CalcCause::NoWetBulbAtThisDryBulb, Quantity::t},
        FailureCase{"WetBulbAboveDryBulb", Ts, {"101325", "2.5", "27", "30", ""}, "湿球温度ts不能高于干球温度t", CalcCause::WetBulbAboveDryBulb, Quantity::ts},
        FailureCase{"WetBulbAboveAVeryColdDryBulb", Ts, {"101325", "2.5", "-200", "0", ""}, "湿球温度ts不能高于干球温度t", CalcCause::WetBulbAboveDryBulb, Quantity::ts},
        FailureCase{"WetBulbJustAboveDryBulb", Ts, {"101325", "2.5", "27", "27.000001", ""}, "湿球温度ts不能高于干球温度t", CalcCause::WetBulbAboveDryBulb, Quantity::ts},
        FailureCase{"HugePressure", Psi, {"1e999", "2.5", "27", "", "46.37"}, "大气压力B", CalcCause::NotFinite, Quantity::B},
        FailureCase{"HugeVelocity", Psi, {"101325", "-1e999", "27", "", "46.37"}, "空气流速υ", CalcCause::NotFinite, Quantity::upsilon},
        FailureCase{"HugeTemperature", Ts, {"101325", "2.5", "1e999", "19", ""}, "干球温度t", CalcCause::NotFinite, Quantity::t},
        FailureCase{"HugeHumidity", Psi, {"101325", "2.5", "27", "", "1e999"}, "相对湿度ψ", CalcCause::NotFinite, Quantity::psi},
        FailureCase{"HugeWetBulb", Ts, {"101325", "2.5", "27", "-1e999", ""}, "湿球温度ts", CalcCause::NotFinite, Quantity::ts},
        FailureCase{"AbsoluteZero", Psi, {"101325", "2.5", "-273.15", "", "50"}, "干球温度t", CalcCause::BelowAbsoluteZero, Quantity::t},
        FailureCase{"BelowAbsoluteZero", Ts, {"101325", "2.5", "-300", "19", ""}, "干球温度t", CalcCause::BelowAbsoluteZero, Quantity::t},
        FailureCase{"WetBulbAtAbsoluteZero", Ts, {"101325", "2.5", "27", "-273.15", ""}, "湿球温度ts", CalcCause::BelowAbsoluteZero, Quantity::ts},
        FailureCase{"ZeroVelocity", Psi, {"101325", "0", "27", "", "46.37"}, "空气流速υ", CalcCause::VelocityNotPositive, Quantity::upsilon},
        FailureCase{"BlankVelocity", Psi, {"101325", " ", "27", "", "46.37"}, "空气流速υ", CalcCause::VelocityNotPositive, Quantity::upsilon},
        FailureCase{"NegativeVelocity", Psi, {"101325", "-2", "27", "", "46.37"}, "空气流速υ", CalcCause::VelocityNotPositive, Quantity::upsilon},
        FailureCase{"NegativeHumidity", Psi, {"101325", "2.5", "27", "", "-5"}, "相对湿度ψ", CalcCause::HumidityNegative, Quantity::psi},
        FailureCase{"PressureBelowVapour", Psi, {"1000", "2.5", "27", "", "46.37"}, "大气压力B", CalcCause::PressureBelowVapour, Quantity::B},
        FailureCase{"ZeroPressureDryAir", Psi, {"0", "2.5", "27", "", "0"}, "大气压力B", CalcCause::PressureBelowVapour, Quantity::B},
        FailureCase{"PressureBelowWetBulb", Ts, {"2000", "2.5", "27", "19", ""}, "大气压力B", CalcCause::PressureBelowWetBulb, Quantity::B},
        FailureCase{"WetBulbFarBelowDryBulb", Ts, {"101325", "2.5", "27", "9.26", ""}, "含湿量d", CalcCause::MoistureNegative, Quantity::ts},
        FailureCase{"WetBulbAboveCriticalPoint", Ts, {"1e12", "2.5", "400", "380", ""}, "计算结果", CalcCause::ResultNotFinite, Quantity::B},
        FailureCase{"DryBulbFarTooHot", Psi, {"101325", "2.5", "1e6", "", "50"}, "湿球温度ts", CalcCause::SearchFailed, Quantity::ts}),
    [](const testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

// ---- the bounded wet-bulb search ---------------------------------------------

// The search exactly as the psychrometer method describes it, without the
// early exit; capped only so that this test itself cannot hang.
struct Reference {
    bool ended;
    double ts;
    long steps;
};

Reference referenceSearch(double B, double u, double t, double Pq, long cap)
{
    double ts = t - kSearchStartOffset;
    for (long steps = 0; steps <= cap; ++steps) {
        const double A = 1e-5 * (65 + 6.75 / u);
        const double target = Pq + ((A * (t - ts)) * B);
        const double p = Pressure(ts);
        if (!(std::fabs(p - target) / p >= kSearchTolerance))
            return {true, ts, steps};
        ts = ts - kSearchStep;
    }
    return {false, ts, cap};
}

TEST(WetBulbSearch, EndsWhereverTheUnboundedSearchEndsAndNowhereElse)
{
    int compared = 0, failures = 0;
    for (double t : {-40.0, -30.0, -10.0, -0.05, 0.0, 5.0, 27.0, 45.5, 60.0}) {
        for (double psiPercent = 0; psiPercent <= 101; psiPercent += 0.7) {
            for (double u : {0.3, 2.5, 10.0}) {
                const double Pq = Pressure(t) * (psiPercent / 100);
                const Reference ref = referenceSearch(101325, u, t, Pq, 40000);
                const CalcOutcome out = CalculateStatePoint(
                    InputMode::PsiKnown,
                    {"101325", std::to_string(u), std::to_string(t), "", std::to_string(psiPercent)});
                // std::to_string keeps six decimals, enough for these grid values
                ASSERT_EQ(out.point.t == t || out.status != CalcStatus::Ok, true);
                if (ref.ended) {
                    ASSERT_EQ(out.status, CalcStatus::Ok) << t << " " << psiPercent << " " << u;
                    EXPECT_EQ(out.point.ts, ref.ts);
                    EXPECT_EQ(out.searchSteps, ref.steps);
                    ++compared;
                } else {
                    EXPECT_EQ(out.status, CalcStatus::Failure) << t << " " << psiPercent << " " << u;
                    // It gave up where the mismatch passed the band, not at the cap.
                    EXPECT_LT(out.searchSteps, 20000);
                    EXPECT_GE(out.searchSteps, 0);
                    ++failures;
                }
            }
        }
    }
    EXPECT_GT(compared, 1000);
    EXPECT_GT(failures, 100);
}

// A failed search names B or υ where the psychrometer term at the first grid
// value is above 4·10⁸ Pa (over 1.0005), and says that no humidity can succeed
// where it is above the saturation pressure there, up to 882 °C. Both rest on
// these properties of the saturation pressure.
TEST(WetBulbSearch, SaturationPressureRisesUpTo882AndStaysBelowTheBound)
{
    double previous = 0, highest = 0;
    long falls = 0;
    for (long i = -27314; i <= 1000000; ++i) {
        const double t = i / 100.0;
        const double p = Pressure(t);
        if (t <= 882 && p < previous)
            ++falls;
        highest = std::max(highest, p);
        previous = p;
    }
    EXPECT_EQ(falls, 0);
    EXPECT_LT(highest * 1.0005, 4e8);
    EXPECT_GT(highest, 3.9e8);
}

TEST(WetBulbSearch, GivesUpWithinAFewStepsNearSaturation)
{
    for (const CalcOutcome& out : {psiKnown("27", "100"), psiKnown("5", "99")}) {
        EXPECT_EQ(out.status, CalcStatus::Failure);
        EXPECT_LE(out.searchSteps, 5);
    }
    const CalcOutcome slow = psiKnown("27", "99.5", "101325", "0.0001");
    EXPECT_EQ(slow.status, CalcStatus::Failure);
    EXPECT_LE(slow.searchSteps, 100);
}

TEST(WetBulbSearch, AbsurdTemperaturesEndAtTheStepBound)
{
    // Dry air at a tiny pressure far above the water formula's range would
    // step down for up to about a million steps; the search stops at its bound.
    for (const char* t : {"1000", "2150", "3200", "5000"}) {
        const CalcOutcome out = psiKnown(t, "0", "1e-10", "1e300");
        EXPECT_EQ(out.status, CalcStatus::Failure) << t;
        EXPECT_LE(out.searchSteps, kMaxSearchSteps) << t;
    }
    EXPECT_EQ(psiKnown("2150", "0", "1e-10", "1e300").searchSteps, kMaxSearchSteps);
}

}  // namespace
