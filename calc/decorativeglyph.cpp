// Decorative glyphs: an accessibility interface that reports them as not showing.
#include "decorativeglyph.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>
#include <QVariant>
#include <QWidget>

namespace {

constexpr const char* kDecorativeProperty = "nimbaraDecorative";

// Static text that reports itself as not showing.
class DecorativeInterface : public QAccessibleWidget {
public:
    explicit DecorativeInterface(QWidget* widget) : QAccessibleWidget(widget, QAccessible::StaticText) {}

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.invisible = true;
        return state;
    }

    // The glyph itself, should a reader look: a plain widget's interface
    // would otherwise borrow the caption of the frame around it.
    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name)
            if (const auto* label = qobject_cast<const QLabel*>(widget()))
                return label->text();
        return QAccessibleWidget::text(kind);
    }
};

QAccessibleInterface* decorativeFactory(const QString& /*className*/, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    return widget && isDecorative(widget) ? new DecorativeInterface(widget) : nullptr;
}

}  // namespace

void markDecorative(QWidget* widget)
{
    // Installed factories are asked before the toolkit's own, so the marked
    // widgets get their interface from here whenever it is first asked for.
    static const bool installed = [] {
        QAccessible::installFactory(decorativeFactory);
        return true;
    }();
    (void)installed;
    widget->setProperty(kDecorativeProperty, true);
    // While a reader listens, the toolkit makes a widget's interface as soon
    // as the widget is made; drop such a one so that the next look-up gets ours.
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
    if (iface && !dynamic_cast<DecorativeInterface*>(iface))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(iface));
}

bool isDecorative(const QWidget* widget)
{
    return widget->property(kDecorativeProperty).toBool();
}
