// The limits of a chart's range.
#include "chartrange.h"

namespace {

bool spanValid(double lo, double hi, double limitLo, double limitHi, double spanMin, double spanMax)
{
    // Written so that NaN fails every comparison and so the whole check.
    return lo >= limitLo && hi <= limitHi && hi - lo >= spanMin && hi - lo <= spanMax;
}

}  // namespace

bool ChartRangeValid(const ChartRange& r)
{
    return spanValid(r.tMin, r.tMax, kChartTLimitMin, kChartTLimitMax, kChartTSpanMin, kChartTSpanMax)
           && spanValid(r.dMin, r.dMax, 0, kChartDLimitMax, kChartDSpanMin, kChartDSpanMax);
}
