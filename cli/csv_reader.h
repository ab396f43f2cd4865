// The streaming RFC 4180 CSV reader of the batch mode, with bounds on one record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <string>
#include <vector>

// The most one record may hold, so that no input can make the reader's memory
// grow without end (a file of NUL bytes, a stray quote early in a big file).
struct CsvLimits {
    std::size_t maxRecordBytes = 1 << 20;  // the record's bytes, its line end not counted
    std::size_t maxFields = 10000;
};

// How the last record read ended.
enum class CsvRecordStatus {
    Complete,       // at a line end or at the end of the input
    Unterminated,   // inside a quoted field at the end of the input
    TooManyBytes,   // cut at CsvLimits::maxRecordBytes; its fields are dropped
    TooManyFields,  // cut at CsvLimits::maxFields; its fields are dropped
};

// Reads RFC 4180 CSV from a stream one record at a time, with a fixed-size
// read buffer: memory stays flat whatever the input's length (only one record,
// of bounded size, is held). Accepts LF, CRLF and lone CR line ends and a UTF-8
// byte-order mark at the start of the input. Quoted fields may hold commas,
// doubled quotes and line breaks (kept as they are, and counted as lines).
// Lenient where RFC 4180 is strict: a quote inside an unquoted field is kept
// as a character, and characters after a closing quote are appended to the
// field. Completely empty lines are skipped.
//
// Takes what the stream has ready rather than waiting for a full buffer, so
// records from a pipe or a terminal are returned as soon as they are complete.
// A failed read (the stream's buffer throws, as a file buffer does on a read
// error) ends the input: next() returns false and readFailed() says so; the
// record being read when it failed is dropped.
class CsvReader {
public:
    explicit CsvReader(std::istream& in, std::size_t bufferSize = 1 << 16, CsvLimits limits = {});

    // Reads the next record into `fields` (cleared first); false at the end of
    // the input, when nothing more was read, or when reading failed. A record
    // cut at a limit comes back with no fields; skipRestOfRecord() then moves
    // on to the next line (the next call does it if the caller has not).
    bool next(std::vector<std::string>& fields);

    // After a record cut at a limit: discards the input up to and including
    // the next line end, quotes or not, so that a quote left open cannot swallow
    // the rest of the input. Reading then starts afresh, outside any quote, on
    // the following line. False when reading failed meanwhile.
    bool skipRestOfRecord();

    CsvRecordStatus recordStatus() const { return m_status; }
    bool recordUnterminated() const { return m_status == CsvRecordStatus::Unterminated; }
    // True when the last record was cut at a limit inside a quoted field.
    bool recordCutInsideQuotes() const { return m_cutInsideQuotes; }
    // Physical line (1-based) on which the last record read starts, and the one
    // on which it ends (for a record cut at a limit, once skipRestOfRecord()
    // has run: the line whose end it skipped to).
    long recordLine() const { return m_recordLine; }
    long recordLastLine() const { return m_lastLine; }

    const CsvLimits& limits() const { return m_limits; }

    // True when a read failed; readError() is its errno value (0 when the
    // stream gave none) and readErrorLine() the physical line being read.
    bool readFailed() const { return m_failed; }
    int readError() const { return m_error; }
    long readErrorLine() const { return m_errorLine; }

private:
    std::size_t readSome(char* into, std::size_t size);
    bool fill();
    int peek();
    int get();
    std::uint64_t offset() const { return m_bufferOffset + m_pos; }
    bool fits(std::size_t more) const;
    // Skips completely empty lines; false at the end of the input.
    bool skipEmptyLines();
    enum class Run { Taken, BufferEnds, TooLong };
    Run takeRun(std::string& field, bool quoted);
    bool cut(std::vector<std::string>& fields, CsvRecordStatus status, bool insideQuotes,
             bool atLineStart);
    void endLine();

    std::istream& m_in;
    std::vector<char> m_buffer;
    CsvLimits m_limits;
    std::size_t m_pos = 0;
    std::size_t m_end = 0;
    std::uint64_t m_bufferOffset = 0;  // input bytes before the buffer's first
    std::uint64_t m_recordStart = 0;   // input offset of the record's first byte
    bool m_eof = false;
    bool m_started = false;
    bool m_failed = false;
    int m_error = 0;
    long m_errorLine = 0;
    long m_line = 1;
    long m_recordLine = 0;
    long m_lastLine = 0;
    CsvRecordStatus m_status = CsvRecordStatus::Complete;
    bool m_cutInsideQuotes = false;
    bool m_skipPending = false;
    bool m_pendingLineFeed = false;  // a CR ended the last line; an LF right after it belongs to it
};
