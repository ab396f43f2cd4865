// One state point from the command line.
#pragma once

#include <ostream>
#include <string>

#include "calculate.h"
#include "exit_codes.h"

// One state point from the texts B (or B as a number), υ, t and ψ (ψ-known
// mode) or ts (ts-known mode), passed to CalculateStatePoint unchanged. On success writes
// the twelve value lines of a notebook record (lines 4–15) to `out`, filled
// from the box texts the calculation window would show, and returns kExitOk;
// a dew point out of range leaves that line's value empty and writes the
// dew-point message to `err`. Incomplete input or a failure writes its message
// to `err`, nothing to `out`, and returns kExitCalculationFailed. When `out`
// cannot be written, says so on `err` and returns kExitUsage.
int RunStatePoint(InputMode mode, const CalcInputs& inputs, std::ostream& out, std::ostream& err);

// RunStatePoint in two steps, for a run that checks more between them (the
// chart's range at the point's B): the calculation, then what it prints.
struct CliPoint {
    InputMode mode;
    CalcInputs inputs;
    CalcOutcome outcome;
};
CliPoint CalculateCliPoint(InputMode mode, const CalcInputs& inputs);
int PrintStatePoint(const CliPoint& point, std::ostream& out, std::ostream& err);
