#include "state_point.h"

#include <array>

#include "io_errors.h"
#include "record_lines.h"

int RunStatePoint(InputMode mode, const std::string& B, const std::string& upsilon,
                  const std::string& t, const std::string& humidity, std::ostream& out,
                  std::ostream& err)
{
    const bool psiKnown = mode == InputMode::PsiKnown;
    CalcInputs inputs{B, upsilon, t, psiKnown ? std::string() : humidity,
                      psiKnown ? humidity : std::string()};
    const CalcOutcome outcome = CalculateStatePoint(mode, inputs);
    if (outcome.status == CalcStatus::Incomplete) {
        err << kIncompleteMessage << '\n';
        return kExitCalculationFailed;
    }
    if (outcome.status == CalcStatus::Failure) {
        err << outcome.message << '\n';
        return kExitCalculationFailed;
    }

    // The boxes of the calculation window: inputs as typed, results as written.
    std::array<std::string, 16> boxes;
    boxes[1] = inputs.B;
    boxes[2] = inputs.upsilon;
    boxes[3] = inputs.t;
    boxes[4] = inputs.ts;
    boxes[5] = inputs.psi;
    for (const BoxWrite& write : outcome.writes)
        boxes[static_cast<std::size_t>(write.box)] = write.text;

    std::string text;
    for (const RecordLine& line : kRecordLines) {
        text += line.prefix;
        text += boxes[static_cast<std::size_t>(RecordSourceBox(line, mode))];
        text += line.suffix;
        text += '\n';
    }
    if (!WriteText(out, text, err, "结果"))
        return kExitUsage;
    if (outcome.dewPointOutOfRange)
        err << kDewPointMessage << '\n';
    return kExitOk;
}
