// The state points on the h–d chart: their markers and labels, and the process arrows between them.
#include "chartpoints.h"

#include <QFontMetricsF>
#include <QLineF>

#include <algorithm>
#include <cmath>
#include <vector>

#include "chartpalette.h"
#include "display.h"

namespace {

// The step of the moisture content as the numbers show it, g/kg.
constexpr double kShownMoistureStep = 0.01;

// Cuts the segment a→b to `frame` (Liang–Barsky); false when nothing is left.
bool clipToFrame(QPointF& a, QPointF& b, const QRectF& frame)
{
    double t0 = 0, t1 = 1;
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x() - frame.left(), frame.right() - a.x(), a.y() - frame.top(),
                         frame.bottom() - a.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double r = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, r);
        else
            t1 = std::min(t1, r);
    }
    if (t0 > t1)
        return false;
    const QPointF start = a;
    a = start + t0 * QPointF(dx, dy);
    b = start + t1 * QPointF(dx, dy);
    return true;
}

}  // namespace

ChartPoints::ChartPoints(ChartCanvas& canvas, const ChartContent& content, const ChartLines& lines)
    : m_canvas(canvas), m_content(content), m_lines(lines)
{
}

void ChartPoints::place()
{
    const ChartMapping& map = layout().mapping();
    const QRectF frame = layout().frame();
    const double r = m_canvas.markerRadius();
    for (const ChartPoint& p : m_content.points) {
        const QPointF at = map.toPage({p.d, p.h});
        if (!m_lines.inRange({p.d, p.h}) || !frame.contains(at)) {
            ++m_outside;
            continue;
        }
        m_dots.push_back(at);
        m_drawnPoints.push_back(&p);
        if (labelled())
            m_canvas.take(QRectF(at - QPointF(r, r), at + QPointF(r, r)));
    }
}

void ChartPoints::leaveAllOut()
{
    m_outside = static_cast<int>(m_content.points.size());
}

bool ChartPoints::labelled() const
{
    return static_cast<int>(m_content.points.size()) <= kMaxLabelledPoints;
}

std::vector<ChartPoints::Arrow> ChartPoints::processArrows() const
{
    const ChartMapping& map = layout().mapping();
    const QRectF frame = layout().frame();
    const std::vector<ChartPoint>& points = m_content.points;
    std::vector<std::pair<std::size_t, std::size_t>> pairs = m_content.arrows;
    if (pairs.empty()) {
        for (std::size_t i = 1; i < points.size(); ++i)
            pairs.emplace_back(i - 1, i);
    }
    std::vector<Arrow> arrows;
    for (const auto& [first, second] : pairs) {
        if (first >= points.size() || second >= points.size())
            continue;
        const ChartPoint& a = points[first];
        const ChartPoint& b = points[second];
        if (b.h == a.h && b.d == a.d)
            continue;
        QPointF from = map.toPage({a.d, a.h});
        QPointF to = map.toPage({b.d, b.h});
        if (!std::isfinite(from.x() + from.y() + to.x() + to.y()))
            continue;
        const QPointF end = to;
        if (clipToFrame(from, to, frame))
            arrows.push_back({from, to, to == end, b.h - a.h, b.d - a.d});
    }
    return arrows;
}

void ChartPoints::drawBareArrows(const std::vector<Arrow>& arrows)
{
    // All shafts in one call, then all heads with one pen and brush. The
    // shafts of so many arrows are a texture: smoothing their edges at
    // 300 dpi shows nothing and costs more than the rest of the chart.
    QVector<QLineF> shafts;
    shafts.reserve(static_cast<qsizetype>(arrows.size()));
    for (const Arrow& arrow : arrows)
        shafts.push_back(shaft(arrow.from, arrow.to, arrow.reachesEnd));
    painter().setPen(m_canvas.pen(ChartPalette::kProcess, 0.35));
    painter().setRenderHint(QPainter::Antialiasing, false);
    painter().drawLines(shafts);
    painter().setRenderHint(QPainter::Antialiasing, true);
    painter().setPen(Qt::NoPen);
    painter().setBrush(ChartPalette::kProcess);
    for (const Arrow& arrow : arrows) {
        if (arrow.reachesEnd)
            painter().drawConvexPolygon(
                m_canvas.arrowhead(headTip(arrow.from, arrow.to), ChartCanvas::Unit(arrow.to - arrow.from)));
    }
    painter().setBrush(Qt::NoBrush);
}

void ChartPoints::drawGuides()
{
    const ChartMapping& map = layout().mapping();
    QPen pen = m_canvas.pen(ChartPalette::kProcess, 0.2);
    pen.setStyle(Qt::DashLine);
    painter().setPen(pen);
    for (const DhSegment& guide : m_content.guides) {
        QPointF from = map.toPage(guide.from);
        QPointF to = map.toPage(guide.to);
        if (std::isfinite(from.x() + from.y() + to.x() + to.y()) && clipToFrame(from, to, layout().frame()))
            painter().drawLine(QLineF(from, to));
    }
}

void ChartPoints::drawProcess()
{
    drawGuides();
    if (!m_content.process)
        return;
    const std::vector<Arrow> arrows = processArrows();
    // Above the label limit the arrows go without their Δh and ε (the legend
    // says so): labels among that many arrows would only cover one another,
    // and placing each against all the others would take quadratic time.
    m_arrows = static_cast<int>(arrows.size());
    if (!labelled()) {
        drawBareArrows(arrows);
        return;
    }
    // Labels keep off the arrows: each arrow is marked as taken, in steps.
    const double mark = layout().mm(0.4);
    for (const Arrow& arrow : arrows) {
        const double length = QLineF(arrow.from, arrow.to).length();
        for (double at = 0; at <= length; at += layout().mm(1.5)) {
            const QPointF on = arrow.from + (arrow.to - arrow.from) * (length > 0 ? at / length : 0);
            m_canvas.take(QRectF(on - QPointF(mark, mark), on + QPointF(mark, mark)));
        }
    }
    // The points' labels come first: they name the points, the arrows' only
    // annotate them.
    placeLabels();

    m_canvas.setFont(6.5);
    const QFont font = painter().font();
    for (const Arrow& arrow : arrows) {
        const QPointF direction = ChartCanvas::Unit(arrow.to - arrow.from);
        drawArrow(arrow.from, arrow.to, arrow.reachesEnd);
        // d is shown to two decimals: a change below half the last digit is no
        // change the numbers show (it is only the typing's rounding), and the
        // ratio it would give, millions of kJ/kg, is the vertical ±∞ direction.
        QString epsilon;
        if (std::fabs(arrow.dd) < kShownMoistureStep / 2)
            epsilon = arrow.dh > 0 ? QStringLiteral("+∞") : QStringLiteral("−∞");
        else
            epsilon = ChartCanvas::Signed(FormatFixed(arrow.dh / (arrow.dd / 1000), 0));
        const QVector<ChartCanvas::BlockLine> lines = {
            {QStringLiteral("Δh = %1 kJ/kg干").arg(ChartCanvas::Signed(FormatFixed(arrow.dh, 2))), font},
            {QStringLiteral("ε = %1 kJ/kg").arg(epsilon), font},
        };
        // Beside the arrow, near its middle, on whichever side is free.
        const QSizeF size = m_canvas.blockSize(lines);
        const QPointF normal(direction.y(), -direction.x());
        QVector<QRectF> candidates;
        // Near the middle on either side first, then farther along and out:
        // a fixed budget of twenty.
        for (double along : {0.5, 0.35, 0.65, 0.2, 0.8, 0.5, 0.35, 0.65, 0.2, 0.8}) {
            const double off = candidates.size() < 10 ? 1.2 : 3.5;
            const QPointF on = arrow.from + (arrow.to - arrow.from) * along;
            for (double sign : {1.0, -1.0}) {
                const QPointF near = on + normal * sign * layout().mm(off);
                const double x = normal.x() * sign >= 0 ? near.x() : near.x() - size.width();
                const double y = normal.y() * sign >= 0 ? near.y() : near.y() - size.height();
                candidates.push_back(QRectF(QPointF(x, y), size));
            }
        }
        painter().setPen(ChartPalette::kProcess);
        if (const auto place = m_canvas.placeBlock(candidates))
            m_canvas.drawBlock(*place, lines);
    }
}

// The arrowhead stops at the marker's edge, and the shaft a little before
// the head's tip, so that its end does not show beside the point.
QPointF ChartPoints::headTip(QPointF from, QPointF to) const
{
    return to - ChartCanvas::Unit(to - from) * layout().mm(0.9);
}

QLineF ChartPoints::shaft(QPointF from, QPointF to, bool head) const
{
    return QLineF(from, head ? to - ChartCanvas::Unit(to - from) * layout().mm(1.2) : to);
}

void ChartPoints::drawArrow(QPointF from, QPointF to, bool head)
{
    painter().setPen(m_canvas.pen(ChartPalette::kProcess, 0.35));
    painter().drawLine(shaft(from, to, head));
    if (head)
        m_canvas.drawArrowhead(headTip(from, to), ChartCanvas::Unit(to - from), ChartPalette::kProcess);
}

void ChartPoints::placeLabels()
{
    if (m_labelsPlaced || !labelled())
        return;
    m_labelsPlaced = true;
    // Each label block (name, then detail lines) goes beside its marker,
    // where it covers no other marker and no earlier label if it can.
    const QFont boldName = ChartCanvas::Font(7.5, true);
    const QFont detailFont = ChartCanvas::Font(7);
    const double gap = layout().mm(1.3);
    for (qsizetype i = 0; i < m_dots.size(); ++i) {
        const ChartPoint& p = *m_drawnPoints[i];
        const QPointF at = m_dots[i];
        QVector<ChartCanvas::BlockLine> lines;
        if (!p.label.empty()) {
            // A label from a CSV field may run on: cut to a width that keeps
            // it beside its point (Text() has made it one line).
            const QString name = m_canvas.elided(boldName, ChartCanvas::Text(p.label), layout().mm(40));
            lines.push_back({name, boldName});
        }
        for (const std::string& line : p.details)
            lines.push_back({ChartCanvas::Text(line), detailFont});
        if (lines.isEmpty())
            continue;
        const QSizeF size = m_canvas.blockSize(lines);
        const double w = size.width(), h = size.height();
        const QPointF corners[] = {
            at + QPointF(gap * 0.8, -gap * 0.5 - h),       // up right
            at + QPointF(gap, -h / 2),                     // right
            at + QPointF(gap * 0.8, gap * 0.5),            // down right
            at + QPointF(-gap * 0.8 - w, -gap * 0.5 - h),  // up left
            at + QPointF(-gap - w, -h / 2),                // left
            at + QPointF(-gap * 0.8 - w, gap * 0.5),       // down left
            at + QPointF(-w / 2, -gap - h),                // above
            at + QPointF(-w / 2, gap),                     // below
        };
        // Beside the marker first, then the same eight places a little
        // farther out: a fixed budget of sixteen.
        QVector<QRectF> candidates;
        for (double farther : {0.0, 2.5}) {
            for (const QPointF& corner : corners) {
                const QPointF away = ChartCanvas::Unit(corner + QPointF(w, h) / 2 - at);
                candidates.push_back(QRectF(corner + away * layout().mm(farther), size));
            }
        }
        if (const auto place = m_canvas.placeBlock(candidates))
            m_labels.push_back({*place, lines});
    }
    // An arrow's label never covers a point's: it goes elsewhere, or is
    // dropped and counted.
    for (const auto& [place, lines] : m_labels)
        m_canvas.fix(place);
}

void ChartPoints::draw()
{
    if (!labelled()) {
        // Many points: round dots of one pen, drawn in one call.
        QPen dot(ChartPalette::kPoint, layout().mm(0.7));
        dot.setCapStyle(Qt::RoundCap);
        painter().setPen(dot);
        painter().drawPoints(m_dots.data(), static_cast<int>(m_dots.size()));
        return;
    }
    QVector<QPointF> filled, hollow;
    for (qsizetype i = 0; i < m_dots.size(); ++i)
        (m_drawnPoints[i]->otherPressure ? hollow : filled).push_back(m_dots[i]);
    m_canvas.drawMarkers(filled);
    m_canvas.drawMarkers(hollow, true);

    // The label blocks, placed before the arrows' labels so that those
    // keep off them.
    placeLabels();
    painter().setPen(ChartPalette::kInk);
    for (const auto& [place, lines] : m_labels)
        m_canvas.drawBlock(place, lines);
}
