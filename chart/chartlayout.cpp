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

}  // namespace

ChartLayout::ChartLayout(const ChartLines& lines, QSizeF page, double dotsPerMm)
    : m_page(page), m_dotsPerMm(dotsPerMm)
{
    const double W = page.width();
    const double H = page.height();
    m_title = QRectF(mm(kMargin), mm(kMargin), W - mm(2 * kMargin), mm(kTitleHeight));
    m_footer = QRectF(mm(kMargin), H - mm(kMargin + kFooterHeight), W - mm(2 * kMargin),
                      mm(kFooterHeight));
    const QRectF area(mm(kMargin + kLeftScale), m_title.bottom() + mm(kScalesHeight),
                      W - mm(2 * kMargin + kLeftScale + kRightGap + kColumnWidth),
                      m_footer.top() - mm(3) - (m_title.bottom() + mm(kScalesHeight)));
    if (lines.hasDomain()) {
        m_mapping = ChartMapping(lines.dLeft(), lines.dRight(), lines.yBottom(), lines.yTop(),
                                 ChartLines::Shear(), area);
        m_frame = m_mapping.frame();
    } else {
        m_frame = area;
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
    const double column = m_columnBottom - m_frame.top();
    const double fanHeight = std::clamp(column - needed - mm(4), std::min(mm(kLeastFanHeight), column / 2),
                                        std::max(m_fan.height(), std::min(mm(kLeastFanHeight), column / 2)));
    m_fan.setTop(m_columnBottom - fanHeight);
    m_legend.setBottom(m_fan.top() - mm(4));
}
