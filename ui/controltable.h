// The builder of a form's fixed controls from a table of names, kinds and places in twips.
#pragma once

#include <QHash>
#include <QString>

#include <span>

class QRadioButton;
class QWidget;

enum class ControlKind {
    Frame,    // a group frame with its caption on the frame line (QGroupBox)
    Option,   // an option button (QRadioButton, or the form's own kind of one)
    Label,    // plain static text from the top left; two lines tall or more, it wraps
    Text,     // a one-line text box holding its initial text (QLineEdit)
    Button,   // a push button; Enter on it while it has the focus presses it
    Picture,  // a picture box that takes the focus and fills its background (QLabel)
    Panel,    // a frameless container that takes the focus (QFrame)
};

// One control, described once.
struct ControlDesc {
    const char* name;  // its objectName
    ControlKind kind;
    const char* container;         // nullptr: the form itself; otherwise a control listed before it
    int left, top, width, height;  // twips, in the container's client area
    const char* text;              // UTF-8 caption or initial text; pictures and panels have none
    int tab = 0;                   // its place in the focus order, if it takes the focus
    double pointSize = 0;          // 0: the form's font; otherwise the song font at this size
};

// Makes the option buttons of a form that needs its own kind of them.
using OptionFactory = QRadioButton* (*)(QWidget* container);

// Creates the controls of table on form, in the table's order, each named,
// placed at the form's logical dpi and put in the focus order by its tab.
// Returns them by name.
QHash<QString, QWidget*> BuildControls(QWidget* form, std::span<const ControlDesc> table,
                                       OptionFactory makeOption = nullptr);
