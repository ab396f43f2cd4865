#pragma once

#include <QRadioButton>

// An option button that becomes selected, and runs its click action, when the
// focus reaches it other than by a mouse click: tabbing into the group or the
// window taking the focus picks a mode, so the window is never without one.
class OptionButton : public QRadioButton {
    Q_OBJECT
public:
    explicit OptionButton(QWidget* parent = nullptr);

protected:
    void focusInEvent(QFocusEvent* event) override;
};
