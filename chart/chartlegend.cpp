// The column beside the h–d chart: the legend over the ε fan.
#include "chartlegend.h"

#include <QFontMetricsF>

#include <algorithm>

#include "chartpalette.h"

ChartLegend::ChartLegend(ChartCanvas& canvas, const ChartContent& content, const ChartLines& lines,
                         const ChartFamilies& families, const ChartPoints& points)
    : m_canvas(canvas), m_content(content), m_lines(lines),
      m_families(families),
      m_points(points)
{
}

double ChartLegend::height()
{
    return entries(false);
}

void ChartLegend::draw()
{
    entries(true);
}

double ChartLegend::entries(bool paint)
{
    // The box reaches down to the page's footer while measuring.
    const QRectF box = paint ? layout().legend()
                             : QRectF(layout().legend().topLeft(), QPointF(layout().legend().right(), layout().page().height()));
    const double x = box.left() + layout().mm(2);
    const double keyEnd = x + layout().mm(7);
    double y = box.top() + layout().mm(1.5);
    painter().save();
    if (paint) {
        painter().setPen(m_canvas.pen(ChartPalette::kInk, 0.2));
        painter().setBrush(Qt::NoBrush);
        painter().drawRect(box);
    }
    m_canvas.setFont(9, true);
    painter().setPen(ChartPalette::kInk);
    const QString heading = QStringLiteral("图　例");
    y = (paint ? m_canvas.drawLabel(QPointF(x, y), Qt::AlignLeft | Qt::AlignTop, heading)
               : QRectF(QPointF(x, y), m_canvas.textSize(painter().font(), heading)))
            .bottom()
        + layout().mm(1);

    // One line of the legend: a key drawn by `key` in the key column, then the text.
    m_canvas.setFont(7.5);
    const double lineHeight = m_canvas.textHeight(painter().font());
    const auto entry = [&](auto key, const QString& s) {
        if (y + lineHeight > box.bottom() - layout().mm(1))
            return;
        if (paint)
            key(y + lineHeight / 2);
        painter().setPen(ChartPalette::kInk);
        const QRectF rect(keyEnd + layout().mm(1.5), y, box.right() - keyEnd - layout().mm(3),
                          box.bottom() - y);
        const double used = m_canvas.wrappedHeight(painter().font(), rect.width(), s);
        if (paint)
            painter().drawText(rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, s);
        y += used + layout().mm(0.6);
    };
    const auto lineKey = [&](const QColor& colour, double width) {
        return [&, colour, width](double mid) {
            painter().setPen(m_canvas.pen(colour, width));
            painter().drawLine(QPointF(x, mid), QPointF(keyEnd, mid));
        };
    };
    const auto noKey = [](double) {};

    // Each family's key in its heavy line's colour and width, with its steps.
    for (const LineFamily* f : {&m_families.isotherms, &m_families.isenthalps, &m_families.humidity}) {
        entry(lineKey(f->major, f->majorWidth),
              f == &m_families.humidity ? QStringLiteral("相对湿度 ψ，10% … 90%") : f->legendText());
    }
    entry(lineKey(ChartPalette::kInk, 0.5), QStringLiteral("饱和线 ψ = 100%"));
    entry(lineKey(m_families.moisture.major, m_families.moisture.majorWidth), m_families.moisture.legendText());
    const auto dashedKey = [&](const LineFamily& f) {
        return [&](double mid) {
            QPen pen = m_canvas.pen(f.major, f.majorWidth);
            pen.setStyle(Qt::DashLine);
            painter().setPen(pen);
            painter().drawLine(QPointF(x, mid), QPointF(keyEnd, mid));
        };
    };
    if (m_content.wetBulbLines) {
        entry(dashedKey(m_families.wetBulb), m_families.wetBulb.legendText()
                                                 + QStringLiteral("（υ = %1 m/s）").arg(ChartCanvas::Number(*m_content.wetBulbLines)));
    }
    if (m_content.volumeLines)
        entry(dashedKey(m_families.volume), m_families.volume.legendText());

    y += layout().mm(1.5);
    const auto pointKey = [&](double mid) { m_canvas.drawMarkers({QPointF((x + keyEnd) / 2, mid)}); };
    const int total = static_cast<int>(m_content.points.size());
    if (!m_lines.hasDomain())
        entry(noKey, QStringLiteral("图的范围内没有未饱和的空气，无线可画"));
    if (total == 0) {
        entry(noKey, QStringLiteral("没有可绘制的状态点"));
    } else {
        entry(pointKey, QStringLiteral("状态点：%1 个").arg(m_points.plotted()));
        if (m_points.plotted() > 0 && !m_points.labelled())
            entry(noKey, QStringLiteral("点数较多，未逐点标注"));
        const bool others = std::any_of(m_content.points.begin(), m_content.points.end(),
                                        [](const ChartPoint& p) { return p.otherPressure; });
        if (others && m_points.labelled()) {
            entry([&](double mid) { m_canvas.drawMarkers({QPointF((x + keyEnd) / 2, mid)}, true); },
                  QStringLiteral("空心点：大气压力 B 与本图不同，不在本图的 ψ 线上"));
        }
    }
    if (m_points.outside() > 0)
        entry(noKey, QString::fromStdString(OutsideNote(m_points.outside())));
    if (m_content.process && total > 1) {
        entry(
            [&](double mid) {
                painter().setPen(m_canvas.pen(ChartPalette::kProcess, 0.35));
                painter().drawLine(QPointF(x, mid), QPointF(keyEnd - layout().mm(2), mid));
                m_canvas.drawArrowhead(QPointF(keyEnd, mid), QPointF(1, 0), ChartPalette::kProcess);
            },
            m_points.labelled()
                ? QStringLiteral("过程线 %1 条，标注焓差 Δh 与热湿比 ε = Δh / Δd").arg(m_points.arrows())
                : QStringLiteral("过程线 %1 条，点数较多，未标注 Δh 与 ε").arg(m_points.arrows()));
    }
    if (m_canvas.dropped() > 0)
        entry(noKey, QStringLiteral("%1 个标注无处放置（会盖住数字或饱和线），已略去").arg(m_canvas.dropped()));
    for (const std::string& note : m_content.notes)
        entry(noKey, ChartCanvas::Text(note));
    painter().restore();
    return y + layout().mm(1) - box.top();
}

void ChartLegend::drawFan()
{
    // Rays from one origin in the directions the mapping gives each ε, so a
    // ruler laid along a ray shows the direction of a process on the chart.
    const QRectF box = layout().fan();
    const ChartMapping& map = layout().mapping();
    painter().setPen(m_canvas.pen(ChartPalette::kInk, 0.2));
    painter().setBrush(Qt::NoBrush);
    painter().drawRect(box);
    m_canvas.setFont(8.5, true);
    painter().setPen(ChartPalette::kInk);
    const QRectF heading =
        m_canvas.drawLabel(QPointF(box.left() + layout().mm(2), box.top() + layout().mm(1.5)),
                           Qt::AlignLeft | Qt::AlignTop, QStringLiteral("热湿比 ε（kJ/kg）"));

    // Finite ratios are written along their rays, which keeps the labels of
    // the nearly vertical rays apart; room is left beyond the rays for them.
    m_canvas.setFont(6.5);
    const double labelRoom = m_canvas.textSize(painter().font(), QStringLiteral("−20000")).width()
                             + layout().mm(1.5);
    const double top = heading.bottom() + layout().mm(1);
    const double radius = std::min(box.width() - layout().mm(6) - labelRoom,
                                   (box.bottom() - top) / 2 - labelRoom);
    if (radius <= 0)
        return;
    const QPointF origin(box.left() + layout().mm(4), (top + box.bottom()) / 2);
    const auto ray = [&](QPointF direction) {
        const QPointF end = origin + ChartCanvas::Unit(direction) * radius;
        painter().setPen(m_canvas.pen(ChartPalette::kFan, 0.2));
        painter().drawLine(origin, end);
        painter().setPen(ChartPalette::kInk);
        return origin + ChartCanvas::Unit(direction) * (radius + layout().mm(0.8));
    };
    const double dd = 1;  // g/kg
    for (int epsilon : kFanRatios) {
        const QPointF direction = map.displacement(dd, epsilon * dd / 1000);
        m_canvas.drawTurnedLabel(ray(direction), ChartCanvas::AngleOf(direction),
                                 Qt::AlignLeft | Qt::AlignVCenter, ChartCanvas::Number(epsilon), false);
    }
    m_canvas.drawLabel(ray(map.displacement(0, 1)), Qt::AlignHCenter | Qt::AlignBottom,
                       QStringLiteral("+∞"));
    m_canvas.drawLabel(ray(map.displacement(0, -1)), Qt::AlignHCenter | Qt::AlignTop,
                       QStringLiteral("−∞"));
    painter().setPen(m_canvas.pen(ChartPalette::kInk, 0.2));
    painter().setBrush(ChartPalette::kInk);
    painter().drawEllipse(origin, layout().mm(0.5), layout().mm(0.5));
    painter().setBrush(Qt::NoBrush);
}
