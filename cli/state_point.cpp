// One state point from the command line, printed as the value lines of a record.
#include "state_point.h"

#include "io_errors.h"
#include "record_lines.h"

CliPoint CalculateCliPoint(InputMode mode, const CalcInputs& inputs)
{
    return {mode, inputs, std::nullopt, CalculateStatePoint(mode, inputs)};
}

CliPoint CalculateCliPoint(const CliArguments& a)
{
    if (!a.pair)
        return CalculateCliPoint(a.mode, StatePointInputs(a));
    return {a.mode, {}, a.pair, CalculateFromPair(*a.pair)};
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
        text += point.pair ? PairShownText(*point.pair, outcome, line.quantity)
                           : ShownText(point.inputs, outcome, point.mode, line.quantity);
        text += line.suffix;
        text += '\n';
    }
    if (!WriteText(out, text, err, "结果"))
        return kExitUsage;
    if (outcome.dewPointOutOfRange)
        err << kDewPointMessage << '\n';
    return kExitOk;
}
