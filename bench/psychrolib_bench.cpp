// The wet-bulb search against PsychroLib's GetTWetBulbFromRelHum (a bisection),
// call for call on the same inputs: everyday air, t 10–40 °C, ψ 10–90 %, at
// 101325 Pa (and υ 2.5 m/s for the search, which PsychroLib has no use for).
//
//   build/bench/psychrolib_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <vector>

#include "pressure.h"
#include "wetbulb.h"

extern "C" {
#include "psychrolib.h"
}

namespace {

struct Air {
    double t, psi;  // °C, fraction
};

const std::vector<Air>& inputs()
{
    static const std::vector<Air> all = [] {
        std::vector<Air> v;
        std::uint64_t state = 20261209;
        const auto uniform = [&](double lo, double hi) {
            state = state * 6364136223846793005ULL + 1442695040888963407ULL;
            return lo + (hi - lo) * static_cast<double>(state >> 11) / 9007199254740992.0;
        };
        for (int i = 0; i < 1024; ++i)
            v.push_back({uniform(10, 40), uniform(0.1, 0.9)});
        return v;
    }();
    return all;
}

// Pq is part of the search's input, as the calculation hands it over.
void BM_NimbaraSearchWetBulb(benchmark::State& state)
{
    std::vector<double> Pq;
    for (const Air& a : inputs())
        Pq.push_back(Pressure(a.t) * a.psi);
    std::size_t i = 0;
    for (auto _ : state) {
        const std::size_t k = i++ & 1023;
        const WetBulbSearch s = SearchWetBulb(101325, 2.5, inputs()[k].t, Pq[k]);
        benchmark::DoNotOptimize(s);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_NimbaraSearchWetBulb);

void BM_PsychroLibGetTWetBulbFromRelHum(benchmark::State& state)
{
    SetUnitSystem(SI);
    std::size_t i = 0;
    for (auto _ : state) {
        const Air& a = inputs()[i++ & 1023];
        const double ts = GetTWetBulbFromRelHum(a.t, a.psi, 101325);
        benchmark::DoNotOptimize(ts);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PsychroLibGetTWetBulbFromRelHum);

}  // namespace

BENCHMARK_MAIN();
