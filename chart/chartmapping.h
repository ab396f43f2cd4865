// The chart's coordinates: (d, h) to a position on the page and back.
#pragma once

#include <QPointF>
#include <QRectF>

#include "dhpoint.h"

// An affine shear: x grows with d, y (downwards on the page) falls with the
// sheared enthalpy h − shear·d. One scale serves both, so a line of constant
// h runs at 45° below the horizontal, 135° to the d axis, from upper left to
// lower right; lines of constant d are vertical.
class ChartMapping {
public:
    ChartMapping() = default;
    // Fits the box d ∈ [dLeft, dRight], h − shear·d ∈ [yBottom, yTop] into
    // `area` as large as it goes, centred horizontally and at the top.
    ChartMapping(double dLeft, double dRight, double yBottom, double yTop, double shear,
                 const QRectF& area);

    QPointF toPage(DhPoint p) const;
    DhPoint toData(QPointF page) const;
    // The page displacement of a change (Δd, Δh).
    QPointF displacement(double deltaD, double deltaH) const;

    // The page rectangle of the box.
    QRectF frame() const { return m_frame; }
    // Page units per g/kg along d.
    double scale() const { return m_scale; }

private:
    double m_dLeft = 0;
    double m_yTop = 0;
    double m_shear = 1;
    double m_scale = 1;
    QRectF m_frame;
};
