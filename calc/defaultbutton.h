#pragma once

class QPushButton;
class QWidget;

// Makes button the default button of form as a dialog shows one: drawn with
// the style's default-button frame and reported as the default to assistive
// technology, except while another push button of the form has the focus,
// which then shows the frame itself (Enter presses the focused button).
// Which key presses what stays with the form: outside a dialog the toolkit
// ties no key to the default button.
void makeDefaultButton(QPushButton* button, QWidget* form);
