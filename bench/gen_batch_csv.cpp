// Writes the batch benchmark's input CSV to standard output:
//   nimbara_gen_batch [ROWS [SEED]]     (default 100000 rows)
// With --stats as the first argument it instead reports on standard error how
// many wet-bulb search steps the rows take (median, mean, maximum).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "batch_input.h"
#include "calculate.h"
#include "csv_reader.h"

int main(int argc, char** argv)
{
    int arg = 1;
    const bool stats = argc > arg && std::strcmp(argv[arg], "--stats") == 0;
    if (stats)
        ++arg;
    const long rows = argc > arg ? std::atol(argv[arg]) : 100000;
    const std::uint64_t seed = argc > arg + 1 ? std::strtoull(argv[arg + 1], nullptr, 10) : 20260101;
    const std::string csv = BatchInput::csv(rows, seed);
    if (!stats) {
        std::fwrite(csv.data(), 1, csv.size(), stdout);
        return 0;
    }

    std::istringstream in(csv);
    CsvReader reader(in);
    std::vector<std::string> f;
    reader.next(f);  // header: mode,B,upsilon,t,value
    std::vector<long> steps;
    long failures = 0;
    while (reader.next(f)) {
        const CalcOutcome out = CalculateStatePoint(InputMode::PsiKnown, {f[1], f[2], f[3], "", f[4]});
        if (out.status != CalcStatus::Ok)
            ++failures;
        steps.push_back(out.searchSteps);
    }
    std::sort(steps.begin(), steps.end());
    double sum = 0;
    for (long s : steps)
        sum += static_cast<double>(s);
    std::fprintf(stderr, "rows %zu, failures %ld, search steps: median %ld, mean %.0f, max %ld\n",
                 steps.size(), failures, steps.empty() ? 0 : steps[steps.size() / 2],
                 steps.empty() ? 0.0 : sum / static_cast<double>(steps.size()),
                 steps.empty() ? 0 : steps.back());
    return 0;
}
