// The batch mode: CSV in, one calculated row out per record, read → calculate → write.
#include "batch.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include <tbb/global_control.h>
#include <tbb/parallel_pipeline.h>
#include <tbb/task_arena.h>

#include "csv_writer.h"
#include "io_errors.h"
#include "printable.h"
#include "row_calculator.h"
#include "state_point.h"
#include "thread_handover.h"

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

// The output stage: writes each row, flushed at once when rows go out one by
// one, and tells the observer (the chart's collector) of it, in input order.
class RowOutput {
public:
    RowOutput(CsvWriter& writer, std::size_t width, const BatchOptions& options)
        : m_writer(writer), m_width(width), m_options(options)
    {
    }

    // Whether the observer needs each row's state point from the calculation.
    bool wantsPoints() const { return m_options.observer != nullptr; }

    void write(const BatchRecord& record, const BatchResults& results, const RowPoint& point)
    {
        writeRow(m_writer, m_width, record, results);
        if (m_options.flushEachRow)
            m_writer.flush();
        ++m_number;
        if (m_options.observer)
            m_options.observer->row({m_number, record.fields, results[kBatchStatusColumn], point});
    }

private:
    CsvWriter& m_writer;
    std::size_t m_width;
    const BatchOptions& m_options;
    long m_number = 0;
};

// One job: each record read, calculated and written before the next is read.
void processRowsInTurn(CsvReader& reader, const RowCalculator& calculator, CsvWriter& writer,
                       RowOutput& output, BatchRecord& record)
{
    RowPoint point;
    while (!writer.failed() && readRecord(reader, record)) {
        const BatchResults results = calculator.calculate(record, output.wantsPoints() ? &point : nullptr);
        output.write(record, results, point);
    }
}

// Stands for everything the calling thread set up before the pipeline starts
// (its address is all that is used: see HandOver).
char pipelineStart;

// Records on their way through the pipeline, with their results once
// calculated: several to a token, so that handing tokens between threads
// costs little next to calculating them.
struct PipelineRows {
    std::vector<BatchRecord> records;
    std::vector<BatchResults> results;
    std::vector<RowPoint> points;  // only when the output wants them
    std::size_t bytes = 0;  // of the records' fields
};

// Several jobs: oneTBB's pipeline reads the records one at a time, calculates
// up to `jobs` tokens of them at once and writes them one at a time in input
// order. A token holds up to kRowsPerToken records or kBytesPerToken bytes of
// them (one record when rows go out one by one, so that each is answered
// before the next arrives), and at most kTokensPerJob tokens per job are
// between reading and writing, so memory stays bounded whatever the input's
// length. After the first failed write nothing more is written, and reading
// stops.
//
// oneTBB runs each stage on whichever thread is free; the HandOver/TakeOver
// pairs only tell ThreadSanitizer of the order it keeps between them.
void processRowsInParallel(CsvReader& reader, const RowCalculator& calculator, CsvWriter& writer,
                           RowOutput& output, const BatchOptions& options)
{
    constexpr int kTokensPerJob = 4;
    constexpr std::size_t kRowsPerToken = 64;
    constexpr std::size_t kBytesPerToken = 64 * 1024;
    if (writer.failed())  // the header could not be written: read nothing
        return;
    const std::size_t rowsPerToken = options.flushEachRow ? 1 : kRowsPerToken;
    std::atomic<bool> writeFailed = false;
    bool inputEnded = false;
    // oneTBB keeps to the processors it sees unless told otherwise, and says
    // so on standard error; --jobs above that is the user's to ask for.
    const tbb::global_control threads(tbb::global_control::max_allowed_parallelism,
                                      static_cast<std::size_t>(options.jobs));
    tbb::task_arena arena(options.jobs);

    const auto read = [&](tbb::flow_control& control) -> PipelineRows* {
        TakeOver(&pipelineStart);
        TakeOver(&reader);
        auto rows = std::make_unique<PipelineRows>();
        while (!inputEnded && rows->records.size() < rowsPerToken && rows->bytes < kBytesPerToken) {
            BatchRecord& record = rows->records.emplace_back();
            if (writeFailed.load() || !readRecord(reader, record)) {
                rows->records.pop_back();
                inputEnded = true;
                break;
            }
            for (const std::string& field : record.fields)
                rows->bytes += field.size();
        }
        HandOver(&reader);
        if (rows->records.empty()) {
            control.stop();
            return nullptr;
        }
        HandOver(rows.get());
        return rows.release();
    };
    const auto calculate = [&](PipelineRows* rows) {
        TakeOver(&pipelineStart);
        TakeOver(rows);
        rows->results.reserve(rows->records.size());
        if (output.wantsPoints())
            rows->points.resize(rows->records.size());
        for (std::size_t i = 0; i < rows->records.size(); ++i)
            rows->results.push_back(
                calculator.calculate(rows->records[i], output.wantsPoints() ? &rows->points[i] : nullptr));
        HandOver(rows);
        return rows;
    };
    const auto write = [&](PipelineRows* rows) {
        TakeOver(&pipelineStart);
        TakeOver(rows);
        TakeOver(&writer);
        const std::unique_ptr<PipelineRows> done(rows);
        const RowPoint none;
        for (std::size_t i = 0; i < rows->records.size() && !writer.failed(); ++i)
            output.write(rows->records[i], rows->results[i], rows->points.empty() ? none : rows->points[i]);
        if (writer.failed())
            writeFailed.store(true);
        HandOver(&writer);
    };

    const tbb::filter<void, void> stages =
        tbb::make_filter<void, PipelineRows*>(tbb::filter_mode::serial_in_order, read)
        & tbb::make_filter<PipelineRows*, PipelineRows*>(tbb::filter_mode::parallel, calculate)
        & tbb::make_filter<PipelineRows*, void>(tbb::filter_mode::serial_in_order, write);
    HandOver(&pipelineStart);
    arena.execute([&] {
        tbb::parallel_pipeline(static_cast<std::size_t>(options.jobs * kTokensPerJob), stages);
    });
    TakeOver(&reader);
    TakeOver(&writer);
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

    RowOutput output(writer, calculator.width(), options);
    if (options.jobs > 1)
        processRowsInParallel(reader, calculator, writer, output, options);
    else
        processRowsInTurn(reader, calculator, writer, output, record);

    // Reading stops at the first failed write. Several jobs may have read a
    // few records further (and met a read error there) before the write
    // failed; that error is one a single job would never have met.
    const bool failedWhileWriting = writer.failed();
    const bool written = writer.flush();
    const bool readFailed = reader.readFailed() && !failedWhileWriting;
    if (!written)
        err << "nimbara-calc：写出结果时出错" << ReasonSuffix(writer.error()) << "，已停止\n";
    if (readFailed) {
        err << "nimbara-calc：" << readFailure(reader)
            << (written ? "；此前读完的各行都已计算并写出" : "") << '\n';
    }
    return written && !readFailed ? kExitOk : kExitUsage;
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
