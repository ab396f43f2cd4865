// The batch mode: CSV in, one calculated row out per record, read → calculate → write.
#include "batch.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
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
#include "exit_codes.h"
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

// A row as CSV: the record's fields, exactly `width` of them, then the
// results, then the line end.
void renderRow(std::string& out, std::size_t width, const BatchRecord& record, const BatchResults& results)
{
    const std::size_t given = std::min(width, record.fields.size());
    for (std::size_t i = 0; i < width; ++i) {
        if (i > 0)
            out.push_back(',');
        if (i < given)
            AppendCsvField(out, record.fields[i]);
    }
    for (const std::string& r : results) {
        out.push_back(',');
        AppendCsvField(out, r);
    }
    out.push_back('\n');
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
        m_row.clear();
        renderRow(m_row, m_width, record, results);
        write(m_row, record, results[kBatchStatusColumn], point);
    }
    // The row already rendered by renderRow().
    void write(std::string_view row, const BatchRecord& record, std::string_view status, const RowPoint& point)
    {
        m_writer.records(row);
        if (m_options.flushEachRow)
            m_writer.flush();
        ++m_number;
        if (m_options.observer)
            m_options.observer->row({m_number, record.fields, status, point});
    }

private:
    std::string m_row;
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
// costs little next to calculating them. `used` of `records` are this
// token's; the rest keep their memory for the token's next use.
struct PipelineRows {
    std::vector<BatchRecord> records;
    std::size_t used = 0;
    std::vector<BatchResults> results;
    std::vector<RowPoint> points;  // only when the output wants them
    std::size_t bytes = 0;  // of the records' fields
    // The rows rendered as CSV while calculating, so that the writing stage,
    // which the others wait for, only copies them: row i ends at ends[i].
    std::string text;
    std::vector<std::size_t> ends;
};

// Tokens written out come back for reading into, so that records and their
// fields are not allocated anew for every row. The reading and the writing
// stage may run at the same time, on two threads: hence the lock.
class TokenPool {
public:
    TokenPool() = default;
    // Under the lock, as the last token came back on another thread: the
    // pipeline's own hand-over is not one ThreadSanitizer can see.
    ~TokenPool()
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_free.clear();
    }
    TokenPool(const TokenPool&) = delete;
    TokenPool& operator=(const TokenPool&) = delete;

    std::unique_ptr<PipelineRows> take()
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        if (m_free.empty())
            return std::make_unique<PipelineRows>();
        std::unique_ptr<PipelineRows> rows = std::move(m_free.back());
        m_free.pop_back();
        rows->used = 0;
        rows->bytes = 0;
        rows->results.clear();
        rows->text.clear();
        rows->ends.clear();
        return rows;
    }
    void give(std::unique_ptr<PipelineRows> rows)
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_free.push_back(std::move(rows));
    }

private:
    std::mutex m_mutex;
    std::vector<std::unique_ptr<PipelineRows>> m_free;
};

// Reads records into the token until it holds `rows` of them or about
// kBytesPerToken; false when the input has ended (or a write failed).
constexpr std::size_t kBytesPerToken = 64 * 1024;
bool readToken(CsvReader& reader, PipelineRows& token, std::size_t rows, const std::atomic<bool>& writeFailed)
{
    while (token.used < rows && token.bytes < kBytesPerToken) {
        if (token.used == token.records.size())
            token.records.emplace_back();
        BatchRecord& record = token.records[token.used];
        if (writeFailed.load() || !readRecord(reader, record))
            return false;
        ++token.used;
        for (const std::string& field : record.fields)
            token.bytes += field.size();
    }
    return true;
}

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

    TokenPool pool;
    const auto read = [&](tbb::flow_control& control) -> PipelineRows* {
        TakeOver(&pipelineStart);
        TakeOver(&reader);
        std::unique_ptr<PipelineRows> rows = pool.take();
        if (!inputEnded)
            inputEnded = !readToken(reader, *rows, rowsPerToken, writeFailed);
        HandOver(&reader);
        if (rows->used == 0) {
            control.stop();
            return nullptr;
        }
        HandOver(rows.get());
        return rows.release();
    };
    const auto calculate = [&](PipelineRows* rows) {
        TakeOver(&pipelineStart);
        TakeOver(rows);
        rows->results.resize(rows->used);
        if (output.wantsPoints())
            rows->points.resize(rows->used);
        for (std::size_t i = 0; i < rows->used; ++i) {
            rows->results[i] =
                calculator.calculate(rows->records[i], output.wantsPoints() ? &rows->points[i] : nullptr);
            renderRow(rows->text, calculator.width(), rows->records[i], rows->results[i]);
            rows->ends.push_back(rows->text.size());
        }
        HandOver(rows);
        return rows;
    };
    const auto write = [&](PipelineRows* rows) {
        TakeOver(&pipelineStart);
        TakeOver(rows);
        TakeOver(&writer);
        std::unique_ptr<PipelineRows> done(rows);
        const RowPoint none;
        const std::string_view text = rows->text;
        for (std::size_t i = 0, start = 0; i < rows->used && !writer.failed(); start = rows->ends[i++]) {
            output.write(text.substr(start, rows->ends[i] - start), rows->records[i],
                         rows->results[i][kBatchStatusColumn], rows->points.empty() ? none : rows->points[i]);
        }
        if (writer.failed())
            writeFailed.store(true);
        HandOver(&writer);
        pool.give(std::move(done));
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
