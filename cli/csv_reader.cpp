// The streaming RFC 4180 CSV reader of the batch mode.
#include "csv_reader.h"

#include <algorithm>
#include <cstring>
#include <ios>
#include <system_error>

CsvReader::CsvReader(std::istream& in, std::size_t bufferSize, CsvLimits limits)
    : m_in(in), m_buffer(bufferSize < 16 ? 16 : bufferSize), m_limits(limits)
{
}

// Reads what the stream's buffer holds, at most `size` bytes, after waiting
// for at least one byte when it holds none: a stream buffer then makes one
// read() of its own buffer's size. Asking for the whole `size` instead would
// wait for that many bytes from a pipe, holding back records already complete,
// and lose the bytes read before a failing read() (sgetn throws without saying
// how many it had). 0 at the end of the input or when the read failed.
std::size_t CsvReader::readSome(char* into, std::size_t size)
{
    using Traits = std::char_traits<char>;
    std::streambuf* sb = m_in.rdbuf();
    if (!sb)
        return 0;
    try {
        if (Traits::eq_int_type(sb->sgetc(), Traits::eof()))
            return 0;
        const std::streamsize ready = sb->in_avail();  // what is buffered, no more
        const std::streamsize got =
            sb->sgetn(into, std::clamp<std::streamsize>(ready, 1, static_cast<std::streamsize>(size)));
        return got > 0 ? static_cast<std::size_t>(got) : 0;
    } catch (const std::ios_base::failure& e) {
        // libstdc++'s file buffer throws on a failed read(), with its errno.
        const std::error_category& category = e.code().category();
        if (category == std::generic_category() || category == std::system_category())
            m_error = e.code().value();
    } catch (...) {
    }
    m_failed = true;
    m_errorLine = m_line;
    return 0;
}

// Refills the buffer; false when no byte is left or reading failed.
bool CsvReader::fill()
{
    if (m_failed)
        return false;
    if (m_pos < m_end)
        return true;
    if (m_eof)
        return false;
    m_bufferOffset += m_end;
    m_pos = 0;
    m_end = readSome(m_buffer.data(), m_buffer.size());
    if (m_end == 0) {
        m_eof = true;
        if (!m_failed)
            m_in.setstate(std::ios::eofbit);
        return false;
    }
    if (!m_started) {
        m_started = true;
        // A UTF-8 byte-order mark at the very start is not part of the data.
        static const char bom[] = "\xEF\xBB\xBF";
        while (m_end < 3) {  // make sure the first three bytes are here
            const std::size_t more = readSome(m_buffer.data() + m_end, 3 - m_end);
            if (more == 0) {
                m_eof = !m_failed;
                break;
            }
            m_end += more;
        }
        if (m_failed)
            return false;
        if (m_end >= 3 && std::memcmp(m_buffer.data(), bom, 3) == 0)
            m_pos = 3;
        return fill();
    }
    return true;
}

int CsvReader::peek()
{
    if (!fill())
        return -1;
    return static_cast<unsigned char>(m_buffer[m_pos]);
}

int CsvReader::get()
{
    if (!fill())
        return -1;
    return static_cast<unsigned char>(m_buffer[m_pos++]);
}

// Copies the run of ordinary characters at the read position into the field
// in one go: up to a quote or a line break inside quotes, up to a comma or a
// line break outside. Taken: a character that ends the run is next in the
// buffer; BufferEnds: the buffer ran out first; TooLong: the run would pass
// the record's bound, and nothing was copied.
CsvReader::Run CsvReader::takeRun(std::string& field, bool quoted)
{
    const char* begin = m_buffer.data() + m_pos;
    const char* end = m_buffer.data() + m_end;
    const char* stop = begin;
    // A plain loop: find_first_of would call memchr once per character.
    const char separator = quoted ? '"' : ',';
    while (stop != end && *stop != separator && *stop != '\n' && *stop != '\r')
        ++stop;
    const auto length = static_cast<std::size_t>(stop - begin);
    if (!fits(length))
        return Run::TooLong;
    field.append(begin, stop);
    m_pos += length;
    return stop == end ? Run::BufferEnds : Run::Taken;
}

bool CsvReader::fits(std::size_t more) const
{
    return offset() - m_recordStart + more <= m_limits.maxRecordBytes;
}

// Consumes the line end at the current position. The LF of a CRLF is taken by
// the next read, not looked for here: waiting for the byte after a CR would
// hold back the record from a live CR-only source until the next line came.
void CsvReader::endLine()
{
    m_pendingLineFeed = get() == '\r';
    m_lastLine = m_line;
    ++m_line;
}

bool CsvReader::cut(std::vector<std::string>& fields, CsvRecordStatus status, bool insideQuotes,
                    bool atLineStart)
{
    fields.clear();
    m_status = status;
    m_cutInsideQuotes = insideQuotes;
    m_skipPending = !atLineStart;
    m_lastLine = atLineStart ? m_line - 1 : m_line;
    return true;
}

bool CsvReader::skipRestOfRecord()
{
    while (m_skipPending) {
        if (!fill()) {
            if (m_failed)
                return false;
            m_skipPending = false;
            m_lastLine = m_line;
            break;
        }
        const char* begin = m_buffer.data() + m_pos;
        const char* end = m_buffer.data() + m_end;
        const char* stop = begin;
        while (stop != end && *stop != '\n' && *stop != '\r')
            ++stop;
        m_pos += static_cast<std::size_t>(stop - begin);
        if (stop != end) {
            endLine();
            m_skipPending = false;
        }
    }
    return !m_failed;
}

bool CsvReader::skipEmptyLines()
{
    for (;;) {
        const int c = peek();
        if (c < 0)
            return false;
        if (c == '\n' && m_pendingLineFeed) {  // the second half of a CRLF
            get();
            m_pendingLineFeed = false;
            continue;
        }
        m_pendingLineFeed = false;
        if (c != '\n' && c != '\r')
            return true;
        endLine();
    }
}

bool CsvReader::next(std::vector<std::string>& fields)
{
    fields.clear();
    if (!skipRestOfRecord())
        return false;
    m_status = CsvRecordStatus::Complete;
    m_cutInsideQuotes = false;
    if (!skipEmptyLines())
        return false;
    m_recordLine = m_line;
    m_recordStart = offset();

    for (;;) {
        if (fields.size() == m_limits.maxFields)
            return cut(fields, CsvRecordStatus::TooManyFields, false, false);
        std::string& field = fields.emplace_back();
        if (peek() == '"') {
            if (!fits(1))
                return cut(fields, CsvRecordStatus::TooManyBytes, false, false);
            get();
            for (;;) {
                if (!fill()) {
                    if (m_failed)
                        return false;
                    m_status = CsvRecordStatus::Unterminated;
                    m_lastLine = m_line;
                    return true;
                }
                const Run run = takeRun(field, true);
                if (run == Run::TooLong)
                    return cut(fields, CsvRecordStatus::TooManyBytes, true, false);
                if (run == Run::BufferEnds)
                    continue;
                if (!fits(1))
                    return cut(fields, CsvRecordStatus::TooManyBytes, true, false);
                const int c = get();
                if (c == '\n' || c == '\r') {  // a line break inside the field
                    field.push_back(static_cast<char>(c));
                    if (c == '\r' && peek() == '\n') {
                        get();
                        field.push_back('\n');
                    }
                    ++m_line;
                    if (!fits(0))  // the LF of a CRLF took it over: cut where the line starts
                        return cut(fields, CsvRecordStatus::TooManyBytes, true, true);
                } else if (peek() == '"') {  // a doubled quote stands for one
                    if (!fits(1))
                        return cut(fields, CsvRecordStatus::TooManyBytes, true, false);
                    get();
                    field.push_back('"');
                } else {
                    break;  // the closing quote
                }
            }
        }
        // Unquoted field, or what follows a closing quote up to the separator.
        for (;;) {
            if (!fill()) {
                if (m_failed)
                    return false;
                m_lastLine = m_line;
                return true;  // end of input ends the record
            }
            const Run run = takeRun(field, false);
            if (run == Run::TooLong)
                return cut(fields, CsvRecordStatus::TooManyBytes, false, false);
            if (run == Run::Taken)
                break;
        }
        if (m_buffer[m_pos] != ',') {
            endLine();
            return true;
        }
        if (!fits(1))
            return cut(fields, CsvRecordStatus::TooManyBytes, false, false);
        ++m_pos;
    }
}
