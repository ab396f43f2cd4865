// Closing a form from its own button, inside the main window or on its own.
#pragma once

class QWidget;

// Inside the main window the child-window frame around the form is the
// window the user sees: it is what closes (and is destroyed), since closing
// only the form would leave an empty frame behind. A form on its own closes.
void closeForm(QWidget* form);
