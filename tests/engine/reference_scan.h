// The plain wet-bulb scan, a copy kept apart from the engine as the reference
// the exact search must match bit for bit, and the random search inputs the
// comparisons run on.
#pragma once

#include <cstdint>

#include "wetbulb.h"

// Every grid value decided by Pressure(), one after the other.
WetBulbSearch ReferenceSearchWetBulb(double B, double upsilon, double t, double Pq);

struct SearchInputs {
    double B, upsilon, t, Pq;
};

// Random arguments for SearchWetBulb over the range the calculation can hand
// it when the fuzzers drive it (finite t above absolute zero, υ > 0,
// B > Pq = Pressure(t)·ψ >= 0), drawn from a mix of regions, each chosen for
// what it exercises:
//   everyday air (t −30…60 °C, ψ 0…100 %, υ 0.1…20 m/s, B 50…120 kPa);
//   near saturation (ψ 95…105 %): the wet bulb above or just below t − 0.1,
//     the search ends or gives up within a few steps;
//   ice and low temperatures (t −100…5 °C), where a step can jump over the
//     tolerance band and the search gives up;
//   hot air (t 60…230 °C, B up to 10 MPa): long scans, past the formula's
//     upper end at 200 °C;
//   both sides of 0 °C (t −1…1 °C): searches that cross the switch of sets;
//   tiny and huge υ (10⁻⁶…10⁶ m/s) and B (1 Pa…1 TPa) at any ψ;
//   the end of the search placed within 0.02 K of 0 °C, ±2^e, −100, 200,
//     800 and −263 °C, where the grid's rounding, the set or the proof's
//     range changes;
//   anything the arithmetic holds: t −273.1…900 °C, ψ 10⁻³²⁰…100.5 %, B and υ
//     10⁻³⁰⁰…10³⁰⁰;
//   dry air (ψ = 0, Pq = 0);
//   and, rarely, absurd temperatures (−273…1e6 °C) that end at the step bound.
// Deterministic: the same seed gives the same inputs everywhere.
class SearchInputGenerator {
public:
    explicit SearchInputGenerator(std::uint64_t seed) : m_state(seed) {}
    SearchInputs next();

private:
    double uniform(double low, double high);
    double logUniform(double low, double high);
    std::uint64_t m_state;
};
