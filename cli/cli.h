#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <vector>

// The whole of nimbara-calc on streams: reads the arguments after the program
// name, runs what they ask for and returns the exit code (0 success, 1 a
// calculation failure or incomplete input, 2 a usage error or unreadable
// batch input).
int RunCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
           std::ostream& err);
