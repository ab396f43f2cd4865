// The state points on the h–d chart: their markers and labels, and the process arrows between them.
#pragma once

#include <QLineF>
#include <QPointF>
#include <QVector>

#include <vector>

#include "chartcanvas.h"
#include "chartcontent.h"
#include "chartlines.h"

// Nothing is drawn outside the frame: points outside the range are left out
// and counted, arrows are cut at the frame. Labels keep off the markers, the
// arrows and one another where they can.
class ChartPoints {
public:
    ChartPoints(ChartCanvas& canvas, const ChartContent& content, const ChartLines& lines);

    // Points this many or fewer are labelled beside their markers; more are
    // drawn as plain dots, as labels would only cover one another.
    static constexpr int kMaxLabelledPoints = ::kMaxLabelledPoints;

    // Sorts the points into drawn and outside, and marks the markers' places
    // as taken; it comes before anything that places a label.
    void place();
    // With no unsaturated air in the range there is nothing to draw them on.
    void leaveAllOut();
    // The construction lines, then the arrows from each point to the next
    // (or as the content pairs them), with their Δh and ε.
    void drawProcess();
    // The markers, and the points' labels when they are few enough.
    void draw();

    bool labelled() const;
    int plotted() const { return static_cast<int>(m_dots.size()); }
    int outside() const { return m_outside; }
    // Process arrows drawn, whole or cut at the frame (after drawProcess()).
    int arrows() const { return m_arrows; }

private:
    // Only references: the chart that draws these owns all of them and
    // outlives them.
    QPainter& painter() const { return m_canvas.painter(); }
    const ChartLayout& layout() const { return m_canvas.layout(); }
    ChartCanvas& m_canvas;
    const ChartContent& m_content;
    const ChartLines& m_lines;

    struct Arrow {
        QPointF from, to;  // cut to the frame
        bool reachesEnd;   // its end point is inside: it gets an arrowhead
        double dh, dd;
    };
    // The arrows from each point to the next, cut to the frame.
    std::vector<Arrow> processArrows() const;
    void drawBareArrows(const std::vector<Arrow>& arrows);
    void drawGuides();
    // Places the points' label blocks (once), keeping off the markers and
    // the arrows; draw() draws them.
    void placeLabels();
    QPointF headTip(QPointF from, QPointF to) const;
    QLineF shaft(QPointF from, QPointF to, bool head) const;
    void drawArrow(QPointF from, QPointF to, bool head);

    int m_outside = 0;
    int m_arrows = 0;                       // points outside the range, not drawn
    QVector<QPointF> m_dots;                 // the markers' places
    QVector<const ChartPoint*> m_drawnPoints;  // the points at m_dots, in the same order
    bool m_labelsPlaced = false;
    std::vector<std::pair<QRectF, QVector<ChartCanvas::BlockLine>>> m_labels;
};
