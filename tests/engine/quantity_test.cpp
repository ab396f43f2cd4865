// The quantity table against the calculation: every consumer that asks for a
// quantity (record lines, command line, batch columns, chart) must get the
// text the calculation gave it.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "calculate.h"
#include "display.h"
#include "physics.h"
#include "quantity.h"

namespace {

// The display patterns "0.00" … "0.00000".
std::string Fixed2(double v) { return FormatFixed(v, 2); }
std::string Fixed3(double v) { return FormatFixed(v, 3); }
std::string Fixed5(double v) { return FormatFixed(v, 5); }

const CalcInputs kDefaults{"101325", "2.5", "27", "19", "46.37"};

TEST(QuantityTable, EachModeTypesExactlyItsFourKnownValues)
{
    for (InputMode mode : {InputMode::PsiKnown, InputMode::TsKnown}) {
        std::set<Quantity> typed;
        for (const QuantityInfo& q : kQuantities) {
            if (!IsResult(q.quantity, mode))
                typed.insert(q.quantity);
        }
        const Quantity humidity = mode == InputMode::PsiKnown ? Quantity::psi : Quantity::ts;
        EXPECT_EQ(typed, (std::set<Quantity>{Quantity::B, Quantity::upsilon, Quantity::t, humidity}));
    }
}

TEST(QuantityTable, RowsAreInTheOrderOfTheEnum)
{
    for (int i = 0; i < kQuantityCount; ++i)
        EXPECT_EQ(static_cast<int>(kQuantities[i].quantity), i) << kQuantities[i].name;
}

TEST(QuantityTable, DisplayTextOfEveryResultIsWhatTheCalculationWrites)
{
    for (InputMode mode : {InputMode::PsiKnown, InputMode::TsKnown}) {
        const CalcOutcome out = CalculateStatePoint(mode, kDefaults);
        ASSERT_EQ(out.status, CalcStatus::Ok);
        int results = 0;
        for (const QuantityInfo& q : kQuantities) {
            if (!IsResult(q.quantity, mode))
                continue;
            ++results;
            EXPECT_EQ(ResultText(out, q.quantity), DisplayText(out.point, q.quantity)) << q.name;
        }
        EXPECT_EQ(results, 9);
        EXPECT_EQ(out.results.size(), 9u);
    }
}

TEST(QuantityTable, ShownTextIsTheTypedTextOfAnInputAndTheResultOtherwise)
{
    const CalcInputs typed{" 101 325", "2.5m/s", "27℃", "19", "46.37%"};
    const CalcOutcome psi = CalculateStatePoint(InputMode::PsiKnown, typed);
    EXPECT_EQ(ShownText(typed, psi, InputMode::PsiKnown, Quantity::B), " 101 325");
    EXPECT_EQ(ShownText(typed, psi, InputMode::PsiKnown, Quantity::psi), "46.37%");
    EXPECT_EQ(ShownText(typed, psi, InputMode::PsiKnown, Quantity::ts), "19.03");
    const CalcOutcome ts = CalculateStatePoint(InputMode::TsKnown, typed);
    EXPECT_EQ(ShownText(typed, ts, InputMode::TsKnown, Quantity::ts), "19");
    EXPECT_EQ(ShownText(typed, ts, InputMode::TsKnown, Quantity::psi), "46.73");
    // A quantity typed in this mode has no result text.
    EXPECT_EQ(ResultText(ts, Quantity::ts), "");
}

TEST(QuantityTable, TheDewPointOutsideItsRangeIsEmptyInTheBoxButKeptInThePoint)
{
    const CalcInputs in{"101325", "2.5", "27", "12", ""};
    const CalcOutcome out = CalculateStatePoint(InputMode::TsKnown, in);
    ASSERT_TRUE(out.dewPointOutOfRange);
    EXPECT_EQ(ResultText(out, Quantity::tl), "");
    EXPECT_EQ(DisplayText(out.point, Quantity::tl), "-1.36");
}

TEST(Physics, NamedFormulasGiveTheWorkedExample)
{
    // t = 27 °C, ts = 19 °C at 101325 Pa, the ts-known mode's figures.
    EXPECT_EQ(Fixed2(AntoinePressure(kAntoineConstant, 27)), "3539.81");
    EXPECT_EQ(Fixed2(AntoinePressure(kAntoineConstant, 19)), "2171.73");
    const double Ps = AntoinePressure(kAntoineConstantWetBulb, 19);
    const double d = MoistureContentFromWetBulb(101325, 27, 19, Ps);
    EXPECT_EQ(Fixed2(d), "10.32");
    const double Pq = VapourPressureFromMoistureContent(101325, d);
    EXPECT_EQ(Fixed5(Pq), "1654.08145");
    EXPECT_EQ(Fixed2(DewPointFit(Pq)), "14.94");
    EXPECT_EQ(Fixed5(Enthalpy(27, d)), "53.59903");
    EXPECT_EQ(Fixed3(Density(101325, 27, Pq)), "1.168");
    // The two directions between d and Pq agree.
    EXPECT_NEAR(MoistureContentFromVapourPressure(101325, Pq), d, 1e-12);
}

TEST(Physics, PercentShownRoundsTheFractionToFourDecimalsFirst)
{
    EXPECT_EQ(FormatShortest(PercentShown(0.4672796)), "46.73");
    EXPECT_EQ(FormatShortest(PercentShown(0.5)), "50");
}

}  // namespace
