// The limits of a chart's range.
#include "chartrange.h"

#include <algorithm>
#include <cmath>

namespace {

bool spanValid(double lo, double hi, double limitLo, double limitHi, double spanMin, double spanMax)
{
    // Written so that NaN fails every comparison and so the whole check.
    return lo >= limitLo && hi <= limitHi && hi - lo >= spanMin && hi - lo <= spanMax;
}

struct Span {
    double lo;
    double hi;
};

// [lo, lo + span] moved as little as it takes to lie within the limits.
Span within(double lo, double span, double limitLo, double limitHi)
{
    lo = std::clamp(lo, limitLo, limitHi - span);
    return {lo, lo + span};
}

Span zoomed(double lo, double hi, double at, double factor, double limitLo, double limitHi,
            double spanMin, double spanMax)
{
    const double span = std::clamp((hi - lo) * factor, spanMin, spanMax);
    const double share = std::clamp((at - lo) / (hi - lo), 0.0, 1.0);
    return within(at - share * span, span, limitLo, limitHi);
}

}  // namespace

bool ChartRangeValid(const ChartRange& r)
{
    return spanValid(r.tMin, r.tMax, kChartTLimitMin, kChartTLimitMax, kChartTSpanMin, kChartTSpanMax)
           && spanValid(r.dMin, r.dMax, 0, kChartDLimitMax, kChartDSpanMin, kChartDSpanMax);
}

ChartRange ZoomedRange(const ChartRange& r, double t, double d, double factor)
{
    if (!ChartRangeValid(r) || !std::isfinite(t) || !std::isfinite(d) || !std::isfinite(factor) || factor <= 0)
        return r;
    const Span ts = zoomed(r.tMin, r.tMax, t, factor, kChartTLimitMin, kChartTLimitMax, kChartTSpanMin, kChartTSpanMax);
    const Span ds = zoomed(r.dMin, r.dMax, d, factor, 0, kChartDLimitMax, kChartDSpanMin, kChartDSpanMax);
    return {ts.lo, ts.hi, ds.lo, ds.hi};
}

ChartRange MovedRange(const ChartRange& r, double deltaT, double deltaD)
{
    if (!ChartRangeValid(r) || !std::isfinite(deltaT) || !std::isfinite(deltaD))
        return r;
    const Span ts = within(r.tMin + deltaT, r.tMax - r.tMin, kChartTLimitMin, kChartTLimitMax);
    const Span ds = within(r.dMin + deltaD, r.dMax - r.dMin, 0, kChartDLimitMax);
    return {ts.lo, ts.hi, ds.lo, ds.hi};
}
