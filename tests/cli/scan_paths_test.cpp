// nimbara-calc --batch on every wet-bulb search path (NIMBARA_SCAN): the same
// bytes as the plain scan for the published figures and for a spread of rows.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "process.h"

namespace {

std::string readFile(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

// ψ-known rows over the range the program is used in and beyond: t −40…220 °C,
// ψ 0…101 %, a few velocities and pressures.
std::string spreadOfRows()
{
    std::string csv = "mode,B,upsilon,t,value\n";
    char row[96];
    for (int t = -40; t <= 220; t += 7) {
        for (int psi = 0; psi <= 101; psi += 3) {
            for (const char* u : {"0.4", "2.5", "12"}) {
                for (const char* B : {"80000", "101325", "2000000"}) {
                    std::snprintf(row, sizeof row, "psi,%s,%s,%d.%d,%d.%d\n", B, u, t, (t + 100) % 10,
                                  psi, psi % 7);
                    csv += row;
                }
            }
        }
    }
    return csv;
}

ProcessResult batchOnPath(const char* path, const std::string& input)
{
    ProcessOptions options;
    options.environment = {std::string("NIMBARA_SCAN=") + path};
    return RunProcess(NIMBARA_CALC_PATH, {"--batch", "-"}, input, options);
}

TEST(ScanPaths, EveryPathWritesTheBytesOfThePlainScan)
{
    const std::string inputs[] = {readFile(NIMBARA_FIGURES_CSV), spreadOfRows()};
    for (const std::string& input : inputs) {
        ASSERT_GT(input.size(), 1000u);
        const ProcessResult plain = batchOnPath("scalar", input);
        ASSERT_EQ(plain.exitCode, 0) << plain.err;
        // A path the processor lacks falls back to the widest it has: the
        // bytes must be the same all the same.
        for (const char* path : {"sse2", "avx2", "avx512", ""}) {
            const ProcessResult r = batchOnPath(path, input);
            EXPECT_EQ(r.exitCode, 0) << path;
            EXPECT_TRUE(r.out == plain.out) << "NIMBARA_SCAN=" << path << " differs";
        }
    }
}

}  // namespace
