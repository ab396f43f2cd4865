#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "csv_reader.h"
#include "csv_writer.h"

namespace {

using Record = std::vector<std::string>;

struct Read {
    std::vector<Record> records;
    std::vector<long> lines;
};

// Reads every record, with a tiny buffer as well as the default one so that
// fields, quotes and line ends are split across refills.
Read readAll(const std::string& text, std::size_t bufferSize = 1 << 16)
{
    std::istringstream in(text);
    CsvReader reader(in, bufferSize);
    Read r;
    Record fields;
    while (reader.next(fields)) {
        r.records.push_back(fields);
        r.lines.push_back(reader.recordLine());
    }
    return r;
}

void expectRecords(const std::string& text, const std::vector<Record>& expected)
{
    for (std::size_t size : {std::size_t{1} << 16, std::size_t{16}, std::size_t{17}})
        EXPECT_EQ(readAll(text, size).records, expected) << "buffer size " << size;
}

// ---- reading -----------------------------------------------------------------

TEST(CsvReader, PlainFieldsAndLineEnds)
{
    expectRecords("a,b,c\n1,2,3\n", {{"a", "b", "c"}, {"1", "2", "3"}});
    expectRecords("a,b\r\n1,2\r\n", {{"a", "b"}, {"1", "2"}});
    expectRecords("a,b\r1,2\r", {{"a", "b"}, {"1", "2"}});
}

TEST(CsvReader, FinalLineWithoutLineEnd)
{
    expectRecords("a,b\n1,2", {{"a", "b"}, {"1", "2"}});
    expectRecords("a,b\r\n\"1\",\"2\"", {{"a", "b"}, {"1", "2"}});
}

TEST(CsvReader, EmptyFieldsAreKept)
{
    expectRecords(",\n,,x\n\"\",y,\n", {{"", ""}, {"", "", "x"}, {"", "y", ""}});
}

TEST(CsvReader, QuotedFieldsHoldCommasQuotesAndLineBreaks)
{
    expectRecords("\"a,b\",\"say \"\"hi\"\"\",\"two\nlines\",\"crlf\r\nkept\"\n",
                  {{"a,b", "say \"hi\"", "two\nlines", "crlf\r\nkept"}});
    expectRecords("\"\"\"\",\"\"\n", {{"\"", ""}});
}

TEST(CsvReader, BlanksAndUtf8AreDataAsTheyStand)
{
    expectRecords(" 27 , 46.37% ,中文，备注\n", {{" 27 ", " 46.37% ", "中文，备注"}});
}

TEST(CsvReader, ByteOrderMarkAtTheStartIsDropped)
{
    expectRecords("\xEF\xBB\xBFmode,t\npsi,27\n", {{"mode", "t"}, {"psi", "27"}});
    // Only at the very start.
    expectRecords("a\n\xEF\xBB\xBF" "b\n", {{"a"}, {"\xEF\xBB\xBF" "b"}});
    expectRecords("\xEF\xBB\xBF", {});
    expectRecords("\xEF\xBB", {{"\xEF\xBB"}});
}

TEST(CsvReader, EmptyInputAndEmptyLines)
{
    expectRecords("", {});
    expectRecords("\n\r\n\n", {});
    expectRecords("a\n\nb\r\n\r\nc\n", {{"a"}, {"b"}, {"c"}});
}

TEST(CsvReader, LenientAboutStrayQuotes)
{
    expectRecords("ab\"c,\"x\"y\n", {{"ab\"c", "xy"}});
}

TEST(CsvReader, RecordLineIsThePhysicalLineWhereTheRecordStarts)
{
    const Read r = readAll("h1,h2\r\n\"a\nb\nc\",1\n\nx,2\r\ny,\"3\r\n\"\nz,4");
    ASSERT_EQ(r.records.size(), 5u);
    EXPECT_EQ(r.lines, (std::vector<long>{1, 2, 6, 7, 9}));
}

TEST(CsvReader, UnterminatedQuoteRunsToTheEndAndIsFlagged)
{
    std::istringstream in("a,b\n\"open,1\nmore\n");
    CsvReader reader(in);
    Record fields;
    ASSERT_TRUE(reader.next(fields));
    EXPECT_FALSE(reader.recordUnterminated());
    ASSERT_TRUE(reader.next(fields));
    EXPECT_TRUE(reader.recordUnterminated());
    EXPECT_EQ(fields, (Record{"open,1\nmore\n"}));
    EXPECT_FALSE(reader.next(fields));
}

// ---- writing -----------------------------------------------------------------

TEST(CsvWriter, QuotesOnlyWhatNeedsIt)
{
    auto quoted = [](const char* f) {
        std::string s;
        AppendCsvField(s, f);
        return s;
    };
    EXPECT_EQ(quoted("plain"), "plain");
    EXPECT_EQ(quoted(""), "");
    EXPECT_EQ(quoted("a,b"), "\"a,b\"");
    EXPECT_EQ(quoted("say \"hi\""), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(quoted("two\nlines"), "\"two\nlines\"");
    EXPECT_EQ(quoted("cr\r"), "\"cr\r\"");
    EXPECT_EQ(quoted("中文 ψ"), "中文 ψ");
}

TEST(CsvWriter, RecordsEndWithLineFeedAndReachTheStreamWhenFlushed)
{
    std::ostringstream out;
    {
        CsvWriter writer(out, 8);  // a small buffer: handed on as it fills
        writer.field("a");
        writer.field("b,c");
        writer.field("");
        writer.endRecord();
        writer.field("x");
        writer.endRecord();
        EXPECT_TRUE(writer.flush());
    }
    EXPECT_EQ(out.str(), "a,\"b,c\",\nx\n");
}

TEST(CsvWriter, WhatItWritesReadsBackUnchanged)
{
    const std::vector<Record> records = {
        {"a,b", "\"", "", "line\r\nbreak", "中文"}, {"", "", ""}, {"1"}};
    std::ostringstream out;
    {
        CsvWriter writer(out);
        for (const Record& r : records) {
            for (const std::string& f : r)
                writer.field(f);
            writer.endRecord();
        }
    }
    // An all-empty record of several fields is a line of commas, not an empty line.
    EXPECT_EQ(readAll(out.str()).records, records);
}

}  // namespace
