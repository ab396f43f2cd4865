// How far apart the chart's isenthalps and numbered lines are drawn.
#include "chartspacing.h"

#include <algorithm>
#include <cmath>

#include "physics.h"

ChartSpacing::ChartSpacing(const ChartLines& lines, const ChartLayout& layout)
{
    if (!lines.hasDomain())
        return;
    // Lines of constant d at least 2.5 mm apart (every 0.5 g/kg on a full
    // chart, wider when the range is wide), numbered at least 5.5 mm apart.
    m_moistureStep = NiceStep(layout.mm(2.5) / layout.mapping().scale());
    m_moistureLabelStep = NiceStep(layout.mm(5.5) / layout.mapping().scale());
    // Isenthalps at least 2.5 mm apart, numbered at least 12 mm apart.
    const double perKJ = layout.mapping().scale() / ChartLines::Shear() * M_SQRT1_2;
    m_enthalpyStep = NiceStep(layout.mm(2.5) / perKJ);
    // Every 10 kJ/kg on a full chart; closer on a zoomed one, when room allows.
    m_enthalpyLabelStep = NiceStep(layout.mm(12) / perKJ);
    // Isotherms every 5 °C, and every 1 °C on a zoomed chart.
    const double perKelvin =
        layout.mapping().scale() * (Enthalpy(1, 0) - Enthalpy(0, 0)) / ChartLines::Shear();
    m_isothermLabelStep = std::min(5.0, NiceStep(layout.mm(5.5) / perKelvin));
}

double ChartSpacing::NiceStep(double least)
{
    double step = std::pow(10.0, std::floor(std::log10(least)));
    for (double factor : {1.0, 2.0, 5.0, 10.0}) {
        if (step * factor >= least * (1 - 1e-9))
            return step * factor;
    }
    return step * 10;
}
