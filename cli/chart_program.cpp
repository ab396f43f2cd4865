// Handing a chart run to nimbara-calc-chart.
#include "chart_program.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <unistd.h>

#include "arguments.h"
#include "exit_codes.h"

bool ChartRequested(const std::vector<std::string>& args)
{
    const CliArguments a = ParseArguments(args);
    return !a.chartFile.empty()
           && (a.action == CliArguments::Action::StatePoint || a.action == CliArguments::Action::Batch
               || a.action == CliArguments::Action::Design);
}

int ExecChartProgram(char** argv, std::ostream& err)
{
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) {
        err << "nimbara-calc：找不到本程序所在的目录，无法绘图\n";
        return kExitUsage;
    }
    const std::filesystem::path here = self.parent_path();
    for (const std::filesystem::path& helper :
         {here / kChartProgramName, here / NIMBARA_CHART_PROGRAM_RELATIVE / kChartProgramName}) {
        if (access(helper.c_str(), X_OK) != 0)
            continue;
        std::string path = helper.string();
        argv[0] = path.data();
        execv(path.c_str(), argv);
        err << "nimbara-calc：无法启动绘图程序“" << path << "”：" << std::strerror(errno) << '\n';
        return kExitUsage;
    }
    err << "nimbara-calc：找不到绘图程序 " << kChartProgramName << "（应在 " << here.string() << " 或 "
        << (here / NIMBARA_CHART_PROGRAM_RELATIVE).lexically_normal().string() << "），无法绘图\n";
    return kExitUsage;
}
