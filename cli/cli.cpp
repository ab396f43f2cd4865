// nimbara-calc as a function of its arguments and streams.
#include "cli.h"

#include <algorithm>

#include "arguments.h"
#include "batch.h"
#include "cores.h"
#include "io_errors.h"
#include "state_point.h"

int RunCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
           std::ostream& err)
{
    const CliArguments a = ParseArguments(args);
    switch (a.action) {
    case CliArguments::Action::Help:
        return WriteText(out, HelpText(), err, "帮助") ? kExitOk : kExitUsage;
    case CliArguments::Action::UsageError:
        err << "nimbara-calc：" << a.error << '\n' << UsageText();
        return kExitUsage;
    case CliArguments::Action::Batch:
        return RunBatchFile(a.batchFile, in, out, err,
                            a.jobs > 0 ? a.jobs : std::min(UsableCores(), kMaxJobs));
    case CliArguments::Action::StatePoint:
        break;
    }
    return RunStatePoint(a.mode, a.B, a.upsilon, a.t, a.humidity, out, err);
}
