// Draws the h–d chart with its points onto any paint device.
#pragma once

#include <QColor>
#include <QPainter>
#include <QSizeF>

#include "chartcanvas.h"
#include "chartcontent.h"
#include "chartfamilies.h"
#include "chartlayout.h"
#include "chartlegend.h"
#include "chartlines.h"
#include "chartpoints.h"
#include "chartspacing.h"

// One chart on one page: grid, scales, title, points, process arrows, legend
// and the ε fan. Text is drawn as text (an SVG keeps it searchable). This
// class draws the chart's body and has the points and the legend drawn in
// their turn.
class ChartPainter {
public:
    // `page` is the device's size in its own units, `dotsPerMm` its resolution.
    ChartPainter(QPainter& painter, const ChartContent& content, QSizeF page, double dotsPerMm);
    // The points and the legend hold on to the lines and the layout kept here.
    ChartPainter(const ChartPainter&) = delete;
    ChartPainter& operator=(const ChartPainter&) = delete;

    void paint();

    // Where paint() puts the chart's (d, h) on such a page, without drawing.
    static ChartMapping MappingOf(const ChartContent& content, QSizeF page, double dotsPerMm);

    // Up to this many points are labelled; more are drawn as plain dots.
    static constexpr int kMaxLabelledPoints = ChartPoints::kMaxLabelledPoints;
    // The relative-humidity curves drawn, in percent.
    static constexpr int kHumidityCurves[] = {10, 20, 30, 40, 50, 60, 70, 80, 90, 100};


private:
    void drawTitle();
    void drawGrid();
    // The optional wet-bulb and specific-volume lines, dashed, numbered at
    // their upper ends.
    void drawOptionalLines();
    void drawDScales();
    // A scale's name, its numbers' bottom at numbersBottom.
    void drawScaleName(double numbersBottom, const QString& name);
    void drawTScale();
    void drawEnthalpyScale();
    void drawHumidityLabels();
    void drawFooter();
    // Whether an isenthalp is long enough to carry its number (a stub in a
    // corner of the domain is not): only such a line may be drawn heavy.
    bool numberable(const DhSegment& isenthalp) const;

    QPainter& m_p;
    const ChartContent& m_content;
    ChartLines m_lines;
    ChartLayout m_layout;
    ChartSpacing m_spacing;
    ChartFamilies m_families;
    ChartCanvas m_canvas;
    ChartPoints m_points;
    ChartLegend m_legend;
};
