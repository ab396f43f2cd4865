#include "batch.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <vector>

#include "calculate.h"
#include "csv_reader.h"
#include "csv_writer.h"
#include "state_point.h"

namespace {

constexpr std::array<std::string_view, 5> kRequiredColumns = {"mode", "B", "upsilon", "t", "value"};
enum Required { kMode, kB, kUpsilon, kT, kValue };

constexpr std::array<std::string_view, 12> kResultColumns = {
    "ts", "psi", "d", "h", "rho", "v", "Pqb", "Pqbs", "Pq", "tl", "status", "message"};

// The result column (index into kResultColumns) of each box of the
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
constexpr int kStatusColumn = 10;
constexpr int kMessageColumn = 11;

std::string lineMessage(long line, const std::string& what)
{
    return "第" + std::to_string(line) + "行：" + what;
}

class BatchRun {
public:
    BatchRun(CsvReader& reader, CsvWriter& writer) : m_reader(reader), m_writer(writer) {}

    // Reads the header; false with `error` set when it is unusable.
    bool readHeader(std::string& error)
    {
        if (!m_reader.next(m_fields)) {
            error = m_reader.readFailed() ? "读取输入时出错" : "输入为空，没有表头行";
            return false;
        }
        if (m_reader.recordUnterminated()) {
            error = "表头行的引号没有闭合";
            return false;
        }
        m_columns.fill(-1);
        for (std::size_t i = 0; i < m_fields.size(); ++i) {
            for (std::size_t r = 0; r < kRequiredColumns.size(); ++r) {
                if (m_fields[i] != kRequiredColumns[r])
                    continue;
                if (m_columns[r] >= 0) {
                    error = "表头中的列 " + std::string(kRequiredColumns[r]) + " 出现了不止一次";
                    return false;
                }
                m_columns[r] = static_cast<int>(i);
            }
        }
        std::string missing;
        for (std::size_t r = 0; r < kRequiredColumns.size(); ++r) {
            if (m_columns[r] < 0) {
                if (!missing.empty())
                    missing += ",";
                missing += kRequiredColumns[r];
            }
        }
        if (!missing.empty()) {
            error = "表头缺少必需的列：" + missing + "（须有 mode,B,upsilon,t,value）";
            return false;
        }
        m_width = m_fields.size();
        for (const std::string& name : m_fields)
            m_writer.field(name);
        for (std::string_view name : kResultColumns)
            m_writer.field(name);
        m_writer.endRecord();
        return true;
    }

    void processRows()
    {
        while (m_reader.next(m_fields))
            processRow();
    }

private:
    void processRow()
    {
        std::array<std::string_view, 12> results{};
        std::string message;
        CalcOutcome outcome;

        const long line = m_reader.recordLine();
        if (m_reader.recordUnterminated()) {
            message = lineMessage(line, "引号没有闭合，该记录一直延续到输入结尾");
        } else if (m_fields.size() != m_width) {
            message = lineMessage(line, "有 " + std::to_string(m_fields.size()) + " 个字段，表头有 "
                                            + std::to_string(m_width) + " 个");
        } else {
            const std::string& mode = m_fields[static_cast<std::size_t>(m_columns[kMode])];
            const bool psiKnown = mode == "psi";
            if (!psiKnown && mode != "ts") {
                message = lineMessage(line, "未知的模式“" + mode + "”，应为 psi 或 ts");
            } else {
                m_inputs.B = field(kB);
                m_inputs.upsilon = field(kUpsilon);
                m_inputs.t = field(kT);
                m_inputs.ts = psiKnown ? std::string_view() : field(kValue);
                m_inputs.psi = psiKnown ? field(kValue) : std::string_view();
                outcome = CalculateStatePoint(psiKnown ? InputMode::PsiKnown : InputMode::TsKnown,
                                              m_inputs);
                switch (outcome.status) {
                case CalcStatus::Incomplete:
                    results[kStatusColumn] = "incomplete";
                    results[kMessageColumn] = kIncompleteMessage;
                    break;
                case CalcStatus::Failure:
                    message = outcome.message;
                    break;
                case CalcStatus::Ok:
                    for (const BoxWrite& write : outcome.writes) {
                        const int column = kColumnOfBox[static_cast<std::size_t>(write.box)];
                        if (column >= 0)
                            results[static_cast<std::size_t>(column)] = write.text;
                    }
                    results[kStatusColumn] = outcome.dewPointOutOfRange ? "dew-point-range" : "ok";
                    if (outcome.dewPointOutOfRange)
                        results[kMessageColumn] = kDewPointMessage;
                    break;
                }
            }
        }
        if (results[kStatusColumn].empty()) {
            results[kStatusColumn] = "error";
            results[kMessageColumn] = message;
        }

        for (const std::string& f : m_fields)
            m_writer.field(f);
        for (std::string_view r : results)
            m_writer.field(r);
        m_writer.endRecord();
    }

    std::string_view field(Required r) const
    {
        return m_fields[static_cast<std::size_t>(m_columns[r])];
    }

    CsvReader& m_reader;
    CsvWriter& m_writer;
    std::vector<std::string> m_fields;
    std::array<int, kRequiredColumns.size()> m_columns{};
    std::size_t m_width = 0;
    CalcInputs m_inputs;
};

}  // namespace

int RunBatch(std::istream& in, std::ostream& out, std::ostream& err)
{
    CsvReader reader(in);
    CsvWriter writer(out);
    BatchRun run(reader, writer);
    std::string error;
    if (!run.readHeader(error)) {
        err << "nimbara-calc：" << error << '\n';
        return kExitUsage;
    }
    run.processRows();
    const bool written = writer.flush();
    if (reader.readFailed()) {
        err << "nimbara-calc：读取输入时出错\n";
        return kExitUsage;
    }
    if (!written) {
        err << "nimbara-calc：写出结果时出错\n";
        return kExitUsage;
    }
    return kExitOk;
}

int RunBatchFile(const std::string& path, std::istream& stdinStream, std::ostream& out,
                 std::ostream& err)
{
    if (path.empty() || path == "-")
        return RunBatch(stdinStream, out, err);

    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        err << "nimbara-calc：无法打开文件“" << path << "”：这是一个目录\n";
        return kExitUsage;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        const int code = errno;
        const std::string reason = code == ENOENT ? "文件不存在"
                                   : code == EACCES ? "没有读取权限"
                                                    : std::strerror(code);
        err << "nimbara-calc：无法打开文件“" << path << "”：" << reason << '\n';
        return kExitUsage;
    }
    return RunBatch(file, out, err);
}
