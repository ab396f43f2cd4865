// The buffered CSV writer of the batch mode.
#include "csv_writer.h"

#include <cerrno>

namespace {

bool needsQuotes(std::string_view text)
{
    // A field that begins with a UTF-8 byte-order mark would, as the first
    // field of the output, lose it to any reader that drops a leading mark
    // (ours included); quoted, the mark is data.
    if (text.starts_with("\xEF\xBB\xBF"))
        return true;
    // A plain loop: string_view::find_first_of calls memchr once per character.
    for (char c : text) {
        if (c == ',' || c == '"' || c == '\r' || c == '\n')
            return true;
    }
    return false;
}

}  // namespace

void AppendCsvField(std::string& out, std::string_view text)
{
    if (!needsQuotes(text)) {
        out.append(text);
        return;
    }
    out.push_back('"');
    std::size_t start = 0;
    for (std::size_t quote; (quote = text.find('"', start)) != std::string_view::npos;
         start = quote + 1) {
        out.append(text.substr(start, quote + 1 - start));
        out.push_back('"');  // doubled
    }
    out.append(text.substr(start));
    out.push_back('"');
}

CsvWriter::CsvWriter(std::ostream& out, std::size_t bufferSize) : m_out(out), m_limit(bufferSize)
{
    m_buffer.reserve(bufferSize + 4096);
}

CsvWriter::~CsvWriter()
{
    flush();
}

void CsvWriter::field(std::string_view text)
{
    if (!m_atRecordStart)
        m_buffer.push_back(',');
    m_atRecordStart = false;
    AppendCsvField(m_buffer, text);
}

void CsvWriter::endRecord()
{
    m_buffer.push_back('\n');
    m_atRecordStart = true;
    if (m_buffer.size() >= m_limit)
        handOver();
}

void CsvWriter::records(std::string_view text)
{
    m_buffer.append(text);
    if (m_buffer.size() >= m_limit)
        handOver();
}

void CsvWriter::handOver()
{
    if (!m_failed && !m_buffer.empty()) {
        errno = 0;  // a file buffer's failed write() leaves its errno; other streams none
        m_out.write(m_buffer.data(), static_cast<std::streamsize>(m_buffer.size()));
        if (!m_out) {
            m_failed = true;
            m_error = errno;
        }
    }
    m_buffer.clear();
}

bool CsvWriter::flush()
{
    handOver();
    if (!m_failed) {
        errno = 0;
        m_out.flush();
        if (!m_out) {
            m_failed = true;
            m_error = errno;
        }
    }
    return !m_failed;
}
