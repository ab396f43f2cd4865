// The child-window frame that catches up with the pointer before a press.
#include "childframe.h"

#include <QMouseEvent>

void ChildFrame::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        // Catch up with the pointer as if it had moved here: the first pass
        // clears a pending move or resize left by an earlier position, the
        // second then finds the control under the press.
        QMouseEvent hover(QEvent::MouseMove, event->position(), event->scenePosition(),
                          event->globalPosition(), Qt::NoButton, Qt::NoButton, event->modifiers());
        for (int pass = 0; pass < 2; ++pass)
            mouseMoveEvent(&hover);
    }
    QMdiSubWindow::mousePressEvent(event);
}
