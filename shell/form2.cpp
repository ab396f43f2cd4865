// The record notebook window (`Form2`): its text box, the records appended to it, its rich text for saving.
#include "form2.h"

#include <QResizeEvent>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextFrame>
#include <QTextFrameFormat>

#include "rtfwriter.h"
#include "twips.h"

namespace {

constexpr int kDesignWidthTwips = 8595;
constexpr int kDesignHeightTwips = 5670;
constexpr double kMarginTwips = 100;
constexpr double kWrapInsetTwips = 400;  // lines wrap this far before the box's right edge

// Whether the record can be added at the end instead of writing the whole
// text back, with the same result: plain text only, read back as it stands.
bool appendsInPlace(const QTextEdit* notebook)
{
    const QTextDocument* document = notebook->document();
    if (document->maximumBlockCount() > 0)
        return false;
    // Rewriting the text gives every character the editor's current character
    // format; only when that is the plain one does adding at the end agree.
    if (!notebook->textCursor().charFormat().properties().isEmpty())
        return false;
    // A document's format collection holds every format any of its text,
    // blocks or frames ever used since it was last set, so plain formats alone
    // there mean no formatting, list, table or image anywhere. Formats left
    // over from deleted text only send the append the slow way.
    const QTextFrameFormat rootFormat = document->rootFrame()->frameFormat();
    for (const QTextFormat& format : document->allFormats()) {
        const bool plain = (format.isCharFormat() || format.isBlockFormat()) && format.properties().isEmpty();
        if (!plain && format != rootFormat)
            return false;
    }
    // Characters the plain text reads differently from the document: a
    // no-break space reads as a blank and a line separator as a line feed, so
    // rewriting would change them.
    const QString raw = document->toRawText();
    for (const QChar c : raw) {
        const char16_t u = c.unicode();
        if (u == QChar::Nbsp || u == QChar::LineSeparator || u == 0xfdd0 || u == 0xfdd1)
            return false;
    }
    return true;
}

}  // namespace

Form2::Form2(QWidget* parent) : QWidget(parent), m_richTextBox1(new QTextEdit(this))
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("记录本"));

    m_richTextBox1->setObjectName(QStringLiteral("RichTextBox1"));
    // Named for the notebook, whatever file the caption later shows.
    m_richTextBox1->setAccessibleName(QStringLiteral("记录本"));
    m_richTextBox1->setAcceptRichText(true);
    m_richTextBox1->setLineWrapMode(QTextEdit::FixedPixelWidth);
    setFocusProxy(m_richTextBox1);

    resize(sizeHint());
    // The box is placed before the window is first shown, not on its first resize event.
    applyLayout();
}

QSize Form2::sizeHint() const
{
    return twipsSize(*this, kDesignWidthTwips, kDesignHeightTwips);
}

void Form2::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    applyLayout();
}

void Form2::applyLayout()
{
    const int dpiX = logicalDpiX();
    const int dpiY = logicalDpiY();
    const double innerWidth = pixelsToTwips(width(), dpiX);
    const double innerHeight = pixelsToTwips(height(), dpiY);

    // A minimised or tiny window would give the box a negative size; it then
    // keeps the size it had, so restoring shows the notebook as it was.
    if (innerWidth >= 2 * kMarginTwips && innerHeight >= 2 * kMarginTwips) {
        m_richTextBox1->setGeometry(twipsToPixels(kMarginTwips, dpiX), twipsToPixels(kMarginTwips, dpiY),
                                    twipsToPixels(innerWidth - 2 * kMarginTwips, dpiX),
                                    twipsToPixels(innerHeight - 2 * kMarginTwips, dpiY));
    }

    // A box narrower than the inset has no valid wrap margin; it keeps the last one.
    const double wrap = pixelsToTwips(m_richTextBox1->width(), dpiX) - kWrapInsetTwips;
    if (wrap >= 0)
        m_richTextBox1->setLineWrapColumnOrWidth(twipsToPixels(wrap, dpiX));
}

void Form2::appendRecord(const QString& record)
{
    QTextEdit* notebook = m_richTextBox1;
    if (appendsInPlace(notebook)) {
        // Rewriting a day's notebook for every record grows slower with each
        // one; adding at the end leaves the same text and the same (absent)
        // formatting. Like a rewrite, it leaves nothing to undo and the
        // document unmodified.
        QTextDocument* document = notebook->document();
        const bool undo = document->isUndoRedoEnabled();
        document->setUndoRedoEnabled(false);
        QTextCursor cursor(document);
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(record, QTextCharFormat());
        document->clearUndoRedoStacks();
        document->setUndoRedoEnabled(undo);
        document->setModified(false);
    } else {
        notebook->setPlainText(notebook->toPlainText() + record);
    }
    QTextCursor end = notebook->textCursor();
    end.movePosition(QTextCursor::End);
    notebook->setTextCursor(end);
    notebook->ensureCursorVisible();
    notebook->verticalScrollBar()->setValue(notebook->verticalScrollBar()->maximum());
}

QByteArray Form2::richText() const
{
    return WriteRtf(*m_richTextBox1->document());
}
