// A calculated state point as a point of the chart.
#include "chartcontent.h"

#include "calculate.h"
#include "display.h"
#include "quantity.h"

std::string OtherPressureNote(double B, long others)
{
    return "图按第一个点的大气压力 B = " + FormatShortest(B) + " Pa 绘制；另有 " + std::to_string(others)
           + " 个点的 B 与之不同，按其自身的 d、h 标出";
}

std::string OutsideNote(long outside)
{
    return std::to_string(outside) + " 个点在图的范围之外，未画出";
}

std::string FailedRowsNote(long failed)
{
    return std::to_string(failed) + " 行未能算出状态点，未画出";
}

ChartPoint ChartPointOf(const StatePoint& point, std::string label, bool details)
{
    ChartPoint p{point.d, point.h, std::move(label), {}};
    if (!details)
        return p;
    // Two decimals throughout: ψ, d, ts and tl as the record shows them, t and
    // h to the same places.
    const bool dewPointShown = DewPointInFit(point);
    for (Quantity q : {Quantity::t, Quantity::psi, Quantity::d, Quantity::h, Quantity::ts, Quantity::tl}) {
        if (q == Quantity::tl && !dewPointShown)
            continue;
        const QuantityInfo& info = Info(q);
        const std::string unit = info.unit;
        const std::string value = q == Quantity::t || q == Quantity::h ? FormatFixed(ValueOf(point, q), 2)
                                                                       : DisplayText(point, q);
        // "27.00℃", "46.37%", but "10.32 g/kg干".
        const bool sign = unit == "℃" || unit == "%";
        p.details.push_back(std::string(info.symbol) + " = " + value + (sign ? "" : " ") + unit);
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

ChartContent DesignChartContent(const DesignResult& r, double B, std::optional<double> altitude)
{
    ChartContent content;
    content.B = B;
    content.altitude = altitude;
    content.process = true;
    const auto index = [&](const std::string& name) {
        for (std::size_t i = 0; i < r.points.size(); ++i) {
            if (r.points[i].name == name)
                return i;
        }
        return r.points.size();
    };
    for (const DesignPoint& p : r.points)
        content.points.push_back(ChartPointOf(p.state, p.name + " " + p.title, false));
    for (const auto& [from, to] : r.processes)
        content.arrows.emplace_back(index(from), index(to));
    // The ε line through N, across the chart: h − hN = ε·(d − dN)/1000.
    const StatePoint& N = r.point("N")->state;
    const double reach = 1000;  // g/kg (or kJ/kg when vertical): past any frame
    if (r.epsilon)
        content.guides.push_back({{N.d - reach, N.h - *r.epsilon * reach / 1000}, {N.d + reach, N.h + *r.epsilon * reach / 1000}});
    else
        content.guides.push_back({{N.d, N.h - reach}, {N.d, N.h + reach}});
    const StatePoint& W = r.point("W")->state;
    content.guides.push_back({{W.d, W.h}, {N.d, N.h}});
    content.notes.push_back("虚线：过室内点N的热湿比ε线，室外点W与N的混合线");
    return content;
}
