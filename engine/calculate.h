// The calculate request: from the five typed texts to a state point and the
// texts of its results.
#pragma once

#include <optional>
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

    // B already as a number (the standard atmosphere's at an altitude): the
    // calculation takes it instead of reading `B`, which is then only the
    // text shown for it.
    std::optional<double> pressure;
};

// B and υ as the calculation window opens with them typed, and as nimbara-calc
// takes them when they are not given: the standard atmosphere's 101325 Pa at
// sea level, and 2.5 m/s past the wet bulb.
inline constexpr const char* kDefaultBText = "101325";
inline constexpr const char* kDefaultUpsilonText = "2.5";

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

// Why the formulas have no value for the inputs, with the quantity to blame:
// each names what the engineer should correct.
enum class CalcCause {
    None,
    NotFinite,                 // the blamed input is beyond what a number holds
    BelowAbsoluteZero,         // the blamed temperature (t or ts) is at or below −273.15 °C
    VelocityNotPositive,       // υ ≤ 0
    HumidityNegative,          // ψ < 0
    PressureBelowVapour,       // B ≤ Pq
    PressureBelowWetBulb,      // B ≤ the saturation pressure at ts (ts known)
    MoistureNegative,          // ts so far below t that d < 0
    WetBulbAboveDryBulb,       // ts > t
    SearchFailed,              // no grid value of the wet-bulb search meets the tolerance
    PsychrometerTermTooLarge,  // A·(t − ts)·B beyond every saturation pressure: B or υ to blame
    NoWetBulbAtThisDryBulb,    // A·(t − ts)·B beyond the saturation pressure at this t already
    ResultNotFinite,           // a result beyond what a number holds
    // A state from two properties:
    BelowDryAir,               // the blamed property makes d negative
    Supersaturated,            // the blamed property puts the air beyond saturation (ψ > 100 %, fog)
    DewPointOutsideFit,        // tl outside 0 … 65 °C, where the dew-point fit holds
    PairNotIndependent,        // the two properties fix the same thing (d and tl, or one twice)
    PairIllConditioned,        // ts and h: wet-bulb lines run almost along the isenthalps
    NoStateForPair,            // no air at this B has both values
};

struct CalcFailure {
    CalcCause cause = CalcCause::None;
    Quantity blamed = Quantity::B;
    explicit operator bool() const { return cause != CalcCause::None; }
};

struct CalcOutcome {
    CalcStatus status = CalcStatus::Incomplete;
    CalcFailure failure;                 // why (Failure only)
    StatePoint point;                    // the new state point (Ok only)
    std::vector<QuantityText> results;   // ts or ψ, d, h, ρ, v, Pqb, Pqbs, Pq, and tl last
    bool dewPointOutOfRange = false;     // tl's text empty; the dew-point message follows
    long searchSteps = 0;                // 0.005 K steps of the wet-bulb search, also when it failed
};

// The dew-point fit holds from 0 to 65 °C, and only for air with some vapour:
// outside that tl is computed but not shown.
inline constexpr double kDewPointFitLow = 0;
inline constexpr double kDewPointFitHigh = 65;
inline bool DewPointInFit(const StatePoint& s)
{
    return s.Pq > 0 && s.tl >= kDewPointFitLow && s.tl <= kDewPointFitHigh;
}

// The messages of incomplete input and of a dew point out of the fit's range.
inline constexpr const char* kIncompleteMessage = "请把已知参数输入完整";
inline constexpr const char* kDewPointMessage = "对不起，目前还无法用公式计算此时的露点温度tl！";

// Computes the state point from the five typed texts in the given mode.
// Pure: touches no window and keeps no state.
CalcOutcome CalculateStatePoint(InputMode mode, const CalcInputs& inputs);

// Why SearchWetBulb(B, υ, t, Pq) found no wet bulb, as the calculation
// words it: for every calculation that searches.
CalcFailure WetBulbSearchFailure(double B, double upsilon, double t);

// The failure's message, in Chinese, as the window, nimbara-calc and the batch
// all show it; empty for no failure.
std::string FailureMessage(const CalcFailure& failure);

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
