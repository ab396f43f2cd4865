// nimbara-calc's command line: options, usage and help texts.
#include "arguments.h"

#include <optional>
#include <string_view>

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

CliArguments ParseArguments(const std::vector<std::string>& args)
{
    std::optional<std::string> B, upsilon, t, rh, ts, batchFile, jobs;
    bool batch = false;

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            CliArguments a;
            a.action = CliArguments::Action::Help;
            return a;
        }
    }

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--batch") {
            if (batch)
                return usageError("选项 --batch 重复");
            batch = true;
            if (i + 1 < args.size()) {
                const std::string& next = args[i + 1];
                // "-" is standard input; any other argument that looks like an
                // option is left for the option loop (and rejected there).
                if (next == "-" || next.empty() || next[0] != '-') {
                    batchFile = next;
                    ++i;
                }
            }
            continue;
        }

        struct Target {
            std::string_view shortName;
            std::string_view longName;
            std::optional<std::string>* slot;
        };
        const Target targets[] = {
            {"-B", "", &B}, {"-u", "", &upsilon}, {"-t", "", &t}, {"", "--rh", &rh}, {"", "--ts", &ts},
            {"", "--jobs", &jobs},
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
                    return usageError("选项 " + std::string(name) + " 缺少数值");
                value = args[++i];
            }
            if (*target.slot)
                return usageError("选项 " + std::string(name) + " 重复");
            *target.slot = std::move(value);
            break;
        }
        if (!matched) {
            if (!arg.empty() && arg[0] == '-')
                return usageError("未知的选项 " + Printable(arg));
            return usageError("多余的参数 " + Printable(arg));
        }
    }

    if (batch) {
        if (B || upsilon || t || rh || ts)
            return usageError("--batch 不能与 -B、-u、-t、--rh、--ts 同时使用");
        CliArguments a;
        a.action = CliArguments::Action::Batch;
        a.batchFile = batchFile.value_or("");
        if (jobs) {
            a.jobs = jobCount(*jobs);
            if (a.jobs == 0)
                return usageError("--jobs 的数值应为 1 到 " + std::to_string(kMaxJobs) + " 之间的整数："
                                  + Printable(*jobs));
        }
        return a;
    }
    if (jobs)
        return usageError("--jobs 只能与 --batch 一起使用");
    if (!t)
        return usageError("缺少干球温度 -t");
    if (rh && ts)
        return usageError("--rh 与 --ts 只能给出其中一个");
    if (!rh && !ts)
        return usageError("缺少 --rh（相对湿度ψ）或 --ts（湿球温度ts）");

    CliArguments a;
    a.action = CliArguments::Action::StatePoint;
    if (B)
        a.B = *B;
    if (upsilon)
        a.upsilon = *upsilon;
    a.t = *t;
    a.mode = rh ? InputMode::PsiKnown : InputMode::TsKnown;
    a.humidity = rh ? *rh : *ts;
    return a;
}

const char* UsageText()
{
    return "用法：\n"
           "  nimbara-calc [-B 大气压力B] [-u 空气流速υ] -t 干球温度t (--rh 相对湿度ψ | --ts 湿球温度ts)\n"
           "  nimbara-calc --batch [文件] [--jobs 数目]\n"
           "  nimbara-calc --help\n";
}

const char* HelpText()
{
    return "nimbara-calc：湿空气状态点计算（命令行）\n"
           "\n"
           "用法：\n"
           "  nimbara-calc [-B 大气压力B] [-u 空气流速υ] -t 干球温度t (--rh 相对湿度ψ | --ts 湿球温度ts)\n"
           "  nimbara-calc --batch [文件] [--jobs 数目]\n"
           "  nimbara-calc --help\n"
           "\n"
           "计算一个状态点：\n"
           "  -B 数值       大气压力B，Pa（默认 101325）\n"
           "  -u 数值       空气流速υ，m/s（默认 2.5）\n"
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
           "                  一条记录最长 1048576 字节（1 MiB，不含行尾），最多 10000 个字段。超过上限的\n"
           "                  记录输出为一行 error（输入各列留空），从超限处之后的第一个换行处接着读，\n"
           "                  引号从那里重新计算：没有闭合的引号因此最多吞掉约 1 MiB 的输入，\n"
           "                  message 写明跳过了哪几行。\n"
           "                  输入不是普通文件（管道、FIFO、终端）时，每算完一行就立即写出。\n"
           "                  读取输入出错时，先写出已经读完的各行，再报告出错的行号；写出结果\n"
           "                  失败（如磁盘已满、管道已关闭）时立即停止，不再读取。\n"
           "  --jobs 数目    同时计算的行数（1 到 64），默认为本进程可用的处理器个数。\n"
           "                  输出与 --jobs 1 逐字节相同：各行按输入的顺序写出，出错时的行为也一样。\n"
           "\n"
           "退出码：\n"
           "  0  计算一个状态点：成功；批量计算：输入全部读完、结果全部写出，不论各行的 status\n"
           "     （各行的成败看 status 列）\n"
           "  1  计算一个状态点：计算失败或输入不完整\n"
           "  2  用法错误；批量输入无法打开或读取、没有可用的表头；结果或帮助无法写出\n";
}
