// The column beside the h–d chart: the legend over the ε fan.
#pragma once

#include "chartcanvas.h"
#include "chartcontent.h"
#include "chartelement.h"
#include "chartlines.h"
#include "chartpoints.h"
#include "chartspacing.h"

// The legend names each kind of line at the spacing it was drawn with and
// says how many points are on the chart, so it is drawn after them.
class ChartLegend : private ChartElement {
public:
    ChartLegend(ChartCanvas& canvas, const ChartContent& content, const ChartLines& lines,
                const ChartSpacing& spacing, const ChartPoints& points);

    // The heat–moisture ratios of the ε fan, kJ/kg, besides ±∞.
    static constexpr int kFanRatios[] = {20000, 10000, 5000, 3000, 2000, 1000, 0, -2000, -5000};

    void draw();
    // Rays in the directions the chart gives each ε.
    void drawFan();

private:
    const ChartSpacing& m_spacing;
    const ChartPoints& m_points;
};
