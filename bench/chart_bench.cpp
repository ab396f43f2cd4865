// Benchmarks of the h–d chart: drawing and writing the file, alone and with
// the points of a 100,000-row batch, also joined by process arrows.
//
//   build/bench/chart_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QTemporaryDir>

#include <string>
#include <vector>

#include "chartfile.h"
#include "chartlines.h"
#include "physics.h"

namespace {

// Readings spread like the batch benchmark's rows (t 15–40 °C, ψ 20–80 %),
// placed by the chart's own formulas, labelled by row number as a batch is.
std::vector<ChartPoint> batchPoints(int count)
{
    const ChartLines lines(101325, ChartRange{});
    std::vector<ChartPoint> points;
    points.reserve(static_cast<std::size_t>(count));
    std::uint64_t state = 20260101;
    const auto uniform = [&](double lo, double hi) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return lo + (hi - lo) * static_cast<double>(state >> 11) / 9007199254740992.0;
    };
    for (int i = 0; i < count; ++i) {
        const double t = uniform(15, 40);
        const double d = lines.moistureContent(t, uniform(0.2, 0.8));
        points.push_back({d, Enthalpy(t, d), std::to_string(i + 1), {}});
    }
    return points;
}

void writeChart(benchmark::State& state, const char* name, int points, bool process = false)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QString::fromLatin1(name));
    ChartContent content;
    content.points = batchPoints(points);
    content.process = process;
    for (auto _ : state) {
        ChartFile file(path);
        if (!file.open() || !file.write(content)) {
            state.SkipWithError(file.errorMessage().toStdString().c_str());
            break;
        }
    }
}

void BM_ChartAlonePng(benchmark::State& state) { writeChart(state, "chart.png", 0); }
void BM_ChartAloneSvg(benchmark::State& state) { writeChart(state, "chart.svg", 0); }
void BM_ChartAlonePdf(benchmark::State& state) { writeChart(state, "chart.pdf", 0); }
void BM_Chart100kPointsPng(benchmark::State& state) { writeChart(state, "chart.png", 100000); }
void BM_Chart100kPointsSvg(benchmark::State& state) { writeChart(state, "chart.svg", 100000); }
void BM_Chart100kPointsPdf(benchmark::State& state) { writeChart(state, "chart.pdf", 100000); }
// --chart-process on a 100,000-row batch: an arrow from every row to the next.
void BM_Chart100kProcessPng(benchmark::State& state) { writeChart(state, "chart.png", 100000, true); }

BENCHMARK(BM_ChartAlonePng)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChartAloneSvg)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChartAlonePdf)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Chart100kPointsPng)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Chart100kPointsSvg)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Chart100kPointsPdf)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Chart100kProcessPng)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
