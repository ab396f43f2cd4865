// The two calculations of nimbara-calc with a chart file beside their output:
// what nimbara-calc-chart runs.
#pragma once

#include <istream>
#include <ostream>

#include "arguments.h"

// One state point, printed as RunStatePoint does, and drawn labelled with its
// t, ψ, d and h. The file is opened first: an unwritable path stops the run
// before anything is printed. A calculation that fails writes no chart.
int RunStatePointWithChart(const CliArguments& a, std::ostream& out, std::ostream& err);

// The batch, its CSV output unchanged, with every row of status ok or
// dew-point-range drawn. Failed rows, points outside the range, rows of
// another B and an empty chart are said on `err`.
int RunBatchWithChart(const CliArguments& a, std::istream& in, std::ostream& out, std::ostream& err);

// Either of the two, as the arguments ask.
int RunWithChart(const CliArguments& a, std::istream& in, std::ostream& out, std::ostream& err);
