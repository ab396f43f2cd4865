// The batch mode of nimbara-calc on random bytes. The first byte sets how many
// bytes the input stream hands over per read (1 to 64), so records, quotes,
// CRLF pairs and the byte-order mark get split across the reader's refills;
// the rest is the input.
//
// Checked: no crash; when the run succeeds, the output reads back with the
// same reader as one record per input record, each holding that record's
// fields unchanged followed by the 12 result fields, with a known status.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

#include "batch.h"
#include "state_point.h"
#include "csv_reader.h"

namespace {

// An input stream buffer that hands over at most `chunk` bytes per read.
class ChunkedBuffer : public std::streambuf {
public:
    ChunkedBuffer(std::string_view data, std::size_t chunk) : m_data(data), m_chunk(chunk) {}

protected:
    std::streamsize xsgetn(char* s, std::streamsize n) override
    {
        const std::size_t take = std::min({static_cast<std::size_t>(n), m_chunk, m_data.size() - m_pos});
        std::copy_n(m_data.data() + m_pos, take, s);
        m_pos += take;
        return static_cast<std::streamsize>(take);
    }
    int_type underflow() override
    {
        if (m_pos >= m_data.size())
            return traits_type::eof();
        m_one = m_data[m_pos];
        setg(&m_one, &m_one, &m_one + 1);
        ++m_pos;
        return traits_type::to_int_type(m_one);
    }

private:
    std::string_view m_data;
    std::size_t m_chunk;
    std::size_t m_pos = 0;
    char m_one = 0;
};

[[noreturn]] void fail(const std::string& what)
{
    std::fprintf(stderr, "batch_fuzz: %s\n", what.c_str());
    std::abort();
}

std::vector<std::vector<std::string>> readAll(const std::string& text, bool& unterminated)
{
    std::istringstream in(text);
    CsvReader reader(in);
    std::vector<std::vector<std::string>> records;
    std::vector<std::string> fields;
    unterminated = false;
    while (reader.next(fields)) {
        unterminated = unterminated || reader.recordUnterminated();
        records.push_back(fields);
    }
    return records;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const std::size_t chunk = 1 + data[0] % 64;
    const std::string input(reinterpret_cast<const char*>(data + 1), size - 1);

    ChunkedBuffer buffer(input, chunk);
    std::istream in(&buffer);
    std::ostringstream out, err;
    const int code = RunBatch(in, out, err);
    if (code != kExitOk) {
        if (err.str().empty())
            fail("failed run without a message");
        return 0;
    }

    bool inputUnterminated = false;
    const auto inputRecords = readAll(input, inputUnterminated);
    bool outputUnterminated = false;
    const auto outputRecords = readAll(out.str(), outputUnterminated);
    if (outputUnterminated)
        fail("output ends inside a quoted field");
    if (outputRecords.size() != inputRecords.size())
        fail("output has " + std::to_string(outputRecords.size()) + " records for "
             + std::to_string(inputRecords.size()) + " input records");
    for (std::size_t r = 0; r < inputRecords.size(); ++r) {
        const auto& given = inputRecords[r];
        const auto& written = outputRecords[r];
        if (written.size() != given.size() + 12)
            fail("record " + std::to_string(r) + " has " + std::to_string(written.size())
                 + " fields for " + std::to_string(given.size()) + " input fields");
        if (!std::equal(given.begin(), given.end(), written.begin()))
            fail("record " + std::to_string(r) + " does not repeat its input fields");
        if (r == 0)
            continue;
        const std::string& status = written[written.size() - 2];
        if (status != "ok" && status != "incomplete" && status != "dew-point-range" && status != "error")
            fail("record " + std::to_string(r) + " has the status \"" + status + "\"");
    }
    return 0;
}
