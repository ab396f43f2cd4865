// What the 焓湿图 window reads at a place on the chart: the state there, as a
// line of text and as a row of the points table.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

#include "dhpoint.h"
#include "statepoint.h"

struct ChartReading {
    // "t=25.31℃  ψ=48.20%  d=9.87g/kg干  h=50.65kJ/kg干  ts=18.12℃  tl=13.80℃  Pq=1563Pa";
    // "雾区（ψ>100%）" beyond saturation; the engine's message for any other
    // place that is no state.
    QString text;
    // t, ψ, d, h, ts, tl as the text shows them (ts or tl empty where the
    // text leaves them out); empty where there is no state.
    QStringList values;
};

// The state at `at` for the barometric pressure B (Pa), its wet bulb at υ (m/s),
// computed by the engine from d and h. Two decimals for t, ψ, d, h, ts and
// tl, as the record shows them; ts is left out where the wet-bulb search
// finds none, tl outside 0 … 65 ℃ where the dew-point fit holds.
ChartReading ReadChart(double B, double upsilon, DhPoint at);

// t, ψ, d, h, ts and tl of a state as the points table shows them: two
// decimals, ts empty where the wet-bulb search found none, tl empty outside
// the dew-point fit.
QStringList ChartValues(const StatePoint& point, bool wetBulbFound);
