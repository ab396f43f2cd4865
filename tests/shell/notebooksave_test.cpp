// The notebook's save command: when it acts, what it names and writes, what a failure leaves.
//
// The save command: when it acts, the name it uses, the caption, the file it
// writes, and what a failed write leaves behind. No real dialog opens: every
// test hands the command its file name.

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

#include <unistd.h>

#include "childwindow.h"
#include "form2.h"
#include "modalwatch.h"
#include "notebooksave.h"
#include "rtfwriter.h"
#include "testfiles.h"

namespace {

// A main window with its area, the notebook holding a record and the user's
// own line, and the calculation window beside it.
struct Fixture {
    QWidget main;
    QMdiArea* area = new QMdiArea;
    Form2* notebook = nullptr;
    QMdiSubWindow* other = nullptr;
    SaveCommand command{&main};
    QStringList asked;    // every file name the provider handed out
    QString nextName;     // what the provider returns next
    QWidget* askedParent = nullptr;

    Fixture()
    {
        auto* layout = new QVBoxLayout(&main);
        layout->addWidget(area);
        main.resize(1000, 800);
        auto* calc = new QWidget;
        calc->setWindowTitle(QStringLiteral("Nimbara"));
        other = area->addSubWindow(calc);
        notebook = new Form2;
        AddChildWindow(area, notebook, ChildBorder::Sizable);
        command.setFileNameProvider([this](QWidget* parent) {
            askedParent = parent;
            asked << nextName;
            return nextName;
        });
        main.show();
        other->show();
        ShowChildWindow(qobject_cast<QMdiSubWindow*>(notebook->parentWidget()));
        notebook->richTextBox1()->setPlainText(QStringLiteral(
            "Nimbara如下：\n（计算时间：2026/03/07)\n\n  大气压力B=101325Pa\n  露点温度 tl=14.94℃\n\n"));
        notebook->richTextBox1()->moveCursor(QTextCursor::End);
        QTest::keyClicks(notebook->richTextBox1(), QStringLiteral("Room 3 "));
        // Chinese comes through the input method, not as key presses.
        notebook->richTextBox1()->textCursor().insertText(QStringLiteral("备注"));
    }
};

}  // namespace

class NotebookSaveTest : public QObject {
    Q_OBJECT
private slots:
    void actsOnlyWhenNotebookIsActive();
    void cancelSavesNothing();
    void savesUnderExactNameAndShowsPathInCaption();
    void keepsPastedFormatting();
    void failedSaveIsReportedAndChangesNothing_data();
    void failedSaveIsReportedAndChangesNothing();
    void notebookClosedWhileAskingSavesNothing();
    void saveDialogIsSetUpOnceAndOwnedByMainWindow();
    void saveDialogTypeBoxShowsTheDescriptionOnce();
};

void NotebookSaveTest::actsOnlyWhenNotebookIsActive()
{
    Fixture f;
    f.nextName = QDir::temp().filePath(QStringLiteral("nimbara-never-written.doc"));
    QFile::remove(f.nextName);

    // The calculation window is active: not even the dialog comes up.
    f.area->setActiveSubWindow(f.other);
    QCOMPARE(f.area->activeSubWindow(), f.other);
    f.command.run(f.area);
    QVERIFY(f.asked.isEmpty());
    QCOMPARE(f.notebook->windowTitle(), QStringLiteral("记录本"));
    QVERIFY(!QFile::exists(f.nextName));

    // No area, or an area whose notebook was never opened.
    f.command.run(nullptr);
    QMdiArea empty;
    f.command.run(&empty);
    QVERIFY(f.asked.isEmpty());

    // With the notebook active the command asks, with the main window as parent.
    ShowChildWindow(qobject_cast<QMdiSubWindow*>(f.notebook->parentWidget()));
    f.nextName.clear();
    f.command.run(f.area);
    QCOMPARE(f.asked.size(), 1);
    QCOMPARE(f.askedParent, &f.main);
}

void NotebookSaveTest::cancelSavesNothing()
{
    Fixture f;
    QTemporaryDir dir;
    ModalWatch watch;
    const QString text = f.notebook->richTextBox1()->toPlainText();
    f.command.run(f.area);
    QCOMPARE(f.asked.size(), 1);
    QCOMPARE(f.notebook->windowTitle(), QStringLiteral("记录本"));
    QCOMPARE(f.notebook->richTextBox1()->toPlainText(), text);
    QVERIFY(QDir(dir.path()).isEmpty());
    QVERIFY(watch.seen().isEmpty());
}

void NotebookSaveTest::savesUnderExactNameAndShowsPathInCaption()
{
    Fixture f;
    QTemporaryDir dir;
    ModalWatch watch;
    QTextEdit* box = f.notebook->richTextBox1();
    const QString text = box->toPlainText();
    QVERIFY(text.endsWith(QStringLiteral("Room 3 备注")));

    // No extension is added to a bare name.
    f.nextName = dir.filePath(QStringLiteral("notebook"));
    f.command.run(f.area);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("notebook")});
    QCOMPARE(f.notebook->windowTitle(), f.nextName);
    QCOMPARE(f.notebook->parentWidget()->windowTitle(), f.nextName);
    const QByteArray first = contentsOf(f.nextName);
    QCOMPARE(first, WriteRtf(*box->document()));
    QVERIFY(first.startsWith("{\\rtf1"));
    QVERIFY(first.contains("Room 3 \\u22791\\'3f\\u27880\\'3f"));  // the user's typing, 备注

    // The user types on; a second save under a .doc name holds RTF with the edit.
    QTest::keyClicks(box, QStringLiteral(" more"));
    f.nextName = dir.filePath(QStringLiteral("第二份.doc"));
    f.command.run(f.area);
    QCOMPARE(f.notebook->windowTitle(), f.nextName);
    const QByteArray second = contentsOf(f.nextName);
    QVERIFY(second.startsWith("{\\rtf1\\ansi"));
    QVERIFY(second.contains("\\u27880\\'3f more"));
    QCOMPARE(contentsOf(dir.filePath(QStringLiteral("notebook"))), first);

    // Saving again over an existing file replaces it.
    box->setPlainText(QStringLiteral("短"));
    f.command.run(f.area);
    QCOMPARE(contentsOf(f.nextName), WriteRtf(*box->document()));

    QVERIFY(watch.seen().isEmpty());
    QCOMPARE(box->toPlainText(), QStringLiteral("短"));
}

void NotebookSaveTest::keepsPastedFormatting()
{
    // Rich text pasted into the notebook is saved with its formatting.
    Fixture f;
    QTemporaryDir dir;
    QTextEdit* box = f.notebook->richTextBox1();
    auto* mime = new QMimeData;
    mime->setHtml(QStringLiteral("<b>粗体</b><span style=\"color:#ff0000\">红</span>"));
    mime->setText(QStringLiteral("粗体红"));
    QApplication::clipboard()->setMimeData(mime);
    box->moveCursor(QTextCursor::End);
    box->paste();
    QVERIFY(box->toPlainText().endsWith(QStringLiteral("粗体红")));

    f.nextName = dir.filePath(QStringLiteral("formatted.doc"));
    f.command.run(f.area);
    const QByteArray rtf = contentsOf(f.nextName);
    QVERIFY(rtf.contains("\\b"));
    QVERIFY(rtf.contains("\\u31895\\'3f\\u20307\\'3f}"));  // 粗体 closes its bold group
    QVERIFY(rtf.contains("\\red255\\green0\\blue0;"));
}

void NotebookSaveTest::failedSaveIsReportedAndChangesNothing_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("name of an existing folder") << "folder";
    QTest::newRow("folder does not exist") << "missing";
    QTest::newRow("path under a regular file") << "underfile";
    QTest::newRow("read-only folder keeps the earlier file") << "readonly";
}

void NotebookSaveTest::failedSaveIsReportedAndChangesNothing()
{
    QFETCH(QString, kind);
    Fixture f;
    QTemporaryDir dir;
    QTextEdit* box = f.notebook->richTextBox1();

    // A first save gives the caption a path that a failure must not replace.
    const QString saved = dir.filePath(QStringLiteral("saved.doc"));
    f.nextName = saved;
    f.command.run(f.area);
    QCOMPARE(f.notebook->windowTitle(), saved);

    QString target;
    QByteArray earlier;
    if (kind == "folder") {
        target = dir.filePath(QStringLiteral("records.doc"));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("records.doc")));
    } else if (kind == "missing") {
        target = dir.filePath(QStringLiteral("no such folder/records.doc"));
    } else if (kind == "underfile") {
        QVERIFY(writeFile(dir.filePath(QStringLiteral("plain")), "x"));
        target = dir.filePath(QStringLiteral("plain/records.doc"));
    } else {
        const QString folder = dir.filePath(QStringLiteral("locked"));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("locked")));
        target = folder + QStringLiteral("/records.doc");
        earlier = "{\\rtf1 earlier}";
        QVERIFY(writeFile(target, earlier));
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        if (::geteuid() == 0) {
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            QSKIP("permissions are not enforced for root");
        }
    }

    const QString html = box->toHtml();
    ModalWatch watch;
    f.nextName = target;
    f.command.run(f.area);

    QCOMPARE(watch.seen().size(), 1);
    const ModalWatch::Seen& seen = watch.seen().first();
    QCOMPARE(seen.title, QStringLiteral("提醒"));
    QVERIFY(!seen.hasIcon);
    QVERIFY(!seen.buttons.contains(u'|'));
    const QString lead = QStringLiteral("无法保存记录本到文件“%1”：").arg(QDir::toNativeSeparators(target));
    QVERIFY2(seen.text.startsWith(lead), qPrintable(seen.text));
    QVERIFY2(seen.text.size() > lead.size() + 2, "the reason is missing");

    QCOMPARE(f.notebook->windowTitle(), saved);
    QCOMPARE(f.notebook->parentWidget()->windowTitle(), saved);
    QCOMPARE(box->toHtml(), html);
    if (kind == "readonly") {
        QCOMPARE(contentsOf(target), earlier);
        QFile::setPermissions(QFileInfo(target).absolutePath(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    } else {
        QVERIFY(!QFileInfo(target).isFile());
    }
}

void NotebookSaveTest::notebookClosedWhileAskingSavesNothing()
{
    Fixture f;
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("gone.doc"));
    f.command.setFileNameProvider([&](QWidget*) {
        delete f.notebook->parentWidget();
        return name;
    });
    f.command.run(f.area);
    QVERIFY(!QFile::exists(name));
}

void NotebookSaveTest::saveDialogIsSetUpOnceAndOwnedByMainWindow()
{
    Fixture f;
    QFileDialog* dialog = f.command.saveDialog();
    QCOMPARE(dialog->objectName(), QStringLiteral("dlgCommonDialog"));
    QCOMPARE(dialog->parentWidget(), &f.main);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Save As"));
    QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
    QCOMPARE(dialog->nameFilters(), QStringList{QStringLiteral("Word文档（*.doc)(*.doc)")});
    QVERIFY(dialog->defaultSuffix().isEmpty());
    QVERIFY(!dialog->isVisible());
    QCOMPARE(f.command.saveDialog(), dialog);
    QCOMPARE(f.main.findChildren<QFileDialog*>().size(), 1);
}

void NotebookSaveTest::saveDialogTypeBoxShowsTheDescriptionOnce()
{
    Fixture f;
    QFileDialog* dialog = f.command.saveDialog();
    // Read while the dialog is up: the entries of its type box, and the
    // pattern it lists files by.
    QStringList types;
    QStringList patterns;
    QTimer::singleShot(0, dialog, [&] {
        if (auto* box = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"))) {
            for (int i = 0; i < box->count(); ++i)
                types << box->itemText(i);
        }
        if (auto* files = dialog->findChild<QFileSystemModel*>())
            patterns = files->nameFilters();
        dialog->reject();
    });
    QCOMPARE(dialog->exec(), int(QDialog::Rejected));
    QCOMPARE(types, QStringList{QStringLiteral("Word文档（*.doc)")});
    QCOMPARE(patterns, QStringList{QStringLiteral("*.doc")});
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Save As"));
    QCOMPARE(dialog->nameFilters(), QStringList{QStringLiteral("Word文档（*.doc)(*.doc)")});
}

QTEST_MAIN(NotebookSaveTest)
#include "notebooksave_test.moc"
