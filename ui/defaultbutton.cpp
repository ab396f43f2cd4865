// The default button kept in step with the focus, and the Enter rule.
#include "defaultbutton.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>

namespace {

// Follows the focus through the application; lives as long as the button.
class DefaultButtonKeeper : public QObject {
public:
    DefaultButtonKeeper(QPushButton* button, QWidget* form) : QObject(button), m_button(button), m_form(form)
    {
        connect(qApp, &QApplication::focusChanged, this, &DefaultButtonKeeper::follow);
        m_button->setDefault(true);
    }

private:
    // Runs after the focus events: a push button that loses the focus outside
    // a dialog gives up its default state, the default button included.
    void follow(QWidget* /*old*/, QWidget* now)
    {
        const auto* focused = qobject_cast<QPushButton*>(now);
        const bool otherButton = focused && focused != m_button && focused->autoDefault()
                                 && m_form->isAncestorOf(focused);
        m_button->setDefault(!otherButton);
    }

    QPushButton* m_button;
    QWidget* m_form;
};

}  // namespace

void makeDefaultButton(QPushButton* button, QWidget* form)
{
    new DefaultButtonKeeper(button, form);
}

bool pressOnEnter(QPushButton* defaultButton, const QKeyEvent* event)
{
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
        return false;
    defaultButton->click();
    return true;
}
