// Pens, fonts, labels and label blocks for drawing the h–d chart.
#include "chartcanvas.h"

#include <QImage>
#include <QTransform>

#include <QFontMetricsF>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

#include "chartpalette.h"
#include "display.h"
#include "fonts.h"

ChartCanvas::ChartCanvas(QPainter& painter, const ChartLayout& layout)
    : m_p(painter),
      m_layout(layout)
{
}

QString ChartCanvas::Text(const std::string& utf8)
{
    // Every text is one line, and an SVG file is XML 1.0, which allows no
    // control character, no lone surrogate and no noncharacter such as
    // U+FFFE: one such character in a label would make the whole file
    // unreadable. The same replacements go into every format.
    QString text = QString::fromStdString(utf8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            const char32_t u = QChar::surrogateToUcs4(c, text[i + 1].unicode());
            if ((u & 0xFFFE) == 0xFFFE)
                text.replace(i, 2, QChar::ReplacementCharacter);
            else
                ++i;
        } else if (c < 0x20 || (c >= 0x7F && c < 0xA0) || c == QChar::LineSeparator
                   || c == QChar::ParagraphSeparator) {
            text[i] = QLatin1Char(' ');
        } else if (QChar::isSurrogate(c) || (c >= 0xFDD0 && c <= 0xFDEF) || c >= 0xFFFE) {
            text[i] = QChar::ReplacementCharacter;
        }
    }
    return text;
}

QString ChartCanvas::Number(double value)
{
    return Signed(FormatShortest(value));
}

QString ChartCanvas::Signed(const std::string& number)
{
    // A printed chart writes the minus sign, not the hyphen.
    QString text = Text(number);
    if (text.startsWith(u'-'))
        text.replace(0, 1, QChar(0x2212));
    return text;
}

QPointF ChartCanvas::Unit(QPointF v)
{
    const double length = std::hypot(v.x(), v.y());
    return length > 0 ? v / length : QPointF();
}

double ChartCanvas::AngleOf(QPointF v)
{
    return std::atan2(v.y(), v.x()) * 180 / M_PI;
}

QPen ChartCanvas::pen(const QColor& colour, double widthMm) const
{
    QPen p(colour, m_layout.mm(widthMm));
    p.setCapStyle(Qt::FlatCap);
    p.setJoinStyle(Qt::RoundJoin);
    return p;
}

QFont ChartCanvas::Font(double pointSize, bool bold)
{
    QFont font = songtiFont(pointSize);
    font.setBold(bold);
    return font;
}

void ChartCanvas::setFont(double pointSize, bool bold)
{
    m_p.setFont(Font(pointSize, bold));
}

void ChartCanvas::drawSegment(const DhSegment& s)
{
    const ChartMapping& map = m_layout.mapping();
    m_p.drawLine(map.toPage(s.from), map.toPage(s.to));
}

namespace {

// Text is measured on one device whatever the output, so that a PNG, an SVG
// and a PDF lay out every label alike: font metrics taken at each device's
// own resolution differ by their rounding, enough to tip a label to the
// other side of its point.
constexpr double kMeasureDotsPerMm = 1200 / 25.4;

const QPaintDevice& measuringDevice()
{
    static const QImage device = [] {
        QImage image(1, 1, QImage::Format_ARGB32);
        image.setDotsPerMeterX(static_cast<int>(std::lround(kMeasureDotsPerMm * 1000)));
        image.setDotsPerMeterY(static_cast<int>(std::lround(kMeasureDotsPerMm * 1000)));
        return image;
    }();
    return device;
}

}  // namespace

QFontMetricsF ChartCanvas::measuring(const QFont& font)
{
    return QFontMetricsF(font, &measuringDevice());
}

double ChartCanvas::fromMeasured(double length) const
{
    return length * m_layout.mm(1) / kMeasureDotsPerMm;
}

QSizeF ChartCanvas::textSize(const QFont& font, const QString& text) const
{
    const QFontMetricsF fm = measuring(font);
    return {fromMeasured(fm.horizontalAdvance(text)), fromMeasured(fm.height())};
}

double ChartCanvas::textHeight(const QFont& font) const
{
    return fromMeasured(measuring(font).height());
}

double ChartCanvas::wrappedHeight(const QFont& font, double width, const QString& text) const
{
    const double scale = fromMeasured(1);
    const QRectF used = measuring(font).boundingRect(QRectF(0, 0, width / scale, 1e6),
                                                     Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
    return used.height() * scale;
}

QString ChartCanvas::elided(const QFont& font, const QString& text, double width) const
{
    return measuring(font).elidedText(text, Qt::ElideRight, width / fromMeasured(1));
}

QRectF ChartCanvas::drawLabel(QPointF anchor, Qt::Alignment align, const QString& s, bool halo)
{
    const QSizeF size = textSize(m_p.font(), s);
    QPointF topLeft = anchor;
    if (align & Qt::AlignRight)
        topLeft.rx() -= size.width();
    else if (align & Qt::AlignHCenter)
        topLeft.rx() -= size.width() / 2;
    if (align & Qt::AlignBottom)
        topLeft.ry() -= size.height();
    else if (align & Qt::AlignVCenter)
        topLeft.ry() -= size.height() / 2;
    const QRectF rect(topLeft, size);
    if (halo) {
        const double pad = m_layout.mm(0.4);
        m_p.fillRect(rect.adjusted(-pad, 0, pad, 0), Qt::white);
    }
    // Never clipped: at a screen's few dots per millimetre the font's size is
    // rounded up to whole pixels, and the text overruns its measured box by a
    // pixel or two.
    m_p.drawText(rect, Qt::AlignCenter | Qt::TextDontClip, s);
    return rect;
}

QRectF ChartCanvas::drawTurnedLabel(QPointF anchor, double degrees, Qt::Alignment align,
                                    const QString& s, bool halo)
{
    m_p.save();
    m_p.translate(anchor);
    m_p.rotate(degrees);
    const QRectF local = drawLabel(QPointF(0, 0), align, s, halo);
    m_p.restore();
    QTransform turn;
    turn.translate(anchor.x(), anchor.y());
    turn.rotate(degrees);
    return turn.mapRect(local);
}

QSizeF ChartCanvas::blockSize(const QVector<BlockLine>& lines) const
{
    QSizeF size(0, 0);  // QSizeF() is −1 × −1
    for (const BlockLine& line : lines) {
        const QSizeF text = textSize(line.font, line.text);
        size.setWidth(std::max(size.width(), text.width()));
        size.rheight() += text.height();
    }
    return size + QSizeF(2 * m_layout.mm(0.4), 0);
}

void ChartCanvas::take(const QRectF& place)
{
    m_taken.push_back(place);
}

void ChartCanvas::fix(const QRectF& place)
{
    m_fixed.push_back(place);
}

void ChartCanvas::fixPolyline(const QPolygonF& line, double halfWidthMm)
{
    // Small squares every millimetre along the line cover it.
    const double half = m_layout.mm(halfWidthMm);
    const double step = m_layout.mm(1);
    for (qsizetype i = 1; i < line.size(); ++i) {
        const QLineF segment(line[i - 1], line[i]);
        const int n = std::max(1, static_cast<int>(std::ceil(segment.length() / step)));
        for (int k = 0; k <= n; ++k) {
            const QPointF at = segment.pointAt(static_cast<double>(k) / n);
            m_fixed.push_back(QRectF(at - QPointF(half, half), at + QPointF(half, half)));
        }
    }
}

bool ChartCanvas::isFree(const QRectF& place) const
{
    return std::none_of(m_fixed.begin(), m_fixed.end(), [&](const QRectF& f) { return place.intersects(f); });
}

std::optional<QRectF> ChartCanvas::placeBlock(const QVector<QRectF>& candidates)
{
    // The first place that covers no marker and no earlier label, failing
    // that the one that covers least; always inside the frame, and never on
    // a number or the saturation curve: a block with no such place is dropped.
    const QRectF frame = m_layout.frame();
    QRectF best;
    int bestCovered = -1;
    for (QRectF place : candidates) {
        place.moveLeft(std::clamp(place.left(), frame.left(), std::max(frame.left(), frame.right() - place.width())));
        place.moveTop(std::clamp(place.top(), frame.top(), std::max(frame.top(), frame.bottom() - place.height())));
        if (!isFree(place))
            continue;
        int covered = 0;
        for (const QRectF& other : m_taken)
            covered += place.intersects(other) ? 1 : 0;
        if (bestCovered < 0 || covered < bestCovered) {
            best = place;
            bestCovered = covered;
        }
        if (covered == 0)
            break;
    }
    if (bestCovered < 0) {
        ++m_dropped;
        return std::nullopt;
    }
    m_taken.push_back(best);
    return best;
}

void ChartCanvas::drawBlock(const QRectF& place, const QVector<BlockLine>& lines)
{
    const double pad = m_layout.mm(0.4);
    m_p.fillRect(place, Qt::white);
    double y = place.top();
    for (const BlockLine& line : lines) {
        m_p.setFont(line.font);
        const double height = textHeight(line.font);
        m_p.drawText(QRectF(place.left() + pad, y, place.width() - 2 * pad, height),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextDontClip, line.text);
        y += height;
    }
}

QPolygonF ChartCanvas::arrowhead(QPointF tip, QPointF direction) const
{
    const QPointF side(-direction.y(), direction.x());
    QPolygonF head;
    head << tip << tip - direction * m_layout.mm(2.4) + side * m_layout.mm(0.9)
         << tip - direction * m_layout.mm(2.4) - side * m_layout.mm(0.9);
    return head;
}

void ChartCanvas::drawArrowhead(QPointF tip, QPointF direction, const QColor& colour)
{
    m_p.setPen(Qt::NoPen);
    m_p.setBrush(colour);
    m_p.drawConvexPolygon(arrowhead(tip, direction));
    m_p.setBrush(Qt::NoBrush);
}

double ChartCanvas::markerRadius() const
{
    return m_layout.mm(0.9);
}

void ChartCanvas::drawMarkers(const QVector<QPointF>& centres, bool hollow)
{
    const double r = markerRadius();
    m_p.setPen(pen(hollow ? ChartPalette::kPoint : ChartPalette::kPointEdge, hollow ? 0.3 : 0.15));
    m_p.setBrush(hollow ? QBrush(Qt::white) : QBrush(ChartPalette::kPoint));
    for (const QPointF& at : centres)
        m_p.drawEllipse(at, r, r);
    m_p.setBrush(Qt::NoBrush);
}
