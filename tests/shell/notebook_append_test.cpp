// Records appended to the record notebook (`Form2`), the fast way and the slow one.
//
// Where the records go, and that appending leaves
// the notebook exactly as writing its whole text back does (same characters,
// formatting dropped, nothing to undo, not modified), whichever way the append
// takes. Those cases build the same notebook twice, append to one and rewrite
// the other, and compare.

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

#include "form2.h"
#include "golden.h"
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

// The record of the default inputs calculated in mode.
QString recordOfDefaults(InputMode mode)
{
    const auto boxes = [mode](int n) {
        for (const GoldenBox& box : GoldenResults(mode))
            if (box.box == n)
                return QString::fromUtf8(box.text);
        return n <= 5 ? QString::fromUtf8(kGoldenInputs[n - 1].text) : QStringLiteral("Text%1").arg(n);
    };
    return ComposeRecord(mode, boxes, QDate(2026, 3, 7), QLocale(QLocale::Chinese, QLocale::China));
}

// Appends as the record button does, through the notebook window that holds the box.
void appendRecord(QTextEdit* box, const QString& record)
{
    qobject_cast<Form2*>(box->parentWidget())->appendRecord(record);
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
    appendRecord(notebook, record);
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

class NotebookAppendTest : public QObject {
    Q_OBJECT
private slots:
    void sameNotebookAsRewriting_data();
    void sameNotebookAsRewriting();
    void aDayOfRecordsStaysPlainAndShowsTheEnd();
    void firstRecordInEmptyNotebook();
    void userTextStaysInFrontWithoutSeparator();
    void consecutiveRecordsAreSeparatedByOneEmptyLine();
    void appendDropsFormattingKeepsCharacters();
    void appendShowsTheEnd();
};

void NotebookAppendTest::sameNotebookAsRewriting_data()
{
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<bool>("inPlace");  // which way the append is expected to go

    const QString record = sampleRecord();
    QTest::newRow("earlier records") << Setup([record](QTextEdit* n) {
        appendRecord(n, record);
        appendRecord(n, record);
    }) << true;
    QTest::newRow("typed note without line break") << Setup([](QTextEdit* n) {
        QTest::keyClicks(n, "Room 3 ");
        n->textCursor().insertText(QStringLiteral("备注 😀"));
    }) << true;
    QTest::newRow("note typed in the middle, cursor left there") << Setup([record](QTextEdit* n) {
        appendRecord(n, record);
        n->moveCursor(QTextCursor::Start);
        QTest::keyClicks(n, "A\t");
    }) << true;
    QTest::newRow("carriage returns and separators in text") << Setup([](QTextEdit* n) {
        n->textCursor().insertText(QStringLiteral("a\r\nb\rc") + QChar(QChar::ParagraphSeparator) + "d");
    }) << true;
    QTest::newRow("pasted bold and colour") << Setup([record](QTextEdit* n) {
        appendRecord(n, record);
        paste(n, QStringLiteral("<b>粗体</b><span style=\"color:#ff0000\">红</span>"), QStringLiteral("粗体红"));
    }) << false;
    QTest::newRow("pasted formatting deleted again") << Setup([record](QTextEdit* n) {
        appendRecord(n, record);
        paste(n, QStringLiteral("<i>x</i>"), QStringLiteral("x"));
        n->textCursor().deletePreviousChar();
    }) << false;
    QTest::newRow("bold chosen for the next typing") << Setup([record](QTextEdit* n) {
        appendRecord(n, record);
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

void NotebookAppendTest::sameNotebookAsRewriting()
{
    QFETCH(Setup, setup);
    QFETCH(bool, inPlace);
    const QString record = sampleRecord();

    Form2 appendedNotebook;
    Form2 rewrittenNotebook;
    QTextEdit& appended = *appendedNotebook.richTextBox1();
    QTextEdit& rewritten = *rewrittenNotebook.richTextBox1();
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

void NotebookAppendTest::aDayOfRecordsStaysPlainAndShowsTheEnd()
{
    // A box of about 300 × 120 pixels inside its margins.
    Form2 form;
    form.resize(314, 134);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTextEdit& notebook = *form.richTextBox1();
    const QString record = sampleRecord();

    QString expected;
    for (int i = 0; i < 200; ++i) {
        // Scrolled away, as the user may leave it between records.
        if (i % 50 == 0)
            notebook.verticalScrollBar()->setValue(0);
        form.appendRecord(record);
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

void NotebookAppendTest::firstRecordInEmptyNotebook()
{
    Form2 form;
    QTextEdit& notebook = *form.richTextBox1();
    const QString record = recordOfDefaults(InputMode::PsiKnown);
    form.appendRecord(record);
    QCOMPARE(notebook.toPlainText(), record);
    QVERIFY(notebook.toPlainText().startsWith(QStringLiteral("Nimbara如下：\n")));
    QVERIFY(notebook.toPlainText().endsWith(QStringLiteral("℃\n\n")));
}

void NotebookAppendTest::userTextStaysInFrontWithoutSeparator()
{
    // State: the user typed a note without a final line break.
    // Action: a record is appended. Expected: the heading continues that line.
    Form2 form;
    QTextEdit& notebook = *form.richTextBox1();
    QTest::keyClicks(&notebook, "Room 3");
    const QString record = recordOfDefaults(InputMode::TsKnown);
    form.appendRecord(record);
    QCOMPARE(notebook.toPlainText(), QStringLiteral("Room 3") + record);
    QVERIFY(notebook.toPlainText().startsWith(QStringLiteral("Room 3Nimbara如下：\n")));

    // With a final line break the note keeps its own line.
    Form2 secondForm;
    QTextEdit& second = *secondForm.richTextBox1();
    second.setPlainText(QStringLiteral("测点 A\n"));
    secondForm.appendRecord(record);
    QVERIFY(second.toPlainText().startsWith(QStringLiteral("测点 A\nNimbara如下：\n")));
}

void NotebookAppendTest::consecutiveRecordsAreSeparatedByOneEmptyLine()
{
    Form2 form;
    QTextEdit& notebook = *form.richTextBox1();
    const QString record = recordOfDefaults(InputMode::PsiKnown);
    form.appendRecord(record);
    form.appendRecord(record);
    const QString text = notebook.toPlainText();
    QCOMPARE(text, record + record);
    QCOMPARE(text.count(QStringLiteral("℃\n\nNimbara如下：\n")), 1);
    QCOMPARE(text.split(u'\n').size(), 33);
}

void NotebookAppendTest::appendDropsFormattingKeepsCharacters()
{
    Form2 form;
    QTextEdit& notebook = *form.richTextBox1();
    notebook.setHtml(QStringLiteral("<p><b>粗体</b> and <span style=\"color:#ff0000\">red</span></p>"));
    const QString before = notebook.toPlainText();
    form.appendRecord(recordOfDefaults(InputMode::PsiKnown));

    QVERIFY(notebook.toPlainText().startsWith(before));
    QTextCursor cursor(notebook.document());
    cursor.setPosition(1);  // inside "粗体"
    QVERIFY(cursor.charFormat().fontWeight() < QFont::DemiBold);
    QVERIFY(!notebook.toHtml().contains(QStringLiteral("font-weight:700")));
    QVERIFY(!notebook.toHtml().contains(QStringLiteral("#ff0000")));
}

void NotebookAppendTest::appendShowsTheEnd()
{
    Form2 form;
    form.resize(314, 134);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTextEdit& notebook = *form.richTextBox1();
    notebook.moveCursor(QTextCursor::Start);

    const QString record = recordOfDefaults(InputMode::PsiKnown);
    for (int i = 0; i < 3; ++i)
        form.appendRecord(record);
    QApplication::processEvents();

    QCOMPARE(notebook.textCursor().position(), notebook.document()->characterCount() - 1);
    QScrollBar* bar = notebook.verticalScrollBar();
    QVERIFY(bar->maximum() > 0);
    QCOMPARE(bar->value(), bar->maximum());
}

QTEST_MAIN(NotebookAppendTest)
#include "notebook_append_test.moc"
