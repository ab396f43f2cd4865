// Draws the h–d chart with its points onto any paint device.
#pragma once

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPointF>
#include <QSizeF>
#include <QString>
#include <QVector>

#include "chartcontent.h"
#include "chartlayout.h"
#include "chartlines.h"

// One chart on one page: grid, scales, title, points, process arrows, legend
// and the ε fan. Text is drawn as text (an SVG keeps it searchable). Nothing
// of the points and arrows is drawn outside the frame: points outside the
// range are left out and counted in the legend, arrows are cut at the frame.
class ChartPainter {
public:
    // `page` is the device's size in its own units, `dotsPerMm` its resolution.
    ChartPainter(QPainter& painter, const ChartContent& content, QSizeF page, double dotsPerMm);

    void paint();

    // Points this many or fewer are labelled beside their markers; more are
    // drawn as plain dots, as labels would only cover one another.
    static constexpr int kMaxLabelledPoints = 60;
    // The relative-humidity curves drawn, in percent.
    static constexpr int kHumidityCurves[] = {10, 20, 30, 40, 50, 60, 70, 80, 90, 100};
    // The heat–moisture ratios of the ε fan, kJ/kg, besides ±∞.
    static constexpr int kFanRatios[] = {20000, 10000, 5000, 3000, 2000, 1000, 0, -2000, -5000};

    // The marker colour of a state point.
    static QColor PointColour();

private:
    void drawTitle();
    void drawGrid();
    void drawDScales();
    void drawTScale();
    void drawEnthalpyScale();
    void drawHumidityLabels();
    // A line of a label block, in its own font.
    struct BlockLine {
        QString text;
        QFont font;
    };

    void placePoints();
    bool labelled() const;
    void drawProcess();
    void drawPoints();
    void drawLegend();
    void drawFan();
    void drawFooter();

    QPen pen(const QColor& colour, double widthMm) const;
    QSizeF blockSize(const QVector<BlockLine>& lines) const;
    // The candidate place for a label block that covers the fewest markers
    // and earlier labels, moved inside the frame; it is then taken.
    QRectF placeBlock(const QVector<QRectF>& candidates);
    void drawBlock(const QRectF& place, const QVector<BlockLine>& lines);
    void setFont(double pointSize, bool bold = false);
    void drawSegment(const DhSegment& segment);
    // Text placed against `anchor` by `align` (which side of the text the
    // anchor is on), over a white patch when `halo`. Returns its rectangle.
    QRectF drawLabel(QPointF anchor, Qt::Alignment align, const QString& text, bool halo = false);
    // The same, turned by `degrees` about the anchor.
    void drawTurnedLabel(QPointF anchor, double degrees, Qt::Alignment align, const QString& text,
                         bool halo);

    QPainter& m_p;
    const ChartContent& m_content;
    ChartLines m_lines;
    ChartLayout m_layout;
    double m_enthalpyStep = 2;       // kJ/kg between isenthalps
    double m_enthalpyLabelStep = 10;  // kJ/kg between labelled ones
    double m_isothermLabelStep = 5;   // °C between labelled isotherms
    int m_plotted = 0;               // points drawn
    int m_outside = 0;               // points outside the range, not drawn
    QVector<QPointF> m_dots;         // the markers' places
    QVector<QRectF> m_taken;         // markers and labels already placed
};
