// A calculated state point as a point of the chart.
#include "chartcontent.h"

#include "quantity.h"

ChartPoint ChartPointOf(const StatePoint& point, std::string label, bool details)
{
    ChartPoint p{point.d, point.h, std::move(label), {}};
    if (details) {
        for (Quantity q : {Quantity::t, Quantity::psi, Quantity::d, Quantity::h}) {
            const QuantityInfo& info = Info(q);
            const std::string unit = info.unit;
            // "27℃", "46.37%", but "10.32 g/kg干".
            const bool sign = unit == "℃" || unit == "%";
            p.details.push_back(std::string(info.symbol) + " = " + DisplayText(point, q)
                                + (sign ? "" : " ") + unit);
        }
    }
    return p;
}

std::string ChartLabelOf(std::string_view text)
{
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        // Continuation bytes (10xxxxxx) belong to the character before.
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80)
            continue;
        if (characters++ == kMaxLabelCharacters)
            return std::string(text.substr(0, i));
    }
    return std::string(text);
}
