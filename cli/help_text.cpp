// nimbara-calc's usage and help texts.
#include "arguments.h"

#include "altitude.h"
#include "chartcontent.h"
#include "chartlines.h"
#include "csv_reader.h"
#include "display.h"

const char* UsageText()
{
    return "用法：\n"
           "  nimbara-calc [-B 大气压力B | --altitude 海拔] [-u 空气流速υ] -t 干球温度t (--rh 相对湿度ψ | --ts 湿球温度ts)\n"
           "               [--chart 图表文件 [--chart-t 最小:最大] [--chart-d 最小:最大]]\n"
           "  nimbara-calc [-B … | --altitude …] [-u …] 已知参数1 已知参数2   （-t、--rh、--ts、--d、--h、--tl 中的两个）\n"
           "  nimbara-calc --design 设计文件 [--json] [--chart 图表文件 [--chart-t …] [--chart-d …]]\n"
           "  nimbara-calc --batch [文件] [--altitude 海拔] [--chart 图表文件 [--chart-t …] [--chart-d …] [--chart-process]] [--jobs 数目]\n"
           "  nimbara-calc --help\n";
}

namespace {

// The help's sections, each with the limits as the program holds them, so
// the help cannot fall behind.
std::string pointHelp()
{
    const auto n = [](double value) { return FormatShortest(value); };
    return std::string()
           + "计算一个状态点：\n"
           "  -B 数值       大气压力B，Pa（默认 " + kDefaultBText + "）\n"
           "  -u 数值       空气流速υ，m/s（默认 " + kDefaultUpsilonText + "）\n"
           "  --altitude 米 海拔高度，" + n(kAltitudeMin) + " … " + n(kAltitudeMax) + " m，代替 -B：B 取标准大气在该高度的压力\n"
           "                B = 101325·(1 − 2.25577×10⁻⁵·Z)^5.2559 Pa（ASHRAE 手册 基础篇 第1章 式3），\n"
           "                取整到 1 Pa 后像 -B 的数值一样使用\n"
           "  -t 数值       干球温度t，℃\n"
           "  --rh 数值     相对湿度ψ，%（已知t、υ和相对湿度ψ）\n"
           "  --ts 数值     湿球温度ts，℃（已知t、υ和湿球温度ts）\n"
           "  --d 数值      含湿量d，g/kg干\n"
           "  --h 数值      焓值h，kJ/kg干\n"
           "  --tl 数值     露点温度tl，℃（0 … 65，露点公式的适用范围）\n"
           "  -t、--rh、--ts、--d、--h、--tl 中任意两个确定状态点（d 与 tl、ts 与 h 除外：前者是同一个量，\n"
           "  后者的线几乎平行）。-t 与 --rh 或 --ts 照计算窗口计算；其他组合用已知 ψ 时的公式：\n"
           "  d 与 Pq 由 B 互求，h = 1.01·t + 0.001·d·(2501 + 1.84·t)，ts 由湿球公式逐步搜索，\n"
           "  tl 由露点公式；给出的参数原样显示，其他参数为计算值（算出的 t 取两位小数）。\n"
           "  每个数值都像计算窗口输入框里的文字一样读取：取开头的数字，例如 27℃ 读作 27。\n"
           "  输出与记录本相同的十二行数值，从大气压力B到露点温度tl。\n";
}

std::string batchHelp()
{
    const CsvLimits limits;
    return std::string()
           + "批量计算：\n"
           "  --batch [文件]  读取 CSV 文件（省略文件或写 - 时读标准输入）。表头必须有\n"
           "                  mode,B,upsilon,t,value 这几列，顺序不限，其他列原样输出。\n"
           "                  mode 为 psi 时 value 是相对湿度ψ（%），为 ts 时 value 是湿球温度ts（℃）。\n"
           "                  也可以不要 mode 和 value 列，改用 psi、d、h、tl 中的一列，与 t 一起确定各行的状态点；\n"
           "                  这时该列的结果字段留空（数值就是输入）。\n"
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
           "                  给出 --altitude 时输入中不能有 B 列或 altitude 列，各行都用该海拔的 B。\n";
}

std::string chartHelp()
{
    const auto n = [](double value) { return FormatShortest(value); };
    return std::string()
           + "焓湿图（h-d 图）：\n"
           "  --chart 文件   另把焓湿图写入该文件，类型由结尾决定：.png（A4 横向，300 dpi）、\n"
           "                .svg（矢量，文字仍为文字）或 .pdf（一页 A4 横向，矢量）。\n"
           "                文件先写入临时文件，全部写完才替换原文件；失败时不留下任何文件。\n"
           "                计算一个状态点时，图中标出该点及其 t、ψ、d、h、ts、tl（数值照常输出）。\n"
           "                批量计算时，status 为 ok 或 dew-point-range 的各行都画在图上，\n"
           "                以 label 列（可选）命名，没有时用行号（第一条数据为 1）；\n"
           "                from 列（可选）写出该行箭头起点的 label（多个用 ; 分隔，如 W;N），\n"
           "                有 from 列时箭头按它画，不按行序；\n"
           "                其余各行不画，行数写在标准错误上。CSV 输出不变。\n"
           "                图按（第一个点的）大气压力 B 绘制；B 不同的点仍按其自身的 d、h 标出，图中注明。\n"
           "                范围以外的点不画，个数在图例中注明；多于 " + std::to_string(kMaxLabelledPoints) + " 个点时只画点，不逐点标注。\n"
           "  --chart-t 最小:最大   干球温度范围，℃（默认 " + n(ChartRange{}.tMin) + ":" + n(ChartRange{}.tMax) + "；在 "
           + n(kChartTLimitMin) + " … " + n(kChartTLimitMax) + " 之内，跨度 " + n(kChartTSpanMin) + " … " + n(kChartTSpanMax) + "）\n"
           "  --chart-d 最小:最大   含湿量范围，g/kg干（默认 " + n(ChartRange{}.dMin) + ":" + n(ChartRange{}.dMax) + "；在 0 … "
           + n(kChartDLimitMax) + " 之内，跨度 " + n(kChartDSpanMin) + " … " + n(kChartDSpanMax) + "）\n"
           "  --chart-lines ts,v    另画湿球温度线 ts（按计算所用的空气流速υ，即湿球公式给出该 ts 的空气）\n"
           "                        和比容线 v（每 0.01 m³/kg，每 0.05 标注），虚线\n"
           "  --chart-process       （批量）用箭头依次连接相邻的点，标注焓差 Δh 与热湿比 ε = Δh/(Δd/1000)\n";
}

std::string designAndExitHelp()
{
    return std::string()
           + "空调过程设计：\n"
           "  --design 文件  读取 JSON 格式的设计（写 - 时读标准输入），输出中文计算书：已知条件、热湿比ε、\n"
           "                各状态点（N 室内、W 室外、C 混合、H 加热后、L 机器露点或喷水后、O 送风）的\n"
           "                t、ψ、d、h、ts、tl、ρ，送风量 G（kg/s 与 m³/h），负荷与校核。\n"
           "                键（国际单位）：B（Pa）或 altitude（m），upsilon（m/s，默认 2.5），\n"
           "                season：summer | winter，system：direct | primary-return | secondary-return（仅夏季），\n"
           "                room、outdoor：t、rh（%）、ts、d、h、tl 中的两个，load：{Q（kW，冬季失热为负），W（g/s）}，\n"
           "                fresh_air_ratio（新风在送风中的质量比，0 … 1，直流不用），\n"
           "                supply：{dt} 或 {t}，夏季也可 {rh}（露点送风），coil_rh（机器露点ψL，%，默认 90），\n"
           "                冬季可用 G（kg/s）代替 supply，humidifier：spray（喷水，等焓）| steam（干蒸汽，等温）。\n"
           "  --json        以 JSON 输出计算书的数值（epsilon、G、G_m3h、points、loads、checks、processes）。\n"
           "  --chart 文件  另画焓湿图：各点、过室内点的ε线、W 与 N 的混合线和过程线。\n"
           "  设计文件有误（JSON 语法、未知或缺少的键、单位）时退出码为 2；设计不能成立时为 1，并说明原因。\n"
           "\n"
           "退出码：\n"
           "  0  计算一个状态点：成功；批量计算：输入全部读完、结果全部写出，不论各行的 status\n"
           "     （各行的成败看 status 列）\n"
           "  1  计算一个状态点：计算失败或输入不完整；设计不能成立（此时都不写图表）\n"
           "  2  用法错误；批量输入无法打开或读取、没有可用的表头；结果、帮助或图表无法写出\n"
           "     （图表文件的类型或范围有误、路径无法写入时，什么也不输出）\n";
}

}  // namespace

std::string HelpText()
{
    return std::string("nimbara-calc：湿空气状态点计算（命令行）\n\n") + UsageText() + "\n" + pointHelp() + "\n" + batchHelp()
           + "\n" + chartHelp() + "\n" + designAndExitHelp();
}
