// What a chart shows besides its grid: the pressure, the range, the points.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "chartrange.h"
#include "statepoint.h"

// A state point placed on the chart by its own d and h.
struct ChartPoint {
    double d = 0;                      // g/kg dry air
    double h = 0;                      // kJ/kg dry air
    std::string label;                 // written beside the marker, UTF-8; may be empty
    std::vector<std::string> details;  // further lines under the label
};

struct ChartContent {
    double B = 101325;              // Pa: the chart's lines are drawn for it
    std::optional<double> altitude;  // m, shown in the title when B came from it
    ChartRange range;
    std::vector<ChartPoint> points;
    bool process = false;            // join consecutive points by arrows with Δh and ε
    std::vector<std::string> notes;  // extra legend lines, UTF-8
};

// The point of a calculated state, labelled `label`; with `details`, its t,
// ψ, d and h follow in the texts the calculation window shows.
ChartPoint ChartPointOf(const StatePoint& point, std::string label, bool details);
