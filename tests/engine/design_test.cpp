// Air-handling designs: a textbook example read off a printed chart, the
// balances every design must close, and the refusals by cause.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "design.h"
#include "display.h"
#include "textbook_design.h"

namespace {

// The textbook example (see textbook_design.h): a chart reading agrees to
// about 3 %.
DesignInput summerPrimary() { return TextbookSummerDesign(); }

DesignInput winterPrimary()
{
    DesignInput in;
    in.season = Season::Winter;
    in.room[0] = {Quantity::t, 20};
    in.room[1] = {Quantity::psi, 50};
    in.outdoor[0] = {Quantity::t, -5};
    in.outdoor[1] = {Quantity::psi, 40};
    in.Q = -2.5;
    in.W = 0.2;
    in.freshAirRatio = 0.2;
    in.G = 0.33;
    return in;
}

double load(const DesignResult& r, const std::string& key)
{
    for (const DesignLoad& l : r.loads) {
        if (l.key == key)
            return l.value;
    }
    ADD_FAILURE() << "no load " << key;
    return NAN;
}

const StatePoint& at(const DesignResult& r, const char* name)
{
    static const StatePoint none{};
    const DesignPoint* p = r.point(name);
    return p ? p->state : (ADD_FAILURE() << "no point " << name, none);
}

TEST(Design, TheTextbookExampleAgreesWithItsChartReadAnswers)
{
    const DesignResult r = RunDesign(summerPrimary());
    ASSERT_FALSE(r.failure) << DesignFailureMessage(r.failure);
    EXPECT_NEAR(*r.epsilon, 12553, 1);  // 3.314 / 0.000264
    EXPECT_NEAR(at(r, "N").h, 46, 46 * 0.03);
    EXPECT_NEAR(at(r, "O").h, 36, 36 * 0.03);
    EXPECT_NEAR(r.G, 0.33, 0.33 * 0.03);
}

// The balances of each procedure, which hold whatever the numbers: the coil
// takes the room load, the fresh-air load and the reheat; the supply air
// takes the room's moisture; O (and L of 二次回风) lie on the ε line.
TEST(Design, EveryDesignClosesItsHeatAndMoistureBalances)
{
    DesignInput secondary = summerPrimary();
    secondary.system = AirSystem::SecondaryReturn;
    secondary.supply->value = 5;
    secondary.coilRh = 95;
    DesignInput direct = summerPrimary();
    direct.system = AirSystem::Direct;
    direct.freshAirRatio = 1;
    DesignInput dewPoint = summerPrimary();
    dewPoint.supply = SupplyRule{SupplyRule::Kind::Humidity, 90};
    for (const DesignInput& in : {summerPrimary(), secondary, direct, dewPoint}) {
        const DesignResult r = RunDesign(in);
        ASSERT_FALSE(r.failure) << DesignFailureMessage(r.failure);
        const StatePoint &N = at(r, "N"), &O = at(r, "O"), &W = at(r, "W");
        const double m = in.freshAirRatio;
        EXPECT_NEAR(load(r, "coil") - load(r, "reheat"), in.Q + load(r, "fresh_air"), 1e-9);
        EXPECT_NEAR(load(r, "fresh_air"), m * r.G * (W.h - N.h), 1e-9);
        EXPECT_NEAR(r.G * (N.d - O.d), in.W, 1e-9);
        EXPECT_NEAR((O.h - N.h) / ((O.d - N.d) / 1000), *r.epsilon, 1e-6);
        EXPECT_NEAR(at(r, "L").psi * 100, in.supply->kind == SupplyRule::Kind::Humidity ? in.supply->value : in.coilRh, 1e-9);
        EXPECT_NEAR(r.Gm3h, r.G * O.v * 3600, 1e-9);
        if (in.supply->kind == SupplyRule::Kind::Difference) {
            EXPECT_EQ(O.t, N.t - in.supply->value);
        }
        // The condensate is the room's moisture plus what the fresh air brings.
        const double coilAir = in.system == AirSystem::SecondaryReturn ? load(r, "coil_air") : r.G;
        EXPECT_NEAR(load(r, "condensate") / 3.6, coilAir * (at(r, "C").d - at(r, "L").d), 1e-9);
        EXPECT_NEAR(load(r, "condensate") / 3.6, in.W + m * r.G * (W.d - N.d), 1e-9);
    }

    DesignInput steam = winterPrimary();
    steam.humidifier = Humidifier::Steam;
    DesignInput byDifference = winterPrimary();
    byDifference.G.reset();
    byDifference.supply = SupplyRule{SupplyRule::Kind::Difference, 10};
    for (const DesignInput& in : {winterPrimary(), steam, byDifference}) {
        const DesignResult r = RunDesign(in);
        ASSERT_FALSE(r.failure) << DesignFailureMessage(r.failure);
        const StatePoint &N = at(r, "N"), &O = at(r, "O"), &W = at(r, "W"), &C = at(r, "C");
        const double m = in.freshAirRatio;
        EXPECT_NEAR(r.G * (O.h - N.h), -in.Q, 1e-9);
        EXPECT_NEAR(load(r, "water") / 3.6, -in.W + m * r.G * (N.d - W.d), 1e-9);
        if (in.humidifier == Humidifier::Spray) {
            EXPECT_NEAR(load(r, "heating") + load(r, "reheat"), r.G * (O.h - C.h), 1e-9);
        } else {
            EXPECT_EQ(at(r, "H").t, O.t);
        }
    }
}

TEST(Design, RefusesWithTheCause)
{
    struct Refusal {
        const char* what;
        std::function<void(DesignInput&)> change;
        DesignCause cause;
    };
    const Refusal refusals[] = {
        {"Δt0 = 0", [](DesignInput& in) { in.supply->value = 0; }, DesignCause::SupplyNotPositive},
        {"ratio 1.5", [](DesignInput& in) { in.freshAirRatio = 1.5; }, DesignCause::RatioOutOfRange},
        {"summer heat loss", [](DesignInput& in) { in.Q = -3; }, DesignCause::SupplyWrongSide},
        {"O in fog", [](DesignInput& in) { in.supply->value = 20; }, DesignCause::SupplySaturated},
        {"O wetter than L", [](DesignInput& in) { in.coilRh = 80; }, DesignCause::SupplyWetterThanCoil},
        {"dry outdoor air", [](DesignInput& in) {
             in.system = AirSystem::Direct;
             in.freshAirRatio = 1;
             in.outdoor[1] = {Quantity::d, 5};
         }, DesignCause::NoDehumidification},
        {"ε line away from ψL", [](DesignInput& in) {
             in.system = AirSystem::SecondaryReturn;
             in.W = -0.5;
         }, DesignCause::LineMissesCoilRh},
        {"fresh air above the coil air", [](DesignInput& in) {
             in.system = AirSystem::SecondaryReturn;
             in.freshAirRatio = 0.9;
         }, DesignCause::FreshAirAboveCoilAir},
        {"room in fog", [](DesignInput& in) { in.room[1].value = 120; }, DesignCause::PointFailed},
        {"outdoor wet bulb above its dry bulb", [](DesignInput& in) { in.outdoor[0].value = 17; }, DesignCause::PointFailed},
    };
    for (const Refusal& r : refusals) {
        DesignInput in = summerPrimary();
        r.change(in);
        const DesignResult result = RunDesign(in);
        EXPECT_EQ(result.failure.cause, r.cause) << r.what << ": " << DesignFailureMessage(result.failure);
        EXPECT_TRUE(result.points.empty() && result.loads.empty()) << r.what;
    }

    const Refusal winterRefusals[] = {
        {"cold mix in fog", [](DesignInput& in) {
             in.outdoor[0].value = -20;
             in.outdoor[1].value = 90;
             in.freshAirRatio = 0.5;
         }, DesignCause::MixInFog},
        {"wet outdoor air", [](DesignInput& in) {
             in.outdoor[0].value = 15;
             in.outdoor[1].value = 95;
             in.freshAirRatio = 0.5;
         }, DesignCause::MixWetterThanSupply},
        {"winter heat gain", [](DesignInput& in) { in.Q = 2; }, DesignCause::SupplyWrongSide},
    };
    for (const Refusal& r : winterRefusals) {
        DesignInput in = winterPrimary();
        r.change(in);
        EXPECT_EQ(RunDesign(in).failure.cause, r.cause) << r.what;
    }
}

}  // namespace
