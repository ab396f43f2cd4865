// The chart and altitude options: their values, and every way to get them wrong.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "arguments.h"
#include "option_values.h"

namespace {

using Args = std::vector<std::string>;
using Action = CliArguments::Action;

TEST(ChartArguments, ChartOptionsInBothModes)
{
    const CliArguments one = ParseArguments({"-t", "27", "--rh", "46.37", "--chart", "point.svg"});
    ASSERT_EQ(one.action, Action::StatePoint) << one.error;
    EXPECT_EQ(one.chartFile, "point.svg");
    EXPECT_EQ(one.chartRange.tMin, -10);
    EXPECT_EQ(one.chartRange.tMax, 50);
    EXPECT_EQ(one.chartRange.dMin, 0);
    EXPECT_EQ(one.chartRange.dMax, 35);
    EXPECT_FALSE(one.chartProcess);

    const CliArguments batch = ParseArguments(
        {"--batch", "day.csv", "--chart=Day.PDF", "--chart-t", "-5:40", "--chart-d=2.5:30", "--chart-process"});
    ASSERT_EQ(batch.action, Action::Batch) << batch.error;
    EXPECT_EQ(batch.batchFile, "day.csv");
    EXPECT_EQ(batch.chartFile, "Day.PDF");
    EXPECT_EQ(batch.chartRange.tMin, -5);
    EXPECT_EQ(batch.chartRange.tMax, 40);
    EXPECT_EQ(batch.chartRange.dMin, 2.5);
    EXPECT_EQ(batch.chartRange.dMax, 30);
    EXPECT_TRUE(batch.chartProcess);
}

TEST(ChartArguments, AltitudeGivesBAsWholePascalsText)
{
    const CliArguments a = ParseArguments({"--altitude", "1500", "-t", "27", "--rh", "46.37"});
    ASSERT_EQ(a.action, Action::StatePoint) << a.error;
    EXPECT_EQ(a.B, "84556");
    ASSERT_TRUE(a.altitude);
    EXPECT_EQ(*a.altitude, 1500);
    EXPECT_EQ(ParseArguments({"--altitude=0", "-t", "27", "--rh", "1"}).B, "101325");
    EXPECT_EQ(ParseArguments({"--altitude", "-500", "-t", "27", "--rh", "1"}).B, "107478");
    EXPECT_EQ(ParseArguments({"--altitude", "11000", "-t", "27", "--rh", "1"}).B, "22632");

    const CliArguments batch = ParseArguments({"--batch", "--altitude", "+2e3"});
    ASSERT_EQ(batch.action, Action::Batch) << batch.error;
    EXPECT_EQ(*batch.altitude, 2000);
}

struct BadOptions {
    Args args;
    const char* says;  // a part of the message
};

void PrintTo(const BadOptions& c, std::ostream* os)
{
    for (const std::string& a : c.args)
        *os << a << ' ';
}

class BadChartOptions : public testing::TestWithParam<BadOptions> {};

TEST_P(BadChartOptions, AreUsageErrorsSayingWhat)
{
    const CliArguments a = ParseArguments(GetParam().args);
    EXPECT_EQ(a.action, Action::UsageError);
    EXPECT_NE(a.error.find(GetParam().says), std::string::npos) << a.error;
}

const Args kPoint = {"-t", "27", "--rh", "46.37"};

Args point(Args more)
{
    Args args = kPoint;
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

INSTANTIATE_TEST_SUITE_P(
    ChartArguments, BadChartOptions,
    testing::Values(
        BadOptions{point({"--chart", "a.jpg"}), ".png、.svg 或 .pdf"},
        BadOptions{point({"--chart", "chart"}), ".png、.svg 或 .pdf"},
        BadOptions{point({"--chart", ""}), "缺少文件名"},
        BadOptions{point({"--chart", "a.svg", "--chart-lines", "ts,x"}), "线族“x”未知"},
        BadOptions{point({"--chart-lines", "ts"}), "须与 --chart 文件 一起使用"},
        BadOptions{point({"--chart"}), "缺少数值"},
        BadOptions{point({"--chart", "a.png", "--chart", "b.png"}), "重复"},
        BadOptions{point({"--chart", "a.png", "--chart-t", ""}), "最小值:最大值"},
        BadOptions{point({"--chart", "a.png", "--chart-t", "10"}), "最小值:最大值"},
        BadOptions{point({"--chart", "a.png", "--chart-t", "10:"}), "最小值:最大值"},
        BadOptions{point({"--chart", "a.png", "--chart-t", "a:b"}), "最小值:最大值"},
        BadOptions{point({"--chart", "a.png", "--chart-t", "10:20℃"}), "最小值:最大值"},
        BadOptions{point({"--chart", "a.png", "--chart-t", "nan:20"}), "最小值:最大值"},
        BadOptions{point({"--chart", "a.png", "--chart-t", "0:inf"}), "最小值:最大值"},
        BadOptions{point({"--chart", "a.png", "--chart-t", "20:20"}), "范围为空"},
        BadOptions{point({"--chart", "a.png", "--chart-t", "30:20"}), "必须小于最大值"},
        BadOptions{point({"--chart", "a.png", "--chart-t", "20:20.5"}), "跨度 1 … 150"},
        BadOptions{point({"--chart", "a.png", "--chart-t", "-273:20"}), "-100 … 200"},
        BadOptions{point({"--chart", "a.png", "--chart-t", "0:1e9"}), "-100 … 200"},
        BadOptions{point({"--chart", "a.png", "--chart-d", "-1:35"}), "0 … 1000"},
        BadOptions{point({"--chart", "a.png", "--chart-d", "35:0"}), "必须小于最大值"},
        BadOptions{point({"--chart", "a.png", "--chart-d", "0:500"}), "跨度 1 … 200"},
        // Wholly beyond saturation at the rows' B: nothing to draw. (A single
        // point's range is judged after its calculation, at its own B.)
        BadOptions{Args{"--batch", "--chart", "a.png", "--chart-t", "-10:5", "--chart-d", "10:20"},
                   "没有未饱和的空气"},
        BadOptions{point({"--chart-t", "0:40"}), "须与 --chart"},
        BadOptions{point({"--chart-d", "0:40"}), "须与 --chart"},
        BadOptions{point({"--chart", "a.png", "--chart-process"}), "只用于 --batch"},
        BadOptions{Args{"--batch", "--chart-process"}, "须与 --chart"},
        BadOptions{point({"--altitude", "11000.5"}), "-500 到 11000"},
        BadOptions{point({"--altitude", "-501"}), "-500 到 11000"},
        BadOptions{point({"--altitude", "1500m"}), "-500 到 11000"},
        BadOptions{point({"--altitude", ""}), "-500 到 11000"},
        BadOptions{point({"--altitude", "nan"}), "-500 到 11000"},
        BadOptions{point({"--altitude", "1500", "-B", "90000"}), "只能给出其中一个"},
        BadOptions{Args{"--batch", "--altitude", "1e5"}, "-500 到 11000"}));

TEST(StrictNumbers, AcceptOnlyAWholeFiniteNumber)
{
    EXPECT_EQ(ParseStrictNumber("27"), 27);
    EXPECT_EQ(ParseStrictNumber("-10.5"), -10.5);
    EXPECT_EQ(ParseStrictNumber("+3"), 3);
    EXPECT_EQ(ParseStrictNumber("1e3"), 1000);
    EXPECT_FALSE(ParseStrictNumber(""));
    EXPECT_FALSE(ParseStrictNumber("+"));
    EXPECT_FALSE(ParseStrictNumber("++3"));
    EXPECT_FALSE(ParseStrictNumber(" 3"));
    EXPECT_FALSE(ParseStrictNumber("3 "));
    EXPECT_FALSE(ParseStrictNumber("1,5"));
    EXPECT_FALSE(ParseStrictNumber("0x10"));
    EXPECT_FALSE(ParseStrictNumber("inf"));
    EXPECT_FALSE(ParseStrictNumber("1e999"));
}

}  // namespace
