// The batch path in-process, on string streams and generated streams.
#include <gtest/gtest.h>

#include <sstream>
#include <streambuf>
#include <string>

#include "batch.h"
#include "cli.h"

namespace {

struct Outcome {
    int code;
    std::string out;
    std::string err;
};

Outcome batch(const std::string& input)
{
    std::istringstream in(input);
    std::ostringstream out, err;
    const int code = RunBatch(in, out, err);
    return {code, out.str(), err.str()};
}

TEST(BatchInProcess, EachModeNeedsOnlyItsOwnFourBoxes)
{
    // υ empty stops the ts mode too, as in the window.
    const Outcome r = batch("mode,B,upsilon,t,value\nts,101325,,27,19\npsi,101325,2.5,27,\n");
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("ts,101325,,27,19,,,,,,,,,,,incomplete,请把已知参数输入完整\n"),
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
    GeneratedRows(long rows, std::ostringstream& out) : m_rows(rows), m_out(out)
    {
        m_chunk = "mode,B,upsilon,t,value\n";
    }
    bool outputSeenBeforeEnd = false;

protected:
    int_type underflow() override
    {
        if (m_done >= m_rows && m_chunk.empty())
            return traits_type::eof();
        if (m_chunk.empty()) {
            for (int i = 0; i < 1000 && m_done < m_rows; ++i, ++m_done)
                m_chunk += "ts,101325,2.5,27,19\n";
        }
        if (m_done >= m_rows && m_out.tellp() > 0)
            outputSeenBeforeEnd = true;
        m_current.swap(m_chunk);
        m_chunk.clear();
        setg(m_current.data(), m_current.data(), m_current.data() + m_current.size());
        return traits_type::to_int_type(m_current[0]);
    }

private:
    long m_rows;
    long m_done = 0;
    std::ostringstream& m_out;
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

}  // namespace
