// The batch on several jobs against one job: the same bytes, messages and exit
// code for the same input, whatever goes wrong in it, and the --jobs option.
#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "arguments.h"
#include "batch.h"
#include "process.h"
#include "test_streams.h"

namespace {

struct BatchRun {
    int code;
    std::string out;
    std::string err;
};

bool operator==(const BatchRun& a, const BatchRun& b)
{
    return a.code == b.code && a.out == b.out && a.err == b.err;
}

// A few thousand records of every kind: both modes over a spread of values,
// incomplete and failing calculations, records with too few and too many
// fields, unknown modes, quoted fields with commas and line breaks, a
// byte-order mark inside the input, records over the bounds below, and an
// unclosed quote at the very end.
std::string mixedInput(int rows)
{
    std::string csv = "备注,mode,B,upsilon,t,value\n";
    for (int i = 0; i < rows; ++i) {
        const int t = i % 70 - 20;
        const std::string n = std::to_string(i);
        switch (i % 13) {
        case 0: csv += n + ",ts,101325,2.5," + std::to_string(t + 5) + "," + std::to_string(t) + "\n"; break;
        case 1: csv += n + ",psi,101325,,27,46.37\n"; break;                      // incomplete
        case 2: csv += n + ",psi,101325,2.5,27,100\n"; break;                     // search fails
        case 3: csv += n + ",psi,101325,2.5\n"; break;                            // too few fields
        case 4: csv += n + ",psi,101325,2.5,27,46.37,多余\n"; break;              // too many
        case 5: csv += n + ",PSI,101325,2.5,27,46.37\n"; break;                   // unknown mode
        case 6: csv += "\"第" + n + "点,\"\"窗边\"\"\n二行\",psi,90000,1.5,30,55\n"; break;
        case 7: csv += n + ",\xEF\xBB\xBFpsi,101325,2.5,27,46.37\n"; break;       // mark inside
        case 8: csv += n + "," + std::string(300, 'x') + ",1,2,3,4\n"; break;    // over the byte bound
        case 9: csv += n + std::string(40, ',') + "\n"; break;                    // over the field bound
        default:
            csv += n + ",psi," + std::to_string(80000 + 97 * i % 30000) + "," + std::to_string(0.5 + i % 9) + ","
                   + std::to_string(t) + "." + std::to_string(i % 10) + "," + std::to_string(i % 101) + "\n";
        }
    }
    return csv + "末,psi,101325,2.5,27,\"46.37\n";
}

BatchOptions optionsFor(int jobs, bool flushEachRow = false)
{
    BatchOptions options;
    options.jobs = jobs;
    options.flushEachRow = flushEachRow;
    options.limits.maxRecordBytes = 200;
    options.limits.maxFields = 30;
    return options;
}

BatchRun runOn(const std::string& input, const BatchOptions& options)
{
    std::istringstream in(input);
    std::ostringstream out, err;
    const int code = RunBatch(in, out, err, options);
    return {code, out.str(), err.str()};
}

TEST(ParallelBatch, EveryJobCountWritesTheSameBytes)
{
    const std::string input = mixedInput(6000);
    for (bool flushEachRow : {false, true}) {
        const BatchRun one = runOn(input, optionsFor(1, flushEachRow));
        ASSERT_EQ(one.code, 0);
        ASSERT_GT(one.out.size(), 500000u);
        for (int jobs : {2, 3, 8})
            EXPECT_TRUE(runOn(input, optionsFor(jobs, flushEachRow)) == one) << jobs << " jobs";
    }
}

// A read error part-way: every row read before it is written, then the same
// message, on every job count.
TEST(ParallelBatch, AReadErrorEndsTheRunAtTheSameRow)
{
    const std::string input = mixedInput(3000);
    for (std::size_t cut : {std::size_t(0), std::size_t(30), input.size() / 3, input.size() - 5}) {
        std::vector<BatchRun> runs;
        for (int jobs : {1, 2, 3}) {
            std::vector<std::string> chunks;
            for (std::size_t at = 0; at < cut; at += 4096)
                chunks.push_back(input.substr(at, std::min<std::size_t>(4096, cut - at)));
            ScriptedInput source(chunks, EIO);
            std::istream in(&source);
            std::ostringstream out, err;
            const int code = RunBatch(in, out, err, optionsFor(jobs));
            runs.push_back({code, out.str(), err.str()});
        }
        EXPECT_EQ(runs[0].code, 2);
        EXPECT_NE(runs[0].err.find("读取第"), std::string::npos) << runs[0].err;
        EXPECT_TRUE(runs[1] == runs[0]) << "2 jobs, cut at " << cut;
        EXPECT_TRUE(runs[2] == runs[0]) << "3 jobs, cut at " << cut;
    }
}

// The output takes only so many bytes: the run stops at the same row with the
// same message. Several jobs read a few rows ahead; a read error among those
// must not be reported, as one job would never have read that far.
TEST(ParallelBatch, AFailedWriteEndsTheRunAtTheSameRow)
{
    const std::string input = mixedInput(2000);
    for (bool flushEachRow : {false, true}) {
        for (std::size_t capacity : {std::size_t(0), std::size_t(150), std::size_t(5000), input.size() / 2}) {
            for (bool readFailsLater : {false, true}) {
                std::vector<BatchRun> runs;
                for (int jobs : {1, 2, 3}) {
                    // With the read error: the header, ten rows, then EIO.
                    const std::string text = readFailsLater ? input.substr(0, input.find("\n10,") + 1) : input;
                    ScriptedInput source({text}, readFailsLater ? EIO : 0);
                    std::istream in(&source);
                    LimitedOutput sink(capacity);
                    std::ostream out(&sink);
                    std::ostringstream err;
                    const int code = RunBatch(in, out, err, optionsFor(jobs, flushEachRow));
                    runs.push_back({code, sink.text(), err.str()});
                }
                SCOPED_TRACE("capacity " + std::to_string(capacity) + (flushEachRow ? ", row by row" : "")
                             + (readFailsLater ? ", read error after ten rows" : ""));
                EXPECT_TRUE(runs[1] == runs[0]) << runs[0].err << " | " << runs[1].err;
                EXPECT_TRUE(runs[2] == runs[0]) << runs[0].err << " | " << runs[2].err;
            }
        }
    }
}

// Reading stops soon after the first failed write, also when that is the
// header's: 200,000 rows to read, an output that takes nothing.
TEST(ParallelBatch, AFailedWriteStopsTheReading)
{
    const std::string rows = [] {
        std::string block;
        for (int i = 0; i < 100; ++i)
            block += "ts,101325,2.5,27,19\n";
        return block;
    }();
    for (bool flushEachRow : {false, true}) {
        for (int jobs : {1, 2, 3}) {
            std::vector<std::string> chunks{"mode,B,upsilon,t,value\n"};
            chunks.resize(2001, rows);
            ScriptedInput source(chunks);
            std::istream in(&source);
            LimitedOutput sink(0);
            std::ostream out(&sink);
            std::ostringstream err;
            EXPECT_EQ(RunBatch(in, out, err, optionsFor(jobs, flushEachRow)), 2);
            EXPECT_EQ(err.str(), "nimbara-calc：写出结果时出错，已停止\n");
            // One job stops at the first hand-over of its 1 MiB buffer (about
            // 11,000 rows) or at the header; more jobs read a few rows further.
            EXPECT_LT(source.chunksHandedOver(), flushEachRow ? 3u : 150u) << jobs << " jobs";
        }
    }
}

// ---- the command line ---------------------------------------------------------

TEST(JobsOption, TakesAWholeNumberWithTheBatchOnly)
{
    EXPECT_EQ(ParseArguments({"--batch", "in.csv", "--jobs", "3"}).jobs, 3);
    EXPECT_EQ(ParseArguments({"--jobs=2", "--batch"}).jobs, 2);
    EXPECT_EQ(ParseArguments({"--batch", "--jobs", "64"}).jobs, 64);
    EXPECT_EQ(ParseArguments({"--batch"}).jobs, 0);  // as many as there are processors
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"--batch", "--jobs", "0"},
                                               {"--batch", "--jobs", "65"},
                                               {"--batch", "--jobs", "-1"},
                                               {"--batch", "--jobs", "2.5"},
                                               {"--batch", "--jobs", ""},
                                               {"--batch", "--jobs"},
                                               {"--batch", "--jobs", "1", "--jobs", "2"},
                                               {"-t", "27", "--rh", "50", "--jobs", "2"}}) {
        const CliArguments a = ParseArguments(args);
        EXPECT_EQ(a.action, CliArguments::Action::UsageError) << args.back();
        EXPECT_FALSE(a.error.empty());
    }
}

// The real program on a file, with every job count and the default.
TEST(JobsOption, TheProgramWritesTheSameBytesForEveryJobCount)
{
    const TempFolder folder;
    const std::string path = folder.path("readings.csv");
    std::string input = mixedInput(4000);
    input.erase(input.rfind("末"));  // no unclosed quote: the default bounds are larger
    std::ofstream(path, std::ios::binary) << input;
    const ProcessResult one = RunProcess(NIMBARA_CALC_PATH, {"--batch", path, "--jobs", "1"});
    ASSERT_EQ(one.exitCode, 0) << one.err;
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--batch", path, "--jobs", "2"}, {"--batch", path, "--jobs=3"}, {"--batch", path}}) {
        const ProcessResult r = RunProcess(NIMBARA_CALC_PATH, args);
        EXPECT_EQ(r.exitCode, one.exitCode);
        EXPECT_TRUE(r.out == one.out) << args.back();
        EXPECT_EQ(r.err, one.err);
    }
}

}  // namespace
