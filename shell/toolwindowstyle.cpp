#include "toolwindowstyle.h"

#include <QFontMetrics>
#include <QStyleOption>
#include <QWidget>

ToolWindowStyle::ToolWindowStyle(QObject* parent)
{
    setParent(parent);
}

int ToolWindowStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                                 const QWidget* widget) const
{
    const int base = QProxyStyle::pixelMetric(metric, option, widget);
    if (metric != PM_TitleBarHeight || !widget || !widget->property(kToolWindowProperty).toBool())
        return base;
    const int textHeight = option ? option->fontMetrics.height() : widget->fontMetrics().height();
    return qMin(base, qMax(textHeight + 5, 14));
}
