// The realistic batch rows the benchmarks share.
#include "batch_input.h"

#include <cstdio>

double BatchInput::uniform(double low, double high)
{
    // splitmix64: tiny, fast and the same everywhere.
    m_state += 0x9E3779B97F4A7C15ull;
    std::uint64_t z = m_state;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    const double unit = static_cast<double>(z >> 11) * 0x1.0p-53;
    return low + (high - low) * unit;
}

void BatchInput::appendRow(std::string& out)
{
    const double B = uniform(95000, 105000);
    const double upsilon = uniform(1, 5);
    const double t = uniform(15, 40);
    const double psi = uniform(20, 80);
    char line[128];
    const int n = std::snprintf(line, sizeof line, "psi,%.0f,%.1f,%.2f,%.1f\n", B, upsilon, t, psi);
    out.append(line, static_cast<std::size_t>(n));
}

std::string BatchInput::csv(long rows, std::uint64_t seed)
{
    BatchInput input(seed);
    std::string out = header();
    out.reserve(static_cast<std::size_t>(rows) * 32 + 32);
    for (long i = 0; i < rows; ++i)
        input.appendRow(out);
    return out;
}
