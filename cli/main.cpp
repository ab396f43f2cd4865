// main() of nimbara-calc.
#include <iostream>
#include <string>
#include <vector>

#include "cli.h"

int main(int argc, char** argv)
{
    std::ios::sync_with_stdio(false);  // the batch path streams through std::cin/std::cout
    const std::vector<std::string> args(argv + 1, argv + argc);
    return RunCli(args, std::cin, std::cout, std::cerr);
}
