// main() of nimbara-calc.
#include <iostream>
#include <string>
#include <vector>

#include "chart_program.h"
#include "cli.h"

int main(int argc, char** argv)
{
    std::ios::sync_with_stdio(false);  // the batch path streams through std::cin/std::cout
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (ChartRequested(args))
        return ExecChartProgram(argv, std::cerr);
    return RunCli(args, std::cin, std::cout, std::cerr);
}
