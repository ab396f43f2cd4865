// How far apart the chart's isenthalps and numbered lines are drawn.
#pragma once

#include "chartlayout.h"
#include "chartlines.h"

// Chosen from the room each needs on the page, so that a zoomed chart shows
// more lines and numbers than a full one; the legend states what was chosen.
class ChartSpacing {
public:
    ChartSpacing(const ChartLines& lines, const ChartLayout& layout);

    double moistureStep() const { return m_moistureStep; }
    double moistureLabelStep() const { return m_moistureLabelStep; }
    double enthalpyStep() const { return m_enthalpyStep; }
    double enthalpyLabelStep() const { return m_enthalpyLabelStep; }
    double isothermLabelStep() const { return m_isothermLabelStep; }

    // The smallest of 1, 2, 5 × 10ⁿ that is at least `least`.
    static double NiceStep(double least);

private:
    double m_moistureStep = 0.5;      // g/kg between lines of constant d and ticks of its scale
    double m_moistureLabelStep = 1;   // g/kg between numbers on the d scale
    double m_enthalpyStep = 2;        // kJ/kg between isenthalps
    double m_enthalpyLabelStep = 10;  // kJ/kg between labelled ones
    double m_isothermLabelStep = 5;   // °C between labelled isotherms
};
