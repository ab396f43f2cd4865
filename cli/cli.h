// nimbara-calc as a function of its arguments and streams, for the program and the tests.
#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <vector>

struct CliArguments;

// The whole of nimbara-calc on streams: reads the arguments after the program
// name, runs what they ask for and returns the exit code: 0 success (for the
// batch: all input read and all rows written, whatever their statuses), 1 a
// failed or incomplete one-point calculation, 2 a usage error, batch input that
// cannot be opened or read, or output that cannot be written.
//
// A calculation with --chart is handed to `chart`; nimbara-calc itself has
// none (it starts nimbara-calc-chart for those) and says so if one reaches it.
using ChartRunner = int (*)(const CliArguments& a, std::istream& in, std::ostream& out,
                            std::ostream& err);
int RunCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
           std::ostream& err, ChartRunner chart = nullptr);
