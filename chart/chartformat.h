// The kinds of chart file, told by the file name's ending.
#pragma once

#include <optional>
#include <string_view>

enum class ChartFormat {
    Png,  // raster, A4 landscape at the given resolution (300 dpi by default)
    Svg,  // vector, text kept as text
    Pdf,  // vector, one A4 landscape page
};

// The format of a file name's ending (.png, .svg, .pdf, in any letter case);
// nothing for any other ending, or for a name that is only the ending.
std::optional<ChartFormat> ChartFormatOf(std::string_view path);
