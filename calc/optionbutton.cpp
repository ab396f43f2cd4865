#include "optionbutton.h"

#include <QFocusEvent>

OptionButton::OptionButton(QWidget* parent) : QRadioButton(parent) {}

void OptionButton::focusInEvent(QFocusEvent* event)
{
    QRadioButton::focusInEvent(event);
    // A mouse press selects the button itself when it is released.
    if (event->reason() != Qt::MouseFocusReason && !isChecked())
        click();
}
