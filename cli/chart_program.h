// Hands a run that asks for a chart to nimbara-calc-chart, the same program
// with the chart linked in: plain calculations then never load Qt.
#pragma once

#include <ostream>
#include <string>
#include <vector>

// The helper's file name, and where it is installed relative to nimbara-calc.
inline constexpr const char* kChartProgramName = "nimbara-calc-chart";

// True when the arguments are a valid calculation that writes a chart
// (anything else, usage errors included, nimbara-calc answers itself).
bool ChartRequested(const std::vector<std::string>& args);

// Replaces this process by nimbara-calc-chart with the same arguments,
// looked for beside this program and in its installed place. Returns only
// on failure, with the exit code after saying why on `err`.
int ExecChartProgram(char** argv, std::ostream& err);
