// The lines of the h–d chart, from the engine's formulas.
#include "chartlines.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "physics.h"
#include "pressure_coefficients.h"  // kCelsiusToKelvin
#include "pressure.h"

namespace {

// °C between the samples of the optional families: they are nearly straight.
constexpr double kOptionalStep = 0.25;

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// Curves are sampled at this step of t: a ψ curve then bends by less than a
// tenth of a millimetre between samples on an A4 chart.
constexpr double kCurveStep = 0.25;  // K

// x in [lo, hi] at which the increasing function f reaches target, to the
// last bit that matters on a page (60 halvings of a span of a few hundred
// kelvin). Ends at lo or hi when target lies outside f's values there.
template <class F>
double solveIncreasing(F f, double target, double lo, double hi)
{
    for (int i = 0; i < 60; ++i) {
        const double mid = 0.5 * (lo + hi);
        if (f(mid) < target)
            lo = mid;
        else
            hi = mid;
    }
    return 0.5 * (lo + hi);
}

double pageHeight(DhPoint p)
{
    return p.h - ChartLines::Shear() * p.d;
}

}  // namespace

ChartLines::ChartLines(double B, const ChartRange& range) : m_B(B), m_range(range)
{
    m_hasDomain = moistureContent(m_range.tMax, 1) > m_range.dMin;
    if (!m_hasDomain)
        return;
    m_dLeft = m_range.dMin;
    m_dRight = std::min(m_range.dMax, moistureContent(m_range.tMax, 1));

    // The domain's edges are the two end isotherms, the two end lines of
    // constant d and the saturation curve, along which the page height only
    // grows with t: the bounding box is that of the straight edges' ends.
    m_yBottom = kInfinity;
    m_yTop = -kInfinity;
    for (const auto& edge : {isotherm(m_range.tMin), isotherm(m_range.tMax),
                             constantMoisture(m_dLeft), constantMoisture(m_dRight)}) {
        if (!edge)
            continue;
        for (DhPoint p : {edge->from, edge->to}) {
            m_yBottom = std::min(m_yBottom, pageHeight(p));
            m_yTop = std::max(m_yTop, pageHeight(p));
        }
    }
}

double ChartLines::Shear()
{
    return Enthalpy(0, 1) - Enthalpy(0, 0);
}

double ChartLines::TemperatureAt(DhPoint p)
{
    const double atZero = Enthalpy(0, p.d);
    return (p.h - atZero) / (Enthalpy(1, p.d) - atZero);
}

double ChartLines::MoistureContentAt(double t, double h)
{
    const double dry = Enthalpy(t, 0);
    return (h - dry) / (Enthalpy(t, 1) - dry);
}

double ChartLines::moistureContent(double t, double psi) const
{
    // As the ψ-known calculation forms it: Pq = Pqb·ψ.
    const double Pq = Pressure(t) * psi;
    if (!(Pq < m_B))
        return kInfinity;
    return MoistureContentFromVapourPressure(m_B, Pq);
}

double ChartLines::vapourPressure(double d) const
{
    return VapourPressureFromMoistureContent(m_B, d);
}

double ChartLines::moistureContentOfPressure(double Pq) const
{
    return MoistureContentFromVapourPressure(m_B, Pq);
}

double ChartLines::dewPoint(double d) const
{
    // Pressure() rises with t (by 0.06 Pa at the switch from ice to water).
    return solveIncreasing([](double t) { return Pressure(t); }, vapourPressure(d),
                           kChartTLimitMin - 50, kChartTLimitMax + 150);
}

double ChartLines::temperatureOnCurve(double psi, double d) const
{
    return solveIncreasing([&](double t) { return moistureContent(t, psi); }, d, m_range.tMin,
                           m_range.tMax);
}

bool ChartLines::inRange(DhPoint p) const
{
    const double t = TemperatureAt(p);
    return t >= m_range.tMin && t <= m_range.tMax && p.d >= m_range.dMin && p.d <= m_range.dMax;
}

std::optional<DhSegment> ChartLines::isotherm(double t) const
{
    if (!(t >= m_range.tMin && t <= m_range.tMax))
        return std::nullopt;
    const double dEnd = std::min(m_range.dMax, moistureContent(t, 1));
    if (!(dEnd > m_range.dMin))
        return std::nullopt;
    return DhSegment{{m_range.dMin, Enthalpy(t, m_range.dMin)}, {dEnd, Enthalpy(t, dEnd)}};
}

std::optional<DhSegment> ChartLines::constantMoisture(double d) const
{
    if (!(d >= m_range.dMin && d <= m_range.dMax))
        return std::nullopt;
    const double tLow = std::max(m_range.tMin, dewPoint(d));
    if (!(tLow < m_range.tMax))
        return std::nullopt;
    return DhSegment{{d, Enthalpy(tLow, d)}, {d, Enthalpy(m_range.tMax, d)}};
}

std::optional<DhSegment> ChartLines::isenthalp(double h) const
{
    // Along an isenthalp t falls and ψ rises as d grows: the range of t
    // bounds d from both sides, saturation from the right.
    const auto saturatedEnthalpy = [&](double t) {
        const double dSat = moistureContent(t, 1);
        return std::isinf(dSat) ? kInfinity : Enthalpy(t, dSat);
    };
    double dSaturated = kInfinity;
    if (saturatedEnthalpy(m_range.tMax) <= h)
        return std::nullopt;
    if (saturatedEnthalpy(m_range.tMin) < h) {
        const double t = solveIncreasing(saturatedEnthalpy, h, m_range.tMin, m_range.tMax);
        dSaturated = moistureContent(t, 1);
    }
    const double lo = std::max(m_range.dMin, MoistureContentAt(m_range.tMax, h));
    const double hi = std::min({m_range.dMax, MoistureContentAt(m_range.tMin, h), dSaturated});
    if (!(hi > lo))
        return std::nullopt;
    return DhSegment{{lo, h}, {hi, h}};
}

std::vector<DhPoint> ChartLines::humidityCurve(double psi) const
{
    const ChartRange& r = m_range;
    if (!(psi > 0) || moistureContent(r.tMax, psi) < r.dMin || moistureContent(r.tMin, psi) > r.dMax)
        return {};
    const double tLo = moistureContent(r.tMin, psi) >= r.dMin ? r.tMin : temperatureOnCurve(psi, r.dMin);
    const double tHi = moistureContent(r.tMax, psi) <= r.dMax ? r.tMax : temperatureOnCurve(psi, r.dMax);

    std::vector<DhPoint> curve;
    const auto add = [&](double t) {
        const double d = std::clamp(moistureContent(t, psi), r.dMin, r.dMax);
        curve.push_back({d, Enthalpy(t, d)});
    };
    add(tLo);
    for (double k = std::floor(tLo / kCurveStep) + 1; k * kCurveStep < tHi; ++k)
        add(k * kCurveStep);
    add(tHi);
    return curve;
}

std::vector<DhPoint> ChartLines::wetBulbLine(double ts, double upsilon) const
{
    std::vector<DhPoint> line;
    const double A = PsychrometerCoefficient(upsilon);
    for (double k = std::ceil(std::max(ts, m_range.tMin) / kOptionalStep); k * kOptionalStep <= m_range.tMax; ++k) {
        const double t = k * kOptionalStep;
        const double Pq = Pressure(ts) - (A * (t - ts)) * m_B;
        if (Pq < 0 || Pq >= m_B)
            break;
        const double d = MoistureContentFromVapourPressure(m_B, Pq);
        line.push_back({d, Enthalpy(t, d)});
    }
    return line;
}

std::vector<DhPoint> ChartLines::volumeLine(double v) const
{
    std::vector<DhPoint> line;
    const double rho = 1 / v;
    for (double k = std::ceil(m_range.tMin / kOptionalStep); k * kOptionalStep <= m_range.tMax; ++k) {
        const double t = k * kOptionalStep;
        // ρ = 0.00348·B/(273.15 + t) − 0.00132·Pq/(273.15 + t), solved for Pq.
        const double Pq = (0.00348 * m_B - rho * (t + kCelsiusToKelvin)) / 0.00132;
        if (Pq < 0 || Pq > Pressure(t))
            continue;
        const double d = MoistureContentFromVapourPressure(m_B, Pq);
        line.push_back({d, Enthalpy(t, d)});
    }
    return line;
}
