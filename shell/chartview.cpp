// The chart area of the 焓湿图 window.
#include "chartview.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

#include "chartlayout.h"
#include "chartpainter.h"
#include "physics.h"

namespace {

// Below this a 7.5 pt number of the chart is under 8 px high.
constexpr double kLeastDotsPerMm = 3.0;
// One wheel notch zooms in or out by this much.
constexpr double kZoomPerNotch = 0.8;
constexpr double kStepD = 0.1;  // g/kg, an arrow key across
constexpr double kStepH = 0.5;  // kJ/kg, an arrow key along h

double dryBulbAt(DhPoint p)
{
    return DryBulbFromEnthalpy(p.h, p.d);
}

ChartMapping mappingFor(const ChartContent& content, QSize size)
{
    return ChartPainter::MappingOf(content, QSizeF(size), ChartView::DotsPerMm(size));
}

}  // namespace

ChartView::ChartView(QWidget* parent) : QWidget(parent)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::CrossCursor);
}

double ChartView::DotsPerMm(QSize size)
{
    const QSizeF a4 = ChartLayout::A4Landscape();
    return std::max(kLeastDotsPerMm, std::min(size.width() / a4.width(), size.height() / a4.height()));
}

void ChartView::setContent(ChartContent content)
{
    content.range = m_content.range;
    m_content = std::move(content);
    m_mapping = mappingFor(m_content, size());
    m_stale = true;
    update();
}

void ChartView::setRange(const ChartRange& range)
{
    if (!ChartRangeValid(range))
        return;
    m_content.range = range;
    m_mapping = mappingFor(m_content, size());
    m_stale = true;
    // The cross-hair stays at its place of the air, if that is still in view.
    if (m_cross && !m_mapping.frame().contains(m_mapping.toPage(*m_cross)))
        moveCross(std::nullopt);
    update();
}

void ChartView::render()
{
    // An image, not a pixmap: its resolution is the layout's, so that the
    // chart's point sizes come out as large as the layout measured them.
    const qreal ratio = devicePixelRatioF();
    const double dotsPerMm = DotsPerMm(size());
    m_image = QImage(size() * ratio, QImage::Format_RGB32);
    m_image.setDevicePixelRatio(ratio);
    m_image.setDotsPerMeterX(qRound(dotsPerMm * 1000));
    m_image.setDotsPerMeterY(qRound(dotsPerMm * 1000));
    QPainter painter(&m_image);
    ChartPainter(painter, m_content, QSizeF(size()), dotsPerMm).paint();
    m_stale = false;
}

void ChartView::paintEvent(QPaintEvent*)
{
    if (m_stale || m_image.size() != size() * devicePixelRatioF())
        render();
    QPainter painter(this);
    painter.drawImage(0, 0, m_image);
    if (m_cross) {
        const QRectF frame = m_mapping.frame();
        const QPointF at = m_mapping.toPage(*m_cross);
        painter.setClipRect(frame);
        painter.setPen(QPen(QColor(0x10, 0x40, 0xa0), 0, Qt::DashLine));
        painter.drawLine(QPointF(at.x(), frame.top()), QPointF(at.x(), frame.bottom()));
        painter.drawLine(QPointF(frame.left(), at.y()), QPointF(frame.right(), at.y()));
        painter.setPen(QPen(QColor(0x10, 0x40, 0xa0), 1.5));
        painter.drawEllipse(at, 4, 4);
        painter.setClipping(false);
    }
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void ChartView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_mapping = mappingFor(m_content, size());
    m_stale = true;
}

std::optional<DhPoint> ChartView::placeAt(QPointF pos) const
{
    if (!m_mapping.frame().contains(pos))
        return std::nullopt;
    return m_mapping.toData(pos);
}

void ChartView::moveCross(std::optional<DhPoint> at)
{
    m_cross = at;
    update();
    emit pointed(at);
}

void ChartView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    setFocus(Qt::MouseFocusReason);
    m_press = event->position();
    m_pressRange = m_content.range;
    m_pressMapping = m_mapping;
    m_dragging = false;
}

void ChartView::mouseMoveEvent(QMouseEvent* event)
{
    if (m_press && (event->buttons() & Qt::LeftButton)) {
        if (!m_dragging
            && (event->position() - *m_press).manhattanLength() >= QApplication::startDragDistance()) {
            m_dragging = true;
            setCursor(Qt::ClosedHandCursor);
        }
        if (m_dragging) {
            // The place pressed stays under the pointer.
            const DhPoint from = m_pressMapping.toData(*m_press);
            const DhPoint to = m_pressMapping.toData(event->position());
            setRange(MovedRange(m_pressRange, dryBulbAt(from) - dryBulbAt(to), from.d - to.d));
            return;
        }
    }
    moveCross(placeAt(event->position()));
}

void ChartView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_press)
        return QWidget::mouseReleaseEvent(event);
    const bool click = !m_dragging;
    m_press.reset();
    m_dragging = false;
    setCursor(Qt::CrossCursor);
    if (click) {
        if (const std::optional<DhPoint> at = placeAt(event->position()))
            emit pinRequested(*at);
    }
}

void ChartView::wheelEvent(QWheelEvent* event)
{
    const std::optional<DhPoint> at = placeAt(event->position());
    const double notches = event->angleDelta().y() / 120.0;
    if (!at || notches == 0)
        return event->ignore();
    setRange(ZoomedRange(m_content.range, dryBulbAt(*at), at->d, std::pow(kZoomPerNotch, notches)));
    moveCross(placeAt(event->position()));
}

void ChartView::keyPressEvent(QKeyEvent* event)
{
    const double times = (event->modifiers() & Qt::ShiftModifier) ? 10 : 1;
    double dd = 0;
    double dh = 0;
    switch (event->key()) {
    case Qt::Key_Left: dd = -kStepD * times; break;
    case Qt::Key_Right: dd = kStepD * times; break;
    case Qt::Key_Up: dh = kStepH * times; break;
    case Qt::Key_Down: dh = -kStepH * times; break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_cross)
            emit pinRequested(*m_cross);
        return;
    default:
        return QWidget::keyPressEvent(event);
    }
    if (!m_cross) {
        // The first key shows the cross-hair in the middle of the frame.
        moveCross(placeAt(m_mapping.frame().center()));
        return;
    }
    const DhPoint next{m_cross->d + dd, m_cross->h + dh};
    if (m_mapping.frame().contains(m_mapping.toPage(next)))
        moveCross(next);
}

void ChartView::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    if (!m_press)
        moveCross(std::nullopt);
}
