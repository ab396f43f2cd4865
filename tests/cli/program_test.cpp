// nimbara-calc end to end: the built program run as a real process, its
// standard input fed and its output, error output and exit code collected.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "calculate.h"
#include "golden.h"
#include "process.h"

namespace {

using Args = std::vector<std::string>;

ProcessResult calc(const Args& args, const std::string& input = {})
{
    return RunProcess(NIMBARA_CALC_PATH, args, input);
}

// The twelve value lines of a record of the default inputs, as the notebook
// writes them, with the golden figures.
std::string goldenRecordLines(InputMode mode)
{
    const std::pair<const char*, Quantity> prefixes[] = {
        {"  大气压力B=", Quantity::B},
        {"  干球温度t=", Quantity::t},
        {"  湿球温度 ts=", Quantity::ts},
        {"  相对湿度 ψ=", Quantity::psi},
        {"  焓值 h=", Quantity::h},
        {"  含湿量 d=", Quantity::d},
        {"  密度 ρ=", Quantity::rho},
        {"  比容 v=", Quantity::v},
        {"  干球饱和水蒸气分压力 Pqb=", Quantity::Pqb},
        {"  湿球饱和水蒸气分压力 Pqbs=", Quantity::Pqbs},
        {"  水蒸气分压力 Pq=", Quantity::Pq},
        {"  露点温度 tl=", Quantity::tl},
    };
    const char* const suffixes[] = {"Pa", "℃", "℃", "%", "kJ/kg干", "g/kg干", "kg/m3", "m3/kg", "Pa", "Pa", "Pa", "℃"};
    std::string text;
    for (std::size_t i = 0; i < std::size(prefixes); ++i)
        text += prefixes[i].first + std::string(GoldenText(mode, prefixes[i].second)) + suffixes[i] + "\n";
    return text;
}

const std::string kDewPointLine = std::string(kDewPointMessage) + "\n";

// ---- one state point ---------------------------------------------------------

TEST(OneStatePoint, PsiKnownDefaultsPrintTheTwelveRecordLines)
{
    const ProcessResult r = calc({"-t", "27", "--rh", "46.37"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, goldenRecordLines(InputMode::PsiKnown));
    EXPECT_EQ(r.err, "");
}

TEST(OneStatePoint, TsKnownShowsTheTypedWetBulbAndTheComputedHumidity)
{
    const ProcessResult r = calc({"-B", "101325", "-u", "2.5", "-t", "27", "--ts", "19"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, goldenRecordLines(InputMode::TsKnown));
    EXPECT_EQ(r.err, "");
}

TEST(OneStatePoint, InputLinesEchoTheArgumentTextsAsTyped)
{
    // The box texts go in unchanged: the lenient parse reads 27℃ as 27, the
    // record shows what was typed.
    const ProcessResult r = calc({"-B", " 101325 ", "-t", "27℃", "--rh=46.37%"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("  大气压力B= 101325 Pa\n  干球温度t=27℃℃\n  湿球温度 ts=19.03℃\n"
                         "  相对湿度 ψ=46.37%%\n"),
              std::string::npos)
        << r.out;
}

TEST(OneStatePoint, DewPointOutOfRangeEmptiesItsLineAndWarnsOnStandardError)
{
    const ProcessResult r = calc({"-t", "27", "--ts", "12"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("  含湿量 d=2.52g/kg干\n"), std::string::npos) << r.out;
    const std::string last = "  露点温度 tl=℃\n";
    ASSERT_GE(r.out.size(), last.size());
    EXPECT_EQ(r.out.substr(r.out.size() - last.size()), last);
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 12);
    EXPECT_EQ(r.err, kDewPointLine);
}

TEST(OneStatePoint, FailureWritesItsMessageAndNothingOnStandardOutput)
{
    const ProcessResult r = calc({"-t", "27", "--rh", "100"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("湿球温度ts"), std::string::npos) << r.err;

    const ProcessResult zeroSpeed = calc({"-u", "0", "-t", "27", "--rh", "50"});
    EXPECT_EQ(zeroSpeed.exitCode, 1);
    EXPECT_EQ(zeroSpeed.out, "");
    EXPECT_NE(zeroSpeed.err.find("空气流速υ"), std::string::npos) << zeroSpeed.err;

    const ProcessResult warmWetBulb = calc({"-t", "27", "--ts", "30"});
    EXPECT_EQ(warmWetBulb.exitCode, 1);
    EXPECT_EQ(warmWetBulb.out, "");
    EXPECT_NE(warmWetBulb.err.find("湿球温度ts不能高于干球温度t，请检查输入！"), std::string::npos)
        << warmWetBulb.err;
}

TEST(OneStatePoint, EmptyInputTextIsIncomplete)
{
    const std::string incomplete = std::string(kIncompleteMessage) + "\n";
    for (const Args& args : {Args{"-t", "", "--rh", "50"}, Args{"-t", "27", "--ts", ""},
                             Args{"-B", "", "-t", "27", "--rh", "50"},
                             Args{"-u", "", "-t", "27", "--ts", "19"}}) {
        const ProcessResult r = calc(args);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, incomplete);
    }
    // Blanks are not empty: they read as 0 (here B = 0, which then fails).
    const ProcessResult blanks = calc({"-B", " ", "-t", "27", "--rh", "50"});
    EXPECT_EQ(blanks.exitCode, 1);
    EXPECT_NE(blanks.err, incomplete);
}

// ---- usage -------------------------------------------------------------------

TEST(Usage, HelpGoesToStandardOutputInChinese)
{
    const ProcessResult r = calc({"--help"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("用法"), std::string::npos);
    EXPECT_NE(r.out.find("--batch"), std::string::npos);
    EXPECT_NE(r.out.find("相对湿度ψ"), std::string::npos);
    EXPECT_EQ(r.err, "");
}

TEST(Usage, ErrorsExitTwoWithTheUsageOnStandardError)
{
    for (const Args& args :
         {Args{}, Args{"--rh", "50"}, Args{"-t", "27"}, Args{"-t", "27", "--rh", "50", "--ts", "19"},
          Args{"-t", "27", "--bogus", "--rh", "50"}, Args{"-t", "27", "--rh"}, Args{"-t"},
          Args{"--batch", "a.csv", "-t", "27"}}) {
        const ProcessResult r = calc(args);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("用法"), std::string::npos);
    }
}

// ---- batch -------------------------------------------------------------------

const std::string kResultHeader = "ts,psi,d,h,rho,v,Pqb,Pqbs,Pq,tl,status,message";
// The batch's result fields of the default inputs: ts … tl (a quantity the
// mode reads has an empty field), then the status and an empty message.
std::string goldenBatchResults(InputMode mode)
{
    std::string fields;
    for (Quantity q : {Quantity::ts, Quantity::psi, Quantity::d, Quantity::h, Quantity::rho, Quantity::v,
                       Quantity::Pqb, Quantity::Pqbs, Quantity::Pq, Quantity::tl}) {
        if (IsResult(q, mode))
            fields += GoldenText(mode, q);
        fields += ',';
    }
    return fields + "ok,";
}
const std::string kPsiResults = goldenBatchResults(InputMode::PsiKnown);
const std::string kTsResults = goldenBatchResults(InputMode::TsKnown);
const std::string kNoResults = ",,,,,,,,,,";

TEST(Batch, RowsOfBothModesWithStatusesAndPassThroughColumns)
{
    // Columns in another order, an extra column in Chinese with commas, quotes
    // and a line break, blanks and units in the box texts, CRLF line ends and a BOM.
    const std::string input =
        "\xEF\xBB\xBF" "备注,value,t,mode,upsilon,B\r\n"
        "\"一号测点,窗边\",46.37,27,psi,2.5,101325\r\n"
        "\"说 \"\"湿球\"\"\",19,27,ts,2.5,101325\r\n"
        "\"两行\r\n备注\", 19 ,27℃,ts,2.5, 101325\r\n"
        "露点,12,27,ts,2.5,101325\r\n"
        "空,,27,psi,2.5,101325\r\n"
        "失败,100,27,psi,2.5,101325\r\n"
        "少,1,2\r\n"
        "多,1,2,psi,3,4,5\r\n"
        "模式,50,27,PSI,2.5,101325\r\n"
        "末行,46.37,27,psi,2.5,101325";
    const std::string failure = "找不到满足湿球公式的湿球温度ts（相对湿度ψ太接近或超过100%，"
                                "或温度超出公式的适用范围），请检查输入！";
    const std::string expected =
        "备注,value,t,mode,upsilon,B," + kResultHeader + "\n"
        "\"一号测点,窗边\",46.37,27,psi,2.5,101325," + kPsiResults + "\n"
        "\"说 \"\"湿球\"\"\",19,27,ts,2.5,101325," + kTsResults + "\n"
        "\"两行\r\n备注\", 19 ,27℃,ts,2.5, 101325," + kTsResults + "\n"
        "露点,12,27,ts,2.5,101325,,11.54,2.52,33.69192,1.173,0.85252,3539.81,1378.80,408.48933,,"
        "dew-point-range," + kDewPointMessage + "\n"
        "空,,27,psi,2.5,101325" + kNoResults + ",incomplete,第7行：" + kIncompleteMessage + "\n"
        "失败,100,27,psi,2.5,101325" + kNoResults + ",error,第8行：" + failure + "\n"
        "少,1,2,,," + kNoResults + ",error,第9行：有 3 个字段，表头有 6 个，缺少的字段留空\n"
        "多,1,2,psi,3,4" + kNoResults + ",error,第10行：有 7 个字段，表头有 6 个，多出的字段没有输出\n"
        "模式,50,27,PSI,2.5,101325" + kNoResults + ",error,第11行：未知的模式“PSI”，应为 psi 或 ts\n"
        "末行,46.37,27,psi,2.5,101325," + kPsiResults + "\n";
    const ProcessResult r = calc({"--batch"}, input);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, expected);
    EXPECT_EQ(r.err, "");
}

TEST(Batch, LineNumbersCountThePhysicalLinesOfMultiLineRecords)
{
    const std::string input =
        "mode,B,upsilon,t,value,note\n"
        "psi,101325,2.5,27,46.37,\"a\nb\nc\"\n"
        "\n"
        "bad,101325,2.5,27,46.37,x\n";
    const ProcessResult r = calc({"--batch", "-"}, input);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("error,第6行：未知的模式“bad”"), std::string::npos) << r.out;
}

TEST(Batch, LineNumbersInCrOnlyFilesCountTheLineBreaksInsideQuotes)
{
    const std::string input =
        "mode,B,upsilon,t,value,note\r"
        "psi,101325,2.5,27,46.37,\"a\rb\rc\"\r"
        "\r"
        "bad,101325,2.5,27,46.37,x\r"
        "ts,101325,,27,19,y\r";
    const ProcessResult r = calc({"--batch"}, input);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("error,第6行：未知的模式“bad”"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("incomplete,第7行："), std::string::npos) << r.out;
}

TEST(Batch, ReadsANamedFile)
{
    const TempFolder folder;
    const std::string path = folder.path("nimbara_batch_读数.csv");
    {
        std::ofstream f(path, std::ios::binary);
        f << "mode,B,upsilon,t,value\nts,101325,2.5,27,19\n";
    }
    const ProcessResult r = calc({"--batch", path});
    std::remove(path.c_str());
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "mode,B,upsilon,t,value," + kResultHeader + "\nts,101325,2.5,27,19," + kTsResults
                         + "\n");
}

TEST(Batch, UnreadableInputExitsTwoWithAMessage)
{
    const ProcessResult missing = calc({"--batch", "/nonexistent/nimbara/readings.csv"});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_EQ(missing.out, "");
    EXPECT_NE(missing.err.find("无法打开文件"), std::string::npos) << missing.err;

    const ProcessResult directory = calc({"--batch", testing::TempDir()});
    EXPECT_EQ(directory.exitCode, 2);
    EXPECT_NE(directory.err.find("无法打开文件"), std::string::npos) << directory.err;
}

TEST(Batch, InputWithoutAUsableHeaderExitsTwo)
{
    for (const std::string& input :
         {std::string(), std::string("\n\n"), std::string("\xEF\xBB\xBF"),
          std::string("mode,B,upsilon,t\npsi,101325,2.5,27\n"),
          std::string("Mode,B,upsilon,t,value\n"), std::string("mode,B,upsilon,t,value,t\n")}) {
        const ProcessResult r = calc({"--batch"}, input);
        EXPECT_EQ(r.exitCode, 2) << input;
        EXPECT_EQ(r.out, "") << input;
        EXPECT_NE(r.err.find("表头"), std::string::npos) << r.err;
    }
}

TEST(Batch, HeaderOnlyGivesHeaderOnly)
{
    const ProcessResult r = calc({"--batch"}, "t,value,mode,B,upsilon\r\n");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "t,value,mode,B,upsilon," + kResultHeader + "\n");
}

}  // namespace
