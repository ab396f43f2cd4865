// The CSV reader and writer: quoting, line ends, line numbers, bounds.
#include <gtest/gtest.h>

#include <cerrno>
#include <sstream>
#include <string>
#include <vector>

#include "csv_reader.h"
#include "csv_writer.h"
#include "test_streams.h"

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

TEST(CsvReader, LineBreaksInsideQuotesCountAsLinesWhateverTheirKind)
{
    // The same records with LF, CRLF and CR-only line ends: a quoted line
    // break is one line of the file in each.
    for (const char* end : {"\n", "\r\n", "\r"}) {
        auto lines = [&](std::initializer_list<const char*> parts) {
            std::string text;
            for (const char* p : parts)
                text += std::string(p) + end;
            return text;
        };
        const std::string text =
            lines({"h1,h2", "\"a", "b", "c\",1", "", "x,\"y", "\"", "z,2"});
        const Read r = readAll(text, 16);
        ASSERT_EQ(r.records.size(), 4u) << "line end " << end[0];
        EXPECT_EQ(r.lines, (std::vector<long>{1, 2, 6, 8})) << "line end " << end[0];
        EXPECT_EQ(r.records[1][0], std::string("a") + end + "b" + end + "c");
    }
}

// ---- bounds on one record ------------------------------------------------------

struct Bounded {
    std::vector<Record> records;
    std::vector<CsvRecordStatus> statuses;
    std::vector<long> firstLines, lastLines;
};

Bounded readBounded(const std::string& text, CsvLimits limits, std::size_t bufferSize = 16)
{
    std::istringstream in(text);
    CsvReader reader(in, bufferSize, limits);
    Bounded b;
    Record fields;
    while (reader.next(fields)) {
        b.statuses.push_back(reader.recordStatus());
        b.firstLines.push_back(reader.recordLine());
        EXPECT_TRUE(reader.skipRestOfRecord());
        b.lastLines.push_back(reader.recordLastLine());
        b.records.push_back(fields);
    }
    return b;
}

using Status = CsvRecordStatus;

TEST(CsvReaderBounds, ARecordOfExactlyTheLimitIsKeptOneByteMoreIsCut)
{
    const CsvLimits limits{10, 100};
    // Bytes of the record as written (quotes and commas count), line end not counted.
    const Bounded atLimit = readBounded("12345,6789\n\"a\"\"b\",\"c\"\r\nx\n", limits);
    EXPECT_EQ(atLimit.records, (std::vector<Record>{{"12345", "6789"}, {"a\"b", "c"}, {"x"}}));
    EXPECT_EQ(atLimit.statuses, (std::vector<Status>(3, Status::Complete)));

    for (const char* over : {"12345,67890\nx\n", "\"a\"\"b\",\"cd\"\nx\n", "1234567890,\nx\n"}) {
        const Bounded b = readBounded(over, limits);
        EXPECT_EQ(b.records, (std::vector<Record>{{}, {"x"}})) << over;
        EXPECT_EQ(b.statuses, (std::vector<Status>{Status::TooManyBytes, Status::Complete})) << over;
        EXPECT_EQ(b.lastLines, (std::vector<long>{1, 2})) << over;
    }
}

TEST(CsvReaderBounds, TooManyFieldsIsCutAndTheRestOfTheLineSkipped)
{
    const CsvLimits limits{1000, 3};
    const Bounded b = readBounded("a,b,c\na,b,c,d\n,,,\n1,2\n", limits);
    EXPECT_EQ(b.records, (std::vector<Record>{{"a", "b", "c"}, {}, {}, {"1", "2"}}));
    EXPECT_EQ(b.statuses, (std::vector<Status>{Status::Complete, Status::TooManyFields,
                                               Status::TooManyFields, Status::Complete}));
    EXPECT_EQ(b.firstLines, (std::vector<long>{1, 2, 3, 4}));
}

TEST(CsvReaderBounds, AnUnclosedQuoteSwallowsNoMoreThanTheLimit)
{
    // The stray quote on line 2 opens a field that would run to the end. The
    // record is cut once it passes 20 bytes (on line 4) and reading starts
    // afresh, outside any quote, on the line after: line 5.
    const std::string text =
        "h\n"
        "\"stray,1\n"      // line 2: 9 bytes of the record with its line break
        "row,2\n"          // line 3: 15
        "row,3\n"          // line 4: the limit falls inside
        "row,4\n"
        "\"ok\",5\r\n"
        "row,6";
    for (std::size_t bufferSize : {std::size_t{16}, std::size_t{1} << 16}) {
        std::istringstream in(text);
        CsvReader reader(in, bufferSize, CsvLimits{20, 100});
        Record fields;
        ASSERT_TRUE(reader.next(fields));
        ASSERT_TRUE(reader.next(fields));
        EXPECT_EQ(reader.recordStatus(), Status::TooManyBytes);
        EXPECT_TRUE(reader.recordCutInsideQuotes());
        EXPECT_TRUE(fields.empty());
        EXPECT_EQ(reader.recordLine(), 2);
        ASSERT_TRUE(reader.skipRestOfRecord());
        EXPECT_EQ(reader.recordLastLine(), 4);
        // Without the explicit skip, next() would have done it.
        std::vector<Record> rest;
        std::vector<long> lines;
        while (reader.next(fields)) {
            rest.push_back(fields);
            lines.push_back(reader.recordLine());
        }
        EXPECT_EQ(rest, (std::vector<Record>{{"row", "4"}, {"ok", "5"}, {"row", "6"}}));
        EXPECT_EQ(lines, (std::vector<long>{5, 6, 7}));
    }
}

TEST(CsvReaderBounds, ACutAtAQuotedLineBreakResumesOnTheNextLine)
{
    // The record's 10th byte is the CR of a quoted CRLF; its LF makes 11.
    const Bounded b = readBounded("\"12345678\r\n9\"\nnext\n", CsvLimits{10, 100});
    EXPECT_EQ(b.records, (std::vector<Record>{{}, {"9\""}, {"next"}}));
    EXPECT_EQ(b.firstLines, (std::vector<long>{1, 2, 3}));
    EXPECT_EQ(b.lastLines, (std::vector<long>{1, 2, 3}));
}

TEST(CsvReaderBounds, SkippingStopsAtTheEndOfTheInput)
{
    const Bounded b = readBounded("x\n0123456789abcdef", CsvLimits{8, 100});
    EXPECT_EQ(b.statuses, (std::vector<Status>{Status::Complete, Status::TooManyBytes}));
    EXPECT_EQ(b.lastLines, (std::vector<long>{1, 2}));
}

// ---- input that arrives in pieces or fails -------------------------------------

TEST(CsvReader, ReturnsARecordAsSoonAsItsLineHasArrived)
{
    // Like lines typed at a terminal: the reader must not ask for the next
    // piece of input before handing over the record it already has.
    for (const char* end : {"\n", "\r\n", "\r"}) {
        ScriptedInput source({std::string("a,1") + end, std::string("b,2") + end});
        std::istream in(&source);
        CsvReader reader(in);
        Record fields;
        ASSERT_TRUE(reader.next(fields));
        EXPECT_EQ(fields, (Record{"a", "1"}));
        EXPECT_EQ(source.chunksHandedOver(), 1u) << "line end " << int(end[0]);
        ASSERT_TRUE(reader.next(fields));
        EXPECT_EQ(fields, (Record{"b", "2"}));
        EXPECT_EQ(reader.recordLine(), 2);
        EXPECT_FALSE(reader.next(fields));
    }
}

TEST(CsvReader, AFailedReadEndsTheInputAndDropsTheRecordItCut)
{
    ScriptedInput source({"h1,h2\n1,2\n3,", "4\n5"}, EIO);
    std::istream in(&source);
    CsvReader reader(in);
    Record fields;
    std::vector<Record> records;
    while (reader.next(fields))
        records.push_back(fields);
    EXPECT_EQ(records, (std::vector<Record>{{"h1", "h2"}, {"1", "2"}, {"3", "4"}}));
    EXPECT_TRUE(reader.readFailed());
    EXPECT_EQ(reader.readError(), EIO);
    EXPECT_EQ(reader.readErrorLine(), 4);
    EXPECT_FALSE(reader.next(fields));  // and stays ended

    ScriptedInput atStart({}, EISDIR);
    std::istream empty(&atStart);
    CsvReader first(empty);
    EXPECT_FALSE(first.next(fields));
    EXPECT_TRUE(first.readFailed());
    EXPECT_EQ(first.readError(), EISDIR);
    EXPECT_EQ(first.readErrorLine(), 1);
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
