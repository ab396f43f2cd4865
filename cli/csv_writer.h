// The buffered CSV writer of the batch mode, which remembers its first failed write.
#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>

// Writes CSV records to a stream through a large buffer of its own. A field is
// quoted when it contains a comma, a quote, CR or LF, with its quotes doubled.
// Records end with LF.
//
// The first hand-over to the stream that fails is remembered: failed() turns
// true, error() holds its errno value (0 when the stream gave none), and
// nothing more is handed over, so the caller can stop at once instead of
// computing rows that can no longer go anywhere.
class CsvWriter {
public:
    explicit CsvWriter(std::ostream& out, std::size_t bufferSize = 1 << 20);
    ~CsvWriter();
    CsvWriter(const CsvWriter&) = delete;
    CsvWriter& operator=(const CsvWriter&) = delete;

    void field(std::string_view text);  // the next field of the current record
    // Ends the record; hands the buffer to the stream once it holds bufferSize bytes.
    void endRecord();
    // Whole records already in CSV form, each ended by "\n" (see
    // AppendCsvField), written as field() and endRecord() would have.
    void records(std::string_view text);
    // Hands the buffered text to the stream and flushes it; false when the
    // stream has failed, now or earlier.
    bool flush();

    bool failed() const { return m_failed; }
    int error() const { return m_error; }

private:
    void handOver();

    std::ostream& m_out;
    std::string m_buffer;
    std::size_t m_limit;
    bool m_atRecordStart = true;
    bool m_failed = false;
    int m_error = 0;
};

// Appends `text` to `out` as one CSV field, quoted when needed.
void AppendCsvField(std::string& out, std::string_view text);
