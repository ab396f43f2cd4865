// The chart as a figure: read back from its SVG, every heavy line carries its
// number, labels keep off the numbers and the saturation curve, the ε fan's
// rays are long enough to lay a set square on.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "calculate.h"
#include "chart_test_support.h"
#include "chartcontent.h"
#include "design.h"
#include "textbook_design.h"

namespace {

constexpr double kPxPerMm = 96 / 25.4;  // SVG user units

struct Polyline {
    std::string stroke;
    std::vector<std::pair<double, double>> points;
};
struct Text {
    std::string fill;
    double x, y, size;
    std::string text;
};
struct Shapes {
    std::vector<Polyline> lines;
    std::vector<Text> texts;
};

// The polylines with their group's stroke and the texts with their fill, in
// page units; only untransformed groups (turned labels are left out).
Shapes readShapes(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    const std::string svg = file.readAll().toStdString();
    Shapes shapes;
    std::string stroke;
    bool plain = true;
    static const std::regex group(R"re(<g [^>]*?stroke="([^"]*)"[^>]*?transform="matrix\(([^)]*)\)")re");
    static const std::regex polyline(R"re(<polyline [^>]*points="([^"]*)")re");
    static const std::regex text(R"re(<text fill="([^"]*)"[^>]*x="([^"]*)" y="([^"]*)"[^>]*font-size="([^"]*)"[^>]*>([^<]*)</text>)re");
    static const std::regex point(R"(([-0-9.e]+),([-0-9.e]+))");
    for (std::size_t at = 0; at < svg.size();) {
        const std::size_t next = svg.find('<', at + 1);
        const std::string tag = svg.substr(at, std::min(svg.find("</text>", at) + 7, svg.find('\n', svg.find('>', at))) - at);
        std::smatch m;
        if (tag.rfind("<g ", 0) == 0 && std::regex_search(tag, m, group)) {
            stroke = m[1];
            plain = m[2] == "1,0,0,1,0,0";
        } else if (tag.rfind("<polyline", 0) == 0 && plain && std::regex_search(tag, m, polyline)) {
            Polyline line{stroke, {}};
            const std::string list = m[1];
            for (std::sregex_iterator p(list.begin(), list.end(), point), end; p != end; ++p)
                line.points.emplace_back(std::stod((*p)[1]), std::stod((*p)[2]));
            shapes.lines.push_back(line);
        } else if (tag.rfind("<text", 0) == 0 && plain) {
            const std::string whole = svg.substr(at, svg.find("</text>", at) + 7 - at);
            if (std::regex_search(whole, m, text))
                shapes.texts.push_back({m[1], std::stod(m[2]), std::stod(m[3]), std::stod(m[4]), m[5]});
        }
        at = next == std::string::npos ? svg.size() : next;
    }
    return shapes;
}

ChartContent pointChart(double t, double psi, ChartRange range)
{
    const std::string T = std::to_string(t), Psi = std::to_string(psi);
    const CalcOutcome outcome = CalculateStatePoint(InputMode::PsiKnown, {"101325", "2.5", T, "", Psi});
    ChartContent content;
    content.range = range;
    content.points.push_back(ChartPointOf(outcome.point, "状态点", true));
    return content;
}

const ChartContent kWinter = pointChart(0, 60, {-20, 20, 0, 10});
const ChartContent kHot = pointChart(30, 50, {20, 50, 10, 40});

TEST(ChartLayout, EveryHeavyIsothermCarriesItsNumberAndOnlyThose)
{
    QTemporaryDir dir;
    for (const ChartContent& content : {DefaultPointChart(), kWinter, kHot}) {
        const Shapes shapes = readShapes(WriteChart(dir, "chart.svg", content));
        // Heavy isotherms in their colour; their numbers in the same colour,
        // one run of text per number (a minus sign may be a run of its own).
        // (The legend's key in that colour stands right of the frame.)
        std::vector<double> lineYs, numberYs;
        double frameLeft = 1e9;
        for (const Polyline& line : shapes.lines) {
            if (line.stroke == "#1f4e85" && !line.points.empty())
                frameLeft = std::min(frameLeft, line.points.front().first);
        }
        for (const Polyline& line : shapes.lines) {
            if (line.stroke == "#1f4e85" && !line.points.empty() && line.points.front().first < frameLeft + 1)
                lineYs.push_back(line.points.front().second);
        }
        // The scale's numbers, left of the frame (those along the saturation
        // curve repeat some of them).
        for (const Text& t : shapes.texts) {
            if (t.fill == "#1f4e85" && t.x < frameLeft && (numberYs.empty() || std::fabs(numberYs.back() - t.y) > 0.5))
                numberYs.push_back(t.y);
        }
        ASSERT_FALSE(lineYs.empty());
        EXPECT_EQ(lineYs.size(), numberYs.size());
        // Some heavy isotherms are numbered again where they meet the
        // saturation curve, the dew point read off.
        EXPECT_GE(std::count_if(shapes.texts.begin(), shapes.texts.end(),
                                [&](const Text& t) { return t.fill == "#1f4e85" && t.x > frameLeft; }),
                  1);
        for (double y : lineYs) {
            const bool numbered = std::any_of(numberYs.begin(), numberYs.end(), [&](double baseline) {
                return baseline > y && baseline - y < 2 * kPxPerMm;
            });
            EXPECT_TRUE(numbered) << "heavy isotherm at y = " << y << " has no number";
        }
    }
}

// The air-handling example of the README: W → C → L → O → N with Δh and ε.
ChartContent processChart()
{
    ChartContent content;
    content.process = true;
    const std::pair<const char*, std::pair<const char*, const char*>> points[] = {
        {"W 室外", {"34", "58"}}, {"C 混合", {"28.42", "57.38"}}, {"L 机器露点", {"14", "95"}},
        {"O 送风", {"19", "69.10"}}, {"N 室内", {"26", "55"}}};
    for (const auto& [name, state] : points) {
        const CalcOutcome o = CalculateStatePoint(InputMode::PsiKnown, {"101325", "2.5", state.first, "", state.second});
        content.points.push_back(ChartPointOf(o.point, name, false));
    }
    return content;
}

// The README's 一次回风 design: its points crowd round L and O.
ChartContent designChart()
{
    const DesignInput in = TextbookSummerDesign();
    const DesignResult r = RunDesign(in);
    EXPECT_FALSE(r.failure);
    ChartContent content;
    content.range = {5, 40, 4, 22};
    content.process = true;
    for (const DesignPoint& p : r.points)
        content.points.push_back(ChartPointOf(p.state, p.name + " " + p.title, false));
    const auto index = [&](const std::string& name) {
        std::size_t i = 0;
        while (r.points[i].name != name)
            ++i;
        return i;
    };
    for (const auto& [from, to] : r.processes)
        content.arrows.emplace_back(index(from), index(to));
    return content;
}

struct Box {
    double left, top, right, bottom;
    bool intersects(const Box& o) const { return left < o.right && o.left < right && top < o.bottom && o.top < bottom; }
    bool contains(double x, double y) const { return x > left && x < right && y > top && y < bottom; }
};

// A run of text's box from its baseline and size (CJK glyphs a full em wide).
Box boxOf(const Text& t)
{
    double width = 0;
    for (std::size_t i = 0; i < t.text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(t.text[i]);
        if ((c & 0xC0) != 0x80)
            width += c >= 0xE0 ? t.size : t.size * 0.55;
    }
    return {t.x, t.y - t.size * 0.85, t.x + width, t.y + t.size * 0.2};
}

TEST(ChartLayout, LabelsCoverNoNumberAndNoPartOfTheSaturationCurve)
{
    QTemporaryDir dir;
    for (const ChartContent& content : {processChart(), designChart(), kWinter, kHot, DefaultPointChart()}) {
        const Shapes shapes = readShapes(WriteChart(dir, "chart.svg", content));
        // The saturation curve: the longest ink polyline.
        const Polyline* saturation = nullptr;
        for (const Polyline& line : shapes.lines) {
            if (line.stroke == "#202020" && (!saturation || line.points.size() > saturation->points.size()))
                saturation = &line;
        }
        ASSERT_NE(saturation, nullptr);
        std::vector<Box> numbers, labels, pointLabels;
        for (const Text& t : shapes.texts) {
            if (t.fill == "#a8641e")
                numbers.push_back(boxOf(t));  // the h numbers in and beside the frame
            // Point labels (ink, on white blocks) and process labels.
            const bool pointLabel = t.fill == "#202020" && (t.text.find("室") != std::string::npos
                                                            || t.text.find("露点") != std::string::npos
                                                            || t.text.find("送风") != std::string::npos);
            const bool detail = t.fill == "#202020" && t.text.rfind("t = ", 0) == 0;
            if (pointLabel || detail || t.fill == "#6a1b9a")
                labels.push_back(boxOf(t));
            if (pointLabel)
                pointLabels.push_back(boxOf(t));
        }
        // No arrow's label covers a point's.
        for (const Text& t : shapes.texts) {
            if (t.fill != "#6a1b9a")
                continue;
            for (const Box& point : pointLabels)
                EXPECT_FALSE(boxOf(t).intersects(point)) << "\"" << t.text << "\" covers a point's label";
        }
        ASSERT_FALSE(labels.empty());
        for (const Box& label : labels) {
            for (const Box& number : numbers)
                EXPECT_FALSE(label.intersects(number)) << "a label at " << label.left << "," << label.top << " covers a number";
            for (const auto& [x, y] : saturation->points)
                EXPECT_FALSE(label.contains(x, y)) << "a label at " << label.left << "," << label.top << " covers the curve";
        }
    }
}

TEST(ChartLayout, EveryEnthalpyNumberIsNearerItsOwnLineThanAnyOther)
{
    QTemporaryDir dir;
    for (const ChartContent& content : {DefaultPointChart(), kWinter, kHot, processChart()}) {
        const Shapes shapes = readShapes(WriteChart(dir, "chart.svg", content));
        // The isenthalps, thin and heavy, each as its line through the chart.
        std::vector<Polyline> lines;
        for (const Polyline& line : shapes.lines) {
            if ((line.stroke == "#a8641e" || line.stroke == "#d8bd9a") && line.points.size() == 2)
                lines.push_back(line);
        }
        // How far a point is from the line (not the segment): the eye follows
        // a line past its end to the number.
        const auto distance = [](const Polyline& l, double x, double y) {
            const auto [x1, y1] = l.points[0];
            const auto [x2, y2] = l.points[1];
            return std::fabs((x2 - x1) * (y1 - y) - (x1 - x) * (y2 - y1)) / std::hypot(x2 - x1, y2 - y1);
        };
        std::vector<std::size_t> nearest;
        std::optional<double> minusLeft;  // a minus sign is a run of its own
        for (const Text& t : shapes.texts) {
            if (t.fill != "#a8641e")
                continue;
            if (t.text == "−") {
                minusLeft = t.x;
                continue;
            }
            Box b = boxOf(t);
            b.left = minusLeft.value_or(b.left);
            minusLeft.reset();
            const double x = (b.left + b.right) / 2, y = (b.top + b.bottom) / 2;
            std::size_t best = 0;
            for (std::size_t i = 1; i < lines.size(); ++i) {
                if (distance(lines[i], x, y) < distance(lines[best], x, y))
                    best = i;
            }
            EXPECT_EQ(lines[best].stroke, "#a8641e") << t.text << " at " << x << "," << y << " is nearer a thin line than its own";
            nearest.push_back(best);
        }
        ASSERT_FALSE(nearest.empty());
        // Each number has a line of its own: none is nearer a neighbour.
        std::sort(nearest.begin(), nearest.end());
        EXPECT_EQ(std::adjacent_find(nearest.begin(), nearest.end()), nearest.end());
    }
}

TEST(ChartLayout, TheEpsilonFansRaysAreAtLeast20mmLong)
{
    QTemporaryDir dir;
    // Opening upwards under the hot chart's wide frame, +∞ and −∞ are one ray.
    for (const auto& [content, expectedRays] : {std::pair{DefaultPointChart(), 11}, {kWinter, 11}, {kHot, 10}}) {
        const Shapes shapes = readShapes(WriteChart(dir, "chart.svg", content));
        int rays = 0;
        for (const Polyline& line : shapes.lines) {
            if (line.stroke != "#444444" || line.points.size() != 2)
                continue;
            ++rays;
            const double length = std::hypot(line.points[1].first - line.points[0].first,
                                              line.points[1].second - line.points[0].second);
            EXPECT_GE(length, 20 * kPxPerMm);
        }
        EXPECT_EQ(rays, expectedRays);
    }
}

}  // namespace
