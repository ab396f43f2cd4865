#pragma once

#include <QSize>
#include <QWidget>

class QTextEdit;

// The record notebook: one rich-text box that the record button fills and the
// user may edit, kept 100 twips inside the window's edges. Closing the window
// discards its text; there is at most one notebook, created on first use.
class Form2 : public QWidget {
    Q_OBJECT
public:
    explicit Form2(QWidget* parent = nullptr);

    QTextEdit* richTextBox1() const { return m_richTextBox1; }

    // The design inner size, 8595 × 5670 twips.
    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void applyLayout();

    QTextEdit* m_richTextBox1;
};
