#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>

// Writes CSV records to a stream through a large buffer of its own. A field is
// quoted when it contains a comma, a quote, CR or LF, with its quotes doubled.
// Records end with LF.
class CsvWriter {
public:
    explicit CsvWriter(std::ostream& out, std::size_t bufferSize = 1 << 20);
    ~CsvWriter();
    CsvWriter(const CsvWriter&) = delete;
    CsvWriter& operator=(const CsvWriter&) = delete;

    void field(std::string_view text);  // the next field of the current record
    void endRecord();
    // Hands the buffered text to the stream and flushes it; false when the
    // stream has failed.
    bool flush();

private:
    std::ostream& m_out;
    std::string m_buffer;
    std::size_t m_limit;
    bool m_atRecordStart = true;
};

// Appends `text` to `out` as one CSV field, quoted when needed.
void AppendCsvField(std::string& out, std::string_view text);
