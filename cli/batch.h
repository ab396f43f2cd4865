// The batch mode of nimbara-calc: CSV readings in, calculated rows out.
#pragma once

#include <istream>
#include <optional>
#include <ostream>
#include <string>

#include "csv_reader.h"
#include "batch_observer.h"

// Batch calculation over CSV. The input's header row names at least the
// columns mode, B, upsilon, t and value, in any order; other columns are passed
// through. Instead of B it may have an altitude column (m; beside a B column
// it is an ordinary column), or neither when the options give an altitude for
// every row: B is then the standard atmosphere's pressure there, in whole
// pascals. Each row is one calculation: mode "psi" (value = ψ in %) or "ts"
// (value = ts in °C), every field a box text taken unchanged. The output has,
// for each input record, as many fields as the header (a record with fewer is
// padded with empty fields, one with more is cut, one cut at a limit of
// CsvLimits has only empty fields), followed by
// ts,psi,d,h,rho,v,Pqb,Pqbs,Pq,tl,status,message: the texts the calculation
// window's boxes would show, the row's status (ok, incomplete,
// dew-point-range, error) and the message the window would show, if any,
// after the record's line number ("第N行："), or what is wrong with the record.
//
// The run is three stages: read (CsvReader), calculate (RowCalculator),
// write (CsvWriter). Records are read and written one at a time, in input
// order; with more than one job, up to that many are calculated at once, and
// a bounded number of records is in flight. The output, the messages and the
// exit code are the same for every number of jobs.
//
// Returns kExitOk when the whole input was read and every row written,
// whatever the rows' statuses. Returns kExitUsage, with a message on `err`,
// when the input has no usable header; when reading fails (the rows read
// before are written first, and the message names the line); or at the first
// write that fails (the run stops there, reading no further).
struct BatchOptions {
    // Hand each row to the output as soon as it is calculated, for input that
    // arrives live (a pipe, a FIFO, a terminal); otherwise rows go out in
    // blocks of about 1 MiB.
    bool flushEachRow = false;
    CsvLimits limits;
    // m, for every row: the input has no B or altitude column (--altitude).
    std::optional<double> altitude;
    // Told of every row as it is written, in input order (the chart's points).
    BatchObserver* observer = nullptr;
    // Rows calculated at once, on as many threads: 1 calculates each row
    // between reading and writing it, on the calling thread.
    int jobs = 1;
};
int RunBatch(std::istream& in, std::ostream& out, std::ostream& err, const BatchOptions& options = {});

// RunBatch on the named file with the given options; empty or "-" reads
// `stdinStream` (which stands for standard input). Rows are flushed one by one
// when the input is not a regular file. A file that cannot be opened gives
// kExitUsage with a message on `err`.
int RunBatchFile(const std::string& path, std::istream& stdinStream, std::ostream& out,
                 std::ostream& err, const BatchOptions& options = {});
