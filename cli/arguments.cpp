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
    std::optional<std::string> altitude, chart, chartT, chartD, chartLines, design;
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
            {"", "--chart-d", &o.chartD}, {"", "--chart-lines", &o.chartLines},
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
    if (!o.chart && (o.chartT || o.chartD || o.chartProcess || o.chartLines))
        return "--chart-t、--chart-d、--chart-lines 和 --chart-process 须与 --chart 文件 一起使用";
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
    if (o.chartLines) {
        // A comma-separated list of the optional line families.
        std::string_view list = *o.chartLines;
        while (true) {
            const std::size_t comma = list.find(',');
            const std::string_view name = list.substr(0, comma);
            if (name == "ts")
                a.chartWetBulbLines = true;
            else if (name == "v")
                a.chartVolumeLines = true;
            else
                return "--chart-lines 的线族“" + Printable(name) + "”未知：可用 ts（湿球温度线）和 v（比容线），以逗号分隔";
            if (comma == std::string_view::npos)
                break;
            list.remove_prefix(comma + 1);
        }
    }
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
