#include "row_calculator.h"

#include <string_view>

#include "calculate.h"
#include "printable.h"

namespace {

constexpr std::array<std::string_view, 5> kRequiredColumns = {"mode", "B", "upsilon", "t", "value"};

// The result column (index into kBatchResultColumns) of each box of the
// calculation window, −1 for boxes that are not results.
constexpr std::array<int, 16> kColumnOfBox = {
    -1, -1, -1, -1, -1, -1,
    0,  // Text6: ts (ψ-known mode)
    1,  // Text7: ψ (ts-known mode)
    2,  // Text8: d
    3,  // Text9: h
    4,  // Text10: ρ
    5,  // Text11: v
    6,  // Text12: Pqb
    9,  // Text13: tl
    7,  // Text14: Pqbs
    8,  // Text15: Pq
};
constexpr std::size_t kStatusColumn = 10;
constexpr std::size_t kMessageColumn = 11;

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
    for (std::size_t i = 0; i < header.size(); ++i) {
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
    std::string missing;
    for (std::size_t r = 0; r < kRequiredColumns.size(); ++r) {
        if (!found[r]) {
            if (!missing.empty())
                missing += ",";
            missing += kRequiredColumns[r];
        }
    }
    if (!missing.empty()) {
        error = "表头缺少必需的列：" + missing + "（须有 mode,B,upsilon,t,value）";
        return false;
    }
    m_width = header.size();
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

BatchResults RowCalculator::calculate(const BatchRecord& record) const
{
    BatchResults results;
    std::string problem = recordProblem(record);
    if (!problem.empty()) {
        results[kStatusColumn] = "error";
        results[kMessageColumn] = std::move(problem);
        return results;
    }

    auto field = [&](Column c) -> const std::string& { return record.fields[m_columns[c]]; };
    const bool psiKnown = field(kMode) == "psi";
    const CalcInputs inputs{field(kB), field(kUpsilon), field(kT),
                            psiKnown ? std::string() : field(kValue),
                            psiKnown ? field(kValue) : std::string()};
    CalcOutcome outcome =
        CalculateStatePoint(psiKnown ? InputMode::PsiKnown : InputMode::TsKnown, inputs);
    switch (outcome.status) {
    case CalcStatus::Incomplete:
        results[kStatusColumn] = "incomplete";
        results[kMessageColumn] = lineMessage(record.line, kIncompleteMessage);
        break;
    case CalcStatus::Failure:
        results[kStatusColumn] = "error";
        results[kMessageColumn] = lineMessage(record.line, outcome.message);
        break;
    case CalcStatus::Ok:
        for (BoxWrite& write : outcome.writes) {
            const int column = kColumnOfBox[static_cast<std::size_t>(write.box)];
            if (column >= 0)
                results[static_cast<std::size_t>(column)] = std::move(write.text);
        }
        results[kStatusColumn] = outcome.dewPointOutOfRange ? "dew-point-range" : "ok";
        if (outcome.dewPointOutOfRange)
            results[kMessageColumn] = kDewPointMessage;
        break;
    }
    return results;
}
