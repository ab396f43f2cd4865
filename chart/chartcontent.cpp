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
