// The two calculations of nimbara-calc with a chart file beside their output:
// what nimbara-calc-chart runs.
#pragma once

#include <istream>
#include <ostream>

#include "arguments.h"

// One state point, printed as without a chart, and drawn labelled with its
// t, ψ, d and h. The file is opened first: an unwritable path stops the run
// before anything is printed. A calculation that fails writes no chart.
int RunStatePointWithChart(const CliArguments& a, std::ostream& out, std::ostream& err);

// The batch, its CSV output unchanged, with every row of status ok or
// dew-point-range drawn. Failed rows, points outside the range, rows of
// another B and an empty chart are said on `err`.
int RunBatchWithChart(const CliArguments& a, std::istream& in, std::ostream& out, std::ostream& err);

// A design's sheet (or JSON), and its chart: the points, the ε line through
// N, the mixing line W–N and the process arrows with Δh and ε. A design
// that cannot be built writes no chart.
int RunDesignWithChart(const CliArguments& a, std::istream& in, std::ostream& out, std::ostream& err);

// Any of the three, as the arguments ask.
int RunWithChart(const CliArguments& a, std::istream& in, std::ostream& out, std::ostream& err);
