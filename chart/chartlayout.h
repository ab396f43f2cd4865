// Where each part of the chart goes on an A4 landscape page.
#pragma once

#include <QRectF>
#include <QSizeF>

#include "chartlines.h"
#include "chartmapping.h"

// All sizes are laid out in millimetres and converted with the device's dots
// per millimetre, so a PNG at any resolution, the SVG and the PDF show the
// same picture. Left: the t scale; above the frame: the d and Pq scales and
// the title; right of it a column with the legend over the ε fan. A range
// that draws wide and low (a hot summer's, say) would leave the page under
// its frame blank: there the frame takes the page's whole width and the
// legend and an upward-opening ε fan sit side by side in a strip under it,
// whichever of the two gives the larger scale.
class ChartLayout {
public:
    // `stripAllowed`: whether the legend's entries would fit the strip.
    ChartLayout(const ChartLines& lines, QSizeF page, double dotsPerMm, bool stripAllowed = true);

    // Millimetres to device units.
    double mm(double millimetres) const { return millimetres * m_dotsPerMm; }

    const ChartMapping& mapping() const { return m_mapping; }
    QSizeF page() const { return m_page; }
    QRectF frame() const { return m_frame; }
    QRectF title() const { return m_title; }
    QRectF legend() const { return m_legend; }
    QRectF fan() const { return m_fan; }
    QRectF footer() const { return m_footer; }
    // Whether the legend and the ε fan are in the strip under the frame
    // (the fan's rays then open upwards) instead of the column beside it.
    bool strip() const { return m_strip; }

    // Gives the legend `needed` of the column's height, taken from the ε fan
    // down to a fan that still has rays of 20 mm; the strip's legend keeps
    // its place.
    void fitLegend(double needed);

    // A4 landscape in millimetres.
    static QSizeF A4Landscape() { return {297, 210}; }

private:
    QSizeF m_page;
    double m_dotsPerMm;
    ChartMapping m_mapping;
    QRectF m_frame;
    QRectF m_title;
    QRectF m_legend;
    QRectF m_fan;
    QRectF m_footer;
    double m_columnBottom = 0;
    bool m_strip = false;
};
