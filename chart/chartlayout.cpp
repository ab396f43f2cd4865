// The chart's page layout.
#include "chartlayout.h"

#include <algorithm>

namespace {

// Millimetres.
constexpr double kMargin = 8;
constexpr double kTitleHeight = 10;
constexpr double kScalesHeight = 17;  // the Pq scale over the d scale, above the frame
constexpr double kLeftScale = 13;     // t labels and the t axis name
constexpr double kRightGap = 9;       // h labels at the right edge
constexpr double kColumnWidth = 58;   // legend and ε fan
constexpr double kFooterHeight = 5;
constexpr double kFanHeight = 75;
// The ε fan's rays are at least 20 mm long in a fan this high (its heading and
// the ratios' labels take the rest).
constexpr double kLeastFanHeight = 68;
// The strip under a wide frame: the gap that keeps the h numbers at the
// frame's lower edge, and an upward fan with rays of 20 mm (heading, rays and
// their labels above the origin).
constexpr double kStripGap = 6;
constexpr double kStripHeight = 38;
constexpr double kStripFanWidth = 64;
// The strip is taken only for a clearly larger chart.
constexpr double kStripGain = 1.03;

}  // namespace

ChartLayout::ChartLayout(const ChartLines& lines, QSizeF page, double dotsPerMm, bool stripAllowed)
    : m_page(page), m_dotsPerMm(dotsPerMm)
{
    const double W = page.width();
    const double H = page.height();
    m_title = QRectF(mm(kMargin), mm(kMargin), W - mm(2 * kMargin), mm(kTitleHeight));
    m_footer = QRectF(mm(kMargin), H - mm(kMargin + kFooterHeight), W - mm(2 * kMargin),
                      mm(kFooterHeight));
    const double top = m_title.bottom() + mm(kScalesHeight);
    const double bottom = m_footer.top() - mm(3);
    const QRectF wide(mm(kMargin + kLeftScale), top, W - mm(2 * kMargin + kLeftScale + kRightGap), bottom - top);
    const QRectF area = wide.adjusted(0, 0, -mm(kColumnWidth), 0);
    if (!lines.hasDomain()) {
        m_frame = area;
    } else {
        const auto fit = [&](const QRectF& into) {
            return ChartMapping(lines.dLeft(), lines.dRight(), lines.yBottom(), lines.yTop(), ChartLines::Shear(), into);
        };
        m_mapping = fit(area);
        const ChartMapping under = fit(wide.adjusted(0, 0, 0, -mm(kStripGap + kStripHeight)));
        m_strip = stripAllowed && under.scale() > m_mapping.scale() * kStripGain;
        if (m_strip)
            m_mapping = under;
        m_frame = m_mapping.frame();
    }
    if (m_strip) {
        // Legend on the left, fan on the right, both as tall as the strip.
        const double stripTop = m_frame.bottom() + mm(kStripGap);
        const double right = m_frame.right() + mm(kRightGap);
        m_fan = QRectF(right - mm(kStripFanWidth), stripTop, mm(kStripFanWidth), mm(kStripHeight));
        m_legend = QRectF(QPointF(m_frame.left(), stripTop), QPointF(m_fan.left() - mm(4), m_fan.bottom()));
        return;
    }
    // The column takes the page's height whatever the frame's, so that a wide,
    // low frame still leaves room for the legend and a fan of long rays.
    m_columnBottom = area.bottom();
    const double columnLeft = m_frame.right() + mm(kRightGap);
    const double fanHeight = std::min(mm(kFanHeight), (m_columnBottom - m_frame.top()) / 2);
    m_fan = QRectF(columnLeft, m_columnBottom - fanHeight, mm(kColumnWidth), fanHeight);
    m_legend = QRectF(columnLeft, m_frame.top(), mm(kColumnWidth), m_fan.top() - mm(4) - m_frame.top());
}

void ChartLayout::fitLegend(double needed)
{
    // The legend takes what its entries need, the ε fan keeps the rest, but
    // never less than a fan of readable rays.
    if (m_strip)
        return;
    const double column = m_columnBottom - m_frame.top();
    const double fanHeight = std::clamp(column - needed - mm(4), std::min(mm(kLeastFanHeight), column / 2),
                                        std::max(m_fan.height(), std::min(mm(kLeastFanHeight), column / 2)));
    m_fan.setTop(m_columnBottom - fanHeight);
    m_legend.setBottom(m_fan.top() - mm(4));
}
