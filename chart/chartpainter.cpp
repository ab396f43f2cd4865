// The body of the h–d chart: its grid, scales, curve names, title and footer.
#include "chartpainter.h"

#include <QFontMetricsF>
#include <QLineF>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <vector>

#include "chartpalette.h"
#include "physics.h"

namespace {

// Multiples k·step from lo to hi (both included), with k counted as an
// integer so that no step accumulates rounding.
template <class F>
void forEachMultiple(double step, double lo, double hi, F f)
{
    for (double k = std::ceil(lo / step - 1e-9); k * step <= hi + 1e-9 * step; ++k)
        f(k * step, k);
}

}  // namespace

ChartPainter::ChartPainter(QPainter& painter, const ChartContent& content, QSizeF page,
                           double dotsPerMm)
    : m_p(painter),
      m_content(content),
      m_lines(content.B, content.range),
      m_layout(m_lines, page, dotsPerMm, ChartLegend::FitsStrip(content)),
      m_spacing(m_lines, m_layout),
      m_families(m_spacing),
      m_canvas(painter, m_layout),
      m_points(m_canvas, content, m_lines),
      m_legend(m_canvas, content, m_lines, m_families, m_points)
{
}

ChartMapping ChartPainter::MappingOf(const ChartContent& content, QSizeF page, double dotsPerMm)
{
    return ChartLayout(ChartLines(content.B, content.range), page, dotsPerMm, ChartLegend::FitsStrip(content))
        .mapping();
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
        drawOptionalLines();
        drawDScales();
        // The h numbers first: the dew-point numbers keep off them.
        drawEnthalpyScale();
        drawTScale();
        drawHumidityLabels();
        // Markers and arrows are marked as taken before any label block is
        // placed, so that the blocks keep off all of them.
        m_points.place();
        m_points.drawProcess();
        m_points.draw();
        // The legend's entries are known once the points are drawn.
        m_layout.fitLegend(m_legend.height());
        m_legend.drawFan();
    } else {
        m_points.leaveAllOut();
        m_layout.fitLegend(m_legend.height());
    }
    m_p.setPen(m_canvas.pen(ChartPalette::kInk, 0.3));
    m_p.setBrush(Qt::NoBrush);
    m_p.drawRect(m_layout.frame());
    if (!m_lines.hasDomain()) {
        // Not an empty frame that looks like a failed drawing: say why.
        m_canvas.setFont(10);
        m_p.setPen(ChartPalette::kInk);
        m_canvas.drawLabel(m_layout.frame().center(), Qt::AlignCenter, QString::fromUtf8(kNoUnsaturatedAirNote));
    }
    m_legend.draw();
    drawFooter();
    m_p.restore();
}

void ChartPainter::drawTitle()
{
    QString title =
        QStringLiteral("湿空气焓湿图（h-d 图）　大气压力 B = %1 Pa").arg(ChartCanvas::Number(m_content.B));
    if (m_content.altitude)
        title += QStringLiteral("（海拔 %1 m，标准大气）").arg(ChartCanvas::Number(*m_content.altitude));
    m_p.setPen(ChartPalette::kInk);
    m_canvas.setFont(14, true);
    m_canvas.drawLabel(m_layout.title().topLeft(), Qt::AlignLeft | Qt::AlignTop, title);
}

void ChartPainter::drawGrid()
{
    const ChartRange& r = m_content.range;
    m_p.setBrush(Qt::NoBrush);

    // Each family from its row: a line every step, every majorEvery-th heavy.
    const auto pen = [&](const LineFamily& f, bool major) {
        return m_canvas.pen(major ? f.major : f.minor, major ? f.majorWidth : f.minorWidth);
    };
    const LineFamily& moisture = m_families.moisture;
    forEachMultiple(moisture.step, m_lines.dLeft(), m_lines.dRight(), [&](double d, double k) {
        if (const auto s = m_lines.constantMoisture(d)) {
            m_p.setPen(pen(moisture, moisture.isMajor(k)));
            m_canvas.drawSegment(*s);
        }
    });

    const LineFamily& isenthalps = m_families.isenthalps;
    const double hLow = Enthalpy(r.tMin, m_lines.dLeft());
    const double hHigh = Enthalpy(r.tMax, m_lines.dRight());
    forEachMultiple(isenthalps.step, hLow, hHigh, [&](double h, double k) {
        if (const auto s = m_lines.isenthalp(h)) {
            m_p.setPen(pen(isenthalps, isenthalps.isMajor(k) && numberable(*s)));
            m_canvas.drawSegment(*s);
        }
    });

    // Isotherms; the range's ends close the domain.
    const LineFamily& isotherms = m_families.isotherms;
    const auto isotherm = [&](double t, bool major) {
        if (const auto s = m_lines.isotherm(t)) {
            m_p.setPen(pen(isotherms, major));
            m_canvas.drawSegment(*s);
        }
    };
    forEachMultiple(isotherms.step, r.tMin, r.tMax, [&](double t, double k) { isotherm(t, isotherms.isMajor(k)); });
    for (double end : {r.tMin, r.tMax}) {
        if (std::fabs(std::remainder(end, isotherms.step)) > 1e-9)
            isotherm(end, false);
    }

    // Relative humidity; saturation heaviest.
    for (int percent : kHumidityCurves) {
        const std::vector<DhPoint> curve = m_lines.humidityCurve(percent / 100.0);
        QPolygonF line;
        for (DhPoint p : curve)
            line << m_layout.mapping().toPage(p);
        m_p.setPen(percent == 100 ? m_canvas.pen(ChartPalette::kInk, 0.5)
                                  : m_canvas.pen(m_families.humidity.major, m_families.humidity.majorWidth));
        m_p.drawPolyline(line);
    }
}

void ChartPainter::drawOptionalLines()
{
    const ChartMapping& map = m_layout.mapping();
    const ChartRange& r = m_content.range;
    const auto draw = [&](const LineFamily& f, double from, double to, auto line, const QString& prefix) {
        forEachMultiple(f.step, from, to, [&](double value, double k) {
            const bool major = f.isMajor(k);
            QPolygonF points;
            for (DhPoint p : line(value))
                points << map.toPage(p);
            if (points.size() < 2)
                return;
            QPen pen = m_canvas.pen(major ? f.major : f.minor, major ? f.majorWidth : f.minorWidth);
            pen.setStyle(Qt::DashLine);
            m_p.save();
            m_p.setClipRect(m_layout.frame());
            m_p.setPen(pen);
            m_p.drawPolyline(points);
            m_p.restore();
            // The number at the upper end inside the frame.
            if (!major)
                return;
            for (qsizetype i = points.size() - 1; i >= 0; --i) {
                if (!m_layout.frame().contains(points[i]))
                    continue;
                m_p.setPen(f.major);
                m_canvas.setFont(6.5);
                m_canvas.fix(m_canvas.drawLabel(points[i], Qt::AlignHCenter | Qt::AlignBottom,
                                                prefix + ChartCanvas::Number(value), true));
                break;
            }
        });
    };
    if (m_content.wetBulbLines) {
        const double upsilon = *m_content.wetBulbLines;
        draw(m_families.wetBulb, r.tMin, r.tMax, [&](double ts) { return m_lines.wetBulbLine(ts, upsilon); },
             QStringLiteral("ts "));
    }
    if (m_content.volumeLines) {
        // The volumes the range holds: from its coldest dry air to its warmest saturated air.
        const double vLow = SpecificVolume(Density(m_content.B, r.tMin, 0));
        const double vHigh = SpecificVolume(Density(m_content.B, r.tMax, 0)) * 1.5;
        draw(m_families.volume, vLow, vHigh, [&](double v) { return m_lines.volumeLine(v); }, QStringLiteral("v "));
    }
}

void ChartPainter::drawDScales()
{
    const ChartMapping& map = m_layout.mapping();
    const QRectF frame = m_layout.frame();
    m_p.setPen(m_canvas.pen(ChartPalette::kInk, 0.2));
    m_canvas.setFont(7);

    // d along the top edge of the frame.
    const LineFamily& moisture = m_families.moisture;
    forEachMultiple(moisture.step, m_lines.dLeft(), m_lines.dRight(), [&](double d, double k) {
        const double x = frame.left() + (d - m_lines.dLeft()) * map.scale();
        const bool labelled = moisture.isMajor(k);
        m_p.drawLine(QPointF(x, frame.top()), QPointF(x, frame.top() - m_layout.mm(labelled ? 1.6 : 0.9)));
        if (labelled)
            m_canvas.drawLabel(QPointF(x, frame.top() - m_layout.mm(1.8)), Qt::AlignHCenter | Qt::AlignBottom,
                               ChartCanvas::Number(d));
    });
    drawScaleName(frame.top() - m_layout.mm(1.8), QStringLiteral("含湿量 d（g/kg干）"));

    // Pq above it: at this B, Pq is a function of d alone.
    const double y = frame.top() - m_layout.mm(9.5);
    const double pLeft = m_lines.vapourPressure(m_lines.dLeft()) / 1000;
    const double pRight = m_lines.vapourPressure(m_lines.dRight()) / 1000;
    const double perKPa = frame.width() / (pRight - pLeft);
    const double pLabel = ChartSpacing::NiceStep(m_layout.mm(9) / perKPa);
    const double pTick = pLabel / (std::fmod(pLabel / std::pow(10.0, std::floor(std::log10(pLabel))), 2) == 0 ? 4 : 5);
    m_p.drawLine(QPointF(frame.left(), y), QPointF(frame.right(), y));
    m_canvas.setFont(7);
    forEachMultiple(pTick, pLeft, pRight, [&](double kPa, double) {
        const double d = m_lines.moistureContentOfPressure(kPa * 1000);
        const double x = frame.left() + (d - m_lines.dLeft()) * map.scale();
        const bool labelled = std::fabs(std::remainder(kPa, pLabel)) < 1e-9 * pLabel + 1e-12;
        m_p.drawLine(QPointF(x, y), QPointF(x, y - m_layout.mm(labelled ? 1.6 : 0.9)));
        if (labelled)
            m_canvas.drawLabel(QPointF(x, y - m_layout.mm(1.8)), Qt::AlignHCenter | Qt::AlignBottom,
                               ChartCanvas::Number(kPa));
    });
    drawScaleName(y - m_layout.mm(1.8), QStringLiteral("水蒸气分压力 Pq（kPa）"));
}

void ChartPainter::drawScaleName(double numbersBottom, const QString& name)
{
    // Beside the scale's right end when the page has room there (a frame
    // that takes the page's width leaves none), else over its last numbers.
    const QRectF frame = m_layout.frame();
    const double numbersHeight = m_canvas.textHeight(ChartCanvas::Font(7));
    m_canvas.setFont(8);
    const double width = m_canvas.textSize(m_p.font(), name).width();
    if (frame.right() + m_layout.mm(5) + width <= m_layout.page().width() - m_layout.mm(4))
        m_canvas.drawLabel(QPointF(frame.right() + m_layout.mm(5), numbersBottom), Qt::AlignLeft | Qt::AlignBottom, name);
    else
        m_canvas.drawLabel(QPointF(frame.right(), numbersBottom - numbersHeight - m_layout.mm(0.5)),
                           Qt::AlignRight | Qt::AlignBottom, name);
}

void ChartPainter::drawTScale()
{
    const ChartRange& r = m_content.range;
    const QRectF frame = m_layout.frame();
    // Every heavy isotherm, and only those, numbered at the left edge.
    const LineFamily& isotherms = m_families.isotherms;
    forEachMultiple(isotherms.majorStep(), r.tMin, r.tMax, [&](double t, double) {
        if (const auto s = m_lines.isotherm(t)) {
            m_p.setPen(isotherms.major);
            m_canvas.setFont(7.5);
            const QPointF left = m_layout.mapping().toPage(s->from);
            m_canvas.drawLabel(QPointF(frame.left() - m_layout.mm(1.2), left.y()),
                               Qt::AlignRight | Qt::AlignVCenter, ChartCanvas::Number(t));
        }
    });
    // The same numbers where the heavy isotherms meet the saturation curve:
    // the dew point read off for air of that d. Only where they cover no h
    // number and stay inside the frame.
    m_canvas.setFont(6);
    forEachMultiple(isotherms.majorStep(), r.tMin, r.tMax, [&](double t, double) {
        const auto s = m_lines.isotherm(t);
        if (!s)
            return;
        const QPointF end = m_layout.mapping().toPage(s->to);
        if (end.x() >= frame.right() - m_layout.mm(0.05))
            return;  // it ends at the right edge, not on the curve
        const QString number = ChartCanvas::Number(t);
        const QSizeF size = m_canvas.textSize(m_p.font(), number);
        const QRectF place(end + QPointF(m_layout.mm(0.8), m_layout.mm(0.3)), size);
        if (!frame.contains(place) || !m_canvas.isFree(place))
            return;
        m_p.setPen(isotherms.major);
        m_canvas.fix(m_canvas.drawLabel(place.topLeft(), Qt::AlignLeft | Qt::AlignTop, number));
    });
    m_canvas.setFont(8);
    m_p.setPen(ChartPalette::kInk);
    m_canvas.drawTurnedLabel(QPointF(frame.left() - m_layout.mm(8.5), frame.center().y()), -90,
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
    const QPointF down = ChartCanvas::Unit(map.displacement(1, 0));  // along an isenthalp, towards larger d
    m_p.setPen(ChartPalette::kIsenthalp.major);
    m_canvas.setFont(7);
    QPointF middle;
    int count = 0;
    forEachMultiple(m_families.isenthalps.majorStep(), Enthalpy(r.tMin, m_lines.dLeft()),
                    Enthalpy(r.tMax, m_lines.dRight()), [&](double h, double) {
        const auto s = m_lines.isenthalp(h);
        if (!s || !numberable(*s))
            return;
        const QPointF end = map.toPage(s->to);
        const bool rightEdge = end.x() >= frame.right() - m_layout.mm(0.05);
        // Centred on the line's own extension past its end (at the
        // saturation curve or the frame's right edge), so that it is nearer
        // its line than any other.
        const QString number = ChartCanvas::Number(h);
        const QSizeF size = m_canvas.textSize(m_p.font(), number);
        const double reach = (size.width() * std::fabs(down.x()) + size.height() * std::fabs(down.y())) / 2;
        const QRectF drawn = m_canvas.drawLabel(end + down * (m_layout.mm(1) + reach),
                                                Qt::AlignHCenter | Qt::AlignVCenter, number);
        if (!rightEdge) {
            m_canvas.fix(drawn);
            middle += end;
            ++count;
        }
    });
    // The scale's name in the empty fog region, parallel to the isenthalps.
    m_canvas.setFont(8.5);
    m_p.setPen(ChartPalette::kInk);
    if (count > 0) {
        // Reading outwards from beyond the numbers.
        const QPointF at = middle / count + down * m_layout.mm(7);
        m_canvas.fix(m_canvas.drawTurnedLabel(at, ChartCanvas::AngleOf(down), Qt::AlignLeft | Qt::AlignVCenter,
                                              QStringLiteral("焓 h（kJ/kg干）"), false));
    } else {
        m_canvas.drawLabel(QPointF(frame.right() + m_layout.mm(1), frame.bottom()),
                           Qt::AlignLeft | Qt::AlignTop, QStringLiteral("h（kJ/kg干）"));
    }
}

bool ChartPainter::numberable(const DhSegment& isenthalp) const
{
    const ChartMapping& map = m_layout.mapping();
    return QLineF(map.toPage(isenthalp.from), map.toPage(isenthalp.to)).length() >= m_layout.mm(4);
}

void ChartPainter::drawHumidityLabels()
{
    // Each curve is named a little way back from where it leaves the domain,
    // written along the curve.
    const ChartMapping& map = m_layout.mapping();
    m_canvas.setFont(7);
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
        QPointF at = map.toPage(curve[i]);
        const QPointF tangent = map.toPage(curve[i]) - map.toPage(curve[i - 1]);
        m_p.setPen(percent == 100 ? ChartPalette::kInk : ChartPalette::kHumidity);
        if (percent == 100) {
            // Beside the curve, on the air's side (the fog side holds the h
            // numbers), so that the curve runs on unbroken.
            QPointF normal(-tangent.y(), tangent.x());
            if (normal.y() > 0)
                normal = -normal;
            at += ChartCanvas::Unit(normal) * m_layout.mm(2);
        }
        const QString name = percent == 100 ? QStringLiteral("ψ = 100%（饱和线）")
                                            : QStringLiteral("%1%").arg(percent);
        m_canvas.fix(m_canvas.drawTurnedLabel(at, ChartCanvas::AngleOf(tangent), Qt::AlignHCenter | Qt::AlignVCenter,
                                              name, true));
    }
    // No label block may cover the saturation curve.
    QPolygonF saturation;
    for (DhPoint p : m_lines.humidityCurve(1.0))
        saturation << map.toPage(p);
    m_canvas.fixPolyline(saturation, 0.3);
}

void ChartPainter::drawFooter()
{
    m_canvas.setFont(6.5);
    m_p.setPen(QColor(0x60, 0x60, 0x60));
    m_canvas.drawLabel(m_layout.footer().bottomLeft(), Qt::AlignLeft | Qt::AlignBottom,
                       QStringLiteral("图中各线与计算结果出自同一组公式（饱和水蒸气分压力：t < 0 ℃ 为冰面，"
                                      "t ≥ 0 ℃ 为水面）；状态点按其自身的含湿量 d 与焓 h 标出。"));
}
