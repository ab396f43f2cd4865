// The chart's label placement and the steps its lines are spaced by.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "chartcanvas.h"
#include "chartlayout.h"
#include "chartlines.h"
#include "chartspacing.h"

namespace {

// A canvas on an A4 image at 4 dots per millimetre, with the default range.
class CanvasTest : public testing::Test {
protected:
    static constexpr double kDotsPerMm = 4;

    CanvasTest()
        : m_image((ChartLayout::A4Landscape() * kDotsPerMm).toSize(), QImage::Format_RGB32),
          m_painter(&m_image),
          m_lines(101325, ChartRange{}),
          m_layout(m_lines, m_image.size(), kDotsPerMm),
          m_canvas(m_painter, m_layout)
    {
    }

    QRectF frame() const { return m_layout.frame(); }
    // A 10 × 5 mm block with its top left corner `x`, `y` mm into the frame.
    QRectF block(double x, double y) const
    {
        return QRectF(frame().topLeft() + QPointF(x, y) * kDotsPerMm, QSizeF(10, 5) * kDotsPerMm);
    }

    QImage m_image;
    QPainter m_painter;
    ChartLines m_lines;
    ChartLayout m_layout;
    ChartCanvas m_canvas;
};

}  // namespace

TEST_F(CanvasTest, ABlockTakesTheFirstFreePlaceAndKeepsLaterBlocksOffIt)
{
    m_canvas.take(block(50, 50));
    // The first candidate overlaps the taken place, the second is free.
    EXPECT_EQ(m_canvas.placeBlock({block(55, 52), block(80, 80)}), block(80, 80));
    // A placed block is taken in its turn: the same place is not given twice.
    EXPECT_EQ(m_canvas.placeBlock({block(80, 80), block(120, 80), block(160, 80)}), block(120, 80));
}

TEST_F(CanvasTest, WhenEveryPlaceIsCoveredTheLeastCoveredIsTaken)
{
    m_canvas.take(block(0, 0));
    m_canvas.take(block(5, 0));
    m_canvas.take(block(100, 100));
    // Covers two taken places, then one, then two again.
    EXPECT_EQ(m_canvas.placeBlock({block(2, 2), block(95, 98), block(3, 1)}), block(95, 98));

    // A number or the saturation curve is never covered, however free the
    // rest: with no other place the block is dropped, and counted.
    m_canvas.fix(block(40, 40));
    m_canvas.fixPolyline(QPolygonF({block(60, 10).center(), block(60, 90).center()}), 0.3);
    EXPECT_EQ(m_canvas.placeBlock({block(42, 41), block(59, 30), block(3, 1)}), block(3, 1));
    EXPECT_EQ(m_canvas.placeBlock({block(42, 41), block(59, 30)}), std::nullopt);
    EXPECT_EQ(m_canvas.dropped(), 1);
}

TEST_F(CanvasTest, ABlockIsMovedInsideTheFrame)
{
    const QRectF f = frame();
    const QRectF leftOf = m_canvas.placeBlock({block(-30, 20)}).value();
    EXPECT_DOUBLE_EQ(leftOf.left(), f.left());
    EXPECT_DOUBLE_EQ(leftOf.top(), block(0, 20).top());
    const QRectF belowRight = m_canvas.placeBlock({block(f.width() / kDotsPerMm, f.height() / kDotsPerMm)}).value();
    EXPECT_DOUBLE_EQ(belowRight.right(), f.right());
    EXPECT_DOUBLE_EQ(belowRight.bottom(), f.bottom());
    EXPECT_EQ(belowRight.size(), block(0, 0).size());
}

TEST_F(CanvasTest, ALabelSitsOnTheSideOfItsAnchorThatItsAlignmentNames)
{
    m_canvas.setFont(8);
    const QPointF anchor(400, 300);
    const QRectF rightMiddle = m_canvas.drawLabel(anchor, Qt::AlignRight | Qt::AlignVCenter, "12.5");
    EXPECT_GT(rightMiddle.width(), 0);
    EXPECT_DOUBLE_EQ(rightMiddle.right(), anchor.x());
    EXPECT_DOUBLE_EQ(rightMiddle.center().y(), anchor.y());
    const QRectF centreBottom = m_canvas.drawLabel(anchor, Qt::AlignHCenter | Qt::AlignBottom, "12.5");
    EXPECT_DOUBLE_EQ(centreBottom.center().x(), anchor.x());
    EXPECT_DOUBLE_EQ(centreBottom.bottom(), anchor.y());
    const QRectF leftTop = m_canvas.drawLabel(anchor, Qt::AlignLeft | Qt::AlignTop, "12.5");
    EXPECT_EQ(leftTop.topLeft(), anchor);
}

TEST(ChartSpacing, NiceStepIsTheSmallestOneTwoOrFiveTimesAPowerOfTenThatIsLargeEnough)
{
    // Values that are such steps already come back unchanged, whatever
    // rounding log10 and pow bring in.
    for (double exact : {0.001, 0.02, 0.5, 1.0, 2.0, 5.0, 10.0, 200.0, 5000.0})
        EXPECT_DOUBLE_EQ(ChartSpacing::NiceStep(exact), exact) << exact;
    EXPECT_DOUBLE_EQ(ChartSpacing::NiceStep(1.01), 2);
    EXPECT_DOUBLE_EQ(ChartSpacing::NiceStep(2.1), 5);
    EXPECT_DOUBLE_EQ(ChartSpacing::NiceStep(5.5), 10);
    EXPECT_DOUBLE_EQ(ChartSpacing::NiceStep(0.031), 0.05);
    EXPECT_DOUBLE_EQ(ChartSpacing::NiceStep(730), 1000);
}

TEST(ChartSpacing, AZoomedChartHasCloserIsenthalpsAndNumberedIsotherms)
{
    const QSizeF page = ChartLayout::A4Landscape() * 4;
    const ChartLines full(101325, ChartRange{});
    const ChartSpacing fullSpacing(full, ChartLayout(full, page, 4));
    EXPECT_DOUBLE_EQ(fullSpacing.isothermLabelStep(), 5);
    EXPECT_DOUBLE_EQ(fullSpacing.enthalpyLabelStep(), 10);

    EXPECT_DOUBLE_EQ(fullSpacing.enthalpyStep(), 2);
    EXPECT_DOUBLE_EQ(fullSpacing.moistureStep(), 0.5);
    EXPECT_DOUBLE_EQ(fullSpacing.moistureLabelStep(), 1);

    // A range six times as wide in d keeps its lines of constant d apart.
    const ChartLines wide(101325, ChartRange{-10, 50, 0, 200});
    const ChartSpacing wideSpacing(wide, ChartLayout(wide, page, 4));
    EXPECT_GT(wideSpacing.moistureStep(), fullSpacing.moistureStep());
    EXPECT_GT(wideSpacing.moistureLabelStep(), wideSpacing.moistureStep());

    // The README's day of readings: 22 … 38 ℃, 15 … 23 g/kg.
    const ChartLines zoomed(101325, ChartRange{22, 38, 15, 23});
    const ChartSpacing zoomedSpacing(zoomed, ChartLayout(zoomed, page, 4));
    EXPECT_LT(zoomedSpacing.enthalpyStep(), fullSpacing.enthalpyStep());
    EXPECT_LT(zoomedSpacing.enthalpyLabelStep(), fullSpacing.enthalpyLabelStep());
    EXPECT_GT(zoomedSpacing.enthalpyLabelStep(), zoomedSpacing.enthalpyStep());
    EXPECT_DOUBLE_EQ(zoomedSpacing.isothermLabelStep(), 1);
}

TEST(ChartLayout, AWideLowRangeTakesThePagesWidthWithTheLegendAndFanUnderIt)
{
    // In millimetres. The hot chart's frame spans the page's width, the
    // strip under it reaches no lower than the footer.
    const ChartLines hot(101325, ChartRange{20, 50, 10, 40});
    const ChartLayout wide(hot, ChartLayout::A4Landscape(), 1);
    EXPECT_TRUE(wide.strip());
    EXPECT_GT(wide.frame().width(), 250);
    EXPECT_GT(wide.frame().height(), 110);
    for (const QRectF& box : {wide.legend(), wide.fan()}) {
        EXPECT_GE(box.top(), wide.frame().bottom());
        EXPECT_LE(box.bottom(), wide.footer().top());
    }
    EXPECT_FALSE(wide.legend().intersects(wide.fan()));
    // Without room for the legend there, or for a chart that is not low,
    // the column beside the frame.
    EXPECT_FALSE(ChartLayout(hot, ChartLayout::A4Landscape(), 1, false).strip());
    const ChartLines full(101325, ChartRange{});
    const ChartLayout tall(full, ChartLayout::A4Landscape(), 1);
    EXPECT_FALSE(tall.strip());
    EXPECT_GE(tall.legend().left(), tall.frame().right());
}

TEST(CanvasMeasure, TextMeasuresTheSameInMillimetresOnEveryDevice)
{
    // A 300-dpi PNG page, the SVG's 96 dpi and the PDF's 1200 dpi: a label
    // block and a wrapped legend line come out the same size in millimetres,
    // so that every output places its labels alike.
    const ChartLines lines(101325, ChartRange{});
    const QVector<ChartCanvas::BlockLine> block = {
        {QStringLiteral("N 室内"), ChartCanvas::Font(7.5, true)},
        {QStringLiteral("t = 27.00℃"), ChartCanvas::Font(7)},
        {QStringLiteral("h = 53.60 kJ/kg干"), ChartCanvas::Font(7)},
    };
    const QString legend = QStringLiteral("图按第一个点的大气压力 B = 101325 Pa 绘制；另有 1 个点的 B 与之不同");
    std::optional<QSizeF> firstBlock;
    std::optional<double> firstWrapped;
    for (double dotsPerMm : {96 / 25.4, 300 / 25.4, 1200 / 25.4}) {
        QImage image((ChartLayout::A4Landscape() * dotsPerMm).toSize(), QImage::Format_RGB32);
        image.setDotsPerMeterX(static_cast<int>(std::lround(dotsPerMm * 1000)));
        image.setDotsPerMeterY(static_cast<int>(std::lround(dotsPerMm * 1000)));
        QPainter painter(&image);
        const ChartLayout layout(lines, image.size(), dotsPerMm);
        const ChartCanvas canvas(painter, layout);
        const QSizeF size = canvas.blockSize(block) / dotsPerMm;
        const double wrapped = canvas.wrappedHeight(ChartCanvas::Font(7.5), layout.mm(40), legend) / dotsPerMm;
        if (!firstBlock) {
            firstBlock = size;
            firstWrapped = wrapped;
        }
        EXPECT_NEAR(size.width(), firstBlock->width(), 1e-9) << dotsPerMm;
        EXPECT_NEAR(size.height(), firstBlock->height(), 1e-9) << dotsPerMm;
        EXPECT_NEAR(wrapped, *firstWrapped, 1e-9) << dotsPerMm;
    }
}
