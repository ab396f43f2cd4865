// The values of the chart and altitude options.
#include "option_values.h"

#include <charconv>
#include <cmath>

#include "altitude.h"
#include "display.h"
#include "printable.h"

std::optional<double> ParseStrictNumber(std::string_view text)
{
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    if (text.empty() || text.front() == '+')
        return std::nullopt;
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    // from_chars also reads "inf" and "nan", which isfinite has ruled out.
    return value;
}

std::optional<RangeValue> ParseRangeOption(std::string_view option, std::string_view text,
                                           double limitMin, double limitMax, double spanMin,
                                           double spanMax, const char* unit, std::string& error)
{
    const std::string name(option);
    const std::size_t colon = text.find(':');
    const auto min = colon == std::string_view::npos ? std::nullopt : ParseStrictNumber(text.substr(0, colon));
    const auto max = colon == std::string_view::npos ? std::nullopt : ParseStrictNumber(text.substr(colon + 1));
    if (!min || !max) {
        error = "选项 " + name + " 的值“" + Printable(text) + "”应为“最小值:最大值”，例如 "
                + (limitMin < 0 ? "-10:50" : "0:35");
        return std::nullopt;
    }
    if (*min >= *max) {
        error = "选项 " + name + " 的范围为空：最小值 " + FormatShortest(*min) + " 必须小于最大值 "
                + FormatShortest(*max);
        return std::nullopt;
    }
    if (*min < limitMin || *max > limitMax || *max - *min < spanMin || *max - *min > spanMax) {
        error = "选项 " + name + " 的范围须在 " + FormatShortest(limitMin) + " … " + FormatShortest(limitMax)
                + " " + unit + " 之内，跨度 " + FormatShortest(spanMin) + " … " + FormatShortest(spanMax)
                + " " + unit;
        return std::nullopt;
    }
    return RangeValue{*min, *max};
}

std::optional<double> ParseAltitude(std::string_view text, std::string& error)
{
    const auto metres = ParseStrictNumber(text);
    if (!metres || !AltitudeInRange(*metres)) {
        error = "海拔高度“" + Printable(text) + "”无效：须为 " + FormatShortest(kAltitudeMin) + " 到 "
                + FormatShortest(kAltitudeMax) + " 米之间的数（标准大气公式的适用范围）";
        return std::nullopt;
    }
    return metres;
}

double PressureAtAltitudeRounded(double metres)
{
    return std::nearbyint(PressureAtAltitude(metres));
}
