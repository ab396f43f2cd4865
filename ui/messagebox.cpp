// The program's message box: no icon, one OK button.
#include "messagebox.h"

#include <QAbstractButton>
#include <QIcon>
#include <QMessageBox>

void ShowMessage(QWidget* parent, const QString& title, const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
    // Some styles put a tick on the OK button.
    if (QAbstractButton* ok = box.button(QMessageBox::Ok))
        ok->setIcon(QIcon());
    box.exec();
}
