// nimbara-calc end to end when its input fails, its output fails or its input
// arrives live: the real program, its standard input and output real pipes,
// files and devices.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "csv_reader.h"
#include "process.h"

namespace {

using Args = std::vector<std::string>;

const std::string kHeader = "mode,B,upsilon,t,value\n";
const std::string kRow = "ts,101325,2.5,27,19\n";
const std::string kResultHeader =
    "mode,B,upsilon,t,value,ts,psi,d,h,rho,v,Pqb,Pqbs,Pq,tl,status,message\n";
const std::string kRowResults =
    "ts,101325,2.5,27,19,,46.73,10.32,53.59903,1.168,0.85652,3539.81,2171.73,1654.08145,14.94,ok,\n";

std::string repeat(const std::string& text, int times)
{
    std::string out;
    for (int i = 0; i < times; ++i)
        out += text;
    return out;
}

std::string writeTempFile(const std::string& name, const std::string& content)
{
    static const TempFolder folder;
    const std::string path = folder.path(name);
    std::ofstream(path, std::ios::binary) << content;
    return path;
}

// Peak memory is only meaningful without the sanitizers' shadow memory.
bool measuresMemory()
{
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    return false;
#else
    return true;
#endif
}

// ---- reading fails -------------------------------------------------------------

TEST(BatchReadErrors, InputThatCannotBeReadExitsTwoNamingTheLineInsteadOfAborting)
{
    struct Case {
        const char* what;
        ProcessOptions options;
        Args args;
        const char* reason;
    };
    ProcessOptions folder, closed;
    folder.stdinPath = testing::TempDir();
    closed.stdinClosed = true;
    for (const Case& c : {Case{"standard input a folder", folder, {"--batch"}, "这是一个文件夹"},
                          Case{"standard input closed", closed, {"--batch", "-"}, "文件描述符无效（没有打开）"},
                          Case{"a file that fails at once", {}, {"--batch", "/proc/self/mem"}, "输入/输出错误"}}) {
        const ProcessResult r = RunProcess(NIMBARA_CALC_PATH, c.args, {}, c.options);
        EXPECT_EQ(r.exitCode, 2) << c.what;
        EXPECT_EQ(r.out, "") << c.what;
        EXPECT_EQ(r.err, std::string("nimbara-calc：读取第1行时出错：") + c.reason + "\n") << c.what;
    }
}

TEST(BatchReadErrors, AnIoErrorMidFileKeepsEveryRowReadBeforeIt)
{
    // A shim preloaded into the program makes read() of standard input fail
    // with EIO after a set number of bytes: here inside line 1236 (the
    // header, 1234 rows and 5 bytes), or right at its start.
    const std::string input = kHeader + repeat(kRow, 3000);
    const std::string path = writeTempFile("nimbara_read_fault.csv", input);
    const char* asan = std::getenv("ASAN_OPTIONS");
    // The shim comes before the sanitizer runtime in the preload order, which
    // the runtime would otherwise refuse.
    const std::string asanOptions =
        std::string("ASAN_OPTIONS=") + (asan ? std::string(asan) + ":" : "") + "verify_asan_link_order=0";
    for (std::size_t extra : {std::size_t{5}, std::size_t{0}}) {
        for (bool fromFile : {true, false}) {
            const std::size_t after = kHeader.size() + 1234 * kRow.size() + extra;
            ProcessOptions options;
            options.environment = {std::string("LD_PRELOAD=") + READ_FAULT_PATH,
                                   "NIMBARA_READ_FAULT_AFTER=" + std::to_string(after), asanOptions};
            if (fromFile)
                options.stdinPath = path;
            const ProcessResult r = RunProcess(NIMBARA_CALC_PATH, {"--batch"}, fromFile ? "" : input, options);
            SCOPED_TRACE(std::string(fromFile ? "file" : "pipe") + ", fails after " + std::to_string(after));
            EXPECT_EQ(r.exitCode, 2);
            EXPECT_EQ(r.out, kResultHeader + repeat(kRowResults, 1234));
            EXPECT_EQ(r.err, "nimbara-calc：读取第1236行时出错：输入/输出错误；此前读完的各行都已计算并写出\n");
        }
    }
    std::remove(path.c_str());
}

// ---- the bound on one record ---------------------------------------------------

TEST(BatchRecordBounds, InputWithoutLineEndsEndsAtTheHeader)
{
    const ProcessResult r = RunProcess(NIMBARA_CALC_PATH, {"--batch", "/dev/zero"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "nimbara-calc：表头行超过 1048576 字节的上限\n");
}

TEST(BatchRecordBounds, HugeRecordsBecomeOneErrorRowEachInFlatMemory)
{
    // 64 MiB of NUL bytes in one line, then 64 MiB opened by a stray quote.
    Child child(NIMBARA_CALC_PATH, {"--batch"});
    ASSERT_TRUE(child.write(kHeader + "ts,"));
    ASSERT_TRUE(child.write(std::string(64u << 20, '\0')));
    ASSERT_TRUE(child.write("\n\"" + std::string(64u << 20, 'x') + "\n" + kRow));
    const std::string expected =
        kResultHeader + std::string(15, ',') + "error,第2行：记录超过 1048576 字节的上限，已跳过该行\n"
        + std::string(15, ',')
        + "error,第3行：记录超过 1048576 字节的上限（可能有引号没有闭合），已跳过该行\n" + kRowResults;
    ASSERT_TRUE(child.waitForOutput(expected));
    // It now waits for more input, every byte before read.
    if (measuresMemory()) {
        EXPECT_LT(child.peakRssKiB(), 16 * 1024);
    }
    const ProcessResult r = child.finish();
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, expected);
}

// ---- writing fails -------------------------------------------------------------

// Feeds rows, as `yes` would, until the program stops reading them; false if
// it still reads after 256 MiB.
bool feedUntilItStops(Child& child)
{
    const std::string block = repeat(kRow, 1000);
    for (std::size_t written = 0; written < (256u << 20); written += block.size()) {
        if (!child.write(block))
            return true;
    }
    return false;
}

TEST(BatchWriteErrors, StopsWhenTheReaderOfItsOutputIsGoneEvenWithSigpipeIgnored)
{
    ProcessOptions options;
    options.ignoreSigpipe = true;  // as under systemd: the write fails with EPIPE instead
    Child child(NIMBARA_CALC_PATH, {"--batch"}, options);
    ASSERT_TRUE(child.write(kHeader + kRow));
    ASSERT_TRUE(child.waitForOutput(kRowResults));
    child.closeOutput();  // like `| head -1` ending
    EXPECT_TRUE(feedUntilItStops(child));
    const ProcessResult r = child.finish();
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, "nimbara-calc：写出结果时出错：管道的另一端已经关闭，已停止\n");
}

TEST(BatchWriteErrors, AFullDiskStopsTheRunAtTheFirstRow)
{
    ProcessOptions options;
    options.stdoutPath = "/dev/full";
    Child child(NIMBARA_CALC_PATH, {"--batch"}, options);
    ASSERT_TRUE(child.write(kHeader));
    EXPECT_TRUE(feedUntilItStops(child));
    const ProcessResult r = child.finish();
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, "nimbara-calc：写出结果时出错：磁盘空间不足，已停止\n");
}

TEST(OutputErrors, HelpAndOnePointThatCannotBeWrittenExitTwo)
{
    ProcessOptions options;
    options.stdoutPath = "/dev/full";
    const ProcessResult help = RunProcess(NIMBARA_CALC_PATH, {"--help"}, {}, options);
    EXPECT_EQ(help.exitCode, 2);
    EXPECT_EQ(help.err, "nimbara-calc：写出帮助时出错：磁盘空间不足\n");
    const ProcessResult point = RunProcess(NIMBARA_CALC_PATH, {"-t", "27", "--rh", "46.37"}, {}, options);
    EXPECT_EQ(point.exitCode, 2);
    EXPECT_EQ(point.err, "nimbara-calc：写出结果时出错：磁盘空间不足\n");
}

// ---- live input ----------------------------------------------------------------

TEST(BatchLiveInput, EachRowIsAnsweredWhileTheInputStaysOpen)
{
    // Readings logged into a pipe one at a time: each result must come out
    // while the pipe is still open, whatever the line ends.
    for (const std::string end : {"\n", "\r\n", "\r"}) {
        SCOPED_TRACE("line end " + std::to_string(end[0]));
        const std::string row = kRow.substr(0, kRow.size() - 1) + end;
        Child child(NIMBARA_CALC_PATH, {"--batch"});
        ASSERT_TRUE(child.write(kHeader.substr(0, kHeader.size() - 1) + end + row));
        EXPECT_TRUE(child.waitForOutput(kResultHeader + kRowResults));
        ASSERT_TRUE(child.write(row));
        EXPECT_TRUE(child.waitForOutput(kResultHeader + kRowResults + kRowResults));
        const ProcessResult r = child.finish();
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_EQ(r.out, kResultHeader + kRowResults + kRowResults);
    }
}

// ---- values echoed in messages -------------------------------------------------

TEST(EchoedValues, ControlAndInvisibleCharactersAreEscaped)
{
    struct Case {
        Args args;
        const char* shown;
    };
    for (const Case& c :
         {Case{{"-t", "27", "--rh", "50", "\x1b[2J\xe2\x80\xae\xff"}, "多余的参数 \\x1b[2J\\u202E\\xff"},
          Case{{"--x\x1b]0;title\x07"}, "未知的选项 --x\\x1b]0;title\\x07"},
          Case{{"--batch", "/nonexistent/\x1b[31m\xc2\x9b.csv"},
               "无法打开文件“/nonexistent/\\x1b[31m\\u009B.csv”：文件不存在"}}) {
        const ProcessResult r = RunProcess(NIMBARA_CALC_PATH, c.args);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_NE(r.err.find(c.shown), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find('\x1b'), std::string::npos);
        EXPECT_EQ(r.err.find("\xe2\x80\xae"), std::string::npos);
    }
}

TEST(EchoedValues, HelpStatesTheBoundsOnARecordAndTheExitStatus)
{
    const ProcessResult r = RunProcess(NIMBARA_CALC_PATH, {"--help"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find(std::to_string(CsvLimits{}.maxRecordBytes) + " 字节"), std::string::npos);
    EXPECT_NE(r.out.find(std::to_string(CsvLimits{}.maxFields) + " 个字段"), std::string::npos);
    EXPECT_NE(r.out.find("不论各行的 status"), std::string::npos);
}

}  // namespace
