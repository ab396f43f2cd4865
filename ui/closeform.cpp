// Closing a form from its own button, inside the main window or on its own.
#include "closeform.h"

#include <QMdiSubWindow>

void closeForm(QWidget* form)
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(form->parentWidget()))
        sub->close();
    else
        form->close();
}
