// The kinds of chart file.
#include "chartformat.h"

#include <cctype>
#include <string>

std::optional<ChartFormat> ChartFormatOf(std::string_view path)
{
    const std::size_t slash = path.find_last_of('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.find_last_of('.');
    if (dot == std::string_view::npos || dot == 0)
        return std::nullopt;
    std::string ending;
    for (char c : name.substr(dot + 1))
        ending += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ending == "png")
        return ChartFormat::Png;
    if (ending == "svg")
        return ChartFormat::Svg;
    if (ending == "pdf")
        return ChartFormat::Pdf;
    return std::nullopt;
}
