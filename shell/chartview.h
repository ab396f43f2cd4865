// The chart area of the 焓湿图 window: the h–d chart at the widget's size,
// read, zoomed and moved with the mouse or the keyboard.
#pragma once

#include <QImage>
#include <QPoint>
#include <QWidget>

#include <optional>

#include "chartcontent.h"
#include "chartmapping.h"

// Draws the chart with the chart files' painter, once per change of content
// or size into an image; the cross-hair is drawn over it, so following the
// pointer costs no redraw. The wheel zooms about the pointer, dragging with
// the left button moves the range, a click without dragging pins the place.
// With the focus, the arrow keys move the cross-hair (0.1 g/kg across, 0.5
// kJ/kg along h; Shift ten times as far) and Enter pins it.
class ChartView : public QWidget {
    Q_OBJECT
public:
    explicit ChartView(QWidget* parent = nullptr);

    const ChartContent& content() const { return m_content; }
    // The range is kept; points, B and lines come from `content`.
    void setContent(ChartContent content);
    void setRange(const ChartRange& range);

    // Where the chart is drawn now, and the cross-hair (empty off the frame).
    const ChartMapping& mapping() const { return m_mapping; }
    std::optional<DhPoint> crossHair() const { return m_cross; }
    // The page dots per millimetre: the chart's A4 layout scaled to the
    // widget, never so small that its text cannot be read on a screen.
    static double DotsPerMm(QSize size);

signals:
    // The cross-hair moved; empty when it left the frame.
    void pointed(std::optional<DhPoint> at);
    void pinRequested(DhPoint at);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void render();
    // The place under `pos`, or empty off the frame.
    std::optional<DhPoint> placeAt(QPointF pos) const;
    void moveCross(std::optional<DhPoint> at);

    ChartContent m_content;
    ChartMapping m_mapping;
    QImage m_image;
    bool m_stale = true;
    std::optional<DhPoint> m_cross;
    // A press of the left button: where, the range then, and whether it has
    // become a drag.
    std::optional<QPointF> m_press;
    ChartRange m_pressRange;
    ChartMapping m_pressMapping;
    bool m_dragging = false;
};
