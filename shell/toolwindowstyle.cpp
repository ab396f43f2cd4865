// The tool-window style: a lower title bar and a close cross that fits it.
#include "toolwindowstyle.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStyleOption>
#include <QWidget>

namespace {

bool isToolWindow(const QWidget* widget)
{
    return widget && widget->property(ToolWindowStyle::kToolWindowProperty).toBool();
}

}  // namespace

ToolWindowStyle::ToolWindowStyle(QObject* parent)
{
    setParent(parent);
}

int ToolWindowStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                                 const QWidget* widget) const
{
    const int base = QProxyStyle::pixelMetric(metric, option, widget);
    if (metric != PM_TitleBarHeight || !isToolWindow(widget))
        return base;
    const int textHeight = option ? option->fontMetrics.height() : widget->fontMetrics().height();
    return qMin(base, qMax(textHeight + 5, 14));
}

void ToolWindowStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                         QPainter* painter, const QWidget* widget) const
{
    const auto* titleBar = qstyleoption_cast<const QStyleOptionTitleBar*>(option);
    if (control != CC_TitleBar || !titleBar || !isToolWindow(widget)
        || !(titleBar->subControls & SC_TitleBarCloseButton)) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    // The base style insets its cross by a fixed margin that leaves a single
    // dot in a button this small: it draws the rest, the cross is drawn here.
    QStyleOptionTitleBar rest(*titleBar);
    rest.subControls &= ~SC_TitleBarCloseButton;
    QProxyStyle::drawComplexControl(control, &rest, painter, widget);
    if (titleBar->titleBarFlags & Qt::WindowSystemMenuHint)
        drawCloseBox(*titleBar, painter, widget);
}

void ToolWindowStyle::drawCloseBox(const QStyleOptionTitleBar& titleBar, QPainter* painter,
                                   const QWidget* widget) const
{
    const QRect box = subControlRect(CC_TitleBar, &titleBar, SC_TitleBarCloseButton, widget);
    if (!box.isValid())
        return;
    const bool active = titleBar.titleBarState & State_Active;
    const bool underPointer = titleBar.activeSubControls & SC_TitleBarCloseButton;
    const QColor highlight = titleBar.palette.color(QPalette::Highlight);

    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    // Pressed and hovered as the other title bars show them.
    if (underPointer && (titleBar.state & State_Sunken))
        painter->fillRect(box.adjusted(1, 1, -1, -1), highlight.darker(120));
    else if (underPointer && (titleBar.state & State_MouseOver))
        painter->fillRect(box.adjusted(1, 1, -1, -1), QColor(255, 255, 255, 20));
    painter->setPen(active ? highlight.darker(180) : titleBar.palette.color(QPalette::Dark));
    painter->setBrush(Qt::NoBrush);
    painter->drawRoundedRect(QRectF(box).adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);

    const qreal inset = box.width() / 4.0;
    const QRectF cross = QRectF(box).adjusted(inset, inset, -inset, -inset);
    QPen pen(active ? QColor(Qt::white) : QColor(Qt::black), qMax<qreal>(1.5, box.width() / 8.0));
    pen.setCapStyle(Qt::FlatCap);
    painter->setPen(pen);
    painter->drawLine(cross.topLeft(), cross.bottomRight());
    painter->drawLine(cross.topRight(), cross.bottomLeft());
    painter->restore();
}
