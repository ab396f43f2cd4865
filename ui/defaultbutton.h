// The default button of a form outside a dialog, and the Enter key that presses it.
#pragma once

class QKeyEvent;
class QPushButton;
class QWidget;

// Makes button the default button of form as a dialog shows one: drawn with
// the style's default-button frame and reported as the default to assistive
// technology, except while another push button of the form has the focus,
// which then shows the frame itself (Enter presses the focused button).
// Outside a dialog the toolkit ties no key to the default button: the form's
// keyPressEvent hands its keys to pressOnEnter().
void makeDefaultButton(QPushButton* button, QWidget* form);

// The Enter rule of a form: Return, or Enter on the keypad, that reaches the
// form presses its default button. Text boxes and option buttons pass Enter
// on to the form; a push button takes it and presses itself. Returns whether
// the key was Enter, so that the form's keyPressEvent ends there.
bool pressOnEnter(QPushButton* defaultButton, const QKeyEvent* event);
