// Benchmarks of the property engine and of nimbara-calc's batch path.
//
//   build-cli/bench/nimbara_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <sstream>
#include <string>
#include <vector>

#include "batch.h"
#include "batch_input.h"
#include "calculate.h"
#include "pressure.h"
#include "wetbulb.h"

namespace {

// Saturation pressure over a spread of temperatures (both the ice and the
// water set), read from memory so that nothing can be folded at compile time.
void BM_Pressure(benchmark::State& state)
{
    std::vector<double> temperatures;
    for (int i = 0; i < 1024; ++i)
        temperatures.push_back(-20.0 + 80.0 * i / 1024.0);  // −20 … 60 °C
    std::size_t i = 0;
    for (auto _ : state) {
        double t = temperatures[i++ & 1023];
        benchmark::DoNotOptimize(t);
        double p = Pressure(t);
        benchmark::DoNotOptimize(p);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Pressure);

// Pressure as the wet-bulb search calls it: one call after another, each on
// the next grid value, so the calls can overlap in the pipeline.
void BM_PressureScan(benchmark::State& state)
{
    for (auto _ : state) {
        double ts = 26.9;
        benchmark::DoNotOptimize(ts);
        double sum = 0;
        for (int k = 0; k < 1000; ++k) {
            sum += Pressure(ts);
            ts = ts - 0.005;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_PressureScan);

// The wet-bulb search alone, the plain scan against the exact search, on the
// default inputs (1574 steps) and on hot dry air (7613 steps).
void BM_WetBulbSearch(benchmark::State& state, bool plain, double t, double psi)
{
    const double Pq = Pressure(t) * psi;
    for (auto _ : state) {
        benchmark::DoNotOptimize(t);
        const WetBulbSearch search = plain ? ScanWetBulb(101325, 2.5, t, Pq)
                                           : SearchWetBulbWithMargin(kExactSearchMargin, 101325, 2.5, t, Pq);
        benchmark::DoNotOptimize(search);
    }
}
BENCHMARK_CAPTURE(BM_WetBulbSearch, plain_default, true, 27.0, 0.4637);
BENCHMARK_CAPTURE(BM_WetBulbSearch, exact_default, false, 27.0, 0.4637);
BENCHMARK_CAPTURE(BM_WetBulbSearch, plain_hot_dry, true, 60.0, 0.0);
BENCHMARK_CAPTURE(BM_WetBulbSearch, exact_hot_dry, false, 60.0, 0.0);

void calculate(benchmark::State& state, InputMode mode, CalcInputs inputs)
{
    long steps = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(inputs);
        CalcOutcome out = CalculateStatePoint(mode, inputs);
        steps = out.searchSteps;
        benchmark::DoNotOptimize(out);
    }
    state.counters["steps"] = static_cast<double>(steps);
}

// The window's default inputs; the ψ-known mode's search stops after 1574
// steps (NIMBARA_SCAN=scalar makes it the plain scan).
void BM_CalculateStatePoint_PsiKnown(benchmark::State& state)
{
    calculate(state, InputMode::PsiKnown, {"101325", "2.5", "27", "19", "46.37"});
}
BENCHMARK(BM_CalculateStatePoint_PsiKnown);

void BM_CalculateStatePoint_TsKnown(benchmark::State& state)
{
    calculate(state, InputMode::TsKnown, {"101325", "2.5", "27", "19", "46.37"});
}
BENCHMARK(BM_CalculateStatePoint_TsKnown);

// The slowest realistic case: hot, perfectly dry air, 7613 search steps.
void BM_CalculateStatePoint_HotDryAir(benchmark::State& state)
{
    calculate(state, InputMode::PsiKnown, {"101325", "2.5", "60", "19", "0"});
}
BENCHMARK(BM_CalculateStatePoint_HotDryAir);

// nimbara-calc --batch in-process on string streams: CSV reading, the
// calculation and CSV writing of 100,000 generated ψ-known rows.
void BM_Batch100kPsiKnownRows(benchmark::State& state)
{
    constexpr long kRows = 100000;
    static const std::string input = BatchInput::csv(kRows);
    std::size_t outputBytes = 0;
    for (auto _ : state) {
        std::istringstream in(input);
        std::ostringstream out, err;
        const int code = RunBatch(in, out, err);
        if (code != 0)
            state.SkipWithError("batch failed");
        outputBytes = out.str().size();
    }
    state.SetItemsProcessed(state.iterations() * kRows);
    state.counters["rows_per_s"] =
        benchmark::Counter(static_cast<double>(kRows), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["output_bytes"] = static_cast<double>(outputBytes);
}
BENCHMARK(BM_Batch100kPsiKnownRows)->Unit(benchmark::kMillisecond)->Iterations(1);

// The same rows in the ts-known mode (no search): what the CSV path and the
// formatting cost on their own.
void BM_Batch100kTsKnownRows(benchmark::State& state)
{
    constexpr long kRows = 100000;
    static const std::string input = [] {
        std::string s = BatchInput::csv(kRows);
        std::string out;
        out.reserve(s.size());
        // "psi,B,υ,t,ψ" rows become "ts,B,υ,t,ts" with ts = ψ / 4 (°C).
        std::istringstream lines(s);
        std::string line;
        std::getline(lines, line);
        out += line + "\n";
        while (std::getline(lines, line)) {
            const std::size_t last = line.rfind(',');
            const double value = std::stod(line.substr(last + 1)) / 4;
            out += "ts" + line.substr(3, last - 2) + std::to_string(value) + "\n";
        }
        return out;
    }();
    for (auto _ : state) {
        std::istringstream in(input);
        std::ostringstream out, err;
        if (RunBatch(in, out, err) != 0)
            state.SkipWithError("batch failed");
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_Batch100kTsKnownRows)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
