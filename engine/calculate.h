// The calculate request: from the five typed texts to a state point and the
// texts of its results.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "quantity.h"
#include "statepoint.h"

// The five typed texts, exactly as typed.
struct CalcInputs {
    std::string B;        // Pa
    std::string upsilon;  // m/s
    std::string t;        // °C
    std::string ts;       // °C (ts-known mode)
    std::string psi;      // % (ψ-known mode)
};

// One result in its display pattern.
struct QuantityText {
    Quantity quantity;
    std::string text;
};

enum class CalcStatus {
    Ok,          // a new state point; `results` lists every result's text in order
    Incomplete,  // a needed typed text is empty; nothing changes
    Failure,     // the formulas have no value for these inputs; nothing changes
};

struct CalcOutcome {
    CalcStatus status = CalcStatus::Incomplete;
    std::string message;                 // the failure's message (Failure only)
    StatePoint point;                    // the new state point (Ok only)
    std::vector<QuantityText> results;   // ts or ψ, d, h, ρ, v, Pqb, Pqbs, Pq, and tl last
    bool dewPointOutOfRange = false;     // tl's text empty; the dew-point message follows
    long searchSteps = 0;                // 0.005 K steps of the wet-bulb search, also when it failed
};

// The messages of incomplete input and of a dew point out of the fit's range.
inline constexpr const char* kIncompleteMessage = "请把已知参数输入完整";
inline constexpr const char* kDewPointMessage = "对不起，目前还无法用公式计算此时的露点温度tl！";

// Computes the state point from the five typed texts in the given mode.
// Pure: touches no window and keeps no state.
CalcOutcome CalculateStatePoint(InputMode mode, const CalcInputs& inputs);

// The typed text of q in this mode; empty when the mode does not read q.
const std::string& TypedText(const CalcInputs& inputs, InputMode mode, Quantity q);

// The text the calculation gave q; empty when q is typed in its mode, or when
// the calculation gave none (it did not succeed, or the dew point is out of
// range).
std::string_view ResultText(const CalcOutcome& outcome, Quantity q);

// What is shown for q after the calculation: the typed text of a quantity
// the mode reads, or the result.
std::string_view ShownText(const CalcInputs& inputs, const CalcOutcome& outcome, InputMode mode,
                           Quantity q);
