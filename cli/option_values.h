// The values of the chart and altitude options: strict numbers, ranges, altitudes.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "chartrange.h"

// A number written in full: optional sign, digits with at most one ".",
// optional exponent, nothing else (unlike the boxes' lenient reading, a
// range or an altitude with stray text is a mistake worth reporting).
// Nothing for anything else, and for values that are not finite.
std::optional<double> ParseStrictNumber(std::string_view text);

// "MIN:MAX" of --chart-t or --chart-d. On a problem, `error` says what is
// wrong, in Chinese, naming `option`.
struct RangeValue {
    double min = 0;
    double max = 0;
};
std::optional<RangeValue> ParseRangeOption(std::string_view option, std::string_view text,
                                           double limitMin, double limitMax, double spanMin,
                                           double spanMax, const char* unit, std::string& error);

// An altitude in metres within the standard atmosphere's range; on a problem
// `error` says what is wrong, in Chinese.
std::optional<double> ParseAltitude(std::string_view text, std::string& error);

// B for an altitude: the standard atmosphere's pressure rounded to whole
// pascals (half to even), as B is typed into the calculation window.
double PressureAtAltitudeRounded(double metres);
