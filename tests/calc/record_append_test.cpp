// Appending a record must leave the notebook exactly as writing its whole text
// back does (same characters, formatting dropped, nothing to undo, not
// modified), whichever way the append takes. Each case builds the same
// notebook twice, appends to one and rewrites the other, and compares.

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QScrollBar>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextList>
#include <QTextTable>

#include <functional>

#include "record.h"

namespace {

QString sampleRecord()
{
    const auto boxes = [](int n) {
        return n <= 5 ? QStringList{"101325", "2.5", "27", "19", "46.37"}.at(n - 1)
                      : QStringLiteral("%1.25").arg(n);
    };
    return ComposeRecord(InputMode::PsiKnown, boxes, QDate(2026, 3, 7), QLocale(QLocale::Chinese, QLocale::China));
}

// The notebook as a full rewrite leaves it: the append as it always was.
void rewrite(QTextEdit* notebook, const QString& record)
{
    notebook->setPlainText(notebook->toPlainText() + record);
    QTextCursor end = notebook->textCursor();
    end.movePosition(QTextCursor::End);
    notebook->setTextCursor(end);
}

// Appends and tells whether the text before the record stayed in place: a
// rewrite sends every cursor held on the document back to the start.
bool appendAndReportInPlace(QTextEdit* notebook, const QString& record)
{
    QTextCursor marker(notebook->document());
    marker.movePosition(QTextCursor::End);
    marker.setKeepPositionOnInsert(true);
    const int position = marker.position();
    AppendRecord(notebook, record);
    return position > 0 && marker.position() == position;
}

void paste(QTextEdit* notebook, const QString& html, const QString& text)
{
    auto* mime = new QMimeData;
    mime->setHtml(html);
    mime->setText(text);
    QApplication::clipboard()->setMimeData(mime);
    notebook->moveCursor(QTextCursor::End);
    notebook->paste();
}

using Setup = std::function<void(QTextEdit*)>;

}  // namespace

Q_DECLARE_METATYPE(Setup)

class RecordAppendTest : public QObject {
    Q_OBJECT
private slots:
    void sameNotebookAsRewriting_data();
    void sameNotebookAsRewriting();
    void aDayOfRecordsStaysPlainAndShowsTheEnd();
};

void RecordAppendTest::sameNotebookAsRewriting_data()
{
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<bool>("inPlace");  // which way the append is expected to go

    const QString record = sampleRecord();
    QTest::newRow("earlier records") << Setup([record](QTextEdit* n) {
        AppendRecord(n, record);
        AppendRecord(n, record);
    }) << true;
    QTest::newRow("typed note without line break") << Setup([](QTextEdit* n) {
        QTest::keyClicks(n, "Room 3 ");
        n->textCursor().insertText(QStringLiteral("备注 😀"));
    }) << true;
    QTest::newRow("note typed in the middle, cursor left there") << Setup([record](QTextEdit* n) {
        AppendRecord(n, record);
        n->moveCursor(QTextCursor::Start);
        QTest::keyClicks(n, "A\t");
    }) << true;
    QTest::newRow("carriage returns and separators in text") << Setup([](QTextEdit* n) {
        n->textCursor().insertText(QStringLiteral("a\r\nb\rc") + QChar(QChar::ParagraphSeparator) + "d");
    }) << true;
    QTest::newRow("pasted bold and colour") << Setup([record](QTextEdit* n) {
        AppendRecord(n, record);
        paste(n, QStringLiteral("<b>粗体</b><span style=\"color:#ff0000\">红</span>"), QStringLiteral("粗体红"));
    }) << false;
    QTest::newRow("pasted formatting deleted again") << Setup([record](QTextEdit* n) {
        AppendRecord(n, record);
        paste(n, QStringLiteral("<i>x</i>"), QStringLiteral("x"));
        n->textCursor().deletePreviousChar();
    }) << false;
    QTest::newRow("bold chosen for the next typing") << Setup([record](QTextEdit* n) {
        AppendRecord(n, record);
        n->setFontWeight(QFont::Bold);
    }) << false;
    QTest::newRow("no-break space") << Setup([](QTextEdit* n) {
        n->textCursor().insertText(QStringLiteral("27") + QChar(QChar::Nbsp) + QStringLiteral("℃"));
    }) << false;
    QTest::newRow("line break within a paragraph") << Setup([](QTextEdit* n) {
        QTest::keyClicks(n, "a");
        QTest::keyClick(n, Qt::Key_Return, Qt::ShiftModifier);
        QTest::keyClicks(n, "b");
    }) << false;
    QTest::newRow("list") << Setup([](QTextEdit* n) {
        n->textCursor().insertList(QTextListFormat::ListDisc);
        n->textCursor().insertText(QStringLiteral("item"));
    }) << false;
    QTest::newRow("table") << Setup([](QTextEdit* n) {
        n->textCursor().insertTable(2, 2);
    }) << false;
    QTest::newRow("plain text set over formatted text") << Setup([](QTextEdit* n) {
        n->setHtml(QStringLiteral("<h1>Title</h1>"));
        n->setPlainText(QStringLiteral("Title\n"));
    }) << true;
}

void RecordAppendTest::sameNotebookAsRewriting()
{
    QFETCH(Setup, setup);
    QFETCH(bool, inPlace);
    const QString record = sampleRecord();

    QTextEdit appended;
    QTextEdit rewritten;
    setup(&appended);
    setup(&rewritten);
    const QString before = appended.toPlainText();
    QCOMPARE(rewritten.toPlainText(), before);
    QCOMPARE(rewritten.toHtml(), appended.toHtml());

    QCOMPARE(appendAndReportInPlace(&appended, record), inPlace);
    rewrite(&rewritten, record);

    if (inPlace)
        QCOMPARE(appended.toPlainText().toUtf8(), (before + record).toUtf8());
    QCOMPARE(appended.toPlainText(), rewritten.toPlainText());
    // The HTML form carries every character and block format.
    QCOMPARE(appended.toHtml(), rewritten.toHtml());
    QCOMPARE(appended.document()->blockCount(), rewritten.document()->blockCount());
    QCOMPARE(appended.document()->isModified(), rewritten.document()->isModified());
    QCOMPARE(appended.document()->isUndoAvailable(), rewritten.document()->isUndoAvailable());
    QCOMPARE(appended.document()->isRedoAvailable(), rewritten.document()->isRedoAvailable());
    QCOMPARE(appended.document()->isUndoRedoEnabled(), rewritten.document()->isUndoRedoEnabled());
    QCOMPARE(appended.textCursor().position(), rewritten.textCursor().position());
    QVERIFY(!appended.textCursor().hasSelection());
    QCOMPARE(appended.currentCharFormat(), rewritten.currentCharFormat());

    // Typing after the record goes on in the same format in both.
    QTest::keyClicks(&appended, "z");
    QTest::keyClicks(&rewritten, "z");
    QCOMPARE(appended.toHtml(), rewritten.toHtml());
}

void RecordAppendTest::aDayOfRecordsStaysPlainAndShowsTheEnd()
{
    QTextEdit notebook;
    notebook.resize(300, 120);
    notebook.show();
    QVERIFY(QTest::qWaitForWindowExposed(&notebook));
    const QString record = sampleRecord();

    QString expected;
    for (int i = 0; i < 200; ++i) {
        // Scrolled away, as the user may leave it between records.
        if (i % 50 == 0)
            notebook.verticalScrollBar()->setValue(0);
        AppendRecord(&notebook, record);
        expected += record;
    }
    QApplication::processEvents();
    QCOMPARE(notebook.toPlainText(), expected);
    QCOMPARE(notebook.textCursor().position(), notebook.document()->characterCount() - 1);
    QScrollBar* bar = notebook.verticalScrollBar();
    QVERIFY(bar->maximum() > 0);
    QCOMPARE(bar->value(), bar->maximum());
    QCOMPARE(notebook.document()->allFormats().size(), QTextEdit().document()->allFormats().size());
}

QTEST_MAIN(RecordAppendTest)
#include "record_append_test.moc"
