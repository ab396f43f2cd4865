// The realistic batch rows the benchmarks share (B 95–105 kPa, υ 1–5 m/s, t 15–40 °C, ψ 20–80 %).
#pragma once

#include <cstdint>
#include <string>

// Realistic psychrometer readings for the batch benchmark, ψ-known mode:
// t uniform 15–40 °C (two decimals), ψ 20–80 % (one decimal), B 95,000–105,000
// Pa (whole pascals), υ 1–5 m/s (one decimal). The wet-bulb search takes a
// median of about 1,420 steps on these rows (t 10–40 °C with ψ 20–90 % would
// give only about 1,160). Deterministic: the same seed gives the same rows on
// every machine.
class BatchInput {
public:
    explicit BatchInput(std::uint64_t seed = 20260101) : m_state(seed) {}

    static const char* header() { return "mode,B,upsilon,t,value\n"; }
    // Appends one data row (with its line feed) to `out`.
    void appendRow(std::string& out);
    // The header and `rows` data rows.
    static std::string csv(long rows, std::uint64_t seed = 20260101);

private:
    double uniform(double low, double high);  // in [low, high)
    std::uint64_t m_state;
};
