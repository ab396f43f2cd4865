// The program's message box, used by every window that reports something.
#pragma once

class QString;
class QWidget;

// The program's message box: modal, with a title, the text, one OK button and
// no picture (no icon, and no tick on the button either).
void ShowMessage(QWidget* parent, const QString& title, const QString& text);
