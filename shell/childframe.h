// The frame of a child window whose title-bar buttons take the first click.
#pragma once

#include <QMdiSubWindow>

// The frame of a child window in the main window's workspace: a
// QMdiSubWindow whose title-bar buttons take the first click.
//
// QMdiSubWindow tracks which title-bar button is under the pointer from its
// mouse moves, and it skips that tracking on a move that starts while the
// previous move left it over the title text (ready to move the window) or a
// border (ready to resize). A pointer that jumps from there onto a button in
// one move, or a touch that presses with no move at all, leaves the stale
// control behind, the press goes to it, and only a second click acts.
class ChildFrame : public QMdiSubWindow {
    Q_OBJECT
public:
    using QMdiSubWindow::QMdiSubWindow;

protected:
    void mousePressEvent(QMouseEvent* event) override;
};
