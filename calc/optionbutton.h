// The calculation window's option buttons: selected by the focus, arrow keys round the group.
#pragma once

#include <QRadioButton>

// An option button that becomes selected, and runs its click action, when the
// focus reaches it other than by a mouse click: tabbing into the group or the
// window taking the focus picks a mode, so the window is never without one.
// The arrow keys move through the option buttons of the same frame in their
// order and wrap around: Down and Right to the next, Up and Left to the
// previous, each selection running the click action.
class OptionButton : public QRadioButton {
    Q_OBJECT
public:
    explicit OptionButton(QWidget* parent = nullptr);

protected:
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    OptionButton* neighbour(bool forward) const;
};
