// The chart's geometry: the mapping between (d, h) and the page, and the
// lines cut to unsaturated air within the range.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include <QLineF>
#include <QPolygonF>

#include "chartlayout.h"
#include "chartlines.h"
#include "chartmapping.h"
#include "physics.h"
#include "pressure.h"
#include "wetbulb.h"

namespace {

constexpr double kB = 101325;

// The default chart on an A4 page at 300 dpi.
struct DefaultChart {
    ChartLines lines{kB, ChartRange{}};
    ChartLayout layout{lines, ChartLayout::A4Landscape() * (300 / 25.4), 300 / 25.4};
    const ChartMapping& map = layout.mapping();
};

double relativeHumidity(const ChartLines& lines, DhPoint p)
{
    return lines.vapourPressure(p.d) / Pressure(ChartLines::TemperatureAt(p));
}

// Angle of the page direction a→b from the d axis, counter-clockwise with y
// upwards, in degrees within (−180, 180].
double pageAngle(QPointF a, QPointF b)
{
    return std::atan2(-(b.y() - a.y()), b.x() - a.x()) * 180 / M_PI;
}

TEST(ChartMapping, PageAndDataRoundTrip)
{
    const DefaultChart chart;
    for (DhPoint p : {DhPoint{0, -10}, DhPoint{10.32, 53.60034}, DhPoint{35, 140}, DhPoint{17.5, 0}}) {
        const DhPoint back = chart.map.toData(chart.map.toPage(p));
        EXPECT_NEAR(back.d, p.d, 1e-9);
        EXPECT_NEAR(back.h, p.h, 1e-9);
    }
    const QRectF frame = chart.map.frame();
    for (QPointF page : {frame.topLeft(), frame.center(), frame.bottomRight()}) {
        const QPointF back = chart.map.toPage(chart.map.toData(page));
        EXPECT_NEAR(back.x(), page.x(), 1e-7);
        EXPECT_NEAR(back.y(), page.y(), 1e-7);
    }
}

TEST(ChartMapping, TheDataBoxFillsTheFrameWithinTheArea)
{
    const QRectF area(100, 50, 800, 500);
    const ChartMapping map(0, 35, -10, 54, ChartLines::Shear(), area);
    EXPECT_TRUE(area.adjusted(-1e-9, -1e-9, 1e-9, 1e-9).contains(map.frame()));
    // d from 0 to 35 spans the frame's width, one scale for both directions.
    EXPECT_NEAR(map.toPage({35, 0}).x() - map.toPage({0, 0}).x(), map.frame().width(), 1e-9);
    EXPECT_NEAR(map.frame().height(), 64 / ChartLines::Shear() * map.scale(), 1e-9);
}

TEST(ChartMapping, IsenthalpsRunAt135DegreesToTheDAxis)
{
    const DefaultChart chart;
    int checked = 0;
    for (double h = 0; h <= 140; h += 10) {
        const auto s = chart.lines.isenthalp(h);
        ASSERT_TRUE(s) << h;
        // From its lower right end back to its upper left end.
        EXPECT_NEAR(pageAngle(chart.map.toPage(s->to), chart.map.toPage(s->from)), 135, 1e-9) << h;
        ++checked;
    }
    EXPECT_EQ(checked, 15);
}

TEST(ChartMapping, ConstantDIsVerticalAndTheZeroIsothermLevel)
{
    const DefaultChart chart;
    const auto d = chart.lines.constantMoisture(10);
    ASSERT_TRUE(d);
    EXPECT_NEAR(pageAngle(chart.map.toPage(d->from), chart.map.toPage(d->to)), 90, 1e-9);
    const auto zero = chart.lines.isotherm(0);
    ASSERT_TRUE(zero);
    EXPECT_NEAR(pageAngle(chart.map.toPage(zero->from), chart.map.toPage(zero->to)), 0, 1e-9);
    // Warmer isotherms rise slightly to the right, colder ones fall.
    const auto warm = chart.lines.isotherm(40);
    const auto cold = chart.lines.isotherm(-10);
    const double warmAngle = pageAngle(chart.map.toPage(warm->from), chart.map.toPage(warm->to));
    EXPECT_GT(warmAngle, 1);
    EXPECT_LT(warmAngle, 5);
    EXPECT_LT(pageAngle(chart.map.toPage(cold->from), chart.map.toPage(cold->to)), 0);
}

TEST(ChartLines, SaturationCurvePassesThroughThePressurePoints)
{
    const ChartLines lines(kB, ChartRange{});
    const std::vector<DhPoint> curve = lines.humidityCurve(1);
    ASSERT_GT(curve.size(), 10u);
    for (double t : {0.0, 10.0, 20.0, 30.0}) {
        const double d = MoistureContentFromVapourPressure(kB, Pressure(t));
        const double h = Enthalpy(t, d);
        bool found = false;
        for (DhPoint p : curve)
            found = found || (p.d == d && p.h == h);
        EXPECT_TRUE(found) << "t = " << t << ": (" << d << ", " << h << ") not on the curve";
    }
    // Saturated air at 101325 Pa by these formulas (622·Pq/(B − Pq), worked
    // by hand from Pressure's reference values 2338.8037 and 4246.03 Pa), g/kg.
    EXPECT_NEAR(MoistureContentFromVapourPressure(kB, Pressure(20)), 14.696, 0.001);
    EXPECT_NEAR(MoistureContentFromVapourPressure(kB, Pressure(30)), 27.205, 0.001);
}

TEST(ChartLines, SaturationCurveOnThePageMeetsTheMappedPressurePoints)
{
    // The polyline drawn passes within a hundredth of a millimetre of them.
    const DefaultChart chart;
    QPolygonF line;
    for (DhPoint p : chart.lines.humidityCurve(1))
        line << chart.map.toPage(p);
    for (double t : {0.0, 10.0, 20.0, 30.0}) {
        const double d = MoistureContentFromVapourPressure(kB, Pressure(t));
        const QPointF expected = chart.map.toPage({d, Enthalpy(t, d)});
        double nearest = std::numeric_limits<double>::infinity();
        for (QPointF q : line)
            nearest = std::min(nearest, QLineF(q, expected).length());
        EXPECT_LT(nearest, chart.layout.mm(0.01)) << t;
    }
}

TEST(ChartLines, NoLineReachesIntoTheFogRegionOrOutOfTheRange)
{
    const ChartRange r;
    const ChartLines lines(kB, r);
    const auto inside = [&](DhPoint p, const char* what, double value) {
        const double t = ChartLines::TemperatureAt(p);
        EXPECT_LE(relativeHumidity(lines, p), 1 + 1e-9) << what << " " << value;
        EXPECT_GE(t, r.tMin - 1e-9) << what << " " << value;
        EXPECT_LE(t, r.tMax + 1e-9) << what << " " << value;
        EXPECT_GE(p.d, r.dMin - 1e-9) << what << " " << value;
        EXPECT_LE(p.d, r.dMax + 1e-9) << what << " " << value;
    };
    for (double t = -10; t <= 50; t += 1) {
        const auto s = lines.isotherm(t);
        ASSERT_TRUE(s) << t;
        inside(s->from, "isotherm", t);
        inside(s->to, "isotherm", t);
    }
    for (double h = -10; h <= 150; h += 2) {
        if (const auto s = lines.isenthalp(h)) {
            inside(s->from, "isenthalp", h);
            inside(s->to, "isenthalp", h);
        }
    }
    for (double d = 0; d <= 35; d += 1) {
        const auto s = lines.constantMoisture(d);
        ASSERT_TRUE(s) << d;
        inside(s->from, "constant d", d);
        inside(s->to, "constant d", d);
    }
    for (int percent = 10; percent <= 100; percent += 10) {
        for (DhPoint p : lines.humidityCurve(percent / 100.0))
            inside(p, "humidity", percent);
    }
}

TEST(ChartLines, LinesEndOnTheSaturationCurveWhereTheyMeetIt)
{
    const ChartLines lines(kB, ChartRange{});
    // 20 °C saturates at 14.75 g/kg, within the range: the isotherm ends there.
    const auto t20 = lines.isotherm(20);
    EXPECT_NEAR(relativeHumidity(lines, t20->to), 1, 1e-9);
    EXPECT_DOUBLE_EQ(t20->to.d, MoistureContentFromVapourPressure(kB, Pressure(20)));
    // 45 °C saturates beyond 35 g/kg: it runs to the right edge.
    EXPECT_EQ(lines.isotherm(45)->to.d, 35);
    // An isenthalp of 50 kJ/kg meets saturation at 17.69 °C (12.68 g/kg).
    const auto h50 = lines.isenthalp(50);
    EXPECT_NEAR(relativeHumidity(lines, h50->to), 1, 1e-9);
    EXPECT_NEAR(ChartLines::TemperatureAt(h50->to), 17.69, 0.01);
    // The line of 10 g/kg starts at its dew point, 14.1 °C.
    EXPECT_NEAR(ChartLines::TemperatureAt(lines.constantMoisture(10)->from), 14.1, 0.1);
}

TEST(ChartLines, TemperatureAndMoistureInvertTheEnthalpyFormula)
{
    for (double t : {-10.0, 0.0, 27.0, 50.0}) {
        for (double d : {0.0, 10.32, 35.0}) {
            EXPECT_NEAR(ChartLines::TemperatureAt({d, Enthalpy(t, d)}), t, 1e-12);
            EXPECT_NEAR(ChartLines::MoistureContentAt(t, Enthalpy(t, d)), d, 1e-12);
        }
    }
}

TEST(ChartLines, WetBulbAndVolumeLinesHoldTheAirTheFormulasGiveThem)
{
    const ChartLines lines(101325, ChartRange{});
    for (double upsilon : {2.5, 0.5}) {
        for (double ts : {-5.0, 10.0, 25.0}) {
            const std::vector<DhPoint> line = lines.wetBulbLine(ts, upsilon);
            ASSERT_GT(line.size(), 4u);
            // The wet-bulb search finds this line's ts for its air (to its
            // grid), wherever its tolerance finds one at all.
            std::size_t found = 0;
            for (DhPoint p : line) {
                const double t = ChartLines::TemperatureAt(p);
                const WetBulbSearch search = SearchWetBulb(101325, upsilon, t, lines.vapourPressure(p.d));
                if (!search.found)
                    continue;
                ++found;
                EXPECT_NEAR(search.ts, ts, 0.0051) << "t = " << t << ", υ = " << upsilon;
            }
            EXPECT_GT(found, line.size() / 2) << "ts = " << ts;
        }
    }
    for (double v : {0.8, 0.85, 0.9}) {
        const std::vector<DhPoint> line = lines.volumeLine(v);
        ASSERT_GE(line.size(), 2u);
        for (DhPoint p : line) {
            const double t = ChartLines::TemperatureAt(p);
            EXPECT_NEAR(SpecificVolume(Density(101325, t, lines.vapourPressure(p.d))), v, 1e-9) << "t = " << t;
        }
    }
}

TEST(ChartLines, ARangeEntirelyInTheFogHasNoDomain)
{
    // At 5 °C air holds at most 5.4 g/kg: 10…20 g/kg is all fog.
    const ChartLines fog(kB, ChartRange{-10, 5, 10, 20});
    EXPECT_FALSE(fog.hasDomain());
    EXPECT_TRUE(fog.humidityCurve(1).empty());
    EXPECT_FALSE(fog.isotherm(0));
    EXPECT_TRUE(ChartLines(kB, ChartRange{-10, 5, 0, 20}).hasDomain());
}

TEST(ChartLines, LowPressureWhereWaterBoilsInTheRangeStillCutsItsLines)
{
    // At 5000 Pa water boils near 33 °C: above it every d is unsaturated.
    const ChartLines lines(5000, ChartRange{});
    ASSERT_TRUE(lines.hasDomain());
    EXPECT_TRUE(std::isinf(lines.moistureContent(40, 1)));
    EXPECT_EQ(lines.isotherm(40)->to.d, 35);
    for (DhPoint p : lines.humidityCurve(1)) {
        EXPECT_TRUE(std::isfinite(p.d) && std::isfinite(p.h));
        EXPECT_LE(p.d, 35);
    }
}

TEST(ChartLines, InRangeGoesByTheIsothermThroughThePoint)
{
    const ChartLines lines(kB, ChartRange{});
    EXPECT_TRUE(lines.inRange({10.32, 53.60034}));
    EXPECT_TRUE(lines.inRange({0, Enthalpy(-10, 0)}));
    EXPECT_FALSE(lines.inRange({10, Enthalpy(51, 10)}));   // above 50 °C
    EXPECT_FALSE(lines.inRange({36, Enthalpy(45, 36)}));   // beyond 35 g/kg
    EXPECT_FALSE(lines.inRange({std::nan(""), 50}));
}

TEST(ChartRange, LimitsOfARange)
{
    EXPECT_TRUE(ChartRangeValid(ChartRange{}));
    EXPECT_TRUE(ChartRangeValid(ChartRange{-100, 50, 0, 200}));
    EXPECT_FALSE(ChartRangeValid(ChartRange{20, 20, 0, 35}));     // empty
    EXPECT_FALSE(ChartRangeValid(ChartRange{30, 20, 0, 35}));     // reversed
    EXPECT_FALSE(ChartRangeValid(ChartRange{20, 20.5, 0, 35}));   // narrower than 1 °C
    EXPECT_FALSE(ChartRangeValid(ChartRange{-60, 100, 0, 35}));   // wider than 150 °C
    EXPECT_FALSE(ChartRangeValid(ChartRange{-10, 50, -1, 35}));   // negative d
    EXPECT_FALSE(ChartRangeValid(ChartRange{-10, 50, 0, 250}));   // wider than 200 g/kg
    EXPECT_FALSE(ChartRangeValid(ChartRange{-200, -100, 0, 35}));  // below the formula's range
    EXPECT_FALSE(ChartRangeValid(ChartRange{std::nan(""), 50, 0, 35}));
    EXPECT_FALSE(ChartRangeValid(ChartRange{-10, std::numeric_limits<double>::infinity(), 0, 35}));
}

TEST(ChartRange, ZoomingAndMovingStopAtTheLimits)
{
    const ChartRange first{};
    // Closer about a place: that place keeps its share of each span.
    const ChartRange in = ZoomedRange(first, 20, 10, 0.5);
    EXPECT_DOUBLE_EQ(in.tMax - in.tMin, 30);
    EXPECT_DOUBLE_EQ(in.dMax - in.dMin, 17.5);
    EXPECT_NEAR((20 - in.tMin) / 30, (20 - first.tMin) / 60, 1e-12);
    EXPECT_NEAR((10 - in.dMin) / 17.5, (10 - first.dMin) / 35, 1e-12);
    // Zoomed on and on, in or out (at the limits' corner), a range ends at
    // the narrowest or widest spans and stays valid.
    ChartRange z = first, out = first;
    for (int i = 0; i < 100; ++i) {
        z = ZoomedRange(z, 20, 10, 0.5);
        out = ZoomedRange(out, 199, 999, 2);
    }
    EXPECT_DOUBLE_EQ(z.tMax - z.tMin, kChartTSpanMin);
    EXPECT_DOUBLE_EQ(z.dMax - z.dMin, kChartDSpanMin);
    EXPECT_DOUBLE_EQ(out.tMax - out.tMin, kChartTSpanMax);
    EXPECT_DOUBLE_EQ(out.dMax - out.dMin, kChartDSpanMax);
    EXPECT_TRUE(ChartRangeValid(z) && ChartRangeValid(out));
    // Moved past a limit, it stops there with its spans.
    const ChartRange moved = MovedRange(first, -1000, -50);
    EXPECT_DOUBLE_EQ(moved.tMin, kChartTLimitMin);
    EXPECT_DOUBLE_EQ(moved.dMin, 0);
    EXPECT_DOUBLE_EQ(moved.dMax, 35);
    // A place or a move that is not a number changes nothing.
    EXPECT_DOUBLE_EQ(ZoomedRange(first, std::nan(""), 10, 0.5).tMin, first.tMin);
    EXPECT_DOUBLE_EQ(MovedRange(first, 0, std::numeric_limits<double>::infinity()).dMax, first.dMax);
}

}  // namespace
