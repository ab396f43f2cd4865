// One state point from the command line.
#pragma once

#include <ostream>
#include <string>

#include "arguments.h"
#include "calculate.h"
#include "exit_codes.h"
#include "pair.h"

// One state point from the texts B (or B as a number), υ, t and ψ (ψ-known
// mode) or ts (ts-known mode), passed to CalculateStatePoint unchanged, or
// from any other two properties; calculated, then printed in a second step,
// so that a run can check more between them (the chart's range at the
// point's B).
struct CliPoint {
    InputMode mode;
    CalcInputs inputs;
    std::optional<PairInputs> pair;  // a state from two properties instead
    CalcOutcome outcome;
};
CliPoint CalculateCliPoint(InputMode mode, const CalcInputs& inputs);
// The point the command line asks for: either mode, or two properties.
CliPoint CalculateCliPoint(const CliArguments& a);

// On success writes the twelve value lines of a notebook record (lines 4–15)
// to `out`, filled from the texts the calculation window would show (the
// given ones as typed), and returns kExitOk; a dew point out of range leaves
// that line's value empty and writes the dew-point message to `err`.
// Incomplete input or a failure writes its message to `err`, nothing to
// `out`, and returns kExitCalculationFailed. When `out` cannot be written,
// says so on `err` and returns kExitUsage.
int PrintStatePoint(const CliPoint& point, std::ostream& out, std::ostream& err);
