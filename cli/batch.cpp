// The batch mode: CSV in, one calculated row out per record, read → calculate → write.
#include "batch.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "csv_writer.h"
#include "io_errors.h"
#include "printable.h"
#include "row_calculator.h"
#include "state_point.h"

namespace {

std::string readFailure(const CsvReader& reader)
{
    return "读取第" + std::to_string(reader.readErrorLine()) + "行时出错" + ReasonSuffix(reader.readError());
}

// The header's problem, in Chinese; empty when it reads as a record.
std::string headerProblem(const CsvReader& reader)
{
    switch (reader.recordStatus()) {
    case CsvRecordStatus::Unterminated:
        return "表头行的引号没有闭合";
    case CsvRecordStatus::TooManyBytes:
        return "表头行超过 " + std::to_string(reader.limits().maxRecordBytes) + " 字节的上限";
    case CsvRecordStatus::TooManyFields:
        return "表头行超过 " + std::to_string(reader.limits().maxFields) + " 个字段的上限";
    case CsvRecordStatus::Complete:
        break;
    }
    return {};
}

// The reading stage: the next record, with a record cut at a limit skipped to
// its line end. False at the end of the input or when reading failed.
bool readRecord(CsvReader& reader, BatchRecord& record)
{
    if (!reader.next(record.fields))
        return false;
    record.status = reader.recordStatus();
    record.cutInsideQuotes = reader.recordCutInsideQuotes();
    record.line = reader.recordLine();
    if (!reader.skipRestOfRecord())
        return false;
    record.lastLine = reader.recordLastLine();
    return true;
}

// The writing stage: the record's fields, exactly `width` of them, then the results.
void writeRow(CsvWriter& writer, std::size_t width, const BatchRecord& record,
              const BatchResults& results)
{
    const std::size_t given = std::min(width, record.fields.size());
    for (std::size_t i = 0; i < given; ++i)
        writer.field(record.fields[i]);
    for (std::size_t i = given; i < width; ++i)
        writer.field({});
    for (const std::string& r : results)
        writer.field(r);
    writer.endRecord();
}

}  // namespace

int RunBatch(std::istream& in, std::ostream& out, std::ostream& err, const BatchOptions& options)
{
    CsvReader reader(in, 1 << 16, options.limits);
    CsvWriter writer(out);
    RowCalculator calculator(options.limits, options.altitude);

    BatchRecord record;
    std::string error;
    if (!reader.next(record.fields))
        error = reader.readFailed() ? readFailure(reader) : "输入为空，没有表头行";
    else if (error = headerProblem(reader); error.empty())
        calculator.readHeader(record.fields, error);
    if (!error.empty()) {
        err << "nimbara-calc：" << error << '\n';
        return kExitUsage;
    }
    if (options.observer)
        options.observer->header(record.fields);
    for (const std::string& name : record.fields)
        writer.field(name);
    for (const char* name : BatchResultColumnNames())
        writer.field(name);
    writer.endRecord();
    if (options.flushEachRow)
        writer.flush();

    long number = 0;
    RowPoint point;
    while (!writer.failed() && readRecord(reader, record)) {
        const BatchResults results = calculator.calculate(record, options.observer ? &point : nullptr);
        writeRow(writer, calculator.width(), record, results);
        if (options.flushEachRow)
            writer.flush();
        ++number;
        // The output stage, in input order: what the chart collects.
        if (options.observer)
            options.observer->row({number, record.fields, results[kBatchStatusColumn], point});
    }

    const bool written = writer.flush();
    if (!written)
        err << "nimbara-calc：写出结果时出错" << ReasonSuffix(writer.error()) << "，已停止\n";
    if (reader.readFailed()) {
        err << "nimbara-calc：" << readFailure(reader)
            << (written ? "；此前读完的各行都已计算并写出" : "") << '\n';
    }
    return written && !reader.readFailed() ? kExitOk : kExitUsage;
}

int RunBatchFile(const std::string& path, std::istream& stdinStream, std::ostream& out,
                 std::ostream& err, const BatchOptions& given)
{
    BatchOptions options = given;
    struct stat info {};
    if (path.empty() || path == "-") {
        options.flushEachRow = fstat(STDIN_FILENO, &info) != 0 || !S_ISREG(info.st_mode);
        return RunBatch(stdinStream, out, err, options);
    }

    const std::string cannotOpen = "nimbara-calc：无法打开文件“" + Printable(path) + "”";
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        err << cannotOpen << ReasonSuffix(EISDIR) << '\n';
        return kExitUsage;
    }
    errno = 0;
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        const int code = errno;
        err << cannotOpen << (code == EACCES ? "：没有读取权限" : ReasonSuffix(code)) << '\n';
        return kExitUsage;
    }
    options.flushEachRow = stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode);
    return RunBatch(file, out, err, options);
}
