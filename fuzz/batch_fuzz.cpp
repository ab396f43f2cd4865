// The batch mode of nimbara-calc on random bytes. The first byte sets how many
// bytes the input stream hands over per refill (1 to 64, from its low six
// bits), so records, quotes, CRLF pairs and the byte-order mark get split
// across the reader's refills. When its top bit is set, the second byte sets
// small bounds on one record (4 to 203 bytes, 1 to 13 fields), so that records
// cut at a bound are common. The rest is the input.
//
// Checked: no crash; the reader never holds a record beyond the bounds, and
// reads exactly what an unbounded reader reads when no record reaches them;
// when the run succeeds, the output reads back as one row per input record,
// each exactly as wide as the header plus the 12 result fields, holding the
// record's fields (padded or cut to the header's width; none for a record cut
// at a bound), a known status, and for incomplete and error rows a message
// that names the record's line.
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
#include "csv_reader.h"
#include "state_point.h"

namespace {

// An input stream buffer that hands over at most `chunk` bytes per refill.
class ChunkedBuffer : public std::streambuf {
public:
    ChunkedBuffer(std::string& data, std::size_t chunk) : m_data(data), m_chunk(chunk) {}

protected:
    int_type underflow() override
    {
        if (gptr() < egptr())
            return traits_type::to_int_type(*gptr());
        if (m_pos >= m_data.size())
            return traits_type::eof();
        const std::size_t take = std::min(m_chunk, m_data.size() - m_pos);
        char* begin = m_data.data() + m_pos;
        setg(begin, begin, begin + take);
        m_pos += take;
        return traits_type::to_int_type(*begin);
    }

private:
    std::string& m_data;
    std::size_t m_chunk;
    std::size_t m_pos = 0;
};

[[noreturn]] void fail(const std::string& what)
{
    std::fprintf(stderr, "batch_fuzz: %s\n", what.c_str());
    std::abort();
}

struct Read {
    std::vector<std::vector<std::string>> records;
    std::vector<CsvRecordStatus> statuses;
    std::vector<long> lines;
    bool anyCut = false;
};

// Reads the way the batch does: a record cut at a bound is skipped to its line end.
Read readAll(const std::string& text, CsvLimits limits)
{
    std::istringstream in(text);
    CsvReader reader(in, 1 << 16, limits);
    Read r;
    std::vector<std::string> fields;
    while (reader.next(fields)) {
        const CsvRecordStatus status = reader.recordStatus();
        r.anyCut = r.anyCut || status == CsvRecordStatus::TooManyBytes
                   || status == CsvRecordStatus::TooManyFields;
        r.statuses.push_back(status);
        r.lines.push_back(reader.recordLine());
        r.records.push_back(fields);
        reader.skipRestOfRecord();
    }
    return r;
}

void checkBounds(const Read& read, const CsvLimits& limits)
{
    for (const auto& record : read.records) {
        std::size_t bytes = 0;
        for (const std::string& f : record)
            bytes += f.size();
        if (record.size() > limits.maxFields || bytes > limits.maxRecordBytes)
            fail("a record of " + std::to_string(record.size()) + " fields and " + std::to_string(bytes)
                 + " bytes passed the bounds");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const std::size_t chunk = 1 + data[0] % 64;
    BatchOptions options;
    std::size_t skip = 1;
    if ((data[0] & 0x80) && size >= 2) {
        options.limits = {4 + static_cast<std::size_t>(data[1]) % 200,
                          1 + static_cast<std::size_t>(data[1]) % 13};
        skip = 2;
    }
    std::string input(reinterpret_cast<const char*>(data + skip), size - skip);

    const Read read = readAll(input, options.limits);
    checkBounds(read, options.limits);
    if (!read.anyCut && readAll(input, CsvLimits{}).records != read.records)
        fail("the bounds changed records that are within them");

    std::string inputCopy = input;
    ChunkedBuffer buffer(inputCopy, chunk);
    std::istream in(&buffer);
    std::ostringstream out, err;
    const int code = RunBatch(in, out, err, options);
    if (code != kExitOk) {
        if (err.str().empty())
            fail("failed run without a message");
        return 0;
    }

    // Output rows are wider than input records: read them without small bounds.
    const Read written = readAll(out.str(), CsvLimits{std::size_t{1} << 24, 1 << 20});
    if (written.anyCut || written.statuses.end() != std::find(written.statuses.begin(), written.statuses.end(),
                                                               CsvRecordStatus::Unterminated))
        fail("output rows do not read back whole");
    if (written.records.size() != read.records.size())
        fail("output has " + std::to_string(written.records.size()) + " records for "
             + std::to_string(read.records.size()) + " input records");
    const std::size_t width = read.records[0].size();
    for (std::size_t r = 0; r < read.records.size(); ++r) {
        const auto& given = read.records[r];
        const auto& row = written.records[r];
        const std::string where = "record " + std::to_string(r) + ": ";
        if (row.size() != width + 12)
            fail(where + std::to_string(row.size()) + " fields for a header of " + std::to_string(width));
        for (std::size_t i = 0; i < width; ++i) {
            const std::string expected = i < given.size() ? given[i] : std::string();
            if (row[i] != expected)
                fail(where + "field " + std::to_string(i) + " does not repeat its input");
        }
        if (r == 0)
            continue;
        const std::string& status = row[width + 10];
        const std::string& message = row[width + 11];
        if (status != "ok" && status != "incomplete" && status != "dew-point-range" && status != "error")
            fail(where + "the status \"" + status + "\"");
        const bool cut = read.statuses[r] == CsvRecordStatus::TooManyBytes
                         || read.statuses[r] == CsvRecordStatus::TooManyFields;
        if (cut && status != "error")
            fail(where + "cut at a bound, yet status " + status);
        const std::string line = "第" + std::to_string(read.lines[r]) + "行：";
        if ((status == "error" || status == "incomplete") && message.rfind(line, 0) != 0)
            fail(where + "message does not start with " + line);
    }
    return 0;
}
