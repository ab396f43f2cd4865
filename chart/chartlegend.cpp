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

bool ChartLegend::FitsStrip(const ChartContent& c)
{
    const bool others = std::any_of(c.points.begin(), c.points.end(), [](const ChartPoint& p) { return p.otherPressure; });
    const bool many = c.points.size() > static_cast<std::size_t>(kMaxLabelledPoints);
    const std::size_t pointEntries = 1 + others + many + c.process + c.notes.size() + 2;  // + outside, dropped
    return !c.wetBulbLines && !c.volumeLines && pointEntries <= 4;
}

double ChartLegend::height()
{
    return entries(false);
}

void ChartLegend::draw()
{
    entries(true);
}

std::vector<ChartLegend::Entry> ChartLegend::lineEntries()
{
    const auto lineKey = [this](const QColor& colour, double width, bool dashed) {
        return [this, colour, width, dashed](double x, double keyEnd, double mid) {
            QPen pen = m_canvas.pen(colour, width);
            if (dashed)
                pen.setStyle(Qt::DashLine);
            painter().setPen(pen);
            painter().drawLine(QPointF(x, mid), QPointF(keyEnd, mid));
        };
    };
    // Each family's key in its heavy line's colour and width, with its steps.
    std::vector<Entry> entries;
    for (const LineFamily* f : {&m_families.isotherms, &m_families.isenthalps, &m_families.humidity}) {
        entries.push_back({lineKey(f->major, f->majorWidth, false),
                           f == &m_families.humidity ? QStringLiteral("相对湿度 ψ，10% … 90%") : f->legendText()});
    }
    entries.push_back({lineKey(ChartPalette::kInk, 0.5, false), QStringLiteral("饱和线 ψ = 100%")});
    const LineFamily& d = m_families.moisture;
    entries.push_back({lineKey(d.major, d.majorWidth, false), d.legendText()});
    if (m_content.wetBulbLines) {
        const LineFamily& f = m_families.wetBulb;
        entries.push_back({lineKey(f.major, f.majorWidth, true),
                           f.legendText() + QStringLiteral("（υ = %1 m/s）").arg(ChartCanvas::Number(*m_content.wetBulbLines))});
    }
    if (m_content.volumeLines)
        entries.push_back({lineKey(m_families.volume.major, m_families.volume.majorWidth, true), m_families.volume.legendText()});
    return entries;
}

std::vector<ChartLegend::Entry> ChartLegend::pointEntries()
{
    const auto marker = [this](bool hollow) {
        return [this, hollow](double x, double keyEnd, double mid) {
            m_canvas.drawMarkers({QPointF((x + keyEnd) / 2, mid)}, hollow);
        };
    };
    const auto note = [](const QString& text) { return Entry{{}, text}; };
    std::vector<Entry> entries;
    const int total = static_cast<int>(m_content.points.size());
    if (!m_lines.hasDomain())
        entries.push_back(note(QString::fromUtf8(kNoUnsaturatedAirNote)));
    if (total == 0) {
        entries.push_back(note(QStringLiteral("没有可绘制的状态点")));
    } else {
        entries.push_back({marker(false), QStringLiteral("状态点：%1 个").arg(m_points.plotted())});
        if (m_points.plotted() > 0 && !m_points.labelled())
            entries.push_back(note(QStringLiteral("点数较多，未逐点标注")));
        const bool others = std::any_of(m_content.points.begin(), m_content.points.end(),
                                        [](const ChartPoint& p) { return p.otherPressure; });
        if (others && m_points.labelled())
            entries.push_back({marker(true), QStringLiteral("空心点：大气压力 B 与本图不同，不在本图的 ψ 线上")});
    }
    if (m_points.outside() > 0)
        entries.push_back(note(QString::fromStdString(OutsideNote(m_points.outside()))));
    if (m_content.process && total > 1) {
        const auto arrow = [this](double x, double keyEnd, double mid) {
            painter().setPen(m_canvas.pen(ChartPalette::kProcess, 0.35));
            painter().drawLine(QPointF(x, mid), QPointF(keyEnd - layout().mm(2), mid));
            m_canvas.drawArrowhead(QPointF(keyEnd, mid), QPointF(1, 0), ChartPalette::kProcess);
        };
        entries.push_back({arrow, m_points.labelled()
                                      ? QStringLiteral("过程线 %1 条，标注焓差 Δh 与热湿比 ε = Δh / Δd").arg(m_points.arrows())
                                      : QStringLiteral("过程线 %1 条，点数较多，未标注 Δh 与 ε").arg(m_points.arrows())});
    }
    if (m_canvas.dropped() > 0)
        entries.push_back(note(QStringLiteral("%1 个标注无处放置（会盖住数字、饱和线或状态点的标注），已略去").arg(m_canvas.dropped())));
    for (const std::string& text : m_content.notes)
        entries.push_back(note(ChartCanvas::Text(text)));
    return entries;
}

double ChartLegend::entries(bool paint)
{
    // The column's box reaches down to the page's footer while measuring.
    const bool strip = layout().strip();
    const QRectF box = paint || strip
                           ? layout().legend()
                           : QRectF(layout().legend().topLeft(), QPointF(layout().legend().right(), layout().page().height()));
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
    const QPointF headingAt(box.left() + layout().mm(2), y);
    y = (paint ? m_canvas.drawLabel(headingAt, Qt::AlignLeft | Qt::AlignTop, heading)
               : QRectF(headingAt, m_canvas.textSize(painter().font(), heading)))
            .bottom()
        + layout().mm(1);

    // Each line of the legend: its key in the key column, then the text,
    // between left and right.
    m_canvas.setFont(7.5);
    const double lineHeight = m_canvas.textHeight(painter().font());
    const auto write = [&](const std::vector<Entry>& entries, double left, double right) {
        const double x = left + layout().mm(2);
        const double keyEnd = x + layout().mm(7);
        for (const Entry& e : entries) {
            if (y + lineHeight > box.bottom() - layout().mm(1))
                return;
            if (paint && e.key)
                e.key(x, keyEnd, y + lineHeight / 2);
            painter().setPen(ChartPalette::kInk);
            const QRectF rect(keyEnd + layout().mm(1.5), y, right - keyEnd - layout().mm(3), box.bottom() - y);
            if (paint)
                painter().drawText(rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, e.text);
            y += m_canvas.wrappedHeight(painter().font(), rect.width(), e.text) + layout().mm(0.6);
        }
    };
    if (strip) {
        // The strip is wide and low: the lines on the left, the points on the right.
        const double top = y;
        const double middle = box.center().x();
        write(lineEntries(), box.left(), middle);
        const double left = y;
        y = top;
        write(pointEntries(), middle, box.right());
        y = std::max(y, left);
    } else {
        write(lineEntries(), box.left(), box.right());
        y += layout().mm(1.5);
        write(pointEntries(), box.left(), box.right());
    }
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
    // Beside the frame the rays open to the right, from +∞ over 0 to −∞; in
    // the strip under it they open upwards, each ratio's line pointing up,
    // and +∞ and −∞ are the one vertical ray.
    const bool up = layout().strip();
    const double top = heading.bottom() + layout().mm(1);
    const double radius = up ? std::min(box.width() / 2 - layout().mm(3), box.bottom() - layout().mm(3) - top) - labelRoom
                             : std::min(box.width() - layout().mm(6) - labelRoom, (box.bottom() - top) / 2 - labelRoom);
    if (radius <= 0)
        return;
    const QPointF origin = up ? QPointF(box.center().x(), box.bottom() - layout().mm(3))
                              : QPointF(box.left() + layout().mm(4), (top + box.bottom()) / 2);
    const auto ray = [&](QPointF direction) {
        const QPointF end = origin + ChartCanvas::Unit(direction) * radius;
        painter().setPen(m_canvas.pen(ChartPalette::kFan, 0.2));
        painter().drawLine(origin, end);
        painter().setPen(ChartPalette::kInk);
        return origin + ChartCanvas::Unit(direction) * (radius + layout().mm(0.8));
    };
    const double dd = 1;  // g/kg
    for (int epsilon : kFanRatios) {
        QPointF direction = map.displacement(dd, epsilon * dd / 1000);
        if (up && direction.y() > 0)
            direction = -direction;
        // A label on a ray to the left is turned half round, to be read upright.
        const bool left = direction.x() < 0;
        m_canvas.drawTurnedLabel(ray(direction), ChartCanvas::AngleOf(left ? -direction : direction),
                                 (left ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter,
                                 ChartCanvas::Number(epsilon), false);
    }
    m_canvas.drawLabel(ray(map.displacement(0, 1)), Qt::AlignHCenter | Qt::AlignBottom,
                       up ? QStringLiteral("±∞") : QStringLiteral("+∞"));
    if (!up)
        m_canvas.drawLabel(ray(map.displacement(0, -1)), Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("−∞"));
    painter().setPen(m_canvas.pen(ChartPalette::kInk, 0.2));
    painter().setBrush(ChartPalette::kInk);
    painter().drawEllipse(origin, layout().mm(0.5), layout().mm(0.5));
    painter().setBrush(Qt::NoBrush);
}
