// nimbara-calc as a function of its arguments and streams.
#include "cli.h"

#include "arguments.h"
#include "batch.h"
#include "design_sheet.h"
#include "io_errors.h"
#include "state_point.h"

int RunCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
           std::ostream& err, ChartRunner chart)
{
    const CliArguments a = ParseArguments(args);
    const bool calculation = a.action == CliArguments::Action::Batch || a.action == CliArguments::Action::StatePoint
                             || a.action == CliArguments::Action::Design;
    if (calculation && !a.chartFile.empty()) {
        if (!chart) {
            err << "nimbara-calc：这里不能绘制焓湿图（需要 nimbara-calc-chart）\n";
            return kExitUsage;
        }
        return chart(a, in, out, err);
    }
    switch (a.action) {
    case CliArguments::Action::Help:
        return WriteText(out, HelpText(), err, "帮助") ? kExitOk : kExitUsage;
    case CliArguments::Action::UsageError:
        err << "nimbara-calc：" << a.error << '\n' << UsageText();
        return kExitUsage;
    case CliArguments::Action::Batch:
        return RunBatchFile(a.batchFile, in, out, err,
                            {.altitude = a.altitude, .jobs = JobsToRun(a)});
    case CliArguments::Action::Design: {
        const DesignRun run = CalculateDesign(a.designFile, in, err);
        return run.code == kExitOk ? PrintDesign(run, a.json, out, err) : run.code;
    }
    case CliArguments::Action::StatePoint:
        break;
    }
    return PrintStatePoint(CalculateCliPoint(a), out, err);
}
