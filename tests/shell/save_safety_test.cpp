// Saving the notebook where the write cannot succeed: a full disk, a file size
// limit, a read-only place, a folder of that name, names the file system
// rejects. Each must end in one "提醒" box naming the file, and leave the
// notebook, its caption, any earlier file and the folder exactly as they were.
//
// A full disk and a read-only place are made real with a small tmpfs and a
// read-only bind mount, in a mount namespace of this test's own (needs root);
// without one, a read-only folder falls back to permission bits (not
// enforced for root) and the full disk is skipped.

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QVBoxLayout>

#include <csignal>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

#include "childwindow.h"
#include "form2.h"
#include "modalwatch.h"
#include "notebooksave.h"
#include "record.h"

namespace {

QByteArray contentsOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size() && file.flush();
}

// Every file and folder under path with its contents, to see that nothing
// appeared, vanished or changed.
QMap<QString, QByteArray> snapshot(const QString& path)
{
    QMap<QString, QByteArray> entries;
    QDirIterator it(path, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString entry = it.next();
        entries.insert(entry, it.fileInfo().isDir() ? QByteArray("<folder>") : contentsOf(entry));
    }
    return entries;
}

// A main window with the notebook active, holding records and pasted bold text.
struct Fixture {
    QWidget main;
    QMdiArea* area = new QMdiArea;
    Form2* notebook = new Form2;
    SaveCommand command{&main};
    QString nextName;

    Fixture()
    {
        auto* layout = new QVBoxLayout(&main);
        layout->addWidget(area);
        main.resize(1000, 800);
        AddChildWindow(area, notebook, ChildBorder::Sizable);
        command.setFileNameProvider([this](QWidget*) { return nextName; });
        main.show();
        ShowChildWindow(qobject_cast<QMdiSubWindow*>(notebook->parentWidget()));
        QTextEdit* box = notebook->richTextBox1();
        const QString record = ComposeRecord(InputMode::PsiKnown, [](int n) { return QStringLiteral("%1.5").arg(n); },
                                             QDate(2026, 3, 7));
        for (int i = 0; i < 20; ++i)
            AppendRecord(box, record);
        box->moveCursor(QTextCursor::End);
        box->textCursor().insertHtml(QStringLiteral("<b>测点 A</b>"));
    }

    void save(const QString& name)
    {
        nextName = name;
        command.run(area);
    }
};

// Runs the rest of the scope when it ends.
template <class F>
struct Finally {
    F f;
    ~Finally() { f(); }
};
template <class F>
Finally(F) -> Finally<F>;

}  // namespace

class SaveSafetyTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void failedSaveChangesNothing_data();
    void failedSaveChangesNothing();

private:
    bool m_ownMounts = false;
};

void SaveSafetyTest::initTestCase()
{
    // Mounts made from here on are seen by this test alone and vanish with it.
    m_ownMounts = ::unshare(CLONE_NEWNS) == 0
                  && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    if (!m_ownMounts)
        qInfo("no mount namespace of its own (not root?): the full-disk case is skipped");
    // A write past the file size limit fails with EFBIG instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
}

void SaveSafetyTest::failedSaveChangesNothing_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("disk full") << "full";
    QTest::newRow("file size limit") << "sizelimit";
    QTest::newRow("read-only place") << "readonly";
    QTest::newRow("folder of that name, with a file in it") << "folder";
    QTest::newRow("NUL character in the name, shorter name taken") << "nul";
    QTest::newRow("NUL character in the name, shorter name free") << "nulfree";
    QTest::newRow("name longer than 255 bytes") << "long";
}

void SaveSafetyTest::failedSaveChangesNothing()
{
    QFETCH(QString, kind);
    Fixture f;
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QTextEdit* box = f.notebook->richTextBox1();

    // An earlier save gives the caption a name that a failure must not replace.
    const QString saved = dir.filePath(QStringLiteral("saved.doc"));
    f.save(saved);
    QCOMPARE(f.notebook->windowTitle(), saved);

    const QString place = dir.filePath(QStringLiteral("place"));
    QVERIFY(QDir().mkdir(place));
    const QByteArray earlier = "{\\rtf1 earlier}";
    QString target = place + QStringLiteral("/records.doc");
    QString mounted;
    auto unmount = Finally{[&] {
        if (!mounted.isEmpty())
            ::umount2(mounted.toLocal8Bit().constData(), MNT_DETACH);
    }};
    rlimit sizeLimit{};
    ::getrlimit(RLIMIT_FSIZE, &sizeLimit);
    bool limited = false;
    auto unlimit = Finally{[&] {
        if (limited)
            ::setrlimit(RLIMIT_FSIZE, &sizeLimit);
    }};

    if (kind == "full") {
        if (!m_ownMounts)
            QSKIP("cannot mount a small tmpfs here (needs root)");
        QVERIFY2(::mount("tmpfs", place.toLocal8Bit().constData(), "tmpfs", 0, "size=64k") == 0,
                 "mount tmpfs");
        mounted = place;
        QVERIFY(writeFile(target, earlier));
        // Fill what is left; the disk is now full, the earlier file on it.
        QFile filler(place + QStringLiteral("/filler"));
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray block(1024, 'x');
        while (filler.write(block) == block.size()) {
        }
        filler.close();
    } else if (kind == "sizelimit") {
        QVERIFY(writeFile(target, earlier));
        rlimit small = sizeLimit;
        small.rlim_cur = 1024;
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);
        limited = true;
    } else if (kind == "readonly") {
        QVERIFY(writeFile(target, earlier));
        const QByteArray path = place.toLocal8Bit();
        if (m_ownMounts) {
            QVERIFY(::mount(path.constData(), path.constData(), nullptr, MS_BIND, nullptr) == 0);
            mounted = place;
            QVERIFY(::mount(nullptr, path.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) == 0);
        } else if (::geteuid() != 0) {
            QVERIFY(QFile::setPermissions(place, QFile::ReadOwner | QFile::ExeOwner));
        } else {
            QSKIP("root without a mount namespace: permission bits are not enforced, "
                  "and no read-only mount can be made");
        }
    } else if (kind == "folder") {
        target = place;
        QVERIFY(writeFile(place + QStringLiteral("/inside.doc"), earlier));
    } else if (kind == "nul") {
        // The part before the NUL names an existing file, which must not be
        // taken for the name.
        QVERIFY(writeFile(target, earlier));
        target += QChar(u'\0') + QStringLiteral("x.doc");
    } else if (kind == "nulfree") {
        QVERIFY(writeFile(target, earlier));
        target = place + QStringLiteral("/other.doc") + QChar(u'\0') + QStringLiteral("x.doc");
    } else if (kind == "long") {
        QVERIFY(writeFile(target, earlier));
        target = place + u'/' + QString(100, QChar(u'记')) + QStringLiteral(".doc");  // 304 bytes
    }

    const QMap<QString, QByteArray> before = snapshot(dir.path());
    const QString html = box->toHtml();
    ModalWatch watch;
    f.save(target);
    if (limited) {
        ::setrlimit(RLIMIT_FSIZE, &sizeLimit);
        limited = false;
    }

    QCOMPARE(watch.seen().size(), 1);
    const ModalWatch::Seen& seen = watch.seen().first();
    QCOMPARE(seen.title, QStringLiteral("提醒"));
    const QString lead = QStringLiteral("无法保存记录本到文件“%1”：").arg(QDir::toNativeSeparators(target));
    QVERIFY2(seen.text.startsWith(lead), qPrintable(seen.text));
    QVERIFY2(seen.text.size() > lead.size() + 2, "the reason is missing");
    if (kind.startsWith("nul"))
        QVERIFY2(seen.text.mid(lead.size()).contains(QStringLiteral("不允许使用的字符")), qPrintable(seen.text));

    QCOMPARE(f.notebook->windowTitle(), saved);
    QCOMPARE(box->toHtml(), html);
    const QMap<QString, QByteArray> after = snapshot(dir.path());
    QCOMPARE(after.keys(), before.keys());
    QVERIFY(after == before);
    if (kind != "folder")
        QCOMPARE(contentsOf(place + QStringLiteral("/records.doc")), earlier);

    if (kind == "readonly" && !m_ownMounts)
        QFile::setPermissions(place, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QTEST_MAIN(SaveSafetyTest)
#include "save_safety_test.moc"
