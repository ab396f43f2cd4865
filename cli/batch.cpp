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

// One job: each record read, calculated and written before the next is read.
void processRowsInTurn(CsvReader& reader, const RowCalculator& calculator, CsvWriter& writer,
                       bool flushEachRow, BatchRecord& record)
{
    while (!writer.failed() && readRecord(reader, record)) {
        const BatchResults results = calculator.calculate(record);
        writeRow(writer, calculator.width(), record, results);
        if (flushEachRow)
            writer.flush();
    }
}

// Stands for everything the calling thread set up before the pipeline starts
// (its address is all that is used: see HandOver).
char pipelineStart;

// A record on its way through the pipeline, with its results once calculated.
struct PipelineRow {
    BatchRecord record;
    BatchResults results;
};

// Several jobs: oneTBB's pipeline reads the records one at a time, calculates
// up to `jobs` of them at once and writes them one at a time in input order.
// At most kRowsInFlightPerJob records per job are between reading and writing,
// so memory stays bounded whatever the input's length. After the first failed
// write nothing more is written, and reading stops.
//
// oneTBB runs each stage on whichever thread is free; the HandOver/TakeOver
// pairs only tell ThreadSanitizer of the order it keeps between them.
void processRowsInParallel(CsvReader& reader, const RowCalculator& calculator, CsvWriter& writer,
                           const BatchOptions& options)
{
    constexpr int kRowsInFlightPerJob = 4;
    if (writer.failed())  // the header could not be written: read nothing
        return;
    std::atomic<bool> writeFailed = false;
    // oneTBB keeps to the processors it sees unless told otherwise, and says
    // so on standard error; --jobs above that is the user's to ask for.
    const tbb::global_control threads(tbb::global_control::max_allowed_parallelism,
                                      static_cast<std::size_t>(options.jobs));
    tbb::task_arena arena(options.jobs);

    const auto read = [&](tbb::flow_control& control) -> PipelineRow* {
        TakeOver(&pipelineStart);
        TakeOver(&reader);
        auto row = std::make_unique<PipelineRow>();
        const bool more = !writeFailed.load() && readRecord(reader, row->record);
        HandOver(&reader);
        if (!more) {
            control.stop();
            return nullptr;
        }
        HandOver(row.get());
        return row.release();
    };
    const auto calculate = [&](PipelineRow* row) {
        TakeOver(&pipelineStart);
        TakeOver(row);
        row->results = calculator.calculate(row->record);
        HandOver(row);
        return row;
    };
    const auto write = [&](PipelineRow* row) {
        TakeOver(&pipelineStart);
        TakeOver(row);
        TakeOver(&writer);
        const std::unique_ptr<PipelineRow> done(row);
        if (!writer.failed()) {
            writeRow(writer, calculator.width(), row->record, row->results);
            if (options.flushEachRow)
                writer.flush();
            if (writer.failed())
                writeFailed.store(true);
        }
        HandOver(&writer);
    };

    const tbb::filter<void, void> stages =
        tbb::make_filter<void, PipelineRow*>(tbb::filter_mode::serial_in_order, read)
        & tbb::make_filter<PipelineRow*, PipelineRow*>(tbb::filter_mode::parallel, calculate)
        & tbb::make_filter<PipelineRow*, void>(tbb::filter_mode::serial_in_order, write);
    HandOver(&pipelineStart);
    arena.execute([&] {
        tbb::parallel_pipeline(static_cast<std::size_t>(options.jobs * kRowsInFlightPerJob), stages);
    });
    TakeOver(&reader);
    TakeOver(&writer);
}

}  // namespace

int RunBatch(std::istream& in, std::ostream& out, std::ostream& err, const BatchOptions& options)
{
    CsvReader reader(in, 1 << 16, options.limits);
    CsvWriter writer(out);
    RowCalculator calculator(options.limits);

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
    for (const std::string& name : record.fields)
        writer.field(name);
    for (const char* name : BatchResultColumnNames())
        writer.field(name);
    writer.endRecord();
    if (options.flushEachRow)
        writer.flush();

    if (options.jobs > 1)
        processRowsInParallel(reader, calculator, writer, options);
    else
        processRowsInTurn(reader, calculator, writer, options.flushEachRow, record);

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
                 std::ostream& err, int jobs)
{
    BatchOptions options;
    options.jobs = jobs;
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
