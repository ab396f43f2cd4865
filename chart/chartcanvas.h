// The drawing toolkit shared by everything on the h–d chart: pens, fonts, labels and label blocks.
#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPen>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QVector>

#include <optional>
#include <string>

#include "chartlayout.h"
#include "chartlines.h"

// One painter on one laid-out page. Sizes are given in millimetres and come
// out in device units. It also remembers which places the markers and labels
// already cover, so that a later label block can keep off them.
class ChartCanvas {
public:
    ChartCanvas(QPainter& painter, const ChartLayout& layout);

    QPainter& painter() { return m_p; }
    const ChartLayout& layout() const { return m_layout; }

    // A line of a label block, in its own font.
    struct BlockLine {
        QString text;
        QFont font;
    };

    QPen pen(const QColor& colour, double widthMm) const;
    static QFont Font(double pointSize, bool bold = false);
    void setFont(double pointSize, bool bold = false);

    void drawSegment(const DhSegment& segment);
    // Text placed against `anchor` by `align` (which side of the text the
    // anchor is on), over a white patch when `halo`. Returns its rectangle.
    QRectF drawLabel(QPointF anchor, Qt::Alignment align, const QString& text, bool halo = false);
    // The same, turned by `degrees` about the anchor; returns the rectangle
    // that holds the turned text.
    QRectF drawTurnedLabel(QPointF anchor, double degrees, Qt::Alignment align, const QString& text,
                           bool halo);

    // Text measured alike on every output (see chartcanvas.cpp), in device
    // units: one line's size, a line's height, the height of `text` wrapped
    // to `width`, and `text` cut with "…" to `width`.
    QSizeF textSize(const QFont& font, const QString& text) const;
    double textHeight(const QFont& font) const;
    double wrappedHeight(const QFont& font, double width, const QString& text) const;
    QString elided(const QFont& font, const QString& text, double width) const;

    QSizeF blockSize(const QVector<BlockLine>& lines) const;
    // Marks a place as covered: later label blocks avoid it.
    void take(const QRectF& place);
    // Marks a place that no label block may cover: a number drawn in the
    // frame, a curve's name, the saturation curve (along a polyline).
    void fix(const QRectF& place);
    void fixPolyline(const QPolygonF& line, double halfWidthMm);
    // The candidate place for a label block that covers no fixed place and
    // the fewest markers and earlier labels, moved inside the frame; it is
    // then taken. None when every candidate covers a fixed place: the block
    // is dropped, and counted.
    std::optional<QRectF> placeBlock(const QVector<QRectF>& candidates);
    int dropped() const { return m_dropped; }
    // Whether `place` covers no fixed place.
    bool isFree(const QRectF& place) const;
    void drawBlock(const QRectF& place, const QVector<BlockLine>& lines);

    // A process arrow's head, its tip at `tip`, pointing along the unit
    // vector `direction`: in the chart and as the legend's key alike.
    void drawArrowhead(QPointF tip, QPointF direction, const QColor& colour);
    QPolygonF arrowhead(QPointF tip, QPointF direction) const;

    // State-point markers, in the chart and as the legend's key alike;
    // hollow for points of another barometric pressure.
    double markerRadius() const;
    void drawMarkers(const QVector<QPointF>& centres, bool hollow = false);

    // Text from UTF-8.
    static QString Text(const std::string& utf8);
    // Numbers on scales: shortest form, "." whatever the locale, "−" (U+2212)
    // for the minus sign; Signed() gives a formatted number that sign.
    static QString Number(double value);
    static QString Signed(const std::string& number);
    // `v` scaled to length 1 (zero stays zero), and its angle in degrees.
    static QPointF Unit(QPointF v);
    static double AngleOf(QPointF v);

private:
    static QFontMetricsF measuring(const QFont& font);
    double fromMeasured(double length) const;

    QPainter& m_p;
    const ChartLayout& m_layout;
    QVector<QRectF> m_taken;  // markers and labels already placed
    QVector<QRectF> m_fixed;  // numbers and the saturation curve: never covered
    int m_dropped = 0;        // label blocks that found no place
};
