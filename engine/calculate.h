// The calculate request: from the five input box texts to a state point and
// the texts of the result boxes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "quantity.h"
#include "statepoint.h"

// The five input box texts, exactly as typed.
struct CalcInputs {
    std::string B;        // Text1, Pa
    std::string upsilon;  // Text2, m/s
    std::string t;        // Text3, °C
    std::string ts;       // Text4, °C (ts-known mode)
    std::string psi;      // Text5, % (ψ-known mode)
};

// One result box text to write: `box` is the number of the calculation
// window's box (6 for Text6 … 15 for Text15).
struct BoxWrite {
    int box;
    std::string text;
};

enum class CalcStatus {
    Ok,          // a new state point; `writes` lists every box text in order
    Incomplete,  // a needed input box is empty; nothing changes
    Failure,     // the formulas have no value for these inputs; nothing changes
};

struct CalcOutcome {
    CalcStatus status = CalcStatus::Incomplete;
    std::string message;                 // the failure's message (Failure only)
    StatePoint point;                    // the new state point (Ok only)
    std::vector<BoxWrite> writes;        // Text6 or Text7, Text8…12, 14, 15, Text13 last
    bool dewPointOutOfRange = false;     // Text13 emptied; the dew-point message follows
    long searchSteps = 0;                // 0.005 K steps of the wet-bulb search, also when it failed
};

// The messages the window shows, with their titles.
inline constexpr const char* kIncompleteTitle = "提醒";
inline constexpr const char* kIncompleteMessage = "请把已知参数输入完整";
inline constexpr const char* kCalcInfoTitle = "计算信息";
inline constexpr const char* kDewPointMessage = "对不起，目前还无法用公式计算此时的露点温度tl！";

// Computes the state point from the five input texts in the given mode.
// Pure: touches no window and keeps no state.
CalcOutcome CalculateStatePoint(InputMode mode, const CalcInputs& inputs);

// The typed text of an input box (1 = Text1 … 5 = Text5); empty for other boxes.
const std::string& InputText(const CalcInputs& inputs, int box);

// The text the calculation wrote into q's result box in this mode; empty when
// q is typed in this mode, or when the calculation wrote nothing (it did not
// succeed, or the dew point is out of range).
std::string_view ResultText(const CalcOutcome& outcome, InputMode mode, Quantity q);

// What the calculation window shows for q after the calculation: the typed
// text of an input, or the result written.
std::string_view ShownText(const CalcInputs& inputs, const CalcOutcome& outcome, InputMode mode,
                           Quantity q);
