// The rows of a batch as points of its chart.
#include "chart_collector.h"

#include <string>
#include <unordered_map>

#include "display.h"

namespace {

// The labels a `from` field names: one, or several joined by ";", "；" or "、"
// (a mixing point has two arrows in).
std::vector<std::string> fromNames(const std::string& field)
{
    std::vector<std::string> names;
    std::string name;
    const auto flush = [&] {
        if (!name.empty())
            names.push_back(name);
        name.clear();
    };
    for (std::size_t i = 0; i < field.size();) {
        const bool wide = field.compare(i, 3, "；") == 0 || field.compare(i, 3, "、") == 0;
        if (field[i] == ';' || wide) {
            flush();
            i += wide ? 3 : 1;
        } else {
            name += field[i++];
        }
    }
    flush();
    return names;
}

}  // namespace

ChartCollector::ChartCollector(const ChartRange& range, bool process, double B,
                               std::optional<double> altitude)
{
    m_content.range = range;
    m_content.process = process;
    m_content.B = B;
    m_content.altitude = altitude;
}

void ChartCollector::header(const std::vector<std::string>& columns)
{
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (columns[i] == "label" && m_labelColumn < 0)
            m_labelColumn = static_cast<int>(i);
        if (columns[i] == "from" && m_fromColumn < 0)
            m_fromColumn = static_cast<int>(i);
    }
    if (m_fromColumn >= 0)
        m_content.process = true;
}

void ChartCollector::row(const FinishedRow& row)
{
    if (row.status != "ok" && row.status != "dew-point-range") {
        ++m_failed;
        return;
    }
    const StatePoint& point = row.point.point;
    const bool otherPressure = !m_content.points.empty() && point.B != m_content.B;
    if (m_content.points.empty()) {
        m_content.B = point.B;
        m_upsilon = point.upsilon;
        m_content.altitude = row.point.altitude;
    } else if (otherPressure) {
        ++m_otherPressure;
    }
    // Labels are kept only while they can still be drawn: cut to what a
    // label holds, and dropped once there are too many points to label.
    std::string label;
    if (m_content.points.size() < static_cast<std::size_t>(kMaxLabelledPoints)) {
        if (m_labelColumn >= 0 && static_cast<std::size_t>(m_labelColumn) < row.fields.size())
            label = ChartLabelOf(row.fields[static_cast<std::size_t>(m_labelColumn)]);
        if (label.empty())
            label = std::to_string(row.number);
    } else if (m_content.points.size() == static_cast<std::size_t>(kMaxLabelledPoints)) {
        for (ChartPoint& earlier : m_content.points)
            std::string().swap(earlier.label);
    }
    if (m_fromColumn >= 0) {
        const auto field = [&](int column) {
            return column >= 0 && static_cast<std::size_t>(column) < row.fields.size()
                       ? ChartLabelOf(row.fields[static_cast<std::size_t>(column)])
                       : std::string();
        };
        m_names.push_back(m_labelColumn >= 0 ? field(m_labelColumn) : std::to_string(row.number));
        m_from.push_back(field(m_fromColumn));
    }
    m_content.points.push_back(ChartPointOf(point, std::move(label), false));
    m_content.points.back().otherPressure = otherPressure;
}

ChartContent ChartCollector::content() const
{
    ChartContent content = m_content;
    // Arrows by `from`: from the first point of that label to the row's own.
    long unmatched = 0;
    if (m_fromColumn >= 0) {
        std::unordered_map<std::string, std::size_t> first;
        for (std::size_t i = 0; i < m_names.size(); ++i)
            first.emplace(m_names[i], i);  // the first point of a label
        for (std::size_t i = 0; i < m_from.size(); ++i) {
            for (const std::string& name : fromNames(m_from[i])) {
                const auto start = first.find(name);
                if (start == first.end() || start->second == i)
                    ++unmatched;
                else
                    content.arrows.emplace_back(start->second, i);
            }
        }
        // No arrow at all is none, not the rows in order.
        if (content.arrows.empty())
            content.process = false;
    }
    if (unmatched > 0)
        content.notes.push_back(std::to_string(unmatched) + " 个 from 标签没有对应的点，未画箭头");
    if (m_otherPressure > 0) {
        content.notes.push_back(OtherPressureNote(m_content.B, m_otherPressure));
    }
    if (m_failed > 0)
        content.notes.push_back(FailedRowsNote(m_failed));
    return content;
}
