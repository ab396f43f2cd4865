// How the main window frames, shows and looks up its child windows.
#pragma once

#include <QMdiSubWindow>

class QMdiArea;
class QWidget;

// How a child window of the main window is framed.
enum class ChildBorder {
    FixedSingle,  // fixed size, close box only
    FixedTool,    // fixed size, small title bar, close box only
    Sizable,      // resizable, with minimise and maximise buttons
};

// Wraps widget in a child window of area, destroyed when closed and hidden
// until ShowChildWindow(). A fixed border keeps the widget's fixed size; a
// sizable one opens at the widget's sizeHint(). Child windows have no icon and
// no system menu of their own.
QMdiSubWindow* AddChildWindow(QMdiArea* area, QWidget* widget, ChildBorder border);

// Makes the child window visible and the active one, or only brings it to the front.
void ShowChildWindow(QMdiSubWindow* sub);

// Whether sub still stands for an open child window: not destroyed, and not
// closed and waiting to be destroyed.
bool IsChildWindowOpen(const QMdiSubWindow* sub);

// The widget of sub as a T while the child window is open; nullptr otherwise.
template <class T>
T* OpenChildWidget(const QMdiSubWindow* sub)
{
    return IsChildWindowOpen(sub) ? qobject_cast<T*>(sub->widget()) : nullptr;
}
