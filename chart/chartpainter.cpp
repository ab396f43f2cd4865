// Draws the h–d chart.
#include "chartpainter.h"

#include <QFontMetricsF>
#include <QPolygonF>
#include <QVector>

#include <algorithm>
#include <cmath>
#include <string>

#include "fonts.h"
#include "display.h"
#include "physics.h"

namespace {

// The step of the moisture content as the numbers show it, g/kg.
constexpr double kShownMoistureStep = 0.01;

const QColor kInk(0x20, 0x20, 0x20);
const QColor kMoistureLine(0xcc, 0xcc, 0xcc);
const QColor kMoistureMajor(0x99, 0x99, 0x99);
const QColor kIsothermMinor(0xa8, 0xbc, 0xd4);
const QColor kIsothermMajor(0x1f, 0x4e, 0x85);
const QColor kIsenthalpMinor(0xe6, 0xd2, 0xb8);
const QColor kIsenthalpMajor(0xa8, 0x64, 0x1e);
const QColor kHumidity(0x2e, 0x7d, 0x32);
const QColor kProcess(0x6a, 0x1b, 0x9a);
const QColor kFan(0x44, 0x44, 0x44);

QString text(const std::string& utf8)
{
    return QString::fromStdString(utf8);
}

// Numbers on scales: shortest form, "." whatever the locale.
QString number(double value)
{
    return text(FormatShortest(value));
}

// The smallest of 1, 2, 5 × 10ⁿ that is at least `least`.
double niceStep(double least)
{
    double step = std::pow(10.0, std::floor(std::log10(least)));
    for (double factor : {1.0, 2.0, 5.0, 10.0}) {
        if (step * factor >= least * (1 - 1e-9))
            return step * factor;
    }
    return step * 10;
}

// Multiples k·step from lo to hi (both included), with k counted as an
// integer so that no step accumulates rounding.
template <class F>
void forEachMultiple(double step, double lo, double hi, F f)
{
    for (double k = std::ceil(lo / step - 1e-9); k * step <= hi + 1e-9 * step; ++k)
        f(k * step, k);
}

bool isMultiple(double k, int of)
{
    return std::fmod(std::fabs(k), of) == 0;
}

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

QPointF unit(QPointF v)
{
    const double length = std::hypot(v.x(), v.y());
    return length > 0 ? v / length : QPointF();
}

double angleOf(QPointF v)
{
    return std::atan2(v.y(), v.x()) * 180 / M_PI;
}

}  // namespace

ChartPainter::ChartPainter(QPainter& painter, const ChartContent& content, QSizeF page,
                           double dotsPerMm)
    : m_p(painter),
      m_content(content),
      m_lines(content.B, content.range),
      m_layout(m_lines, page, dotsPerMm)
{
    if (m_lines.hasDomain()) {
        // Isenthalps at least 2.5 mm apart, numbered at least 12 mm apart.
        const double perKJ = m_layout.mapping().scale() / ChartLines::Shear() * M_SQRT1_2;
        m_enthalpyStep = niceStep(m_layout.mm(2.5) / perKJ);
        // Every 10 kJ/kg on a full chart; closer on a zoomed one, when room allows.
        m_enthalpyLabelStep = niceStep(m_layout.mm(12) / perKJ);
        // Isotherms every 5 °C, and every 1 °C on a zoomed chart.
        const double perKelvin = m_layout.mapping().scale() * (Enthalpy(1, 0) - Enthalpy(0, 0)) / ChartLines::Shear();
        m_isothermLabelStep = std::min(5.0, niceStep(m_layout.mm(5.5) / perKelvin));
    }
}

QColor ChartPainter::PointColour()
{
    return {0xd0, 0x10, 0x10};
}

QPen ChartPainter::pen(const QColor& colour, double widthMm) const
{
    QPen p(colour, m_layout.mm(widthMm));
    p.setCapStyle(Qt::FlatCap);
    p.setJoinStyle(Qt::RoundJoin);
    return p;
}

void ChartPainter::setFont(double pointSize, bool bold)
{
    QFont font = songtiFont(pointSize);
    font.setBold(bold);
    m_p.setFont(font);
}

void ChartPainter::drawSegment(const DhSegment& s)
{
    const ChartMapping& map = m_layout.mapping();
    m_p.drawLine(map.toPage(s.from), map.toPage(s.to));
}

QRectF ChartPainter::drawLabel(QPointF anchor, Qt::Alignment align, const QString& s, bool halo)
{
    const QFontMetricsF fm(m_p.font(), m_p.device());
    const QSizeF size(fm.horizontalAdvance(s), fm.height());
    QPointF topLeft = anchor;
    if (align & Qt::AlignRight)
        topLeft.rx() -= size.width();
    else if (align & Qt::AlignHCenter)
        topLeft.rx() -= size.width() / 2;
    if (align & Qt::AlignBottom)
        topLeft.ry() -= size.height();
    else if (align & Qt::AlignVCenter)
        topLeft.ry() -= size.height() / 2;
    const QRectF rect(topLeft, size);
    if (halo) {
        const double pad = m_layout.mm(0.4);
        m_p.fillRect(rect.adjusted(-pad, 0, pad, 0), Qt::white);
    }
    m_p.drawText(rect, Qt::AlignCenter, s);
    return rect;
}

void ChartPainter::drawTurnedLabel(QPointF anchor, double degrees, Qt::Alignment align,
                                   const QString& s, bool halo)
{
    m_p.save();
    m_p.translate(anchor);
    m_p.rotate(degrees);
    drawLabel(QPointF(0, 0), align, s, halo);
    m_p.restore();
}

void ChartPainter::paint()
{
    m_p.save();
    m_p.setRenderHint(QPainter::Antialiasing, true);
    m_p.setRenderHint(QPainter::TextAntialiasing, true);
    m_p.fillRect(QRectF(QPointF(0, 0), m_layout.page()), Qt::white);
    drawTitle();
    if (m_lines.hasDomain()) {
        drawGrid();
        drawDScales();
        drawTScale();
        drawEnthalpyScale();
        drawHumidityLabels();
        placePoints();
        drawProcess();
        drawPoints();
        drawFan();
    } else {
        m_outside = static_cast<int>(m_content.points.size());
    }
    m_p.setPen(pen(kInk, 0.3));
    m_p.setBrush(Qt::NoBrush);
    m_p.drawRect(m_layout.frame());
    drawLegend();
    drawFooter();
    m_p.restore();
}

void ChartPainter::drawTitle()
{
    QString title = QStringLiteral("湿空气焓湿图（h-d 图）　大气压力 B = %1 Pa").arg(number(m_content.B));
    if (m_content.altitude)
        title += QStringLiteral("（海拔 %1 m，标准大气）").arg(number(*m_content.altitude));
    m_p.setPen(kInk);
    setFont(14, true);
    drawLabel(m_layout.title().topLeft(), Qt::AlignLeft | Qt::AlignTop, title);
}

void ChartPainter::drawGrid()
{
    const ChartRange& r = m_content.range;
    m_p.setBrush(Qt::NoBrush);

    // Lines of constant d: every 1 g/kg (or wider when the range is wide).
    const double dStep = niceStep(m_layout.mm(2.5) / m_layout.mapping().scale());
    forEachMultiple(dStep, m_lines.dLeft(), m_lines.dRight(), [&](double d, double k) {
        const bool major = isMultiple(k * dStep, 5);
        if (const auto s = m_lines.constantMoisture(d)) {
            m_p.setPen(pen(major ? kMoistureMajor : kMoistureLine, major ? 0.15 : 0.08));
            drawSegment(*s);
        }
    });

    // Isenthalps.
    const double hLow = Enthalpy(r.tMin, m_lines.dLeft());
    const double hHigh = Enthalpy(r.tMax, m_lines.dRight());
    forEachMultiple(m_enthalpyStep, hLow, hHigh, [&](double h, double) {
        const bool major = std::fmod(std::fabs(h), std::max(10.0, m_enthalpyLabelStep)) < 1e-9;
        if (const auto s = m_lines.isenthalp(h)) {
            m_p.setPen(pen(major ? kIsenthalpMajor : kIsenthalpMinor, major ? 0.22 : 0.1));
            drawSegment(*s);
        }
    });

    // Isotherms every 1 °C, every 5 °C heavier; the range's ends close the domain.
    const auto isotherm = [&](double t, bool major) {
        if (const auto s = m_lines.isotherm(t)) {
            m_p.setPen(pen(major ? kIsothermMajor : kIsothermMinor, major ? 0.3 : 0.1));
            drawSegment(*s);
        }
    };
    forEachMultiple(1, r.tMin, r.tMax, [&](double t, double k) { isotherm(t, isMultiple(k, 5)); });
    for (double end : {r.tMin, r.tMax}) {
        if (end != std::round(end))
            isotherm(end, false);
    }

    // Relative humidity; saturation heaviest.
    for (int percent : kHumidityCurves) {
        const std::vector<DhPoint> curve = m_lines.humidityCurve(percent / 100.0);
        QPolygonF line;
        for (DhPoint p : curve)
            line << m_layout.mapping().toPage(p);
        m_p.setPen(pen(percent == 100 ? kInk : kHumidity, percent == 100 ? 0.5 : 0.22));
        m_p.drawPolyline(line);
    }
}

void ChartPainter::drawDScales()
{
    const ChartMapping& map = m_layout.mapping();
    const QRectF frame = m_layout.frame();
    m_p.setPen(pen(kInk, 0.2));
    setFont(7);

    // d along the top edge of the frame.
    const double dTick = niceStep(m_layout.mm(2.5) / map.scale());
    const double dLabel = niceStep(m_layout.mm(5.5) / map.scale());
    forEachMultiple(dTick, m_lines.dLeft(), m_lines.dRight(), [&](double d, double) {
        const double x = frame.left() + (d - m_lines.dLeft()) * map.scale();
        const bool labelled = std::fmod(std::fabs(d) + 1e-9, dLabel) < 1e-6;
        m_p.drawLine(QPointF(x, frame.top()), QPointF(x, frame.top() - m_layout.mm(labelled ? 1.6 : 0.9)));
        if (labelled)
            drawLabel(QPointF(x, frame.top() - m_layout.mm(1.8)), Qt::AlignHCenter | Qt::AlignBottom, number(d));
    });
    setFont(8);
    drawLabel(QPointF(frame.right() + m_layout.mm(5), frame.top() - m_layout.mm(1.8)),
              Qt::AlignLeft | Qt::AlignBottom, QStringLiteral("含湿量 d（g/kg干）"));

    // Pq above it: at this B, Pq is a function of d alone.
    const double y = frame.top() - m_layout.mm(9.5);
    const double pLeft = m_lines.vapourPressure(m_lines.dLeft()) / 1000;
    const double pRight = m_lines.vapourPressure(m_lines.dRight()) / 1000;
    const double perKPa = frame.width() / (pRight - pLeft);
    const double pLabel = niceStep(m_layout.mm(9) / perKPa);
    const double pTick = pLabel / (std::fmod(pLabel / std::pow(10.0, std::floor(std::log10(pLabel))), 2) == 0 ? 4 : 5);
    m_p.drawLine(QPointF(frame.left(), y), QPointF(frame.right(), y));
    setFont(7);
    forEachMultiple(pTick, pLeft, pRight, [&](double kPa, double) {
        const double d = m_lines.moistureContentOfPressure(kPa * 1000);
        const double x = frame.left() + (d - m_lines.dLeft()) * map.scale();
        const bool labelled = std::fabs(std::remainder(kPa, pLabel)) < 1e-9 * pLabel + 1e-12;
        m_p.drawLine(QPointF(x, y), QPointF(x, y - m_layout.mm(labelled ? 1.6 : 0.9)));
        if (labelled)
            drawLabel(QPointF(x, y - m_layout.mm(1.8)), Qt::AlignHCenter | Qt::AlignBottom, number(kPa));
    });
    setFont(8);
    drawLabel(QPointF(frame.right() + m_layout.mm(5), y - m_layout.mm(1.8)),
              Qt::AlignLeft | Qt::AlignBottom, QStringLiteral("水蒸气分压力 Pq（kPa）"));
}

void ChartPainter::drawTScale()
{
    const ChartRange& r = m_content.range;
    const QRectF frame = m_layout.frame();
    forEachMultiple(m_isothermLabelStep, r.tMin, r.tMax, [&](double t, double) {
        if (const auto s = m_lines.isotherm(t)) {
            const bool major = std::fmod(std::fabs(t), 5) == 0;
            m_p.setPen(major ? kIsothermMajor : kIsothermMinor.darker(150));
            setFont(major ? 7.5 : 6.5);
            const QPointF left = m_layout.mapping().toPage(s->from);
            drawLabel(QPointF(frame.left() - m_layout.mm(1.2), left.y()),
                      Qt::AlignRight | Qt::AlignVCenter, number(t));
        }
    });
    setFont(8);
    m_p.setPen(kInk);
    drawTurnedLabel(QPointF(frame.left() - m_layout.mm(8.5), frame.center().y()), -90,
                    Qt::AlignHCenter | Qt::AlignBottom, QStringLiteral("干球温度 t（℃）"), false);
}

void ChartPainter::drawEnthalpyScale()
{
    // Each labelled isenthalp is numbered just past its lower right end,
    // where it meets the saturation curve or the right edge: the numbers
    // follow the lines' own oblique scale.
    const ChartRange& r = m_content.range;
    const ChartMapping& map = m_layout.mapping();
    const QRectF frame = m_layout.frame();
    const QPointF down = unit(map.displacement(1, 0));  // along an isenthalp, towards larger d
    m_p.setPen(kIsenthalpMajor);
    setFont(7);
    QPointF middle;
    int count = 0;
    forEachMultiple(m_enthalpyLabelStep, Enthalpy(r.tMin, m_lines.dLeft()),
                    Enthalpy(r.tMax, m_lines.dRight()), [&](double h, double) {
        const auto s = m_lines.isenthalp(h);
        if (!s)
            return;
        const QPointF end = map.toPage(s->to);
        // A stub in a corner of the domain is not worth a number.
        if (QLineF(map.toPage(s->from), end).length() < m_layout.mm(4))
            return;
        const bool rightEdge = end.x() >= frame.right() - m_layout.mm(0.05);
        if (rightEdge) {
            drawLabel(QPointF(frame.right() + m_layout.mm(1), end.y()), Qt::AlignLeft | Qt::AlignVCenter,
                      number(h));
        } else {
            drawLabel(end + down * m_layout.mm(1.2), Qt::AlignLeft | Qt::AlignTop, number(h));
            middle += end;
            ++count;
        }
    });
    // The scale's name in the empty fog region, parallel to the isenthalps.
    setFont(8.5);
    m_p.setPen(kInk);
    if (count > 0) {
        // Reading outwards from beyond the numbers.
        const QPointF at = middle / count + down * m_layout.mm(7);
        drawTurnedLabel(at, angleOf(down), Qt::AlignLeft | Qt::AlignVCenter,
                        QStringLiteral("焓 h（kJ/kg干）"), false);
    } else {
        drawLabel(QPointF(frame.right() + m_layout.mm(1), frame.bottom()), Qt::AlignLeft | Qt::AlignTop,
                  QStringLiteral("h（kJ/kg干）"));
    }
}

void ChartPainter::drawHumidityLabels()
{
    // Each curve is named a little way back from where it leaves the domain,
    // written along the curve.
    const ChartMapping& map = m_layout.mapping();
    setFont(7);
    for (int percent : kHumidityCurves) {
        const std::vector<DhPoint> curve = m_lines.humidityCurve(percent / 100.0);
        if (curve.size() < 2)
            continue;
        const double back = m_layout.mm(percent == 100 ? 30 : 14);
        double walked = 0;
        std::size_t i = curve.size() - 1;
        while (i > 1) {
            walked += QLineF(map.toPage(curve[i]), map.toPage(curve[i - 1])).length();
            if (walked >= back)
                break;
            --i;
        }
        const QPointF at = map.toPage(curve[i]);
        const QPointF tangent = map.toPage(curve[i]) - map.toPage(curve[i - 1]);
        m_p.setPen(percent == 100 ? kInk : kHumidity);
        const QString name = percent == 100 ? QStringLiteral("ψ = 100%（饱和线）")
                                            : QStringLiteral("%1%").arg(percent);
        drawTurnedLabel(at, angleOf(tangent), Qt::AlignHCenter | Qt::AlignVCenter, name, true);
    }
}

void ChartPainter::placePoints()
{
    const ChartMapping& map = m_layout.mapping();
    const QRectF frame = m_layout.frame();
    const double r = m_layout.mm(0.9);
    for (const ChartPoint& p : m_content.points) {
        const QPointF at = map.toPage({p.d, p.h});
        if (!m_lines.inRange({p.d, p.h}) || !frame.contains(at)) {
            ++m_outside;
            continue;
        }
        ++m_plotted;
        m_dots.push_back(at);
        if (labelled())
            m_taken.push_back(QRectF(at - QPointF(r, r), at + QPointF(r, r)));
    }
}

bool ChartPainter::labelled() const
{
    return static_cast<int>(m_content.points.size()) <= kMaxLabelledPoints;
}

QRectF ChartPainter::placeBlock(const QVector<QRectF>& candidates)
{
    // The first place that covers no marker and no earlier label, failing
    // that the one that covers least; always inside the frame.
    const QRectF frame = m_layout.frame();
    QRectF best;
    int bestCovered = -1;
    for (QRectF place : candidates) {
        place.moveLeft(std::clamp(place.left(), frame.left(), std::max(frame.left(), frame.right() - place.width())));
        place.moveTop(std::clamp(place.top(), frame.top(), std::max(frame.top(), frame.bottom() - place.height())));
        int covered = 0;
        for (const QRectF& other : m_taken)
            covered += place.intersects(other) ? 1 : 0;
        if (bestCovered < 0 || covered < bestCovered) {
            best = place;
            bestCovered = covered;
        }
        if (covered == 0)
            break;
    }
    m_taken.push_back(best);
    return best;
}

void ChartPainter::drawBlock(const QRectF& place, const QVector<BlockLine>& lines)
{
    const double pad = m_layout.mm(0.4);
    m_p.fillRect(place, Qt::white);
    double y = place.top();
    for (const BlockLine& line : lines) {
        m_p.setFont(line.font);
        const double height = QFontMetricsF(line.font, m_p.device()).height();
        m_p.drawText(QRectF(place.left() + pad, y, place.width() - 2 * pad, height),
                     Qt::AlignLeft | Qt::AlignVCenter, line.text);
        y += height;
    }
}

QSizeF ChartPainter::blockSize(const QVector<BlockLine>& lines) const
{
    QSizeF size;
    for (const BlockLine& line : lines) {
        const QFontMetricsF fm(line.font, m_p.device());
        size.setWidth(std::max(size.width(), fm.horizontalAdvance(line.text)));
        size.rheight() += fm.height();
    }
    return size + QSizeF(2 * m_layout.mm(0.4), 0);
}

void ChartPainter::drawProcess()
{
    if (!m_content.process)
        return;
    const ChartMapping& map = m_layout.mapping();
    const QRectF frame = m_layout.frame();
    const std::vector<ChartPoint>& points = m_content.points;

    struct Arrow {
        QPointF from, to;  // cut to the frame
        bool reachesEnd;   // its end point is inside: it gets an arrowhead
        double dh, dd;
    };
    std::vector<Arrow> arrows;
    for (std::size_t i = 1; i < points.size(); ++i) {
        const ChartPoint& a = points[i - 1];
        const ChartPoint& b = points[i];
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
    // Labels keep off the arrows: each arrow is marked as taken, in steps.
    const double mark = m_layout.mm(0.4);
    for (const Arrow& arrow : arrows) {
        const double length = QLineF(arrow.from, arrow.to).length();
        for (double at = 0; at <= length; at += m_layout.mm(1.5)) {
            const QPointF on = arrow.from + (arrow.to - arrow.from) * (length > 0 ? at / length : 0);
            m_taken.push_back(QRectF(on - QPointF(mark, mark), on + QPointF(mark, mark)));
        }
    }

    setFont(6.5);
    const QFont font = m_p.font();
    for (const Arrow& arrow : arrows) {
        const QPointF direction = unit(arrow.to - arrow.from);
        m_p.setPen(pen(kProcess, 0.35));
        m_p.drawLine(arrow.from, arrow.to - (arrow.reachesEnd ? direction * m_layout.mm(1.2) : QPointF()));
        if (arrow.reachesEnd) {
            // The arrowhead stops at the marker's edge.
            const QPointF tip = arrow.to - direction * m_layout.mm(0.9);
            const QPointF side(-direction.y(), direction.x());
            QPolygonF head;
            head << tip << tip - direction * m_layout.mm(2.4) + side * m_layout.mm(0.9)
                 << tip - direction * m_layout.mm(2.4) - side * m_layout.mm(0.9);
            m_p.setPen(Qt::NoPen);
            m_p.setBrush(kProcess);
            m_p.drawPolygon(head);
            m_p.setBrush(Qt::NoBrush);
        }
        // d is shown to two decimals: a change below half the last digit is no
        // change the numbers show (it is only the typing's rounding), and the
        // ratio it would give, millions of kJ/kg, is the vertical ±∞ direction.
        QString epsilon;
        if (std::fabs(arrow.dd) < kShownMoistureStep / 2)
            epsilon = arrow.dh > 0 ? QStringLiteral("+∞") : QStringLiteral("-∞");
        else
            epsilon = text(FormatFixed(arrow.dh / (arrow.dd / 1000), 0));
        const QVector<BlockLine> lines = {
            {QStringLiteral("Δh = %1 kJ/kg干").arg(text(FormatFixed(arrow.dh, 2))), font},
            {QStringLiteral("ε = %1 kJ/kg").arg(epsilon), font},
        };
        // Beside the arrow, near its middle, on whichever side is free.
        const QSizeF size = blockSize(lines);
        const QPointF normal(direction.y(), -direction.x());
        QVector<QRectF> candidates;
        for (double along : {0.5, 0.35, 0.65, 0.2, 0.8}) {
            const QPointF on = arrow.from + (arrow.to - arrow.from) * along;
            for (double sign : {1.0, -1.0}) {
                const QPointF near = on + normal * sign * m_layout.mm(1.2);
                const double x = normal.x() * sign >= 0 ? near.x() : near.x() - size.width();
                const double y = normal.y() * sign >= 0 ? near.y() : near.y() - size.height();
                candidates.push_back(QRectF(QPointF(x, y), size));
            }
        }
        m_p.setPen(kProcess);
        drawBlock(placeBlock(candidates), lines);
    }
}

void ChartPainter::drawPoints()
{
    const ChartMapping& map = m_layout.mapping();
    const QRectF frame = m_layout.frame();
    if (!labelled()) {
        // Many points: round dots of one pen, drawn in one call.
        QPen dot(PointColour(), m_layout.mm(0.7));
        dot.setCapStyle(Qt::RoundCap);
        m_p.setPen(dot);
        m_p.drawPoints(m_dots.data(), static_cast<int>(m_dots.size()));
        return;
    }
    const double r = m_layout.mm(0.9);
    m_p.setPen(pen(QColor(0x60, 0, 0), 0.15));
    m_p.setBrush(PointColour());
    for (const QPointF& at : m_dots)
        m_p.drawEllipse(at, r, r);
    m_p.setBrush(Qt::NoBrush);

    // Each label block (name, then detail lines) goes beside its marker,
    // where it covers no other marker and no earlier label if it can.
    const QFont nameFont = songtiFont(7.5);
    QFont boldName = nameFont;
    boldName.setBold(true);
    const QFont detailFont = songtiFont(7);
    const double gap = m_layout.mm(1.3);
    m_p.setPen(kInk);
    for (const ChartPoint& p : m_content.points) {
        const QPointF at = map.toPage({p.d, p.h});
        if (!m_lines.inRange({p.d, p.h}) || !frame.contains(at))
            continue;
        QVector<BlockLine> lines;
        if (!p.label.empty()) {
            // A label from a CSV field may hold line breaks or run on: one
            // line, cut to a width that keeps it beside its point.
            QString name = text(p.label);
            for (QChar& c : name) {
                if (c.category() == QChar::Other_Control || c == QChar::LineSeparator
                    || c == QChar::ParagraphSeparator)
                    c = QLatin1Char(' ');
            }
            name = QFontMetricsF(boldName, m_p.device()).elidedText(name, Qt::ElideRight, m_layout.mm(40));
            lines.push_back({name, boldName});
        }
        for (const std::string& line : p.details)
            lines.push_back({text(line), detailFont});
        if (lines.isEmpty())
            continue;
        const QSizeF size = blockSize(lines);
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
        QVector<QRectF> candidates;
        for (const QPointF& corner : corners)
            candidates.push_back(QRectF(corner, size));
        drawBlock(placeBlock(candidates), lines);
    }
}

void ChartPainter::drawLegend()
{
    const QRectF box = m_layout.legend();
    const double x = box.left() + m_layout.mm(2);
    const double keyEnd = x + m_layout.mm(7);
    double y = box.top() + m_layout.mm(1.5);
    m_p.setPen(pen(kInk, 0.2));
    m_p.setBrush(Qt::NoBrush);
    m_p.drawRect(box);

    setFont(9, true);
    m_p.setPen(kInk);
    y = drawLabel(QPointF(x, y), Qt::AlignLeft | Qt::AlignTop, QStringLiteral("图　例")).bottom()
        + m_layout.mm(1);

    // One line of the legend: a key drawn by `key` in the key column, then the text.
    setFont(7.5);
    const double lineHeight = QFontMetricsF(m_p.font(), m_p.device()).height();
    const auto entry = [&](auto key, const QString& s) {
        if (y + lineHeight > box.bottom() - m_layout.mm(1))
            return;
        key(y + lineHeight / 2);
        m_p.setPen(kInk);
        const QRectF rect(keyEnd + m_layout.mm(1.5), y, box.right() - keyEnd - m_layout.mm(3),
                          box.bottom() - y);
        const QRectF used = m_p.boundingRect(rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, s);
        m_p.drawText(rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, s);
        y = used.bottom() + m_layout.mm(0.6);
    };
    const auto lineKey = [&](const QColor& colour, double width) {
        return [&, colour, width](double mid) {
            m_p.setPen(pen(colour, width));
            m_p.drawLine(QPointF(x, mid), QPointF(keyEnd, mid));
        };
    };
    const auto noKey = [](double) {};

    entry(lineKey(kIsothermMajor, 0.3),
          m_isothermLabelStep < 5 ? QStringLiteral("干球温度 t，每 1 ℃，每 5 ℃ 加粗")
                                  : QStringLiteral("干球温度 t，每 1 ℃，每 5 ℃ 加粗并标注"));
    entry(lineKey(kIsenthalpMajor, 0.22),
          QStringLiteral("焓 h，每 %1 kJ/kg干，每 %2 kJ/kg干 标注")
              .arg(number(m_enthalpyStep), number(m_enthalpyLabelStep)));
    entry(lineKey(kHumidity, 0.22), QStringLiteral("相对湿度 ψ，10% … 90%"));
    entry(lineKey(kInk, 0.5), QStringLiteral("饱和线 ψ = 100%"));
    entry(lineKey(kMoistureMajor, 0.15), QStringLiteral("含湿量 d"));

    y += m_layout.mm(1.5);
    const auto pointKey = [&](double mid) {
        const double r = m_layout.mm(0.9);
        m_p.setPen(pen(QColor(0x60, 0, 0), 0.15));
        m_p.setBrush(PointColour());
        m_p.drawEllipse(QPointF((x + keyEnd) / 2, mid), r, r);
        m_p.setBrush(Qt::NoBrush);
    };
    const int total = static_cast<int>(m_content.points.size());
    if (!m_lines.hasDomain())
        entry(noKey, QStringLiteral("图的范围内没有未饱和的空气，无线可画"));
    if (total == 0) {
        entry(noKey, QStringLiteral("没有可绘制的状态点"));
    } else {
        entry(pointKey, QStringLiteral("状态点：%1 个").arg(m_plotted));
        if (m_plotted > 0 && total > kMaxLabelledPoints)
            entry(noKey, QStringLiteral("点数较多，未逐点标注"));
    }
    if (m_outside > 0)
        entry(noKey, QStringLiteral("%1 个点在图的范围之外，未画出").arg(m_outside));
    if (m_content.process && total > 1) {
        entry(
            [&](double mid) {
                m_p.setPen(pen(kProcess, 0.35));
                m_p.drawLine(QPointF(x, mid), QPointF(keyEnd - m_layout.mm(2), mid));
                QPolygonF head;
                head << QPointF(keyEnd, mid) << QPointF(keyEnd - m_layout.mm(2.4), mid - m_layout.mm(0.9))
                     << QPointF(keyEnd - m_layout.mm(2.4), mid + m_layout.mm(0.9));
                m_p.setPen(Qt::NoPen);
                m_p.setBrush(kProcess);
                m_p.drawPolygon(head);
                m_p.setBrush(Qt::NoBrush);
            },
            QStringLiteral("过程线，标注焓差 Δh 与热湿比 ε = Δh / Δd"));
    }
    for (const std::string& note : m_content.notes)
        entry(noKey, text(note));
}

void ChartPainter::drawFan()
{
    // Rays from one origin in the directions the mapping gives each ε, so a
    // ruler laid along a ray shows the direction of a process on the chart.
    const QRectF box = m_layout.fan();
    const ChartMapping& map = m_layout.mapping();
    m_p.setPen(pen(kInk, 0.2));
    m_p.setBrush(Qt::NoBrush);
    m_p.drawRect(box);
    setFont(8.5, true);
    m_p.setPen(kInk);
    const QRectF heading = drawLabel(QPointF(box.left() + m_layout.mm(2), box.top() + m_layout.mm(1.5)),
                                     Qt::AlignLeft | Qt::AlignTop, QStringLiteral("热湿比 ε（kJ/kg）"));

    // Finite ratios are written along their rays, which keeps the labels of
    // the nearly vertical rays apart; room is left beyond the rays for them.
    setFont(6.5);
    const double labelRoom = QFontMetricsF(m_p.font(), m_p.device()).horizontalAdvance(QStringLiteral("-20000"))
                             + m_layout.mm(1.5);
    const double top = heading.bottom() + m_layout.mm(1);
    const double radius = std::min(box.width() - m_layout.mm(6) - labelRoom,
                                   (box.bottom() - top) / 2 - labelRoom);
    if (radius <= 0)
        return;
    const QPointF origin(box.left() + m_layout.mm(4), (top + box.bottom()) / 2);
    const auto ray = [&](QPointF direction) {
        const QPointF end = origin + unit(direction) * radius;
        m_p.setPen(pen(kFan, 0.2));
        m_p.drawLine(origin, end);
        m_p.setPen(kInk);
        return origin + unit(direction) * (radius + m_layout.mm(0.8));
    };
    const double dd = 1;  // g/kg
    for (int epsilon : kFanRatios) {
        const QPointF direction = map.displacement(dd, epsilon * dd / 1000);
        drawTurnedLabel(ray(direction), angleOf(direction), Qt::AlignLeft | Qt::AlignVCenter,
                        QString::number(epsilon), false);
    }
    drawLabel(ray(map.displacement(0, 1)), Qt::AlignHCenter | Qt::AlignBottom, QStringLiteral("+∞"));
    drawLabel(ray(map.displacement(0, -1)), Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("-∞"));
    m_p.setPen(pen(kInk, 0.2));
    m_p.setBrush(kInk);
    m_p.drawEllipse(origin, m_layout.mm(0.5), m_layout.mm(0.5));
    m_p.setBrush(Qt::NoBrush);
}

void ChartPainter::drawFooter()
{
    setFont(6.5);
    m_p.setPen(QColor(0x60, 0x60, 0x60));
    drawLabel(m_layout.footer().bottomLeft(), Qt::AlignLeft | Qt::AlignBottom,
              QStringLiteral("图中各线与计算结果出自同一组公式（饱和水蒸气分压力：t < 0 ℃ 为冰面，"
                             "t ≥ 0 ℃ 为水面）；状态点按其自身的含湿量 d 与焓 h 标出。"));
}
