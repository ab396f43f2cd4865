// The batch's calculating stage: one record to its result fields.
#include "row_calculator.h"

#include <string_view>

#include "calculate.h"
#include "option_values.h"
#include "pair.h"
#include "printable.h"

namespace {

constexpr std::array<std::string_view, 5> kRequiredColumns = {"mode", "B", "upsilon", "t", "value"};
// The column that may stand in for B: the altitude, from which B follows.
constexpr std::string_view kAltitudeColumn = "altitude";
// The columns that may stand with t instead of mode and value.
constexpr std::pair<std::string_view, Quantity> kPairColumns[] = {
    {"psi", Quantity::psi}, {"d", Quantity::d}, {"h", Quantity::h}, {"tl", Quantity::tl}};

std::string lineMessage(long line, std::string_view what)
{
    std::string message = "第" + std::to_string(line) + "行：";
    message += what;
    return message;
}

std::string skippedLines(const BatchRecord& record)
{
    if (record.lastLine <= record.line)
        return "已跳过该行";
    return "已跳过第" + std::to_string(record.line) + "行至第" + std::to_string(record.lastLine) + "行";
}

}  // namespace

bool RowCalculator::readHeader(const std::vector<std::string>& header, std::string& error)
{
    std::array<bool, kColumns> found{};
    int altitudeColumns = 0;
    for (std::size_t i = 0; i < header.size(); ++i) {
        if (header[i] == kAltitudeColumn) {
            ++altitudeColumns;
            m_altitudeColumn = i;
        }
        for (std::size_t r = 0; r < kRequiredColumns.size(); ++r) {
            if (header[i] != kRequiredColumns[r])
                continue;
            if (found[r]) {
                error = "表头中的列 " + std::string(kRequiredColumns[r]) + " 出现了不止一次";
                return false;
            }
            found[r] = true;
            m_columns[r] = i;
        }
    }
    // B comes from its own column, else from an altitude column, else from
    // the altitude option. Beside a B column an altitude column is an
    // ordinary one, passed through as before.
    m_hasB = found[kB];
    if (m_hasB) {
        m_altitudeColumn.reset();
        altitudeColumns = 0;
    }
    if (altitudeColumns > 1) {
        error = "表头中的列 altitude 出现了不止一次";
        return false;
    }
    if (m_altitude && (m_hasB || m_altitudeColumn)) {
        error = "给出 --altitude 时，输入中不能再有 B 列或 altitude 列";
        return false;
    }
    const bool pressureGiven = m_altitudeColumn || m_altitude;
    if (!found[kMode] && !found[kValue] && !readPairHeader(header, error))
        return false;
    std::string missing;
    for (std::size_t r = 0; r < kRequiredColumns.size(); ++r) {
        const bool byPair = m_pairWith && (r == kMode || r == kValue);
        if (!found[r] && !(r == kB && pressureGiven) && !byPair) {
            if (!missing.empty())
                missing += ",";
            missing += kRequiredColumns[r];
        }
    }
    if (!missing.empty()) {
        error = "表头缺少必需的列：" + missing
                + "（须有 mode,B,upsilon,t,value，或以 altitude 列代替 B；也可以 psi、d、h、tl 之一代替 mode,value）";
        return false;
    }
    m_width = header.size();
    return true;
}

bool RowCalculator::readPairHeader(const std::vector<std::string>& header, std::string& error)
{
    std::string names;
    for (std::size_t i = 0; i < header.size(); ++i) {
        for (const auto& [name, quantity] : kPairColumns) {
            if (header[i] != name)
                continue;
            if (m_pairWith) {
                error = "表头中 psi、d、h、tl 只能有一列（与 t 一起确定状态点），这里有 " + names + "," + std::string(name);
                return false;
            }
            m_pairWith = quantity;
            m_columns[kValue] = i;
            names = name;
        }
    }
    // Without a pair column the missing mode and value are reported as before.
    return true;
}

// Why the record cannot be calculated as it stands; empty when it can.
std::string RowCalculator::recordProblem(const BatchRecord& record) const
{
    switch (record.status) {
    case CsvRecordStatus::Unterminated:
        return lineMessage(record.line, "引号没有闭合，该记录一直延续到输入结尾");
    case CsvRecordStatus::TooManyBytes:
        return lineMessage(record.line,
                           "记录超过 " + std::to_string(m_limits.maxRecordBytes) + " 字节的上限"
                               + (record.cutInsideQuotes ? "（可能有引号没有闭合）" : "") + "，"
                               + skippedLines(record));
    case CsvRecordStatus::TooManyFields:
        return lineMessage(record.line, "记录超过 " + std::to_string(m_limits.maxFields)
                                            + " 个字段的上限，" + skippedLines(record));
    case CsvRecordStatus::Complete:
        break;
    }
    const std::size_t count = record.fields.size();
    if (count != m_width) {
        return lineMessage(record.line, "有 " + std::to_string(count) + " 个字段，表头有 "
                                            + std::to_string(m_width) + " 个，"
                                            + (count < m_width ? "缺少的字段留空"
                                                               : "多出的字段没有输出"));
    }
    if (m_pairWith)
        return {};
    const std::string& mode = record.fields[m_columns[kMode]];
    if (mode != "psi" && mode != "ts") {
        // A byte-order mark cannot be seen: say it is there (a second file
        // appended to the first brings its mark into the middle of the input).
        const bool bom = mode.find("\xEF\xBB\xBF") != std::string::npos;
        return lineMessage(record.line, std::string("未知的模式") + (bom ? "（含字节顺序标记）" : "")
                                            + "“" + Printable(mode) + "”，应为 psi 或 ts");
    }
    return {};
}

BatchResults RowCalculator::calculate(const BatchRecord& record, RowPoint* point) const
{
    BatchResults results;
    std::string problem = recordProblem(record);
    std::optional<double> altitude = m_altitude;
    if (problem.empty() && m_altitudeColumn) {
        // An empty altitude is a missing B: the row is incomplete.
        const std::string& text = record.fields[*m_altitudeColumn];
        std::string altitudeError;
        if (!text.empty() && !(altitude = ParseAltitude(text, altitudeError)))
            problem = lineMessage(record.line, altitudeError);
    }
    if (point)
        point->altitude = altitude;
    if (!problem.empty()) {
        results[kBatchStatusColumn] = "error";
        results[kBatchMessageColumn] = std::move(problem);
        return results;
    }

    auto field = [&](Column c) -> const std::string& { return record.fields[m_columns[c]]; };
    std::optional<double> pressure;
    if (!m_hasB && altitude)
        pressure = PressureAtAltitudeRounded(*altitude);
    const std::string B = m_hasB ? field(kB) : std::string();
    CalcOutcome outcome;
    if (m_pairWith) {
        outcome = CalculateFromPair({B, field(kUpsilon), Quantity::t, field(kT), *m_pairWith, field(kValue), pressure});
    } else {
        const bool psiKnown = field(kMode) == "psi";
        const CalcInputs inputs{B, field(kUpsilon), field(kT), psiKnown ? std::string() : field(kValue),
                                psiKnown ? field(kValue) : std::string(), pressure};
        outcome = CalculateStatePoint(psiKnown ? InputMode::PsiKnown : InputMode::TsKnown, inputs);
    }
    switch (outcome.status) {
    case CalcStatus::Incomplete:
        results[kBatchStatusColumn] = "incomplete";
        results[kBatchMessageColumn] = lineMessage(record.line, kIncompleteMessage);
        break;
    case CalcStatus::Failure:
        results[kBatchStatusColumn] = "error";
        results[kBatchMessageColumn] = lineMessage(record.line, FailureMessage(outcome.failure));
        break;
    case CalcStatus::Ok:
        for (std::size_t i = 0; i < kBatchResultQuantities.size(); ++i)
            results[i] = ResultText(outcome, kBatchResultQuantities[i]);
        results[kBatchStatusColumn] = outcome.dewPointOutOfRange ? "dew-point-range" : "ok";
        if (point)
            point->point = outcome.point;
        if (outcome.dewPointOutOfRange)
            results[kBatchMessageColumn] = kDewPointMessage;
        break;
    }
    return results;
}

std::array<const char*, std::tuple_size_v<BatchResults>> BatchResultColumnNames()
{
    std::array<const char*, std::tuple_size_v<BatchResults>> names{};
    for (std::size_t i = 0; i < kBatchResultQuantities.size(); ++i)
        names[i] = Info(kBatchResultQuantities[i]).name;
    names[kBatchStatusColumn] = "status";
    names[kBatchMessageColumn] = "message";
    return names;
}
