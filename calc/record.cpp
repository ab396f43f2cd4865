#include "record.h"

#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextFrame>
#include <QTextFrameFormat>

#include "record_lines.h"

namespace {

// The separator is whatever stands between the first two fields of the
// locale's short date format ("yyyy/M/d", "dd.MM.yy", "M/d/yy", "yyyy. MM. dd.");
// quoted literals and field letters are skipped. Blanks alone do not make a
// separator: a format such as "d MMM yyyy" keeps the slash.
QChar dateSeparator(const QLocale& locale)
{
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    bool inField = false;
    for (const QChar c : format) {
        if (c.isSpace())
            continue;
        if (c.isLetter() || c == u'\'') {
            inField = inField || c.isLetter();
            continue;
        }
        if (inField)
            return c;
    }
    return u'/';
}

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

QString RecordDate(const QDate& date, const QLocale& locale)
{
    const QChar sep = dateSeparator(locale);
    const auto padded = [](int value, int width) {
        return QStringLiteral("%1").arg(value, width, 10, QChar(u'0'));
    };
    return padded(date.year(), 4) + sep + padded(date.month(), 2) + sep + padded(date.day(), 2);
}

QString ComposeRecord(InputMode mode, const std::function<QString(int box)>& boxText,
                      const QDate& date, const QLocale& locale)
{
    QString record = QStringLiteral("Nimbara如下：\n（计算时间：") + RecordDate(date, locale)
                     + QStringLiteral(")\n\n");
    for (const RecordLine& line : kRecordLines) {
        record += QString::fromUtf8(line.prefix);
        record += boxText(RecordSourceBox(line, mode));
        record += QString::fromUtf8(line.suffix);
        record += u'\n';
    }
    record += u'\n';
    return record;
}

void AppendRecord(QTextEdit* notebook, const QString& record)
{
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
