// The rows of a batch as points of its chart.
#include "chart_collector.h"

#include <string>

#include "display.h"

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
        if (columns[i] == "label") {
            m_labelColumn = static_cast<int>(i);
            break;
        }
    }
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
    m_content.points.push_back(ChartPointOf(point, std::move(label), false));
    m_content.points.back().otherPressure = otherPressure;
}

ChartContent ChartCollector::content() const
{
    ChartContent content = m_content;
    if (m_otherPressure > 0) {
        content.notes.push_back(OtherPressureNote(m_content.B, m_otherPressure));
    }
    if (m_failed > 0)
        content.notes.push_back(FailedRowsNote(m_failed));
    return content;
}
