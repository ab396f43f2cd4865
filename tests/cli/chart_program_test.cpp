// nimbara-calc --chart end to end: the real program (and the chart helper it
// starts) run as processes, the files they write read back.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "process.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace {

namespace fs = std::filesystem;
using Args = std::vector<std::string>;

ProcessResult calc(const Args& args, const std::string& input = {})
{
    return RunProcess(NIMBARA_CALC_PATH, args, input);
}

// A fresh, empty folder per test.
class ChartRun : public testing::Test {
protected:
    void SetUp() override { m_dir = m_folder.dir(); }

    std::string path(const std::string& name) const { return (m_dir / name).string(); }
    std::vector<std::string> entries() const
    {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(m_dir))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    TempFolder m_folder;
    fs::path m_dir;
};

std::string readFile(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

// The characters of every <text> element of an SVG, in document order.
std::string svgText(const std::string& svg)
{
    std::string text;
    for (std::size_t end = svg.find("</text>"); end != std::string::npos; end = svg.find("</text>", end + 1)) {
        const std::size_t start = svg.rfind('>', end) + 1;
        std::string run = svg.substr(start, end - start);
        for (const auto& [entity, c] : {std::pair{"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&amp;", "&"}}) {
            for (std::size_t at = run.find(entity); at != std::string::npos; at = run.find(entity, at + 1))
                run.replace(at, std::string(entity).size(), c);
        }
        text += run;
    }
    return text;
}

const Args kPoint = {"-t", "27", "--rh", "46.37"};

Args with(Args args, const Args& more)
{
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

// An air-handling unit's process, outdoor W to room N, one row failing.
const std::string kProcess =
    "label,mode,B,upsilon,t,value\n"
    "W,psi,101325,2.5,35,55\n"
    "C,psi,101325,2.5,29,58\n"
    "bad,psi,101325,2.5,27,\n"
    "L,psi,101325,2.5,14,95\n"
    "O,psi,101325,2.5,19,68\n"
    "N,psi,101325,2.5,26,55\n";

TEST_F(ChartRun, OnePointPrintsAsBeforeAndDrawsThePointWithItsValues)
{
    const ProcessResult plain = calc(kPoint);
    const ProcessResult r = calc(with(kPoint, {"--chart", path("point.svg")}));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, plain.out);
    EXPECT_EQ(r.err, "");
    const std::string text = svgText(readFile(path("point.svg")));
    for (const char* expected : {"大气压力 B = 101325 Pa", "状态点", "t = 27.00℃", "ψ = 46.37%", "d = 10.32 g/kg干",
                                 "h = 53.60 kJ/kg干", "ts = 19.03℃", "tl = 14.94℃", "焓", "含湿量", "相对湿度", "状态点：1 个"}) {
        EXPECT_NE(text.find(expected), std::string::npos) << "missing: " << expected;
    }
    EXPECT_EQ(entries(), Args{"point.svg"});
}

TEST_F(ChartRun, OnePointAtAnAltitude)
{
    const ProcessResult r = calc({"--altitude", "1500", "-t", "27", "--rh", "46.37", "--chart", path("a.svg")});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("  大气压力B=84556Pa\n"), std::string::npos) << r.out;
    const std::string text = svgText(readFile(path("a.svg")));
    EXPECT_NE(text.find("B = 84556 Pa（海拔 1500 m"), std::string::npos) << text;
    EXPECT_NE(text.find("h = 58.93 kJ/kg干"), std::string::npos);
}

TEST_F(ChartRun, OnePointPdfIsOneA4LandscapePage)
{
    ASSERT_EQ(calc(with(kPoint, {"--chart", path("point.pdf")})).exitCode, 0);
    const ProcessResult info = RunProcess("/usr/bin/pdfinfo", {path("point.pdf")});
    ASSERT_EQ(info.exitCode, 0) << "pdfinfo (poppler-utils): " << info.err;
    const std::size_t pages = info.out.find("Pages:");
    ASSERT_NE(pages, std::string::npos) << info.out;
    const std::size_t count = info.out.find_first_not_of(' ', pages + 6);
    EXPECT_EQ(info.out.substr(count, 2), "1\n") << info.out;
    EXPECT_NE(info.out.find("842 x 595 pts (A4)"), std::string::npos) << info.out;
}

TEST_F(ChartRun, BatchWithLabelsAndProcessKeepsItsCsvAndDrawsArrows)
{
    const ProcessResult plain = calc({"--batch"}, kProcess);
    const ProcessResult r = calc({"--batch", "--chart", path("ahu.svg"), "--chart-process"}, kProcess);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, plain.out);
    EXPECT_EQ(r.err, "nimbara-calc：1 行未能算出状态点，没有画在图上\n");
    const std::string text = svgText(readFile(path("ahu.svg")));
    // On several threads: the same output and the same chart.
    for (const char* jobs : {"1", "3"}) {
        const ProcessResult threaded =
            calc({"--batch", "--jobs", jobs, "--chart", path("jobs.svg"), "--chart-process"}, kProcess);
        EXPECT_EQ(threaded.out, plain.out) << jobs;
        EXPECT_EQ(svgText(readFile(path("jobs.svg"))), text) << jobs;
    }
    for (const char* expected : {"W", "C", "L", "O", "N", "状态点：5 个", "1 行未能算出状态点，未画出", "Δh = ", "ε = ", "过程线"})
        EXPECT_NE(text.find(expected), std::string::npos) << "missing: " << expected;
    EXPECT_EQ(text.find("bad"), std::string::npos);
}

TEST_F(ChartRun, BatchAsPngFromAFileWithRowNumbersForUnlabelledRows)
{
    std::ofstream(path("day.csv")) << "mode,B,upsilon,t,value\npsi,101325,2.5,20,50\nts,101325,2.5,27,19\n";
    const ProcessResult r = calc({"--batch", path("day.csv"), "--chart", path("day.png")});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const std::string png = readFile(path("day.png"));
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    // IHDR: 3508 × 2480, A4 landscape at 300 dpi.
    const auto be32 = [&](std::size_t at) {
        return (static_cast<unsigned char>(png[at]) << 24) | (static_cast<unsigned char>(png[at + 1]) << 16)
               | (static_cast<unsigned char>(png[at + 2]) << 8) | static_cast<unsigned char>(png[at + 3]);
    };
    EXPECT_EQ(be32(16), 3508u);
    EXPECT_EQ(be32(20), 2480u);

    ASSERT_EQ(calc({"--batch", path("day.csv"), "--chart", path("day.svg")}).exitCode, 0);
    const std::string text = svgText(readFile(path("day.svg")));
    EXPECT_NE(text.find("状态点：2 个"), std::string::npos) << text;
}

TEST_F(ChartRun, BatchOfAnotherPressureAndPointsOutsideTheRangeAreSaid)
{
    const std::string input = "mode,B,upsilon,t,value,label\n"
                              "psi,101325,2.5,27,46.37,A\n"
                              "psi,90000,2.5,27,46.37,B\n"
                              "psi,101325,2.5,45,20,hot\n";
    const ProcessResult r = calc({"--batch", "--chart", path("b.svg"), "--chart-t", "0:40"}, input);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.err.find("图按第一个点的大气压力 B = 101325 Pa 绘制；另有 1 个点的 B 与之不同"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("1 个点在图的范围之外，未画出"), std::string::npos) << r.err;
    const std::string text = svgText(readFile(path("b.svg")));
    EXPECT_NE(text.find("另有 1 个点的 B 与之不同"), std::string::npos);
    EXPECT_NE(text.find("1 个点在图的范围之外，未画出"), std::string::npos);
    EXPECT_NE(text.find("空心点"), std::string::npos);
    EXPECT_EQ(text.find("hot"), std::string::npos);
}

TEST_F(ChartRun, BatchWithAnAltitudeColumnOrOption)
{
    const std::string byColumn = "mode,altitude,upsilon,t,value\npsi,1500,2.5,27,46.37\n";
    const ProcessResult r = calc({"--batch", "--chart", path("col.svg")}, byColumn);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(svgText(readFile(path("col.svg"))).find("B = 84556 Pa（海拔 1500 m"), std::string::npos);

    const ProcessResult o = calc({"--batch", "--altitude", "1500", "--chart", path("opt.svg")},
                                 "mode,upsilon,t,value\npsi,2.5,27,46.37\n");
    EXPECT_EQ(o.exitCode, 0) << o.err;
    EXPECT_NE(o.out.find("psi,2.5,27,46.37,18.56,,12.41,58.92632,"), std::string::npos) << o.out;
    EXPECT_NE(svgText(readFile(path("opt.svg"))).find("B = 84556 Pa（海拔 1500 m"), std::string::npos);
}

TEST_F(ChartRun, BatchWithNothingToPlotStillWritesTheChartAndSaysSo)
{
    const ProcessResult r = calc({"--batch", "--chart", path("empty.svg")}, "mode,B,upsilon,t,value\npsi,101325,2.5,27,\n");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.err.find("没有可画的状态点"), std::string::npos) << r.err;
    EXPECT_NE(svgText(readFile(path("empty.svg"))).find("没有可绘制的状态点"), std::string::npos);
}

TEST_F(ChartRun, BadChartInputsExitTwoAndWriteNothing)
{
    fs::create_directory(m_dir / "folder.png");
    ASSERT_EQ(mkfifo(path("fifo.svg").c_str(), 0644), 0);
    fs::create_symlink("missing/a.svg", m_dir / "dangling.svg");
    // A node of its own with /dev/null's numbers, where the test may make one.
    const bool device = mknod(path("node.png").c_str(), S_IFCHR | 0644, makedev(1, 3)) == 0;
    if (device)
        fs::create_symlink("node.png", m_dir / "tonode.pdf");
    const Args bad[] = {
        {"--chart", path("fifo.svg")},
        {"--chart", path("dangling.svg")},
        {"--chart", path(std::string(300, 'a') + ".svg")},
        {"--chart", path(device ? "node.png" : "fifo.svg")},
        {"--chart", path(device ? "tonode.pdf" : "fifo.svg")},
        {"--chart", path("a.jpg")},
        {"--chart", path("a")},
        {"--chart", path("a.png"), "--chart-t", ""},
        {"--chart", path("a.png"), "--chart-t", "20:20"},
        {"--chart", path("a.png"), "--chart-t", "30:20"},
        {"--chart", path("a.png"), "--chart-d", "35:0"},
        {"--chart", path("a.png"), "--chart-t", "-10:5", "--chart-d", "10:20"},
        {"--chart", path("missing/a.png")},
        {"--chart", path("folder.png")},
        {"--chart", path("a.png"), "--altitude", "11001"},
    };
    for (const Args& args : bad) {
        for (const bool batchMode : {false, true}) {
            const Args run = batchMode ? with({"--batch"}, args) : with(kPoint, args);
            const ProcessResult r = calc(run, "mode,B,upsilon,t,value\npsi,101325,2.5,27,46.37\n");
            std::string shown;
            for (const std::string& a : run)
                shown += a + " ";
            EXPECT_EQ(r.exitCode, 2) << shown;
            EXPECT_EQ(r.out, "") << shown;
            EXPECT_EQ(r.err.rfind("nimbara-calc：", 0), 0u) << shown << r.err;
        }
    }
    Args left = {"dangling.svg", "fifo.svg", "folder.png"};
    if (device)
        left = {"dangling.svg", "fifo.svg", "folder.png", "node.png", "tonode.pdf"};
    EXPECT_EQ(entries(), left);
    EXPECT_TRUE(fs::is_fifo(m_dir / "fifo.svg"));
    EXPECT_TRUE(!device || fs::is_character_file(m_dir / "node.png"));
    EXPECT_TRUE(fs::is_empty(m_dir / "folder.png"));
}

TEST_F(ChartRun, AChartNeverReplacesTheReadingsOrTheResults)
{
    const std::string readings = "mode,B,upsilon,t,value\npsi,101325,2.5,27,46.37\n";
    std::ofstream(path("in.svg")) << readings;
    std::ofstream(path("out.svg")) << "earlier";
    const struct {
        Args args;
        ProcessOptions options;
        const char* says;
    } cases[] = {
        {{"--batch", path("in.svg"), "--chart", path("in.svg")}, {}, "就是批量计算读入的文件"},
        {{"--batch", "-", "--chart", path("in.svg")}, {.stdinPath = path("in.svg")}, "就是批量计算读入的文件"},
        {{"--batch", path("in.svg"), "--chart", path("out.svg")}, {.stdoutPath = path("out.svg")}, "就是标准输出所写的文件"},
        {with(kPoint, {"--chart", path("out.svg")}), {.stdoutPath = path("out.svg")}, "就是标准输出所写的文件"},
    };
    for (const auto& c : cases) {
        const ProcessResult r = RunProcess(NIMBARA_CALC_PATH, c.args, {}, c.options);
        EXPECT_EQ(r.exitCode, 2) << c.says;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_EQ(readFile(path("in.svg")), readings);
    }
    EXPECT_EQ(entries(), (Args{"in.svg", "out.svg"}));
}

TEST_F(ChartRun, TheInputsAreJudgedBeforeTheChartsRange)
{
    // An impossible B is named as such, not as a range with nothing to draw.
    const ProcessResult r = calc({"-B", "1e9999", "-t", "27", "--rh", "50", "--chart", path("x.svg")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("大气压力B"), std::string::npos) << r.err;
    EXPECT_TRUE(entries().empty());
}

TEST_F(ChartRun, ADesignPrintsItsSheetAndDrawsItsPointsLinesAndProcess)
{
    const std::string design = R"({"season": "summer", "system": "secondary-return",
        "room": {"t": 22, "rh": 55}, "outdoor": {"t": 35, "ts": 26.9}, "load": {"Q": 3.314, "W": 0.264},
        "fresh_air_ratio": 0.15, "supply": {"dt": 5}, "coil_rh": 95})";
    std::ofstream(path("ahu.json")) << design;
    const ProcessResult plain = calc({"--design", path("ahu.json")});
    const ProcessResult r = calc({"--design", path("ahu.json"), "--chart", path("ahu.svg")});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, plain.out);
    const std::string text = svgText(readFile(path("ahu.svg")));
    for (const char* expected : {"N 室内", "W 室外", "C 混合", "L 机器露点", "O 送风", "过程线 6 条", "虚线：", "Δh = "})
        EXPECT_NE(text.find(expected), std::string::npos) << "missing: " << expected;
    // A chart never replaces the design it was drawn from, and a design that
    // cannot be built draws nothing.
    EXPECT_EQ(calc({"--design", path("ahu.json"), "--chart", path("ahu.json")}).exitCode, 2);
    EXPECT_EQ(readFile(path("ahu.json")), design);
    EXPECT_EQ(calc({"--design", "-", "--chart", path("bad.svg")}, "{}").exitCode, 2);
    EXPECT_EQ(entries(), (Args{"ahu.json", "ahu.svg"}));
}

TEST_F(ChartRun, FailedRunsLeaveAnEarlierChartAlone)
{
    ASSERT_EQ(calc(with(kPoint, {"--chart", path("kept.png")})).exitCode, 0);
    const std::string earlier = readFile(path("kept.png"));
    // A calculation that fails writes no chart.
    EXPECT_EQ(calc({"-t", "27", "--rh", "-5", "--chart", path("kept.png")}).exitCode, 1);
    // Nor does a batch without a usable header.
    EXPECT_EQ(calc({"--batch", "--chart", path("kept.png")}, "no,header\n").exitCode, 2);
    EXPECT_EQ(readFile(path("kept.png")), earlier);
    EXPECT_EQ(entries(), Args{"kept.png"});
}

TEST_F(ChartRun, WithoutItsHelperNimbaraCalcSaysSoAndWritesNothing)
{
    fs::copy_file(NIMBARA_CALC_PATH, m_dir / "nimbara-calc");
    const ProcessResult r =
        RunProcess(path("nimbara-calc"), {"-t", "27", "--rh", "46.37", "--chart", path("x.png")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("找不到绘图程序 nimbara-calc-chart"), std::string::npos) << r.err;
    EXPECT_EQ(entries(), Args{"nimbara-calc"});
    // Plain calculations need no helper.
    EXPECT_EQ(RunProcess(path("nimbara-calc"), kPoint).exitCode, 0);
}

TEST(ChartProgram, PlainNimbaraCalcLoadsNoQt)
{
    // Qt's libraries would more than treble a one-point run's start-up time.
    const ProcessResult r = RunProcess("/usr/bin/readelf", {"-d", NIMBARA_CALC_PATH});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("(NEEDED)"), std::string::npos);
    EXPECT_EQ(r.out.find("Qt6"), std::string::npos) << r.out;
}

}  // namespace
