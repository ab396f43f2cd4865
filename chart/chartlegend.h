// The column beside the h–d chart: the legend over the ε fan.
#pragma once

#include <functional>
#include <vector>

#include "chartcanvas.h"
#include "chartcontent.h"
#include "chartlines.h"
#include "chartpoints.h"
#include "chartfamilies.h"

// The legend names each kind of line at the spacing it was drawn with and
// says how many points are on the chart, so it is drawn after them.
class ChartLegend {
public:
    ChartLegend(ChartCanvas& canvas, const ChartContent& content, const ChartLines& lines,
                const ChartFamilies& families, const ChartPoints& points);

    // The heat–moisture ratios of the ε fan, kJ/kg, besides ±∞.
    static constexpr int kFanRatios[] = {20000, 10000, 5000, 3000, 2000, 1000, 0, -2000, -5000};

    // Whether the entries of `content` surely fit the strip under a wide
    // frame: its lines' column holds the five families, its points' column
    // four entries of up to two lines each (the points, and those that may
    // come: points of another B, points outside, processes, dropped labels,
    // notes).
    static bool FitsStrip(const ChartContent& content);

    // The height its entries take, before anything is drawn: the layout
    // gives the legend that much of the column and the ε fan the rest.
    double height();
    void draw();
    // Rays in the directions the chart gives each ε.
    void drawFan();

private:
    // One line of the legend: its key (none for a note), drawn between x
    // and keyEnd at height mid, and its text.
    struct Entry {
        std::function<void(double x, double keyEnd, double mid)> key;
        QString text;
    };
    std::vector<Entry> lineEntries();
    std::vector<Entry> pointEntries();
    double entries(bool paint);
    // Only references: the chart that draws these owns all of them and
    // outlives them.
    QPainter& painter() const { return m_canvas.painter(); }
    const ChartLayout& layout() const { return m_canvas.layout(); }
    ChartCanvas& m_canvas;
    const ChartContent& m_content;
    const ChartLines& m_lines;
    const ChartFamilies& m_families;
    const ChartPoints& m_points;
};
