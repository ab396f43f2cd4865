// Benchmarks of the 焓湿图 window: redrawing the chart after a zoom at
// 1280 × 1024, and reading the state under the pointer.
//
//   QT_QPA_PLATFORM=offscreen build/bench/chartwindow_bench --benchmark_repetitions=5
//       --benchmark_report_aggregates_only=true   (one line)
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMouseEvent>

#include "appsetup.h"
#include "chartreading.h"
#include "chartview.h"
#include "chartwindow.h"

namespace {

// A redraw as a zoom causes it: a new range, then the paint of the whole view.
void BM_RedrawAfterZoom(benchmark::State& state)
{
    ChartWindow window;
    window.resize(1280, 1024);
    window.show();
    for (DhPoint at : {DhPoint{19.5, 84}, DhPoint{9.0, 36.5}, DhPoint{9.0, 42}})
        window.pin(at);
    ChartView* view = window.view();
    const ChartRange ranges[] = {{-10, 50, 0, 35}, {0, 40, 2, 30}};
    int i = 0;
    for (auto _ : state) {
        view->setRange(ranges[i++ % 2]);
        benchmark::DoNotOptimize(view->grab());
    }
    state.counters["view_px"] = view->width() * view->height();
}
BENCHMARK(BM_RedrawAfterZoom)->Unit(benchmark::kMillisecond);

// What a pointer move costs: the event, the state at the place, the read-out.
void BM_PointerMove(benchmark::State& state)
{
    ChartWindow window;
    window.resize(1280, 1024);
    window.show();
    ChartView* view = window.view();
    const QRectF frame = view->mapping().frame();
    int i = 0;
    for (auto _ : state) {
        const QPointF at(frame.left() + (i * 37 % 1000) / 1000.0 * frame.width(),
                         frame.top() + (i * 61 % 1000) / 1000.0 * frame.height());
        ++i;
        QMouseEvent move(QEvent::MouseMove, at, view->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(view, &move);
    }
}
BENCHMARK(BM_PointerMove)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    setUpApplication(app);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
