// What a chart shows besides its grid: the pressure, the range, the points.
#pragma once

#include <optional>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "altitude.h"  // kStandardPressure
#include "chartrange.h"
#include "design.h"
#include "dhpoint.h"
#include "statepoint.h"

// Points this many or fewer are labelled beside their markers, and process
// arrows with their Δh and ε; more are drawn as plain dots and arrows, as
// labels would only cover one another.
inline constexpr int kMaxLabelledPoints = 60;

// The most characters of a label kept: a label is drawn at most 40 mm long in
// 7.5 pt, which holds about 76 of the narrowest characters (a fifth of an em),
// so a longer one is cut when read and memory stays bounded by the points.
inline constexpr std::size_t kMaxLabelCharacters = 100;

// `text` cut to kMaxLabelCharacters characters (UTF-8; a byte that begins no
// character counts as one).
std::string ChartLabelOf(std::string_view text);

// A state point placed on the chart by its own d and h.
struct ChartPoint {
    double d = 0;                      // g/kg dry air
    double h = 0;                      // kJ/kg dry air
    std::string label;                 // written beside the marker, UTF-8; may be empty
    std::vector<std::string> details;  // further lines under the label
    bool otherPressure = false;        // of another B: off this chart's ψ curves, drawn hollow
};

struct ChartContent {
    double B = kStandardPressure;   // Pa: the chart's lines are drawn for it
    std::optional<double> altitude;  // m, shown in the title when B came from it
    ChartRange range;
    std::vector<ChartPoint> points;
    bool process = false;            // join consecutive points by arrows with Δh and ε
    // With `process`: arrows between these points (indices into `points`)
    // instead of between consecutive ones.
    std::vector<std::pair<std::size_t, std::size_t>> arrows;
    // Dashed construction lines under the points (the ε line through the
    // room point, the mixing line), cut at the frame.
    std::vector<DhSegment> guides;
    // Optional line families: wet-bulb lines at this υ (m/s), lines of
    // specific volume.
    std::optional<double> wetBulbLines;
    bool volumeLines = false;
    std::vector<std::string> notes;  // extra legend lines, UTF-8
};

// What the legend and nimbara-calc's messages say of points drawn otherwise
// or not at all.
std::string OtherPressureNote(double B, long others);
std::string OutsideNote(long outside);
// A range wholly beyond saturation: the frame holds this instead of lines.
inline constexpr const char* kNoUnsaturatedAirNote = "图的范围内没有未饱和的空气，无线可画";
std::string FailedRowsNote(long failed);

// The point of a calculated state, labelled `label`; with `details`, its t,
// ψ, d, h, ts and tl (when the dew-point fit holds) follow, to two decimals.
ChartPoint ChartPointOf(const StatePoint& point, std::string label, bool details);

// The chart of a built design at B: its points labelled by name and title,
// its processes as arrows, the ε line through N and the mixing line of W and
// N dashed.
ChartContent DesignChartContent(const DesignResult& result, double B, std::optional<double> altitude);
