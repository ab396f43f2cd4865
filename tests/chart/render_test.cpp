// The chart drawn into real PNG, SVG and PDF files and read back.
#include <gtest/gtest.h>

#include <QFile>

#include <ctime>

#include <QColor>
#include <QFontMetricsF>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "calculate.h"
#include "chart_test_support.h"
#include "chartcanvas.h"
#include "chartlayout.h"
#include "chartpainter.h"
#include "chartpalette.h"
#include "physics.h"

namespace {

constexpr int kDpi = 150;  // enough to find a 1.8 mm marker, quicker than 300

ChartLayout layoutOf(const ChartContent& content, const QImage& image)
{
    return ChartLayout(ChartLines(content.B, content.range), image.size(),
                       image.dotsPerMeterX() / 1000.0);
}

bool isProcessPurple(QColor c)
{
    return c.red() > c.green() + 40 && c.blue() > c.green() + 40;
}

ChartPoint point(double t, double psiPercent, const char* label)
{
    const CalcOutcome o = CalculateStatePoint(InputMode::PsiKnown,
                                              {"101325", "2.5", std::to_string(t), "", std::to_string(psiPercent)});
    EXPECT_EQ(o.status, CalcStatus::Ok);
    return ChartPointOf(o.point, label, false);
}

TEST(RenderedPng, TheMarkerSitsWhereTheMappingPutsThePoint)
{
    QTemporaryDir dir;
    const ChartContent content = DefaultPointChart();
    const QImage image(WriteChart(dir, "point.png", content, kDpi));
    ASSERT_FALSE(image.isNull());
    // A4 landscape at the resolution asked for.
    EXPECT_EQ(image.width(), qRound(297 / 25.4 * kDpi));
    EXPECT_EQ(image.height(), qRound(210 / 25.4 * kDpi));
    EXPECT_NEAR(image.dotsPerMeterX() * 0.0254, kDpi, 0.1);

    const ChartLayout layout = layoutOf(content, image);
    const QPointF at = layout.mapping().toPage({content.points[0].d, content.points[0].h});
    const QColor marker = ChartPalette::kPoint;
    // The marker's inside, 0.35 mm around its centre (its radius is 0.9 mm
    // to the middle of its outline), is the point colour.
    const int r = qRound(layout.mm(0.35));
    for (int dx : {-r, 0, r}) {
        for (int dy : {-r, 0, r}) {
            const QColor c = image.pixelColor(qRound(at.x()) + dx, qRound(at.y()) + dy);
            EXPECT_EQ(c, marker) << dx << "," << dy << " " << c.name().toStdString();
        }
    }
    // 3 mm beside it, left, where no label goes, it is not.
    EXPECT_NE(image.pixelColor(qRound(at.x() - layout.mm(3)), qRound(at.y())), marker);
}

TEST(RenderedPng, FogRegionIsLeftEmpty)
{
    QTemporaryDir dir;
    const ChartContent content;
    const QImage image(WriteChart(dir, "empty.png", content, kDpi));
    const ChartLayout layout = layoutOf(content, image);
    // 32 g/kg at 5 °C is deep in the fog: white, as is a ring around it.
    const double d = 32;
    const QPointF fog = layout.mapping().toPage({d, Enthalpy(5, d)});
    for (int dx = -5; dx <= 5; ++dx)
        EXPECT_EQ(image.pixelColor(qRound(fog.x()) + dx, qRound(fog.y())), QColor(Qt::white)) << dx;
}

TEST(RenderedPng, ProcessArrowsToPointsOutsideTheRangeStopAtTheFrame)
{
    QTemporaryDir dir;
    ChartContent content;
    content.range = ChartRange{10, 30, 5, 20};
    // From inside the range to far outside it on each side, and back.
    content.points = {point(20, 50, "A"), point(45, 60, "B"), point(25, 40, "C"), point(-5, 80, "D"),
                      point(15, 90, "E")};
    content.process = true;
    const QImage image(WriteChart(dir, "clip.png", content, kDpi));
    const ChartLayout layout = layoutOf(content, image);
    const QRect frame = layout.frame().toAlignedRect();
    const QRect legend = layout.legend().toAlignedRect();
    int insideFrame = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (!isProcessPurple(image.pixelColor(x, y)))
                continue;
            if (frame.contains(x, y))
                ++insideFrame;
            else
                EXPECT_TRUE(legend.contains(x, y)) << "process colour outside the frame at " << x << "," << y;
        }
    }
    EXPECT_GT(insideFrame, 100);
}

TEST(RenderedSvg, IsWellFormedXmlWithItsTextsAsText)
{
    QTemporaryDir dir;
    const QString path = WriteChart(dir, "point.svg", DefaultPointChart());
    const std::string text = SvgText(path);
    for (const char* expected :
         {"焓", "含湿量", "相对湿度", "干球温度", "水蒸气分压力", "热湿比", "大气压力 B = 101325 Pa",
          "状态点", "t = 27.00℃", "ψ = 46.37%", "d = 10.32 g/kg干", "h = 53.60 kJ/kg干", "ts = 19.03℃", "tl = 14.94℃",
          "ψ = 100%", "状态点：1 个", "−2000", "−∞"}) {
        EXPECT_NE(text.find(expected), std::string::npos) << "missing: " << expected;
    }
    EXPECT_EQ(text.find("范围之外"), std::string::npos);
    // Minus signs, not hyphens; exactly A4.
    EXPECT_EQ(text.find("-2000"), std::string::npos);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray svg = file.readAll();
    EXPECT_TRUE(svg.contains("<svg width=\"297mm\" height=\"210mm\"")) << svg.left(200).toStdString();
}

TEST(RenderedSvg, ProcessArrowsCarryTheirEnthalpyDifferenceAndRatio)
{
    QTemporaryDir dir;
    ChartContent content;
    // Sensible heating (same d), then a 2 kJ/kg rise with 1 g/kg more, then
    // reheating whose d differs only by the typing's rounding.
    content.points = {{10, 40, "L", {}}, {10, 50, "O", {}}, {11, 52, "N", {}}, {10.9996, 57, "S", {}}};
    content.process = true;
    const std::string text = SvgText(WriteChart(dir, "process.svg", content));
    EXPECT_NE(text.find("Δh = 10.00 kJ/kg干"), std::string::npos) << text;
    EXPECT_NE(text.find("ε = +∞ kJ/kg"), std::string::npos);
    EXPECT_NE(text.find("Δh = 2.00 kJ/kg干"), std::string::npos);
    EXPECT_NE(text.find("ε = 2000 kJ/kg"), std::string::npos);
    EXPECT_NE(text.find("Δh = 5.00 kJ/kg干"), std::string::npos);
    EXPECT_EQ(text.find("ε = -12500000"), std::string::npos);
    EXPECT_NE(text.find("过程线"), std::string::npos);
}

TEST(RenderedSvg, LegendCountsPointsOutsideTheRangeAndNotesAnEmptyChart)
{
    QTemporaryDir dir;
    ChartContent outside;
    outside.points = {point(27, 46.37, "1"), point(55, 10, "2"), point(20, 30, "3")};
    outside.range = ChartRange{-10, 30, 0, 35};
    const std::string text = SvgText(WriteChart(dir, "outside.svg", outside));
    EXPECT_NE(text.find("1 个点在图的范围之外，未画出"), std::string::npos) << text;
    EXPECT_NE(text.find("状态点：2 个"), std::string::npos);

    ChartContent empty;
    empty.notes = {"另有 3 行计算失败，未画出"};
    const std::string none = SvgText(WriteChart(dir, "none.svg", empty));
    EXPECT_NE(none.find("没有可绘制的状态点"), std::string::npos);
    EXPECT_NE(none.find("另有 3 行计算失败，未画出"), std::string::npos);
}

TEST(RenderedSvg, LabelsFromTheInputStayOnOneShortLine)
{
    QTemporaryDir dir;
    ChartContent content;
    const std::string longLabel = "测点" + std::string(500, 'x');
    // Characters XML 1.0 forbids (a noncharacter, a control) would make the
    // whole SVG unreadable: SvgText() fails the test if it does not parse.
    content.points = {{10, 40, longLabel, {}},
                      {12, 45, "第一行\n第二行", {}},
                      {14, 50, "", {}},
                      {16, 55, "A\xef\xbf\xbe\xef\xbf\xbf" "B\x01" "C\xef\xb7\x90\xf4\x8f\xbf\xbf" "D", {}}};
    const std::string text = SvgText(WriteChart(dir, "labels.svg", content));
    EXPECT_EQ(text.find(longLabel), std::string::npos);
    EXPECT_NE(text.find("测点xxx"), std::string::npos);
    EXPECT_NE(text.find("…"), std::string::npos);
    EXPECT_NE(text.find("第一行 第二行"), std::string::npos) << text;
    EXPECT_NE(text.find("A\xef\xbf\xbd\xef\xbf\xbd" "B C\xef\xbf\xbd\xef\xbf\xbd" "D"), std::string::npos) << text;
}

TEST(ChartLabels, ACutLabelStillFillsTheLongestLabelDrawn)
{
    // Labels are cut to kMaxLabelCharacters when read; even of the narrowest
    // characters, that many are wider than the 40 mm a label is drawn in, so
    // the cut never shows.
    QFont bold = ChartCanvas::Font(7.5, true);
    QImage page(10, 10, QImage::Format_RGB32);
    page.setDotsPerMeterX(qRound(300 / 0.0254));
    page.setDotsPerMeterY(qRound(300 / 0.0254));
    const QFontMetricsF metrics(bold, &page);
    for (const QChar c : QStringLiteral(".,:;'|!ilIjt1 ")) {
        EXPECT_GT(metrics.horizontalAdvance(QString(static_cast<qsizetype>(kMaxLabelCharacters), c)),
                  40 * 300 / 25.4)
            << QString(c).toStdString();
    }
    EXPECT_EQ(ChartLabelOf(std::string(1000000, 'x')), std::string(kMaxLabelCharacters, 'x'));
    std::string chinese;
    for (std::size_t i = 0; i < kMaxLabelCharacters + 5; ++i)
        chinese += "测";
    EXPECT_EQ(ChartLabelOf(chinese), chinese.substr(0, 3 * kMaxLabelCharacters));
    EXPECT_EQ(ChartLabelOf("短"), "短");
}

TEST(RenderedSvg, ManyProcessArrowsCostTimeInProportionToTheirNumber)
{
    // Above the label limit arrows are drawn without labels and counted in
    // the legend; placing labels among all of them grew with their square
    // (2,500 rows took 16 s). Ten times the rows must not take a hundred
    // times as long; CPU time, so a busy machine does not matter.
    QTemporaryDir dir;
    const auto draw = [&](int rows) {
        ChartContent content;
        content.process = true;
        for (int i = 0; i < rows; ++i)
            content.points.push_back({2 + (i * 7919 % 2500) / 100.0, 20 + (i * 104729 % 5000) / 100.0, "", {}});
        const std::clock_t start = std::clock();
        const std::string text = SvgText(WriteChart(dir, "arrows.svg", content));
        const double seconds = double(std::clock() - start) / CLOCKS_PER_SEC;
        EXPECT_NE(text.find("条，点数较多，未标注"), std::string::npos);
        return seconds;
    };
    const double few = draw(2000);
    const double many = draw(20000);
    EXPECT_LT(many, 30 * few) << few << " s for 2,000 rows, " << many << " s for 20,000";
}

TEST(RenderedSvg, TitleNamesTheAltitudeWhenGiven)
{
    QTemporaryDir dir;
    ChartContent content;
    content.B = 84556;
    content.altitude = 1500;
    const std::string text = SvgText(WriteChart(dir, "altitude.svg", content));
    EXPECT_NE(text.find("B = 84556 Pa"), std::string::npos);
    EXPECT_NE(text.find("海拔 1500 m"), std::string::npos);
}

TEST(RenderedSvg, ManyPointsAreDotsWithoutLabels)
{
    QTemporaryDir dir;
    ChartContent content;
    for (int i = 0; i < ChartPainter::kMaxLabelledPoints + 1; ++i)
        content.points.push_back({5 + i * 0.1, 40 + i * 0.2, "点" + std::to_string(i + 1), {}});
    const std::string text = SvgText(WriteChart(dir, "many.svg", content));
    EXPECT_NE(text.find("点数较多，未逐点标注"), std::string::npos);
    EXPECT_EQ(text.find("点61"), std::string::npos);
}

TEST(RenderedPdf, IsOneA4LandscapePage)
{
    QTemporaryDir dir;
    const QString path = WriteChart(dir, "point.pdf", DefaultPointChart());
    QProcess pdfinfo;
    pdfinfo.start(QStringLiteral("pdfinfo"), {path});
    ASSERT_TRUE(pdfinfo.waitForFinished(30000)) << "pdfinfo (poppler-utils) did not run";
    ASSERT_EQ(pdfinfo.exitCode(), 0) << pdfinfo.readAllStandardError().toStdString();
    const QString info = QString::fromUtf8(pdfinfo.readAllStandardOutput());
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n")))) << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Page size:\\s+842 x 595 pts \\(A4\\)"))))
        << info.toStdString();
    EXPECT_TRUE(info.contains(QStringLiteral("湿空气焓湿图")));
}

}  // namespace
