// Option buttons that the focus selects and the arrow keys move round.
#include "optionbutton.h"

#include <QFocusEvent>
#include <QKeyEvent>

OptionButton::OptionButton(QWidget* parent) : QRadioButton(parent) {}

void OptionButton::focusInEvent(QFocusEvent* event)
{
    QRadioButton::focusInEvent(event);
    // A mouse press selects the button itself when it is released.
    if (event->reason() != Qt::MouseFocusReason && !isChecked())
        click();
}

void OptionButton::keyPressEvent(QKeyEvent* event)
{
    bool forward = true;
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Left:
        forward = false;
        break;
    case Qt::Key_Down:
    case Qt::Key_Right:
        break;
    default:
        QRadioButton::keyPressEvent(event);
        return;
    }
    // The toolkit would only move to a button lying in the arrow's direction,
    // and not wrap: the options of a frame form one ring here.
    OptionButton* next = neighbour(forward);
    if (!next) {
        event->ignore();
        return;
    }
    next->click();
    next->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
}

OptionButton* OptionButton::neighbour(bool forward) const
{
    QList<OptionButton*> group;
    if (parentWidget())
        for (OptionButton* option : parentWidget()->findChildren<OptionButton*>(Qt::FindDirectChildrenOnly))
            if (option == this || (option->isVisibleTo(parentWidget()) && option->isEnabled()))
                group << option;
    const qsizetype count = group.size();
    if (count < 2)
        return nullptr;
    const qsizetype here = group.indexOf(const_cast<OptionButton*>(this));
    return group.at((here + (forward ? 1 : count - 1)) % count);
}
