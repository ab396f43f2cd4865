// The batch's altitude column and option, the row hook, and the chart
// collector that the hook feeds, in-process.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "arguments.h"
#include "batch.h"
#include "chart_collector.h"
#include "cli.h"
#include "test_streams.h"

namespace {

// Records what the hook is told.
struct Recorder : BatchObserver {
    std::vector<std::string> columns;
    std::vector<std::string> rows;  // "number status B altitude"
    void header(const std::vector<std::string>& c) override { columns = c; }
    void row(const FinishedRow& r) override
    {
        std::string line = std::to_string(r.number) + " " + std::string(r.status);
        if (r.status == "ok" || r.status == "dew-point-range")
            line += " " + std::to_string(static_cast<long>(r.point.point.B));
        if (r.point.altitude)
            line += " @" + std::to_string(static_cast<long>(*r.point.altitude));
        rows.push_back(line);
    }
};

const std::string kReadings =
    "label,mode,B,upsilon,t,value\n"
    "W,psi,101325,2.5,35,60\n"
    "C,psi,101325,2.5,29,\n"
    ",ts,101325,2.5,27,19\n"
    "L,xx,101325,2.5,14,95\n"
    "O,ts,99000,2.5,27,12\n";

TEST(BatchHook, SeesEveryRowInOrderAndLeavesTheOutputUnchanged)
{
    Recorder recorder;
    const Outcome plain = batch(kReadings);
    const Outcome hooked = batch(kReadings, {.observer = &recorder});
    EXPECT_EQ(hooked.code, 0);
    EXPECT_EQ(hooked.out, plain.out);
    EXPECT_EQ(hooked.err, plain.err);
    EXPECT_EQ(recorder.columns, (std::vector<std::string>{"label", "mode", "B", "upsilon", "t", "value"}));
    EXPECT_EQ(recorder.rows, (std::vector<std::string>{"1 ok 101325", "2 incomplete", "3 ok 101325",
                                                       "4 error", "5 dew-point-range 99000"}));
}

TEST(BatchHook, SeesTheSameRowsInTheSameOrderOnSeveralJobs)
{
    // Enough rows for several pipeline tokens, so that rows are calculated
    // out of order and must still reach the hook in input order.
    std::string input = "label,mode,B,upsilon,t,value\n";
    for (int i = 0; i < 700; ++i)
        input += std::to_string(i) + (i % 7 == 3 ? ",xx," : ",psi,") + std::to_string(90000 + i * 10)
                 + ",2.5,27," + std::to_string(10 + i % 80) + "\n";
    Recorder one, three;
    const Outcome a = batch(input, {.observer = &one, .jobs = 1});
    const Outcome b = batch(input, {.observer = &three, .jobs = 3});
    EXPECT_EQ(b.out, a.out);
    EXPECT_EQ(three.rows, one.rows);
    ASSERT_EQ(one.rows.size(), 700u);
    EXPECT_EQ(one.rows[3], "4 error");
    EXPECT_EQ(one.rows[699].substr(0, 7), "700 ok ");
}

TEST(BatchAltitude, AnAltitudeColumnStandsInForB)
{
    Recorder recorder;
    const Outcome r = batch("mode,altitude,upsilon,t,value\n"
                            "psi,1500,2.5,27,46.37\n"
                            "psi,,2.5,27,46.37\n"
                            "psi,12000,2.5,27,46.37\n"
                            "psi,high,2.5,27,46.37\n"
                            "psi,0,2.5,27,46.37\n",
                            {.observer = &recorder});
    EXPECT_EQ(r.code, 0) << r.err;
    std::istringstream lines(r.out);
    std::string header, at1500, empty, tooHigh, notNumber, sea;
    std::getline(lines, header);
    std::getline(lines, at1500);
    std::getline(lines, empty);
    std::getline(lines, tooHigh);
    std::getline(lines, notNumber);
    std::getline(lines, sea);
    // The input columns pass through as they are; no B column appears.
    EXPECT_EQ(header, "mode,altitude,upsilon,t,value,ts,psi,d,h,rho,v,Pqb,Pqbs,Pq,tl,status,message");
    // B = 84556 Pa, as the one-point --altitude 1500 gives.
    EXPECT_EQ(at1500, "psi,1500,2.5,27,46.37,18.56,,12.41,58.92632,0.973,1.02766,3567.31,2138.15,1654.16250,14.94,ok,");
    EXPECT_NE(empty.find(",incomplete,"), std::string::npos) << empty;
    EXPECT_NE(tooHigh.find(",error,第4行：海拔高度“12000”无效"), std::string::npos) << tooHigh;
    EXPECT_NE(notNumber.find(",error,第5行：海拔高度“high”无效"), std::string::npos) << notNumber;
    EXPECT_NE(sea.find(",19.03,,10.32,53.60034,"), std::string::npos) << sea;
    EXPECT_EQ(recorder.rows, (std::vector<std::string>{"1 ok 84556 @1500", "2 incomplete", "3 error",
                                                       "4 error", "5 ok 101325 @0"}));
}

TEST(BatchAltitude, TheOptionGivesEveryRowItsB)
{
    const Outcome r = batch("mode,upsilon,t,value\npsi,2.5,27,46.37\n", {.altitude = 1500.0});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("\npsi,2.5,27,46.37,18.56,,12.41,58.92632,"), std::string::npos) << r.out;
}

TEST(BatchAltitude, BesideABColumnAnAltitudeColumnIsPassedThrough)
{
    const Outcome r = batch("mode,B,altitude,upsilon,t,value\npsi,101325,1500,2.5,27,46.37\n");
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("\npsi,101325,1500,2.5,27,46.37,19.03,,10.32,53.60034,"), std::string::npos) << r.out;
}

TEST(BatchAltitude, HeadersThatCannotSayWhereBComesFrom)
{
    struct Case {
        std::string input;
        BatchOptions options;
        const char* says;
    } cases[] = {
        {"mode,upsilon,t,value\n", {}, "或以 altitude 列代替 B"},
        {"mode,altitude,altitude,upsilon,t,value\n", {}, "altitude 出现了不止一次"},
        {"mode,B,upsilon,t,value\n", {.altitude = 1500.0}, "不能再有 B 列或 altitude 列"},
        {"mode,altitude,upsilon,t,value\n", {.altitude = 1500.0}, "不能再有 B 列或 altitude 列"},
    };
    for (const Case& c : cases) {
        const Outcome r = batch(c.input, c.options);
        EXPECT_EQ(r.code, 2) << c.input;
        EXPECT_EQ(r.out, "") << c.input;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
    }
}

TEST(ChartCollector, PlotsComputedRowsByLabelOrRowNumberAndCountsTheRest)
{
    ChartCollector collector(ChartRange{}, true, 101325, std::nullopt);
    EXPECT_EQ(batch(kReadings, {.observer = &collector}).code, 0);
    EXPECT_EQ(collector.plotted(), 3);
    EXPECT_EQ(collector.failed(), 2);
    EXPECT_EQ(collector.otherPressure(), 1);
    const ChartContent content = collector.content();
    ASSERT_EQ(content.points.size(), 3u);
    EXPECT_EQ(content.points[0].label, "W");
    EXPECT_EQ(content.points[1].label, "3");  // no label: its row number
    EXPECT_EQ(content.points[2].label, "O");
    EXPECT_TRUE(content.points[0].details.empty());
    EXPECT_TRUE(content.process);
    EXPECT_EQ(content.B, 101325);
    ASSERT_EQ(content.notes.size(), 2u);
    EXPECT_EQ(content.notes[0], "图按第一个点的大气压力 B = 101325 Pa 绘制；另有 1 个点的 B 与之不同，按其自身的 d、h 标出");
    EXPECT_EQ(content.notes[1], "2 行未能算出状态点，未画出");
}

TEST(ChartCollector, AFromColumnGivesTheArrowsItNames)
{
    // Without --chart-process: the column alone asks for arrows.
    ChartCollector collector(ChartRange{}, false, 101325, std::nullopt);
    const std::string input = "label,from,mode,B,upsilon,t,value\n"
                              "W,,psi,101325,2.5,34,58\n"
                              "N,O,psi,101325,2.5,26,55\n"
                              "C,W；N,psi,101325,2.5,28.42,57.38\n"
                              "L,C,psi,101325,2.5,14,95\n"
                              "O,L;nowhere,psi,101325,2.5,19,69.10\n";
    EXPECT_EQ(batch(input, {.observer = &collector}).code, 0);
    const ChartContent content = collector.content();
    EXPECT_TRUE(content.process);
    using Arrows = std::vector<std::pair<std::size_t, std::size_t>>;
    EXPECT_EQ(content.arrows, (Arrows{{4, 1}, {0, 2}, {1, 2}, {2, 3}, {3, 4}}));
    ASSERT_EQ(content.notes.size(), 1u);
    EXPECT_EQ(content.notes[0], "1 个 from 标签没有对应的点，未画箭头");
}

TEST(ChartCollector, KeepsLabelsOnlyAsLongAsTheyCanBeDrawn)
{
    // Cut to what a label can show, and dropped once there are more points
    // than are labelled: memory stays bounded by the number of points.
    const auto labels = [](int rows, std::size_t length) {
        std::string input = "label,mode,B,upsilon,t,value\n";
        for (int i = 0; i < rows; ++i)
            input += std::string(length, 'x') + ",psi,101325,2.5,27,50\n";
        ChartCollector collector(ChartRange{}, false, 101325, std::nullopt);
        batch(input, {.observer = &collector});
        std::vector<std::size_t> sizes;
        for (const ChartPoint& p : collector.content().points)
            sizes.push_back(p.label.size());
        return sizes;
    };
    EXPECT_EQ(labels(2, 500000), (std::vector<std::size_t>{kMaxLabelCharacters, kMaxLabelCharacters}));
    EXPECT_EQ(labels(kMaxLabelledPoints, 3), std::vector<std::size_t>(kMaxLabelledPoints, 3));
    EXPECT_EQ(labels(kMaxLabelledPoints + 2, 3), std::vector<std::size_t>(kMaxLabelledPoints + 2, 0));
}

TEST(ChartCollector, TheFirstPointDecidesTheChartsPressure)
{
    ChartCollector collector(ChartRange{}, false, 101325, std::nullopt);
    batch("mode,altitude,upsilon,t,value\npsi,x,2.5,27,46.37\npsi,1500,2.5,27,46.37\npsi,1500,2.5,20,50\n",
          {.observer = &collector});
    const ChartContent content = collector.content();
    EXPECT_EQ(content.B, 84556);
    ASSERT_TRUE(content.altitude);
    EXPECT_EQ(*content.altitude, 1500);
    EXPECT_EQ(collector.otherPressure(), 0);
    EXPECT_EQ(content.points[0].label, "2");
}

TEST(ChartCollector, WithoutPlottableRowsKeepsThePressureItWasGiven)
{
    ChartCollector collector(ChartRange{}, false, 84556, 1500.0);
    batch("mode,upsilon,t,value\npsi,2.5,27,\n", {.altitude = 1500.0, .observer = &collector});
    const ChartContent content = collector.content();
    EXPECT_TRUE(content.points.empty());
    EXPECT_EQ(content.B, 84556);
    EXPECT_EQ(collector.failed(), 1);
}

int g_runnerCalls = 0;

int countingRunner(const CliArguments& a, std::istream&, std::ostream& out, std::ostream&)
{
    ++g_runnerCalls;
    out << a.chartFile;
    return 0;
}

TEST(CliInProcess, ChartRunsGoToTheChartRunnerOnly)
{
    std::istringstream in;
    std::ostringstream out, err;
    // Without a runner (nimbara-calc itself): refused, nothing written.
    EXPECT_EQ(RunCli({"-t", "27", "--rh", "46.37", "--chart", "x.png"}, in, out, err), 2);
    EXPECT_EQ(out.str(), "");
    EXPECT_NE(err.str().find("nimbara-calc-chart"), std::string::npos);

    g_runnerCalls = 0;
    std::ostringstream out2, err2;
    EXPECT_EQ(RunCli({"--batch", "--chart", "day.svg"}, in, out2, err2, countingRunner), 0);
    EXPECT_EQ(g_runnerCalls, 1);
    EXPECT_EQ(out2.str(), "day.svg");
    // Usage errors and plain runs never reach it.
    std::ostringstream out3, err3;
    EXPECT_EQ(RunCli({"--chart", "day.svg"}, in, out3, err3, countingRunner), 2);
    EXPECT_EQ(RunCli({"-t", "27", "--ts", "19"}, in, out3, err3, countingRunner), 0);
    EXPECT_EQ(g_runnerCalls, 1);
}

}  // namespace
