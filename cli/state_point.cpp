// One state point from the command line, printed as the value lines of a record.
#include "state_point.h"

#include "io_errors.h"
#include "record_lines.h"

CliPoint CalculateCliPoint(InputMode mode, const CalcInputs& inputs)
{
    return {mode, inputs, CalculateStatePoint(mode, inputs)};
}

int PrintStatePoint(const CliPoint& point, std::ostream& out, std::ostream& err)
{
    const CalcOutcome& outcome = point.outcome;
    if (outcome.status == CalcStatus::Incomplete) {
        err << kIncompleteMessage << '\n';
        return kExitCalculationFailed;
    }
    if (outcome.status == CalcStatus::Failure) {
        err << FailureMessage(outcome.failure) << '\n';
        return kExitCalculationFailed;
    }

    // Inputs as typed, results as the window would show them.
    std::string text;
    for (const RecordLine& line : kRecordLines) {
        text += line.prefix;
        text += ShownText(point.inputs, outcome, point.mode, line.quantity);
        text += line.suffix;
        text += '\n';
    }
    if (!WriteText(out, text, err, "结果"))
        return kExitUsage;
    if (outcome.dewPointOutOfRange)
        err << kDewPointMessage << '\n';
    return kExitOk;
}

int RunStatePoint(InputMode mode, const CalcInputs& inputs, std::ostream& out, std::ostream& err)
{
    return PrintStatePoint(CalculateCliPoint(mode, inputs), out, err);
}
