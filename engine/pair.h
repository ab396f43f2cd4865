// A state of moist air from the barometric pressure and any two of t, ψ, ts,
// d, h and tl.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "calculate.h"

// One known property: t, ts and tl in °C, ψ in %, d in g/kg干, h in kJ/kg干.
struct Given {
    Quantity quantity;
    double value;
};

// Whether q can be one of the two: t, psi, ts, d, h or tl.
bool IsPairProperty(Quantity q);

struct PairState {
    CalcFailure failure;
    StatePoint point;                 // the whole state (no failure only)
    bool dewPointOutOfRange = false;  // tl outside 0 … 65 °C, where the fit holds
    bool wetBulbFound = true;         // false: ts and Pqbs are NaN (see below)
};

// What a failed wet-bulb search does: refuse the state (as the calculation
// window does), or leave ts out and keep the rest. The search's tolerance
// finds no wet bulb for many cold states (−15 ℃ at 60 %, −5 ℃ at 90 %) that a
// design still has to pass through; ts is only shown there, never used.
enum class WetBulb { Required, Optional };

// The state at B (Pa), with the wet bulb searched at υ (m/s), from two
// properties, computed as the ψ-known calculation computes: saturation by
// Pressure(), d and Pq from each other at B, h, ρ and v by their formulas, tl
// by the dew-point fit and ts by the exact wet-bulb search. Given values are
// kept as given; every other one follows:
//   t, ψ   Pq = Pressure(t)·ψ, bit for bit the ψ-known calculation;
//   t, ts  Pq = Pressure(ts) − A·(t − ts)·B, the psychrometer equation at υ;
//   t, h   d from the enthalpy formula solved for d;
//   d or tl fixes Pq (tl by the dew-point fit solved for Pq, 0 … 65 °C only);
//          with it t, or h (t = (h − 2.501·d) / (1.01 + 0.00184·d)), or ts
//          (the psychrometer equation solved for t), or ψ (Pressure(t) = Pq/ψ);
//   ψ with h or ts: t solved to the last bit along the line of that ψ.
// d with tl fix the same thing, and ts with h barely cross: both refused.
PairState StateFromPair(double B, double upsilon, Given first, Given second,
                        WetBulb wetBulb = WetBulb::Required);

// The same from typed texts, for nimbara-calc and the batch.
struct PairInputs {
    std::string B;
    std::string upsilon;
    Quantity first = Quantity::t;
    std::string firstText;
    Quantity second = Quantity::psi;
    std::string secondText;
    std::optional<double> pressure;  // B as a number, as CalcInputs takes it
};

// Incomplete when a text is empty; results are every quantity but B, υ and
// the two given ones, a computed t with two decimals as ts.
CalcOutcome CalculateFromPair(const PairInputs& inputs);

// The typed text of B, υ and the given two, else the result.
std::string_view PairShownText(const PairInputs& inputs, const CalcOutcome& outcome, Quantity q);
