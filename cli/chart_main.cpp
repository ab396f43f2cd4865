// nimbara-calc-chart: nimbara-calc with the h–d chart, started by nimbara-calc
// when a run asks for a chart.
#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "chart_run.h"
#include "cli.h"

int main(int argc, char** argv)
{
    // A write past the file size limit (ulimit -f) then fails with a reason
    // to report, the earlier file kept, instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    return RunCli(args, std::cin, std::cout, std::cerr, RunWithChart);
}
