// nimbara-calc's command line: options, usage and help texts.
#include "arguments.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "altitude.h"
#include "chartcontent.h"
#include "chartformat.h"
#include "chartlines.h"
#include "cores.h"
#include "csv_reader.h"
#include "display.h"
#include "option_values.h"
#include "printable.h"

namespace {

CliArguments usageError(std::string message)
{
    CliArguments a;
    a.action = CliArguments::Action::UsageError;
    a.error = std::move(message);
    return a;
}

// The value of --jobs: a whole number from 1 to kMaxJobs in plain digits; 0
// for anything else.
int jobCount(const std::string& text)
{
    if (text.empty() || text.size() > 3)
        return 0;
    int n = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return 0;
        n = n * 10 + (c - '0');
    }
    return n <= kMaxJobs ? n : 0;
}

}  // namespace

namespace {

// The options as read, before any is checked against the others.
struct ReadOptions {
    std::optional<std::string> B, upsilon, t, rh, ts, d, h, tl, batchFile, jobs;
    std::optional<std::string> altitude, chart, chartT, chartD, design;
    bool batch = false;
    bool json = false;
    bool chartProcess = false;
};

// Reads every option with its value; what is wrong with the words themselves
// (an unknown or repeated option, a missing value) in Chinese, else empty.
std::string readOptions(const std::vector<std::string>& args, ReadOptions& o)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--batch") {
            if (o.batch)
                return "选项 --batch 重复";
            o.batch = true;
            if (i + 1 < args.size()) {
                const std::string& next = args[i + 1];
                // "-" is standard input; any other argument that looks like an
                // option is left for the option loop (and rejected there).
                if (next == "-" || next.empty() || next[0] != '-') {
                    o.batchFile = next;
                    ++i;
                }
            }
            continue;
        }
        if (arg == "--chart-process" || arg == "--json") {
            bool& flag = arg == "--json" ? o.json : o.chartProcess;
            if (flag)
                return "选项 " + arg + " 重复";
            flag = true;
            continue;
        }

        struct Target {
            std::string_view shortName;
            std::string_view longName;
            std::optional<std::string>* slot;
        };
        const Target targets[] = {
            {"-B", "", &o.B}, {"-u", "", &o.upsilon}, {"-t", "", &o.t}, {"", "--rh", &o.rh}, {"", "--ts", &o.ts},
            {"", "--d", &o.d}, {"", "--h", &o.h}, {"", "--tl", &o.tl}, {"", "--design", &o.design},
            {"", "--altitude", &o.altitude}, {"", "--chart", &o.chart}, {"", "--chart-t", &o.chartT},
            {"", "--chart-d", &o.chartD},
            {"", "--jobs", &o.jobs},
        };
        bool matched = false;
        for (const Target& target : targets) {
            std::string_view name;
            std::optional<std::string> value;
            if (!target.shortName.empty() && arg.rfind(target.shortName, 0) == 0) {
                name = target.shortName;
                if (arg.size() > name.size())
                    value = arg.substr(name.size());
            } else if (!target.longName.empty() && arg.rfind(target.longName, 0) == 0
                       && (arg.size() == target.longName.size()
                           || arg[target.longName.size()] == '=')) {
                name = target.longName;
                if (arg.size() > name.size())
                    value = arg.substr(name.size() + 1);
            } else {
                continue;
            }
            matched = true;
            if (!value) {
                if (i + 1 >= args.size())
                    return "选项 " + std::string(name) + " 缺少数值";
                value = args[++i];
            }
            if (*target.slot)
                return "选项 " + std::string(name) + " 重复";
            *target.slot = std::move(value);
            break;
        }
        if (!matched) {
            if (!arg.empty() && arg[0] == '-')
                return "未知的选项 " + Printable(arg);
            return "多余的参数 " + Printable(arg);
        }
    }
    return {};
}

// The options both calculations share: the altitude and the chart. Checked
// before anything is calculated or written.
std::string checkShared(const ReadOptions& o, CliArguments& a)
{
    if (o.altitude) {
        if (o.B)
            return "-B 与 --altitude 只能给出其中一个";
        std::string error;
        a.altitude = ParseAltitude(*o.altitude, error);
        if (!a.altitude)
            return error;
    }
    if (!o.chart && (o.chartT || o.chartD || o.chartProcess))
        return "--chart-t、--chart-d 和 --chart-process 须与 --chart 文件 一起使用";
    if (!o.chart)
        return {};
    if (o.chart->empty())
        return "选项 --chart 缺少文件名";
    if (!ChartFormatOf(*o.chart))
        return "不支持图表文件“" + Printable(*o.chart) + "”的类型：文件名须以 .png、.svg 或 .pdf 结尾";
    a.chartFile = *o.chart;
    std::string error;
    if (o.chartT) {
        const auto r = ParseRangeOption("--chart-t", *o.chartT, kChartTLimitMin, kChartTLimitMax, kChartTSpanMin,
                                        kChartTSpanMax, "℃", error);
        if (!r)
            return error;
        a.chartRange.tMin = r->min;
        a.chartRange.tMax = r->max;
    }
    if (o.chartD) {
        const auto r = ParseRangeOption("--chart-d", *o.chartD, 0, kChartDLimitMax, kChartDSpanMin, kChartDSpanMax,
                                        "g/kg", error);
        if (!r)
            return error;
        a.chartRange.dMin = r->min;
        a.chartRange.dMax = r->max;
    }
    a.chartProcess = o.chartProcess;
    return {};
}

// The batch: no single point's values; --jobs.
std::string checkBatch(const ReadOptions& o, CliArguments& a)
{
    if (o.B || o.upsilon || o.t || o.rh || o.ts || o.d || o.h || o.tl)
        return "--batch 不能与 -B、-u、-t、--rh、--ts、--d、--h、--tl 同时使用";
    if (o.design)
        return "--batch 与 --design 只能给出其中一个";
    a.action = CliArguments::Action::Batch;
    a.batchFile = o.batchFile.value_or("");
    if (o.jobs) {
        a.jobs = jobCount(*o.jobs);
        if (a.jobs == 0)
            return "--jobs 的数值应为 1 到 " + std::to_string(kMaxJobs) + " 之间的整数：" + Printable(*o.jobs);
    }
    // A range wholly beyond saturation has no line to draw. The rows' own
    // B is not known yet, so it is judged at the B they would have
    // without a column of their own. A single point's range is judged
    // after its calculation, at its B, so that a wrong B is named as such.
    if (!a.chartFile.empty()) {
        const double chartB = a.altitude ? PressureAtAltitudeRounded(*a.altitude) : kStandardPressure;
        return ChartRangeProblem(chartB, a.chartRange);
    }
    return {};
}

// A design from a JSON file: B, υ and the points come from the file.
std::string checkDesign(const ReadOptions& o, CliArguments& a)
{
    if (o.B || o.upsilon || o.t || o.rh || o.ts || o.d || o.h || o.tl || o.altitude)
        return "--design 的大气压力、流速和各点都写在设计文件中，不能再给出 -B、--altitude、-u、-t、--rh、--ts、--d、--h、--tl";
    if (o.chartProcess || o.jobs)
        return "--chart-process 和 --jobs 只用于 --batch";
    a.action = CliArguments::Action::Design;
    a.designFile = *o.design;
    a.json = o.json;
    return {};
}

// One state point: two of -t, --rh, --ts, --d, --h and --tl.
std::string checkStatePoint(const ReadOptions& o, CliArguments& a)
{
    if (o.chartProcess)
        return "--chart-process 只用于 --batch：过程线连接批量计算中相邻的各行";
    if (o.jobs)
        return "--jobs 只能与 --batch 一起使用";
    if (o.json)
        return "--json 只用于 --design";
    const std::pair<Quantity, const std::optional<std::string>*> properties[] = {
        {Quantity::t, &o.t}, {Quantity::psi, &o.rh}, {Quantity::ts, &o.ts},
        {Quantity::d, &o.d}, {Quantity::h, &o.h},    {Quantity::tl, &o.tl},
    };
    std::vector<std::pair<Quantity, std::string>> given;
    for (const auto& [quantity, text] : properties) {
        if (*text)
            given.emplace_back(quantity, **text);
    }
    if (given.size() != 2) {
        return given.size() < 2 ? "缺少已知参数：状态点由 -t、--rh、--ts、--d、--h、--tl 中的两个确定（通常是 -t 与 --rh 或 --ts）"
                                : "已知参数过多：-t、--rh、--ts、--d、--h、--tl 中只能给出两个";
    }
    a.action = CliArguments::Action::StatePoint;
    if (o.B)
        a.B = *o.B;
    if (a.altitude) {
        a.pressure = PressureAtAltitudeRounded(*a.altitude);
        a.B = FormatFixed(*a.pressure, 0);
    }
    if (o.upsilon)
        a.upsilon = *o.upsilon;
    // t with ψ or ts is the calculation window's own; any other pair is a
    // state from two properties.
    if (given[0].first == Quantity::t && (given[1].first == Quantity::psi || given[1].first == Quantity::ts)) {
        a.t = given[0].second;
        a.mode = given[1].first == Quantity::psi ? InputMode::PsiKnown : InputMode::TsKnown;
        a.humidity = given[1].second;
        return {};
    }
    a.pair = PairInputs{a.B, a.upsilon, given[0].first, given[0].second, given[1].first, given[1].second, a.pressure};
    return {};
}

}  // namespace

CalcInputs StatePointInputs(const CliArguments& a)
{
    const bool psiKnown = a.mode == InputMode::PsiKnown;
    return {a.B, a.upsilon, a.t, psiKnown ? std::string() : a.humidity, psiKnown ? a.humidity : std::string(),
            a.pressure};
}

CliArguments ParseArguments(const std::vector<std::string>& args)
{
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            CliArguments a;
            a.action = CliArguments::Action::Help;
            return a;
        }
    }
    ReadOptions o;
    CliArguments a;
    std::string error = readOptions(args, o);
    if (error.empty())
        error = checkShared(o, a);
    if (error.empty())
        error = o.batch ? checkBatch(o, a) : o.design ? checkDesign(o, a) : checkStatePoint(o, a);
    return error.empty() ? a : usageError(std::move(error));
}

int JobsToRun(const CliArguments& a)
{
    return a.jobs > 0 ? a.jobs : std::min(UsableCores(), kMaxJobs);
}

std::string ChartRangeProblem(double B, const ChartRange& range)
{
    if (ChartLines(B, range).hasDomain())
        return {};
    return "图的范围内没有未饱和的空气（含湿量都高于最高温度下的饱和含湿量），请放宽 --chart-t 或 --chart-d";
}

const char* UsageText()
{
    return "用法：\n"
           "  nimbara-calc [-B 大气压力B | --altitude 海拔] [-u 空气流速υ] -t 干球温度t (--rh 相对湿度ψ | --ts 湿球温度ts)\n"
           "               [--chart 图表文件 [--chart-t 最小:最大] [--chart-d 最小:最大]]\n"
           "  nimbara-calc --batch [文件] [--altitude 海拔] [--chart 图表文件 [--chart-t …] [--chart-d …] [--chart-process]] [--jobs 数目]\n"
           "  nimbara-calc --help\n";
}

std::string HelpText()
{
    // The limits as the program holds them, so the help cannot fall behind.
    const auto n = [](double value) { return FormatShortest(value); };
    const CsvLimits limits;
    return std::string("nimbara-calc：湿空气状态点计算（命令行）\n"
                       "\n")
           + UsageText()
           + "\n"
             "计算一个状态点：\n"
             "  -B 数值       大气压力B，Pa（默认 " + kDefaultBText + "）\n"
             "  -u 数值       空气流速υ，m/s（默认 " + kDefaultUpsilonText + "）\n"
             "  --altitude 米 海拔高度，" + n(kAltitudeMin) + " … " + n(kAltitudeMax) + " m，代替 -B：B 取标准大气在该高度的压力\n"
             "                B = 101325·(1 − 2.25577×10⁻⁵·Z)^5.2559 Pa（ASHRAE 手册 基础篇 第1章 式3），\n"
             "                取整到 1 Pa 后像 -B 的数值一样使用\n"
             "  -t 数值       干球温度t，℃\n"
             "  --rh 数值     相对湿度ψ，%（已知t、υ和相对湿度ψ）\n"
             "  --ts 数值     湿球温度ts，℃（已知t、υ和湿球温度ts）\n"
             "  每个数值都像计算窗口输入框里的文字一样读取：取开头的数字，例如 27℃ 读作 27。\n"
             "  输出与记录本相同的十二行数值，从大气压力B到露点温度tl。\n"
             "\n"
             "批量计算：\n"
             "  --batch [文件]  读取 CSV 文件（省略文件或写 - 时读标准输入）。表头必须有\n"
             "                  mode,B,upsilon,t,value 这几列，顺序不限，其他列原样输出。\n"
             "                  mode 为 psi 时 value 是相对湿度ψ（%），为 ts 时 value 是湿球温度ts（℃）。\n"
             "                  输出 CSV：输入的各列，然后是\n"
             "                  ts,psi,d,h,rho,v,Pqb,Pqbs,Pq,tl,status,message；\n"
             "                  status 为 ok、incomplete（输入不完整）、dew-point-range（露点超出公式范围）\n"
             "                  或 error（计算失败或该行格式有误）；incomplete 和 error 的 message\n"
             "                  以“第N行：”开头，N 是该记录在输入中开始的行号（引号内的换行也算一行）。\n"
             "                  每一行输出的列数都与表头相同：字段比表头少的记录补空字段，多的截去\n"
             "                  多出的字段，status 为 error，message 说明原因。\n"
             "                  一条记录最长 " + std::to_string(limits.maxRecordBytes) + " 字节（"
           + std::to_string(limits.maxRecordBytes >> 20) + " MiB，不含行尾），最多 " + std::to_string(limits.maxFields)
           + " 个字段。超过上限的\n"
             "                  记录输出为一行 error（输入各列留空），从超限处之后的第一个换行处接着读，\n"
             "                  引号从那里重新计算：没有闭合的引号因此最多吞掉约 " + std::to_string(limits.maxRecordBytes >> 20) + " MiB 的输入，\n"
             "                  message 写明跳过了哪几行。\n"
             "                  输入不是普通文件（管道、FIFO、终端）时，每算完一行就立即写出。\n"
             "                  读取输入出错时，先写出已经读完的各行，再报告出错的行号；写出结果\n"
             "                  失败（如磁盘已满、管道已关闭）时立即停止，不再读取。\n"
             "  --jobs 数目    同时计算的行数（1 到 " + std::to_string(kMaxJobs) + "），默认为本进程可用的处理器个数。\n"
             "                  输出与 --jobs 1 逐字节相同：各行按输入的顺序写出，出错时的行为也一样。\n"
             "                  可用 altitude 列（海拔，m）代替 B 列；有 B 列时 altitude 只是普通的列。\n"
             "                  给出 --altitude 时输入中不能有 B 列或 altitude 列，各行都用该海拔的 B。\n"
             "\n"
             "焓湿图（h-d 图）：\n"
             "  --chart 文件   另把焓湿图写入该文件，类型由结尾决定：.png（A4 横向，300 dpi）、\n"
             "                .svg（矢量，文字仍为文字）或 .pdf（一页 A4 横向，矢量）。\n"
             "                文件先写入临时文件，全部写完才替换原文件；失败时不留下任何文件。\n"
             "                计算一个状态点时，图中标出该点及其 t、ψ、d、h（数值照常输出）。\n"
             "                批量计算时，status 为 ok 或 dew-point-range 的各行都画在图上，\n"
             "                以 label 列（可选）命名，没有时用行号（第一条数据为 1）；\n"
             "                其余各行不画，行数写在标准错误上。CSV 输出不变。\n"
             "                图按（第一个点的）大气压力 B 绘制；B 不同的点仍按其自身的 d、h 标出，图中注明。\n"
             "                范围以外的点不画，个数在图例中注明；多于 " + std::to_string(kMaxLabelledPoints) + " 个点时只画点，不逐点标注。\n"
             "  --chart-t 最小:最大   干球温度范围，℃（默认 " + n(ChartRange{}.tMin) + ":" + n(ChartRange{}.tMax) + "；在 "
           + n(kChartTLimitMin) + " … " + n(kChartTLimitMax) + " 之内，跨度 " + n(kChartTSpanMin) + " … " + n(kChartTSpanMax) + "）\n"
             "  --chart-d 最小:最大   含湿量范围，g/kg干（默认 " + n(ChartRange{}.dMin) + ":" + n(ChartRange{}.dMax) + "；在 0 … "
           + n(kChartDLimitMax) + " 之内，跨度 " + n(kChartDSpanMin) + " … " + n(kChartDSpanMax) + "）\n"
             "  --chart-process       （批量）用箭头依次连接相邻的点，标注焓差 Δh 与热湿比 ε = Δh/(Δd/1000)\n"
             "\n"
             "\n"
             "退出码：\n"
             "  0  计算一个状态点：成功；批量计算：输入全部读完、结果全部写出，不论各行的 status\n"
             "     （各行的成败看 status 列）\n"
             "  1  计算一个状态点：计算失败或输入不完整（此时不写图表）\n"
             "  2  用法错误；批量输入无法打开或读取、没有可用的表头；结果、帮助或图表无法写出\n"
             "     （图表文件的类型或范围有误、路径无法写入时，什么也不输出）\n";
}
