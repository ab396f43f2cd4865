// main() of nimbara-calc.
#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "chart_program.h"
#include "cli.h"

int main(int argc, char** argv)
{
    // A write past the file size limit (ulimit -f) then fails with a reason
    // to report, the earlier file kept, instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    std::ios::sync_with_stdio(false);  // the batch path streams through std::cin/std::cout
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (ChartRequested(args))
        return ExecChartProgram(argv, std::cerr);
    return RunCli(args, std::cin, std::cout, std::cerr);
}
