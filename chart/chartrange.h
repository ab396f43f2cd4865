// The part of the h–d chart that is drawn: dry-bulb and moisture-content ranges.
#pragma once

struct ChartRange {
    double tMin = -10;  // °C
    double tMax = 50;   // °C
    double dMin = 0;    // g/kg dry air
    double dMax = 35;   // g/kg dry air
};

// The widest and narrowest ranges a chart may have: wider ones would draw
// hundreds of 1 °C isotherms into a smudge, narrower ones have no grid line
// to read a point against. The temperatures stay within those for which the
// saturation formula is published.
inline constexpr double kChartTLimitMin = -100;  // °C
inline constexpr double kChartTLimitMax = 200;   // °C
inline constexpr double kChartTSpanMin = 1;      // °C
inline constexpr double kChartTSpanMax = 150;    // °C
inline constexpr double kChartDLimitMax = 1000;  // g/kg
inline constexpr double kChartDSpanMin = 1;      // g/kg
inline constexpr double kChartDSpanMax = 200;    // g/kg

// True when both ranges are finite, MIN < MAX, within the limits above and
// with spans between the smallest and largest allowed.
bool ChartRangeValid(const ChartRange& range);

// The range zoomed about the place (t, d) by `factor` (below 1 closer, above
// 1 farther), that place staying where it is on the chart. Spans stop at the
// smallest and largest allowed and the range at the limits, so that zooming
// on and on ends at a valid range. A place that is not finite changes nothing.
ChartRange ZoomedRange(const ChartRange& range, double t, double d, double factor);
// The range moved by Δt (°C) and Δd (g/kg), stopping at the limits.
ChartRange MovedRange(const ChartRange& range, double deltaT, double deltaD);
