// nimbara-calc --batch with the exact wet-bulb search and with the plain scan
// (NIMBARA_SCAN=scalar), on one and on several threads: the same bytes for the
// published figures and for a spread of rows.
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

ProcessResult batch(const char* scan, const char* jobs, const std::string& input)
{
    ProcessOptions options;
    options.environment = {std::string("NIMBARA_SCAN=") + scan};
    return RunProcess(NIMBARA_CALC_PATH, {"--batch", "-", "--jobs", jobs}, input, options);
}

TEST(ScanPaths, TheExactSearchWritesTheBytesOfThePlainScan)
{
    const std::string inputs[] = {readFile(NIMBARA_FIGURES_CSV), spreadOfRows()};
    for (const std::string& input : inputs) {
        ASSERT_GT(input.size(), 1000u);
        const ProcessResult plain = batch("scalar", "1", input);
        ASSERT_EQ(plain.exitCode, 0) << plain.err;
        // Anything but "scalar" is the exact search.
        for (const char* scan : {"", "exact", "avx2"}) {
            for (const char* jobs : {"1", "2"}) {
                const ProcessResult r = batch(scan, jobs, input);
                EXPECT_EQ(r.exitCode, 0) << scan;
                EXPECT_TRUE(r.out == plain.out) << "NIMBARA_SCAN=" << scan << " --jobs " << jobs << " differs";
            }
        }
    }
}

}  // namespace
