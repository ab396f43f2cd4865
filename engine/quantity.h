// The thirteen quantities of a state point: name, unit, display pattern, and
// which of them each input mode reads.
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
    int decimals;  // the "0.00…" display pattern's decimals, or one of the two above
};

// One row per quantity, in the order of Quantity. The results of a mode come
// in the order of these rows: the humidity result first (ts or ψ), then d, h,
// ρ, v, Pqb, Pqbs, Pq, and the dew point tl last.
inline constexpr QuantityInfo kQuantities[kQuantityCount] = {
    {Quantity::B, "B", "B", "Pa", &StatePoint::B, kTypedInput},
    {Quantity::upsilon, "upsilon", "υ", "m/s", &StatePoint::upsilon, kTypedInput},
    {Quantity::t, "t", "t", "℃", &StatePoint::t, kTypedInput},
    {Quantity::ts, "ts", "ts", "℃", &StatePoint::ts, 2},
    {Quantity::psi, "psi", "ψ", "%", &StatePoint::psi, kPercentOfFraction},
    {Quantity::d, "d", "d", "g/kg干", &StatePoint::d, 2},
    {Quantity::h, "h", "h", "kJ/kg干", &StatePoint::h, 5},
    {Quantity::rho, "rho", "ρ", "kg/m³", &StatePoint::rho, 3},
    {Quantity::v, "v", "v", "m³/kg", &StatePoint::v, 5},
    {Quantity::Pqb, "Pqb", "Pqb", "Pa", &StatePoint::Pqb, 2},
    {Quantity::Pqbs, "Pqbs", "Pqbs", "Pa", &StatePoint::Pqbs, 2},
    {Quantity::Pq, "Pq", "Pq", "Pa", &StatePoint::Pq, 5},
    {Quantity::tl, "tl", "tl", "℃", &StatePoint::tl, 2},
};

inline const QuantityInfo& Info(Quantity q) { return kQuantities[static_cast<int>(q)]; }

// Whether the mode reads q (B, υ, t and its humidity: ψ, or ts) rather than
// calculating it.
inline bool IsTyped(Quantity q, InputMode mode)
{
    return q == Quantity::B || q == Quantity::upsilon || q == Quantity::t
           || q == (mode == InputMode::PsiKnown ? Quantity::psi : Quantity::ts);
}

// Whether the calculation computes q in the given mode.
inline bool IsResult(Quantity q, InputMode mode) { return !IsTyped(q, mode); }

inline double ValueOf(const StatePoint& point, Quantity q) { return point.*Info(q).field; }

// ψ as it is shown, in percent: the fraction in the pattern
// "0.0000" read back and multiplied by 100 (0.4672796 gives 46.73).
double PercentShown(double fraction);

// q's value in its display pattern, as it is shown ("19.03",
// "53.60034", ψ 0.4672796 as "46.73"). The typed inputs B, υ and t, which no
// result shows, in their shortest form. The dew point is formatted here
// even outside the range in which the calculation shows it.
std::string DisplayText(const StatePoint& point, Quantity q);
