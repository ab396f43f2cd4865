// The modal-window watch: polls for modal windows, records and dismisses them.
#include "modalwatch.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>

ModalWatch::ModalWatch(QObject* parent) : QObject(parent)
{
    m_timer.setInterval(5);
    connect(&m_timer, &QTimer::timeout, this, &ModalWatch::poll);
    m_timer.start();
}

void ModalWatch::poll()
{
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal)
        return;
    Seen s;
    s.title = modal->windowTitle();
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        s.text = box->text();
        s.hasIcon = box->icon() != QMessageBox::NoIcon;
        QStringList names;
        for (QAbstractButton* b : box->buttons())
            names << b->text();
        s.buttons = names.join('|');
        m_seen.append(s);
        QAbstractButton* ok = box->defaultButton() ? box->defaultButton() : box->buttons().value(0);
        if (ok)
            ok->click();
        else
            box->reject();
        return;
    }
    m_seen.append(s);
    if (auto* dialog = qobject_cast<QDialog*>(modal))
        dialog->reject();
    else
        modal->close();
}
