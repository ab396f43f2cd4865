// The chart's coordinates.
#include "chartmapping.h"

#include <algorithm>

ChartMapping::ChartMapping(double dLeft, double dRight, double yBottom, double yTop, double shear,
                           const QRectF& area)
    : m_dLeft(dLeft), m_yTop(yTop), m_shear(shear)
{
    // One page unit of height is `shear` kJ/kg per g/kg of width.
    const double width = dRight - dLeft;
    const double height = (yTop - yBottom) / shear;
    m_scale = std::min(area.width() / width, area.height() / height);
    const double w = width * m_scale;
    m_frame = QRectF(area.left() + (area.width() - w) / 2, area.top(), w, height * m_scale);
}

QPointF ChartMapping::toPage(DhPoint p) const
{
    return {m_frame.left() + (p.d - m_dLeft) * m_scale,
            m_frame.top() + (m_yTop - (p.h - m_shear * p.d)) / m_shear * m_scale};
}

DhPoint ChartMapping::toData(QPointF page) const
{
    const double d = m_dLeft + (page.x() - m_frame.left()) / m_scale;
    const double sheared = m_yTop - (page.y() - m_frame.top()) * m_shear / m_scale;
    return {d, sheared + m_shear * d};
}

QPointF ChartMapping::displacement(double deltaD, double deltaH) const
{
    return {deltaD * m_scale, -(deltaH - m_shear * deltaD) / m_shear * m_scale};
}
