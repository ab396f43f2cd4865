// The lines of the h–d chart at one barometric pressure, in (d, h), each from
// the engine's own formulas and cut to the part of the chart that is drawn.
#pragma once

#include <optional>
#include <vector>

#include "chartrange.h"
#include "dhpoint.h"

// The drawn part of the chart (the "domain") is unsaturated air within the
// range: tMin ≤ t ≤ tMax, dMin ≤ d ≤ dMax and ψ ≤ 100 %. Every line is cut
// to it, so nothing lies in the fog region beyond the saturation curve.
// Along each line family the cut is found from the formulas (each line meets
// the saturation curve once), not by clipping a drawing.
class ChartLines {
public:
    ChartLines(double B, const ChartRange& range);


    // The enthalpy the 0 °C isotherm gains per g/kg, kJ/kg: the chart's page
    // height is h − Shear()·d, so that this isotherm runs level.
    static double Shear();

    // The dry-bulb temperature of the isotherm through p, °C: the enthalpy
    // formula solved for t (it is linear in t at fixed d).
    static double TemperatureAt(DhPoint p);
    // The moisture content, g/kg, at which isotherm t has enthalpy h.
    static double MoistureContentAt(double t, double h);

    // The moisture content of air at t and relative humidity psi (a fraction)
    // at this chart's B; +∞ when its vapour pressure reaches B.
    double moistureContent(double t, double psi) const;
    // The dew point of moisture content d: where Pressure() equals d's vapour pressure.
    double dewPoint(double d) const;
    // The vapour pressure of moisture content d, Pa.
    double vapourPressure(double d) const;
    // The moisture content of vapour pressure Pq (Pa).
    double moistureContentOfPressure(double Pq) const;

    // False when the range holds no unsaturated air at all.
    bool hasDomain() const { return m_hasDomain; }
    // Whether p lies within the range (t and d; it may be just past saturation).
    bool inRange(DhPoint p) const;

    // The drawn part of each line, from its left (or lower) end; nothing when
    // the line misses the domain.
    std::optional<DhSegment> isotherm(double t) const;
    std::optional<DhSegment> isenthalp(double h) const;
    std::optional<DhSegment> constantMoisture(double d) const;
    // Relative-humidity curve psi (a fraction, 1 for saturation), from its
    // lower end upwards, sampled closely enough to draw as a polyline.
    std::vector<DhPoint> humidityCurve(double psi) const;
    // Optional families, sampled every 0.25 °C of t within the range (the
    // painter clips them to the frame): the wet-bulb line ts at υ, the air
    // whose psychrometer equation Pq = Pressure(ts) − A·(t − ts)·B gives
    // that ts, from saturation upwards; the line of specific volume v
    // (m³/kg), the air whose density formula gives 1/v.
    std::vector<DhPoint> wetBulbLine(double ts, double upsilon) const;
    std::vector<DhPoint> volumeLine(double v) const;

    // The domain's bounding box in d and in page height y = h − Shear()·d.
    double dLeft() const { return m_dLeft; }
    double dRight() const { return m_dRight; }
    double yBottom() const { return m_yBottom; }
    double yTop() const { return m_yTop; }

private:
    // The temperature at which psi's curve reaches moisture content d.
    double temperatureOnCurve(double psi, double d) const;

    double m_B;
    ChartRange m_range;
    bool m_hasDomain = false;
    double m_dLeft = 0;
    double m_dRight = 0;
    double m_yBottom = 0;
    double m_yTop = 0;
};
