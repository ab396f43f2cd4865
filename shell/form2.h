// The record notebook window (`Form2`): the records of the calculation window, editable, saved as rich text.
#pragma once

#include <QByteArray>
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

    // Appends a record to the notebook's text and shows its end. The text is
    // read and written back as plain text, so any formatting it held (pasted
    // rich text) is dropped; the characters stay.
    void appendRecord(const QString& record);

    // The notebook as a rich-text (RTF) document, the user's edits included.
    QByteArray richText() const;

    // The design inner size, 8595 × 5670 twips.
    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void applyLayout();

    QTextEdit* m_richTextBox1;
};
