// The help window (`Form3`): a static hint that the notebook is saved after recording.
#pragma once

#include <QWidget>

class QPlainTextEdit;

// The help window: a one-sentence hint that the notebook can be saved only
// after the record button has been used. No behaviour of its own.
class Form3 : public QWidget {
    Q_OBJECT
public:
    explicit Form3(QWidget* parent = nullptr);

    static QString caption();
    static QString helpText();

    QPlainTextEdit* text1() const { return m_text1; }

private:
    QPlainTextEdit* m_text1;
};
