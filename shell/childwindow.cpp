// Child windows of the main window: their frames, flags, icon and size.
#include "childwindow.h"

#include <QIcon>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPixmap>

#include "childframe.h"
#include "toolwindowstyle.h"

namespace {

QIcon blankIcon()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    return QIcon(pixmap);
}

// One tool-window style per workspace, shared by its tool windows.
ToolWindowStyle* toolWindowStyle(QMdiArea* area)
{
    auto* style = area->findChild<ToolWindowStyle*>(QString(), Qt::FindDirectChildrenOnly);
    return style ? style : new ToolWindowStyle(area);
}

}  // namespace

QMdiSubWindow* AddChildWindow(QMdiArea* area, QWidget* widget, ChildBorder border)
{
    // The styles draw a sub-window's close box only with the system-menu hint.
    Qt::WindowFlags flags = Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                            | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    // A fixed frame offers no resizing on its borders, nor their cursors.
    flags |= border == ChildBorder::Sizable ? Qt::WindowMinMaxButtonsHint
                                            : Qt::MSWindowsFixedSizeDialogHint;
    const QSize clientSize = widget->sizeHint();
    auto* sub = new ChildFrame;
    sub->setWidget(widget);
    area->addSubWindow(sub, flags);
    // A sub-window added before the frame is first shown would appear with it.
    sub->hide();
    sub->setAttribute(Qt::WA_DeleteOnClose);
    // A blank icon keeps the style from drawing the Qt logo, or the frame's
    // icon, in the title bar; Qt's system menu is in English and would offer
    // moving and sizing a fixed window.
    sub->setWindowIcon(blankIcon());
    sub->setSystemMenu(nullptr);
    if (border == ChildBorder::FixedTool) {
        sub->setProperty(ToolWindowStyle::kToolWindowProperty, true);
        sub->setStyle(toolWindowStyle(area));
    }
    if (border == ChildBorder::Sizable)
        sub->resize(clientSize.grownBy(sub->contentsMargins()));
    else
        sub->layout()->setSizeConstraint(QLayout::SetFixedSize);
    return sub;
}

void ShowChildWindow(QMdiSubWindow* sub)
{
    sub->show();
    if (QMdiArea* area = sub->mdiArea())
        area->setActiveSubWindow(sub);
    sub->raise();
}

bool IsChildWindowOpen(const QMdiSubWindow* sub)
{
    // A closed child is hidden at once but destroyed only when control
    // returns to the event loop; its widget has been closed (hidden) too.
    return sub && sub->widget() && !sub->widget()->isHidden();
}
