#pragma once

#include <cstddef>
#include <istream>
#include <string>
#include <vector>

// Reads RFC 4180 CSV from a stream one record at a time, with a fixed-size
// read buffer: memory stays flat whatever the input's length (only one record
// is held). Accepts LF, CRLF and lone CR line ends and a UTF-8 byte-order mark
// at the start of the input. Quoted fields may hold commas, doubled quotes and
// line breaks (kept as they are). Lenient where RFC 4180 is strict: a quote
// inside an unquoted field is kept as a character, and characters after a
// closing quote are appended to the field. Completely empty lines are skipped.
class CsvReader {
public:
    explicit CsvReader(std::istream& in, std::size_t bufferSize = 1 << 16);

    // Reads the next record into `fields` (cleared first); false at the end of
    // the input, when nothing more was read.
    bool next(std::vector<std::string>& fields);

    // Physical line (1-based) on which the last record read starts.
    long recordLine() const { return m_recordLine; }
    // True when the last record ended inside a quoted field at the end of the input.
    bool recordUnterminated() const { return m_unterminated; }
    // True when the stream is in a bad state (its buffer reports a failed read
    // as the end of the input, so this catches only what the stream flags).
    bool readFailed() const { return m_in.bad(); }

private:
    bool fill();
    int peek();
    int get();

    std::istream& m_in;
    std::vector<char> m_buffer;
    std::size_t m_pos = 0;
    std::size_t m_end = 0;
    bool m_eof = false;
    bool m_started = false;
    long m_line = 1;
    long m_recordLine = 0;
    bool m_unterminated = false;
};
