// The batch path in-process, on string streams and generated streams.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <sstream>
#include <streambuf>
#include <string>

#include "batch.h"
#include "cli.h"
#include "csv_reader.h"
#include "test_streams.h"

namespace {

using Record = std::vector<std::string>;

std::vector<Record> readBack(const std::string& csv)
{
    std::istringstream in(csv);
    CsvReader reader(in, 1 << 16, CsvLimits{std::size_t{1} << 26, 100000});  // output rows may be longer
    std::vector<Record> records;
    Record fields;
    while (reader.next(fields))
        records.push_back(fields);
    return records;
}

std::size_t countLines(const std::string& text)
{
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

const std::string kHeader = "mode,B,upsilon,t,value\n";
const std::string kRow = "ts,101325,2.5,27,19\n";
const std::string kRowResults =
    "ts,101325,2.5,27,19,,46.73,10.32,53.59903,1.168,0.85652,3539.81,2171.73,1654.08145,14.94,ok,\n";

TEST(BatchInProcess, EachModeNeedsOnlyItsOwnFourBoxes)
{
    // υ empty stops the ts mode too, as in the window.
    const Outcome r = batch("mode,B,upsilon,t,value\nts,101325,,27,19\npsi,101325,2.5,27,\n");
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("ts,101325,,27,19,,,,,,,,,,,incomplete,第2行：请把已知参数输入完整\n"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("psi,101325,2.5,27,,,,,,,,,,,,incomplete,"), std::string::npos) << r.out;
}

TEST(BatchInProcess, UnclosedQuoteIsAnErrorRowNamingItsLine)
{
    const Outcome r = batch("mode,B,upsilon,t,value\nts,101325,2.5,27,\"19\n");
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.out.find(",error,第2行：引号没有闭合"), std::string::npos) << r.out;
}

// An input stream that makes `rows` data rows on demand and notes how much
// output had been written when it was asked for more: the batch must answer
// rows as it goes, not after reading everything.
class GeneratedRows : public std::streambuf {
public:
    GeneratedRows(long rows, std::ostream& out) : m_rows(rows), m_out(out)
    {
        m_chunk = "mode,B,upsilon,t,value\n";
    }
    bool outputSeenBeforeEnd = false;
    long rowsHandedOver() const { return m_done; }

protected:
    int_type underflow() override
    {
        if (m_done >= m_rows && m_chunk.empty())
            return traits_type::eof();
        if (m_chunk.empty()) {
            for (int i = 0; i < 1000 && m_done < m_rows; ++i, ++m_done)
                m_chunk += "ts,101325,2.5,27,19\n";
        }
        if (m_done >= m_rows && m_out.rdbuf()->pubseekoff(0, std::ios::cur, std::ios::out) > 0)
            outputSeenBeforeEnd = true;
        m_current.swap(m_chunk);
        m_chunk.clear();
        setg(m_current.data(), m_current.data(), m_current.data() + m_current.size());
        return traits_type::to_int_type(m_current[0]);
    }

private:
    long m_rows;
    long m_done = 0;
    std::ostream& m_out;
    std::string m_chunk;
    std::string m_current;
};

TEST(BatchInProcess, StreamsRowsThroughWithoutReadingTheWholeInputFirst)
{
    std::ostringstream out, err;
    GeneratedRows source(40000, out);
    std::istream in(&source);
    EXPECT_EQ(RunBatch(in, out, err), 0);
    EXPECT_TRUE(source.outputSeenBeforeEnd);
    const std::string text = out.str();
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 40001);
}

TEST(CliInProcess, DispatchesOnTheArguments)
{
    std::istringstream in("mode,B,upsilon,t,value\n");
    std::ostringstream out, err;
    EXPECT_EQ(RunCli({"--batch"}, in, out, err), 0);
    EXPECT_EQ(out.str().rfind("mode,B,upsilon,t,value,ts,", 0), 0u);

    std::ostringstream out2, err2;
    EXPECT_EQ(RunCli({"-t", "27"}, in, out2, err2), 2);
    EXPECT_EQ(out2.str(), "");
    EXPECT_NE(err2.str().find("用法"), std::string::npos);
}

TEST(CliInProcess, OutputThatCannotBeWrittenIsNotReportedAsSuccess)
{
    std::ostream broken(nullptr);  // every write fails
    std::ostringstream err;
    std::istringstream in("mode,B,upsilon,t,value\nts,101325,2.5,27,19\n");
    EXPECT_EQ(RunCli({"--batch"}, in, broken, err), 2);
    EXPECT_NE(err.str().find("写出结果时出错"), std::string::npos);

    std::ostringstream err2;
    EXPECT_EQ(RunCli({"-t", "27", "--ts", "19"}, in, broken, err2), 2);
    EXPECT_NE(err2.str().find("写出结果时出错"), std::string::npos);
}

TEST(CliInProcess, HelpThatCannotBeWrittenIsNotReportedAsSuccess)
{
    std::ostream broken(nullptr);
    std::istringstream in;
    std::ostringstream err;
    EXPECT_EQ(RunCli({"--help"}, in, broken, err), 2);
    EXPECT_NE(err.str().find("写出帮助时出错"), std::string::npos) << err.str();
}

// ---- every row the header's width ----------------------------------------------

TEST(BatchInProcess, EveryOutputRowHasTheHeadersWidth)
{
    BatchOptions small;
    small.limits = {64, 8};
    const std::string input = "note,mode,B,upsilon,t,value\n"
                              "a,ts,101325,2.5,27,19\n"            // fits
                              "b,ts,101325\n"                       // too few
                              "c,ts,101325,2.5,27,19,extra,more\n"  // too many
                              ",,,,,,,,,,\n"                        // over the field limit
                              + std::string(80, 'x') + "\n"         // over the byte limit
                              "\"d,ts,101325,2.5,27,19";            // quote left open at the end
    const Outcome r = batch(input, small);
    EXPECT_EQ(r.code, 0) << r.err;
    const std::vector<Record> rows = readBack(r.out);
    ASSERT_EQ(rows.size(), 7u) << r.out;
    for (const Record& row : rows)
        EXPECT_EQ(row.size(), 6u + 12u) << r.out;
    EXPECT_EQ(rows[1][16], "ok");
    EXPECT_EQ((Record(rows[2].begin(), rows[2].begin() + 6)), (Record{"b", "ts", "101325", "", "", ""}));
    EXPECT_EQ(rows[2][17], "第3行：有 3 个字段，表头有 6 个，缺少的字段留空");
    EXPECT_EQ(rows[3][5], "19");
    EXPECT_EQ(rows[3][17], "第4行：有 8 个字段，表头有 6 个，多出的字段没有输出");
    EXPECT_EQ(rows[4][17], "第5行：记录超过 8 个字段的上限，已跳过该行");
    EXPECT_EQ(rows[5][17], "第6行：记录超过 64 字节的上限，已跳过该行");
    EXPECT_EQ((Record(rows[5].begin(), rows[5].begin() + 6)), Record(6, ""));
    EXPECT_EQ(rows[6][17], "第7行：引号没有闭合，该记录一直延续到输入结尾");
    for (std::size_t i = 2; i < rows.size(); ++i)
        EXPECT_EQ(rows[i][16], "error");
}

// ---- the bound on one record ----------------------------------------------------

TEST(BatchInProcess, TheDefaultBoundsAreOneMebibyteAndTenThousandFields)
{
    const std::string header = "mode,B,upsilon,t,value,note\n";
    const std::string fixed = "ts,101325,2.5,27,19,";
    const std::string atLimit = fixed + std::string((1u << 20) - fixed.size(), 'n');
    const Outcome bytes = batch(header + atLimit + "\n" + atLimit + "n\n" + kRow.substr(0, kRow.size() - 1) + ",x\n");
    EXPECT_EQ(bytes.code, 0);
    const std::vector<Record> byteRows = readBack(bytes.out);
    ASSERT_EQ(byteRows.size(), 4u);
    EXPECT_EQ(byteRows[1][16], "ok");
    EXPECT_EQ(byteRows[1][5].size(), (1u << 20) - fixed.size());
    EXPECT_EQ(byteRows[2][17], "第3行：记录超过 1048576 字节的上限，已跳过该行");
    EXPECT_EQ(byteRows[3][16], "ok");

    std::string wide = kHeader.substr(0, kHeader.size() - 1);
    for (int i = 5; i < 10000; ++i)
        wide += ",c" + std::to_string(i);
    std::string row = kRow.substr(0, kRow.size() - 1) + std::string(10000 - 5, ',');
    const Outcome fields = batch(wide + "\n" + row + "\n" + row + ",\n" + kRow);
    EXPECT_EQ(fields.code, 0) << fields.err;
    const std::vector<Record> fieldRows = readBack(fields.out);
    ASSERT_EQ(fieldRows.size(), 4u);
    EXPECT_EQ(fieldRows[1][10000 + 10], "ok");
    EXPECT_EQ(fieldRows[2][10000 + 11], "第3行：记录超过 10000 个字段的上限，已跳过该行");
    EXPECT_EQ(fieldRows[3][10000 + 10], "error");  // too few fields for this header

    std::string tooWide = wide + ",one_more\n";
    const Outcome header10001 = batch(tooWide + kRow);
    EXPECT_EQ(header10001.code, 2);
    EXPECT_EQ(header10001.out, "");
    EXPECT_EQ(header10001.err, "nimbara-calc：表头行超过 10000 个字段的上限\n");
}

TEST(BatchInProcess, AStrayQuoteCostsAtMostOneMebibyteOfRowsAndSaysWhichLines)
{
    // Line 3 opens a quote that nothing closes. Numbered rows follow, so the
    // test can tell exactly where reading resumed.
    std::string input = "mode,B,upsilon,t,value,n\n" "ts,101325,2.5,27,19,2\n" "ts,101325,2.5,27,\"19,3\n";
    const std::size_t recordStart = input.find("ts,101325,2.5,27,\"");
    for (int n = 4; n < 70000; ++n)
        input += "ts,101325,2.5,27,19," + std::to_string(n) + "\n";
    // The record is cut where it passes 1 MiB, and skipped to the end of that line.
    const std::size_t cutAt = recordStart + (1u << 20);
    const long lastSkipped = 1 + static_cast<long>(std::count(input.begin(), input.begin() + static_cast<long>(cutAt), '\n'));

    const Outcome r = batch(input);
    EXPECT_EQ(r.code, 0);
    const std::vector<Record> rows = readBack(r.out);
    ASSERT_GE(rows.size(), 4u);
    EXPECT_EQ(rows[1][5], "2");
    EXPECT_EQ(rows[2][17], "第3行：记录超过 1048576 字节的上限（可能有引号没有闭合），已跳过第3行至第"
                               + std::to_string(lastSkipped) + "行");
    EXPECT_EQ(rows[3][5], std::to_string(lastSkipped + 1));
    EXPECT_EQ(rows[3][16], "ok");
    EXPECT_EQ(rows.back()[5], "69999");
    EXPECT_EQ(rows.size(), 3u + static_cast<std::size_t>(69999 - lastSkipped));
}

// ---- input that fails, output that fails ----------------------------------------

TEST(BatchInProcess, AReadErrorWritesTheRowsReadBeforeAndNamesTheLine)
{
    ScriptedInput source({kHeader + kRow, kRow + "ts,101325", ",2.5,27,19\n"}, EIO);
    std::istream in(&source);
    std::ostringstream out, err;
    EXPECT_EQ(RunBatch(in, out, err), 2);
    EXPECT_EQ(out.str(), "mode,B,upsilon,t,value,ts,psi,d,h,rho,v,Pqb,Pqbs,Pq,tl,status,message\n"
                             + kRowResults + kRowResults + kRowResults);
    EXPECT_EQ(err.str(), "nimbara-calc：读取第5行时出错：输入/输出错误；此前读完的各行都已计算并写出\n");

    ScriptedInput midRow({kHeader + kRow + "ts,101"}, EIO);
    std::istream in2(&midRow);
    std::ostringstream out2, err2;
    EXPECT_EQ(RunBatch(in2, out2, err2), 2);
    EXPECT_EQ(countLines(out2.str()), 2u);  // the row cut by the failure is not calculated
    EXPECT_NE(err2.str().find("读取第3行时出错"), std::string::npos) << err2.str();

    ScriptedInput none({}, EISDIR);
    std::istream in3(&none);
    std::ostringstream out3, err3;
    EXPECT_EQ(RunBatch(in3, out3, err3), 2);
    EXPECT_EQ(out3.str(), "");
    EXPECT_EQ(err3.str(), "nimbara-calc：读取第1行时出错：这是一个文件夹\n");
}

TEST(BatchInProcess, AFailedWriteStopsTheRunInsteadOfReadingOn)
{
    // 2,000,000 rows to read; the output takes nothing. The run must stop at
    // the first hand-over of its 1 MiB buffer (about 11,000 rows).
    for (bool flushEachRow : {false, true}) {
        LimitedOutput full(0);
        std::ostream out(&full);
        GeneratedRows source(2000000, out);
        std::istream in(&source);
        std::ostringstream err;
        BatchOptions options;
        options.flushEachRow = flushEachRow;
        EXPECT_EQ(RunBatch(in, out, err, options), 2);
        EXPECT_EQ(err.str(), "nimbara-calc：写出结果时出错，已停止\n");
        EXPECT_LT(source.rowsHandedOver(), flushEachRow ? 2000 : 30000);
    }
}

TEST(BatchInProcess, LiveInputHasEachRowWrittenBeforeTheNextIsRead)
{
    for (bool flushEachRow : {false, true}) {
        std::vector<std::string> chunks{kHeader};
        for (int i = 0; i < 5; ++i)
            chunks.push_back(kRow);
        ScriptedInput source(chunks);
        std::ostringstream out, err;
        std::vector<std::size_t> linesOut;
        source.onRefill = [&](std::size_t) { linesOut.push_back(countLines(out.str())); };
        std::istream in(&source);
        BatchOptions options;
        options.flushEachRow = flushEachRow;
        EXPECT_EQ(RunBatch(in, out, err, options), 0);
        // Before each refill: the header and every row handed over so far.
        const std::vector<std::size_t> live{0, 1, 2, 3, 4, 5, 6};
        if (flushEachRow)
            EXPECT_EQ(linesOut, live);
        else
            EXPECT_EQ(linesOut, std::vector<std::size_t>(7, 0));  // one block at the end
        EXPECT_EQ(countLines(out.str()), 6u);
    }
}

TEST(BatchInProcess, ExitsZeroWhenTheInputWasReadWhateverTheRowsStatuses)
{
    // Not one row succeeds, yet the input was read and every row written:
    // the statuses say what failed.
    const Outcome r = batch(kHeader + "psi,101325,2.5,27,100\nts,101325,,27,19\nxx,1,2,3,4\nbad\n");
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(countLines(r.out), 5u);
    EXPECT_EQ(r.out.find(",ok,"), std::string::npos);
}

TEST(BatchInProcess, AByteOrderMarkInsideTheInputIsNamed)
{
    // A second file appended to the first, its byte-order mark and header included.
    const Outcome r = batch(kHeader + kRow + "\xEF\xBB\xBF" + kHeader + kRow);
    EXPECT_EQ(r.code, 0);
    const std::vector<Record> rows = readBack(r.out);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[2][16], "第3行：未知的模式（含字节顺序标记）“\\uFEFFmode”，应为 psi 或 ts");
    EXPECT_EQ(rows[3][15], "ok");

    const Outcome control = batch(kHeader + "p\x1b[31m,1,2,3,4\n");
    EXPECT_EQ(readBack(control.out)[1][16], "第2行：未知的模式“p\\x1b[31m”，应为 psi 或 ts");
}

}  // namespace
