// A state from two properties: round trips of every pair, the window's
// ψ-known calculation bit for bit, and the refusals by cause.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "display.h"
#include "pair.h"

namespace {

constexpr double kB = 101325;
constexpr double kUpsilon = 2.5;

struct Case {
    double B, t, psiPercent;
};

// Summer, winter, dry, near saturation, below freezing, at altitude.
const Case kStates[] = {
    {kB, 27, 46.37}, {kB, 35, 30}, {kB, 22, 55}, {kB, 12, 95}, {kB, -5, 80}, {kB, 45, 10}, {84556, 20, 50},
};

PairState fromTAndPsi(const Case& c)
{
    return StateFromPair(c.B, kUpsilon, {Quantity::t, c.t}, {Quantity::psi, c.psiPercent});
}

double given(const StatePoint& s, Quantity q) { return q == Quantity::psi ? s.psi * 100 : ValueOf(s, q); }

TEST(StateFromPair, TAndPsiIsTheCalculationWindowsPsiKnownStateBitForBit)
{
    for (const Case& c : kStates) {
        const std::string B = FormatShortest(c.B), t = FormatShortest(c.t), psi = FormatShortest(c.psiPercent);
        const CalcOutcome window = CalculateStatePoint(InputMode::PsiKnown, {B, "2.5", t, "", psi});
        ASSERT_EQ(window.status, CalcStatus::Ok);
        const PairState pair = fromTAndPsi(c);
        ASSERT_FALSE(pair.failure);
        EXPECT_EQ(std::memcmp(&window.point, &pair.point, sizeof(StatePoint)), 0) << c.t << " " << c.psiPercent;
    }
}

TEST(StateFromPair, EveryPairOfAStatesOwnValuesGivesTheSameState)
{
    const Quantity properties[] = {Quantity::t, Quantity::psi, Quantity::ts, Quantity::d, Quantity::h, Quantity::tl};
    for (const Case& c : kStates) {
        const StatePoint s = fromTAndPsi(c).point;
        const bool tlInFit = s.tl >= 0 && s.tl <= 65;
        for (Quantity a : properties) {
            for (Quantity b : properties) {
                const bool refused = a == b || (a == Quantity::d && b == Quantity::tl)
                                     || (a == Quantity::tl && b == Quantity::d)
                                     || (a == Quantity::ts && b == Quantity::h) || (a == Quantity::h && b == Quantity::ts);
                if (refused || ((a == Quantity::tl || b == Quantity::tl) && !tlInFit))
                    continue;
                const PairState r = StateFromPair(c.B, kUpsilon, {a, given(s, a)}, {b, given(s, b)});
                SCOPED_TRACE(std::string(Info(a).name) + "+" + Info(b).name + " at t = " + FormatShortest(c.t));
                ASSERT_FALSE(r.failure) << FailureMessage(r.failure);
                // ts is a grid value (0.005 K) and tl a fit: pairs with them
                // agree to what they resolve, the others to rounding.
                const bool coarse = a == Quantity::ts || b == Quantity::ts;
                EXPECT_NEAR(r.point.t, s.t, coarse ? 0.03 : 1e-9);
                EXPECT_NEAR(r.point.d, s.d, coarse ? 0.01 : 1e-9);
                EXPECT_NEAR(r.point.h, s.h, coarse ? 0.03 : 1e-9);
                EXPECT_NEAR(r.point.psi, s.psi, coarse ? 1e-3 : 1e-11);
                EXPECT_NEAR(r.point.ts, s.ts, 0.0051);
                // A given value is kept as given.
                EXPECT_EQ(given(r.point, a), given(s, a));
                EXPECT_EQ(given(r.point, b), given(s, b));
            }
        }
    }
}

TEST(StateFromPair, RefusesWithTheCauseAndTheQuantityToBlame)
{
    struct Refusal {
        Given a, b;
        double upsilon;
        CalcCause cause;
        Quantity blamed;
    };
    const Refusal refusals[] = {
        {{Quantity::t, 27}, {Quantity::psi, 120}, kUpsilon, CalcCause::Supersaturated, Quantity::psi},
        {{Quantity::t, 20}, {Quantity::d, 30}, kUpsilon, CalcCause::Supersaturated, Quantity::d},
        {{Quantity::ts, 10}, {Quantity::d, 20}, kUpsilon, CalcCause::Supersaturated, Quantity::ts},
        {{Quantity::d, 10}, {Quantity::tl, 14}, kUpsilon, CalcCause::PairNotIndependent, Quantity::tl},
        {{Quantity::t, 10}, {Quantity::t, 14}, kUpsilon, CalcCause::PairNotIndependent, Quantity::t},
        {{Quantity::ts, 19}, {Quantity::h, 50}, kUpsilon, CalcCause::PairIllConditioned, Quantity::h},
        {{Quantity::t, 27}, {Quantity::tl, 70}, kUpsilon, CalcCause::DewPointOutsideFit, Quantity::tl},
        {{Quantity::t, 27}, {Quantity::tl, -1}, kUpsilon, CalcCause::DewPointOutsideFit, Quantity::tl},
        {{Quantity::t, 27}, {Quantity::d, -1}, kUpsilon, CalcCause::BelowDryAir, Quantity::d},
        {{Quantity::t, 20}, {Quantity::h, 10}, kUpsilon, CalcCause::BelowDryAir, Quantity::h},
        {{Quantity::t, 40}, {Quantity::ts, 10}, kUpsilon, CalcCause::BelowDryAir, Quantity::ts},
        {{Quantity::t, 20}, {Quantity::ts, 25}, kUpsilon, CalcCause::WetBulbAboveDryBulb, Quantity::ts},
        {{Quantity::t, 20}, {Quantity::psi, -1}, kUpsilon, CalcCause::HumidityNegative, Quantity::psi},
        {{Quantity::d, 1e6}, {Quantity::psi, 1}, kUpsilon, CalcCause::NoStateForPair, Quantity::psi},
        {{Quantity::t, -300}, {Quantity::psi, 50}, kUpsilon, CalcCause::BelowAbsoluteZero, Quantity::t},
        {{Quantity::h, 1e308 * 10}, {Quantity::psi, 50}, kUpsilon, CalcCause::NotFinite, Quantity::h},
        {{Quantity::t, 27}, {Quantity::psi, 50}, 0, CalcCause::VelocityNotPositive, Quantity::upsilon},
    };
    for (const Refusal& r : refusals) {
        const PairState s = StateFromPair(kB, r.upsilon, r.a, r.b);
        SCOPED_TRACE(std::string(Info(r.a.quantity).name) + "=" + FormatShortest(r.a.value) + ", "
                     + Info(r.b.quantity).name + "=" + FormatShortest(r.b.value));
        EXPECT_EQ(s.failure.cause, r.cause) << FailureMessage(s.failure);
        EXPECT_EQ(s.failure.blamed, r.blamed);
        EXPECT_FALSE(FailureMessage(s.failure).empty());
    }
    // A wet bulb the search cannot find refuses the state, unless it may be left out.
    const Given cold{Quantity::t, -15}, humid{Quantity::psi, 60};
    EXPECT_EQ(StateFromPair(kB, kUpsilon, cold, humid).failure.cause, CalcCause::SearchFailed);
    const PairState kept = StateFromPair(kB, kUpsilon, cold, humid, WetBulb::Optional);
    EXPECT_FALSE(kept.failure);
    EXPECT_FALSE(kept.wetBulbFound);
    EXPECT_TRUE(std::isnan(kept.point.ts));
}

TEST(CalculateFromPair, ShowsTheGivenTextsAsTypedAndComputesTheRest)
{
    const PairInputs in{"101325", "2.5", Quantity::t, "27℃", Quantity::h, "53.6", std::nullopt};
    const CalcOutcome out = CalculateFromPair(in);
    ASSERT_EQ(out.status, CalcStatus::Ok);
    EXPECT_EQ(PairShownText(in, out, Quantity::t), "27℃");
    EXPECT_EQ(PairShownText(in, out, Quantity::h), "53.6");
    EXPECT_EQ(PairShownText(in, out, Quantity::d), "10.32");
    EXPECT_EQ(PairShownText(in, out, Quantity::ts), "19.03");
    EXPECT_EQ(PairShownText(in, out, Quantity::tl), "14.94");

    // A computed t in two decimals; B as a number when the altitude gave it.
    const PairInputs hd{"84556", "2.5", Quantity::h, "53.6", Quantity::d, "10.32", 84556.0};
    const CalcOutcome solved = CalculateFromPair(hd);
    ASSERT_EQ(solved.status, CalcStatus::Ok);
    const std::string t(PairShownText(hd, solved, Quantity::t));
    EXPECT_EQ(t.size() - t.find('.'), 3u) << t;
    EXPECT_EQ(solved.point.B, 84556);

    EXPECT_EQ(CalculateFromPair({"101325", "2.5", Quantity::t, "27", Quantity::d, "", std::nullopt}).status,
              CalcStatus::Incomplete);
}

}  // namespace
