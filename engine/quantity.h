// The thirteen quantities of a state point: name, unit, display pattern and
// the box of the calculation window that holds each.
#pragma once

#include <string>

#include "statepoint.h"

// Which humidity quantity the user knows.
enum class InputMode {
    PsiKnown,  // B, υ, t and relative humidity ψ given; wet-bulb ts is searched
    TsKnown,   // B, υ, t and wet-bulb ts given; ψ follows from the energy balance
};

enum class Quantity { B, upsilon, t, ts, psi, d, h, rho, v, Pqb, Pqbs, Pq, tl };
inline constexpr int kQuantityCount = 13;

// Display patterns that are not a plain number of decimals.
inline constexpr int kTypedInput = -1;         // never a result: shown as typed
inline constexpr int kPercentOfFraction = -2;  // ψ: its "0.0000" fraction times 100, shortest form

struct QuantityInfo {
    Quantity quantity;
    const char* name;    // the record field's name, also its CSV column: "B", "upsilon", "psi" …
    const char* symbol;  // as the window's labels write it: "B", "υ", "ψ" …
    const char* unit;    // "Pa", "℃", "%" (ψ in percent), "g/kg干", "kg/m³" …
    double StatePoint::*field;
    int decimals;     // the "0.00…" display pattern's decimals, or one of the two above
    int psiKnownBox;  // the box (1 = Text1 … 15 = Text15) holding it in the ψ-known mode
    int tsKnownBox;   // the box holding it in the ts-known mode
};

// One row per quantity, in the order of Quantity. The results of a mode come
// in the order the calculation writes their boxes: the humidity result first
// (Text6 or Text7), then Text8 … Text12, Text14, Text15, and the dew point Text13 last.
inline constexpr QuantityInfo kQuantities[kQuantityCount] = {
    {Quantity::B, "B", "B", "Pa", &StatePoint::B, kTypedInput, 1, 1},
    {Quantity::upsilon, "upsilon", "υ", "m/s", &StatePoint::upsilon, kTypedInput, 2, 2},
    {Quantity::t, "t", "t", "℃", &StatePoint::t, kTypedInput, 3, 3},
    {Quantity::ts, "ts", "ts", "℃", &StatePoint::ts, 2, 6, 4},
    {Quantity::psi, "psi", "ψ", "%", &StatePoint::psi, kPercentOfFraction, 5, 7},
    {Quantity::d, "d", "d", "g/kg干", &StatePoint::d, 2, 8, 8},
    {Quantity::h, "h", "h", "kJ/kg干", &StatePoint::h, 5, 9, 9},
    {Quantity::rho, "rho", "ρ", "kg/m³", &StatePoint::rho, 3, 10, 10},
    {Quantity::v, "v", "v", "m³/kg", &StatePoint::v, 5, 11, 11},
    {Quantity::Pqb, "Pqb", "Pqb", "Pa", &StatePoint::Pqb, 2, 12, 12},
    {Quantity::Pqbs, "Pqbs", "Pqbs", "Pa", &StatePoint::Pqbs, 2, 14, 14},
    {Quantity::Pq, "Pq", "Pq", "Pa", &StatePoint::Pq, 5, 15, 15},
    {Quantity::tl, "tl", "tl", "℃", &StatePoint::tl, 2, 13, 13},
};

inline const QuantityInfo& Info(Quantity q) { return kQuantities[static_cast<int>(q)]; }

// Text1 … Text5 take the known values; Text6 … Text15 show results.
inline bool IsInputBox(int box) { return box >= 1 && box <= 5; }

// The box that holds q in the given mode.
inline int BoxOf(Quantity q, InputMode mode)
{
    return mode == InputMode::PsiKnown ? Info(q).psiKnownBox : Info(q).tsKnownBox;
}

// Whether the calculation computes q in the given mode (rather than reading it).
inline bool IsResult(Quantity q, InputMode mode) { return !IsInputBox(BoxOf(q, mode)); }

inline double ValueOf(const StatePoint& point, Quantity q) { return point.*Info(q).field; }

// ψ as its result box shows it, in percent: the fraction in the pattern
// "0.0000" read back and multiplied by 100 (0.4672796 gives 46.73).
double PercentShown(double fraction);

// q's value in its display pattern, as its result box shows it ("19.03",
// "53.60034", ψ 0.4672796 as "46.73"). The typed inputs B, υ and t, which no
// result box shows, in their shortest form. The dew point is formatted here
// even outside the range in which the calculation shows it.
std::string DisplayText(const StatePoint& point, Quantity q);
