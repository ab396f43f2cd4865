// The calculations of nimbara-calc with a chart file.
#include "chart_run.h"

#include "design_sheet.h"
#include "altitude.h"
#include "batch.h"
#include "chart_collector.h"
#include "chart_output.h"
#include "chartlines.h"
#include "display.h"
#include "option_values.h"
#include "printable.h"
#include "state_point.h"

namespace {

constexpr const char* kPrefix = "nimbara-calc：";

// The optional line families the command asks for; wet-bulb lines at υ.
void addLines(const CliArguments& a, double upsilon, ChartContent& content)
{
    if (a.chartWetBulbLines)
        content.wetBulbLines = upsilon;
    content.volumeLines = a.chartVolumeLines;
}

void reportOutside(const ChartContent& content, std::ostream& err)
{
    const ChartLines lines(content.B, content.range);
    long outside = 0;
    for (const ChartPoint& p : content.points)
        outside += lines.inRange({p.d, p.h}) ? 0 : 1;
    if (outside > 0)
        err << kPrefix << OutsideNote(outside) << '\n';
}

}  // namespace

int RunStatePointWithChart(const CliArguments& a, std::ostream& out, std::ostream& err)
{
    ChartOutput chart(a.chartFile);
    if (!chart.open(err))
        return kExitUsage;
    // The inputs first, so that a wrong B is named as such and not as a
    // range with nothing to draw at that B.
    const CliPoint calculated = CalculateCliPoint(a);
    if (calculated.outcome.status != CalcStatus::Ok)
        return PrintStatePoint(calculated, out, err);
    const StatePoint& point = calculated.outcome.point;
    if (const std::string problem = ChartRangeProblem(point.B, a.chartRange); !problem.empty()) {
        err << kPrefix << problem << '\n' << UsageText();
        return kExitUsage;
    }
    if (const int code = PrintStatePoint(calculated, out, err); code != kExitOk)
        return code;
    ChartContent content;
    content.B = point.B;
    content.altitude = a.altitude;
    content.range = a.chartRange;
    content.points.push_back(ChartPointOf(point, "状态点", true));
    addLines(a, point.upsilon, content);
    reportOutside(content, err);
    return chart.write(content, err) ? kExitOk : kExitUsage;
}

int RunBatchWithChart(const CliArguments& a, std::istream& in, std::ostream& out, std::ostream& err)
{
    ChartOutput chart(a.chartFile);
    if (!chart.open(err, a.batchFile))
        return kExitUsage;
    // An empty chart is titled with the B the rows would have had.
    const double B = a.altitude ? PressureAtAltitudeRounded(*a.altitude) : kStandardPressure;
    ChartCollector collector(a.chartRange, a.chartProcess, B, a.altitude);
    const int code = RunBatchFile(a.batchFile, in, out, err,
                                  {.altitude = a.altitude, .observer = &collector, .jobs = JobsToRun(a)});
    if (code != kExitOk)
        return code;

    ChartContent content = collector.content();
    addLines(a, collector.upsilon(), content);
    if (collector.failed() > 0)
        err << kPrefix << collector.failed() << " 行未能算出状态点，没有画在图上\n";
    if (collector.otherPressure() > 0)
        err << kPrefix << OtherPressureNote(content.B, collector.otherPressure()) << '\n';
    if (collector.plotted() == 0)
        err << kPrefix << "没有可画的状态点，图表“" << Printable(a.chartFile) << "”为空\n";
    reportOutside(content, err);
    return chart.write(content, err) ? kExitOk : kExitUsage;
}

int RunDesignWithChart(const CliArguments& a, std::istream& in, std::ostream& out, std::ostream& err)
{
    ChartOutput chart(a.chartFile);
    if (!chart.open(err, a.designFile))
        return kExitUsage;
    const DesignRun run = CalculateDesign(a.designFile, in, err);
    if (run.code != kExitOk)
        return run.code;
    if (const std::string problem = ChartRangeProblem(run.file.input->B, a.chartRange); !problem.empty()) {
        err << kPrefix << problem << '\n' << UsageText();
        return kExitUsage;
    }
    if (const int code = PrintDesign(run, a.json, out, err); code != kExitOk)
        return code;
    ChartContent content = DesignChartContent(run.result, run.file.input->B, run.file.altitude);
    content.range = a.chartRange;
    addLines(a, run.file.input->upsilon, content);
    reportOutside(content, err);
    return chart.write(content, err) ? kExitOk : kExitUsage;
}

int RunWithChart(const CliArguments& a, std::istream& in, std::ostream& out, std::ostream& err)
{
    switch (a.action) {
    case CliArguments::Action::Batch: return RunBatchWithChart(a, in, out, err);
    case CliArguments::Action::Design: return RunDesignWithChart(a, in, out, err);
    default: return RunStatePointWithChart(a, out, err);
    }
}
