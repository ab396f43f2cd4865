// Scripted input and failing output streams for the in-process batch tests.
#include "test_streams.h"

#include <algorithm>
#include <ios>
#include <sstream>
#include <system_error>

ScriptedInput::int_type ScriptedInput::underflow()
{
    if (gptr() < egptr())
        return traits_type::to_int_type(*gptr());
    if (onRefill)
        onRefill(m_next);
    if (m_next == m_chunks.size()) {
        if (m_failWith != 0)
            throw std::ios_base::failure("read failed", std::error_code(m_failWith, std::generic_category()));
        return traits_type::eof();
    }
    std::string& chunk = m_chunks[m_next++];
    setg(chunk.data(), chunk.data(), chunk.data() + chunk.size());
    return chunk.empty() ? underflow() : traits_type::to_int_type(chunk[0]);
}

std::streamsize LimitedOutput::xsputn(const char* s, std::streamsize n)
{
    const std::size_t room = m_capacity - m_text.size();
    const std::size_t taken = std::min(room, static_cast<std::size_t>(n));
    m_text.append(s, taken);
    return static_cast<std::streamsize>(taken);
}

LimitedOutput::int_type LimitedOutput::overflow(int_type c)
{
    if (traits_type::eq_int_type(c, traits_type::eof()))
        return traits_type::not_eof(c);
    const char ch = traits_type::to_char_type(c);
    return xsputn(&ch, 1) == 1 ? c : traits_type::eof();
}

int LimitedOutput::sync()
{
    ++m_flushes;
    return 0;
}

Outcome batch(const std::string& input, const BatchOptions& options)
{
    std::istringstream in(input);
    std::ostringstream out, err;
    const int code = RunBatch(in, out, err, options);
    return {code, out.str(), err.str()};
}
