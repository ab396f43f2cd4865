#include "csv_reader.h"

#include <cstring>

CsvReader::CsvReader(std::istream& in, std::size_t bufferSize)
    : m_in(in), m_buffer(bufferSize < 16 ? 16 : bufferSize)
{
}

// Refills the buffer; false when no byte is left.
bool CsvReader::fill()
{
    if (m_pos < m_end)
        return true;
    if (m_eof)
        return false;
    m_pos = 0;
    m_end = 0;
    std::streambuf* sb = m_in.rdbuf();
    if (sb) {
        const std::streamsize n =
            sb->sgetn(m_buffer.data(), static_cast<std::streamsize>(m_buffer.size()));
        if (n > 0)
            m_end = static_cast<std::size_t>(n);
    }
    if (m_end == 0) {
        m_eof = true;
        m_in.setstate(std::ios::eofbit);
        return false;
    }
    if (!m_started) {
        m_started = true;
        // A UTF-8 byte-order mark at the very start is not part of the data.
        static const char bom[] = "\xEF\xBB\xBF";
        while (m_end < 3 && !m_eof) {  // make sure the first three bytes are here
            const std::streamsize more =
                sb->sgetn(m_buffer.data() + m_end, static_cast<std::streamsize>(3 - m_end));
            if (more <= 0)
                break;
            m_end += static_cast<std::size_t>(more);
        }
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

bool CsvReader::next(std::vector<std::string>& fields)
{
    fields.clear();
    m_unterminated = false;

    // Skip completely empty lines.
    for (;;) {
        const int c = peek();
        if (c < 0)
            return false;
        if (c == '\n') {
            get();
            ++m_line;
        } else if (c == '\r') {
            get();
            if (peek() == '\n')
                get();
            ++m_line;
        } else {
            break;
        }
    }
    m_recordLine = m_line;

    for (;;) {
        std::string& field = fields.emplace_back();
        int c = peek();
        if (c == '"') {
            get();
            for (;;) {
                // Copy the run of ordinary characters in one go.
                if (!fill()) {
                    m_unterminated = true;
                    return true;
                }
                const char* begin = m_buffer.data() + m_pos;
                const char* end = m_buffer.data() + m_end;
                const char* stop = begin;
                while (stop != end && *stop != '"' && *stop != '\n')
                    ++stop;
                field.append(begin, stop);
                m_pos += static_cast<std::size_t>(stop - begin);
                if (stop == end)
                    continue;
                c = get();
                if (c == '\n') {
                    field.push_back('\n');
                    ++m_line;
                } else if (peek() == '"') {  // a doubled quote stands for one
                    get();
                    field.push_back('"');
                } else {
                    break;  // the closing quote
                }
            }
        }
        // Unquoted field, or what follows a closing quote up to the separator.
        for (;;) {
            if (!fill())
                return true;  // end of input ends the record
            const char* begin = m_buffer.data() + m_pos;
            const char* end = m_buffer.data() + m_end;
            const char* stop = begin;
            while (stop != end && *stop != ',' && *stop != '\n' && *stop != '\r')
                ++stop;
            field.append(begin, stop);
            m_pos += static_cast<std::size_t>(stop - begin);
            if (stop != end)
                break;
        }
        c = get();
        if (c == ',')
            continue;
        if (c == '\r' && peek() == '\n')
            get();
        ++m_line;  // '\n', "\r\n" or a lone '\r'
        return true;
    }
}
