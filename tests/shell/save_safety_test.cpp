// Saving the notebook, or writing a chart, where the write cannot succeed, and what each failure leaves behind.
//
// A full disk, a file size limit, a read-only place, a read-only folder, a folder, pipe or device of
// that name, names the file system rejects. Each must end in one "提醒" box
// naming the file and the reason, and leave the notebook, its caption, any
// earlier file and the folder exactly as they were.
//
// A full disk and a read-only place are made real with a small tmpfs and a
// read-only bind mount, in a mount namespace of this test's own (needs root);
// without one, a read-only place falls back to permission bits (not enforced
// for root) and the full disk is skipped. A read-only folder is tested with
// permission bits, as root by giving up root's rights for the save.

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
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
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include "chartfile.h"
#include "childwindow.h"
#include "form2.h"
#include "modalwatch.h"
#include "notebooksave.h"
#include "record.h"
#include "rtfwriter.h"
#include "testfiles.h"

namespace {

// A main window with the notebook active, holding records and pasted bold text.
struct Fixture {
    QWidget main;
    QMdiArea* area = new QMdiArea;
    Form2* notebook = new Form2;
    SaveCommand command{&main};
    QString nextName;

    explicit Fixture(int records = 20)
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
        // As the record button leaves them, written at once: appending five
        // thousand one by one would take most of this test's time.
        box->setPlainText(record.repeated(records));
        box->moveCursor(QTextCursor::End);
        box->textCursor().insertHtml(QStringLiteral("<b>测点 A</b>"));
    }

    void save(const QString& name)
    {
        nextName = name;
        command.run(area);
    }

    // What a save writes: the notebook as rich text.
    QByteArray rtf() const { return WriteRtf(*notebook->richTextBox1()->document()); }
};

// Runs the rest of the scope when it ends.
template <class F>
struct Finally {
    F f;
    ~Finally() { f(); }
};
template <class F>
Finally(F) -> Finally<F>;

// What a failed save must leave as it was, taken before the save.
struct Before {
    QString caption;
    QString html;
    QMap<QString, QByteArray> files;
};

Before takeBefore(const Fixture& f, const QString& folder)
{
    return {f.notebook->windowTitle(), f.notebook->richTextBox1()->toHtml(), snapshot(folder)};
}

// The earlier contents of a file that a save must not replace.
const QByteArray kEarlier = "{\\rtf1 earlier}";

}  // namespace

class SaveSafetyTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void failedSaveChangesNothing_data();
    void failedSaveChangesNothing();
    void fullDiskFailsWhateverTheNotebookSize_data();
    void fullDiskFailsWhateverTheNotebookSize();
    void savingThroughASymbolicLinkReplacesItsTarget();
    void chartThatCannotBeWrittenWholeKeepsTheEarlierOne_data();
    void chartThatCannotBeWrittenWholeKeepsTheEarlierOne();

private:
    // One "提醒" box naming the target, and nothing else changed: the
    // caption, the notebook, every file under folder. Gives the reason shown.
    void expectRefused(const ModalWatch& watch, const Fixture& f, const QString& target,
                       const Before& before, const QString& folder, QString* reason);

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

void SaveSafetyTest::expectRefused(const ModalWatch& watch, const Fixture& f, const QString& target,
                                   const Before& before, const QString& folder, QString* reason)
{
    QCOMPARE(watch.seen().size(), 1);
    const ModalWatch::Seen& seen = watch.seen().first();
    QCOMPARE(seen.title, QStringLiteral("提醒"));
    const QString lead = QStringLiteral("无法保存记录本到文件“%1”：").arg(QDir::toNativeSeparators(target));
    QVERIFY2(seen.text.startsWith(lead), qPrintable(seen.text));
    *reason = seen.text.mid(lead.size());
    QVERIFY2(reason->size() > 2, "the reason is missing");

    QCOMPARE(f.notebook->windowTitle(), before.caption);
    QCOMPARE(f.notebook->richTextBox1()->toHtml(), before.html);
    const QMap<QString, QByteArray> after = snapshot(folder);
    QCOMPARE(after.keys(), before.files.keys());
    QVERIFY(after == before.files);
}

void SaveSafetyTest::failedSaveChangesNothing_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("file size limit") << "sizelimit";
    QTest::newRow("read-only place") << "readonly";
    QTest::newRow("writable file in a read-only folder") << "rofolder";
    QTest::newRow("folder of that name, with a file in it") << "folder";
    QTest::newRow("named pipe of that name") << "fifo";
    QTest::newRow("device node of that name") << "device";
    QTest::newRow("symbolic link to a device node") << "devicelink";
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

    // An earlier save gives the caption a name that a failure must not replace.
    const QString saved = dir.filePath(QStringLiteral("saved.doc"));
    f.save(saved);
    QCOMPARE(f.notebook->windowTitle(), saved);

    const QString place = dir.filePath(QStringLiteral("place"));
    QVERIFY(QDir().mkdir(place));
    QString target = place + QStringLiteral("/records.doc");
    QString expectedReason;   // the whole reason, where it is fixed
    QString reasonMentions;   // or a part of it
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
    // Root's rights are given up for the save alone (the saved user ID stays
    // root, so they can be taken back).
    bool dropRoot = false;
    auto restoreRoot = Finally{[&] {
        if (dropRoot && ::setresuid(0, 0, 0) != 0)
            qFatal("could not take root's rights back");
    }};
    const QFile::Permissions readOnlyFolder = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup
                                              | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
    bool restorePermissions = false;
    auto writableAgain = Finally{[&] {
        if (restorePermissions)
            QFile::setPermissions(place, readOnlyFolder | QFile::WriteOwner);
    }};

    if (kind == "sizelimit") {
        QVERIFY(writeFile(target, kEarlier));
        rlimit small = sizeLimit;
        small.rlim_cur = 1024;
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);
        limited = true;
    } else if (kind == "readonly") {
        QVERIFY(writeFile(target, kEarlier));
        const QByteArray path = place.toLocal8Bit();
        if (m_ownMounts) {
            QVERIFY(::mount(path.constData(), path.constData(), nullptr, MS_BIND, nullptr) == 0);
            mounted = place;
            QVERIFY(::mount(nullptr, path.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) == 0);
        } else if (::geteuid() != 0) {
            QVERIFY(QFile::setPermissions(place, QFile::ReadOwner | QFile::ExeOwner));
            restorePermissions = true;
        } else {
            QSKIP("root without a mount namespace: permission bits are not enforced, "
                  "and no read-only mount can be made");
        }
    } else if (kind == "rofolder") {
        // The file may be written, its folder not: replacing it safely needs
        // a new file beside it.
        QVERIFY(writeFile(target, kEarlier));
        if (::geteuid() == 0) {
            const uid_t nobody = 65534;
            QVERIFY(::chmod(QFile::encodeName(dir.path()).constData(), 0755) == 0);
            QVERIFY(::chown(QFile::encodeName(place).constData(), nobody, nobody) == 0);
            QVERIFY(::chown(QFile::encodeName(target).constData(), nobody, nobody) == 0);
            QVERIFY(QFile::setPermissions(place, readOnlyFolder));
            QCOMPARE(::setresuid(nobody, nobody, 0), 0);
            dropRoot = true;
        } else {
            QVERIFY(QFile::setPermissions(place, readOnlyFolder));
        }
        restorePermissions = true;
        QVERIFY(QFileInfo(target).isWritable());
        expectedReason = QStringLiteral("文件夹“%1”不允许写入，无法安全地替换“records.doc”；请另存到可写的文件夹")
                             .arg(QDir::toNativeSeparators(place));
    } else if (kind == "folder") {
        target = place;
        QVERIFY(writeFile(place + QStringLiteral("/inside.doc"), kEarlier));
    } else if (kind == "fifo") {
        QCOMPARE(::mkfifo(QFile::encodeName(target).constData(), 0644), 0);
        reasonMentions = QStringLiteral("命名管道");
    } else if (kind == "device" || kind == "devicelink") {
        // A node of its own with /dev/null's numbers: the real one must never
        // be at risk, not even from a broken save.
        const QString node = kind == "device" ? target : place + QStringLiteral("/null");
        if (::mknod(QFile::encodeName(node).constData(), S_IFCHR | 0666, makedev(1, 3)) != 0)
            QSKIP("cannot make a device node here (needs root)");
        if (kind == "devicelink")
            QVERIFY(QFile::link(QStringLiteral("null"), target));
        reasonMentions = QStringLiteral("字符设备");
    } else if (kind == "nul") {
        // The part before the NUL names an existing file, which must not be
        // taken for the name.
        QVERIFY(writeFile(target, kEarlier));
        target += QChar(u'\0') + QStringLiteral("x.doc");
        reasonMentions = QStringLiteral("不允许使用的字符");
    } else if (kind == "nulfree") {
        QVERIFY(writeFile(target, kEarlier));
        target = place + QStringLiteral("/other.doc") + QChar(u'\0') + QStringLiteral("x.doc");
        reasonMentions = QStringLiteral("不允许使用的字符");
    } else if (kind == "long") {
        QVERIFY(writeFile(target, kEarlier));
        target = place + u'/' + QString(100, QChar(u'记')) + QStringLiteral(".doc");  // 304 bytes
    }

    const Before before = takeBefore(f, dir.path());
    ModalWatch watch;
    f.save(target);
    if (limited) {
        ::setrlimit(RLIMIT_FSIZE, &sizeLimit);
        limited = false;
    }
    if (dropRoot) {
        QCOMPARE(::setresuid(0, 0, 0), 0);
        dropRoot = false;
    }

    QString reason;
    expectRefused(watch, f, target, before, dir.path(), &reason);
    if (QTest::currentTestFailed())
        return;
    if (!expectedReason.isEmpty())
        QCOMPARE(reason, expectedReason);
    QVERIFY2(reason.contains(reasonMentions), qPrintable(reason));
}

void SaveSafetyTest::fullDiskFailsWhateverTheNotebookSize_data()
{
    QTest::addColumn<int>("records");
    QTest::addColumn<QString>("space");
    // From one record through the sizes a file's write buffer holds whole
    // (under 8 KiB, and between 8 and 16 KiB of rich text) to far more than a
    // day's work. The free space is none, one block short of the file, or
    // just enough (where the save must succeed: the two cases before it fail
    // for want of space alone).
    for (int records : {1, 5, 9, 14, 20, 100, 5000}) {
        for (const char* space : {"none", "short", "enough"})
            QTest::addRow("%d records, %s", records, space) << records << QString::fromLatin1(space);
    }
}

void SaveSafetyTest::fullDiskFailsWhateverTheNotebookSize()
{
    QFETCH(int, records);
    QFETCH(QString, space);
    if (!m_ownMounts)
        QSKIP("cannot mount a small tmpfs here (needs root)");
    Fixture f(records);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString saved = dir.filePath(QStringLiteral("saved.doc"));
    f.save(saved);
    QCOMPARE(f.notebook->windowTitle(), saved);

    const QByteArray rtf = f.rtf();
    const QString place = dir.filePath(QStringLiteral("place"));
    QVERIFY(QDir().mkdir(place));
    const qint64 block = ::sysconf(_SC_PAGESIZE);  // tmpfs's block
    const qint64 blocks = (rtf.size() + block - 1) / block;
    QVERIFY(mountTmpfs(place, (blocks + 16) * block));
    auto unmount = Finally{[&] { ::umount2(QFile::encodeName(place).constData(), MNT_DETACH); }};
    QCOMPARE(spaceOf(place).block, block);
    const QString target = place + QStringLiteral("/notes.doc");
    QVERIFY(writeFile(target, kEarlier));
    const qint64 free = space == "none" ? 0 : space == "short" ? (blocks - 1) * block : blocks * block;
    QVERIFY2(fillLeaving(place, free), "could not leave the free space wanted");
    qInfo("%lld bytes of rich text, %lld bytes free", qint64(rtf.size()), free);

    const Before before = takeBefore(f, dir.path());
    ModalWatch watch;
    f.save(target);

    if (space == "enough") {
        QVERIFY(watch.seen().isEmpty());
        QCOMPARE(f.notebook->windowTitle(), target);
        QVERIFY(contentsOf(target) == rtf);
        QCOMPARE(QDir(place).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 (QStringList{QStringLiteral("filler"), QStringLiteral("notes.doc")}));
        return;
    }
    QString reason;
    expectRefused(watch, f, target, before, dir.path(), &reason);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(reason, QStringLiteral("磁盘空间不足"));
    QCOMPARE(contentsOf(target), kEarlier);
}

void SaveSafetyTest::savingThroughASymbolicLinkReplacesItsTarget()
{
    // The link is the user's way to their file: it stays, and the file it
    // points to gets the notebook.
    Fixture f;
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString real = dir.filePath(QStringLiteral("real.doc"));
    const QString link = dir.filePath(QStringLiteral("link.doc"));
    QVERIFY(writeFile(real, kEarlier));
    QVERIFY(QFile::link(QStringLiteral("real.doc"), link));
    ModalWatch watch;
    f.save(link);
    QVERIFY(watch.seen().isEmpty());
    QCOMPARE(f.notebook->windowTitle(), link);
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(QFileInfo(link).symLinkTarget(), real);
    QVERIFY(contentsOf(real) == f.rtf());
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System),
             (QStringList{QStringLiteral("link.doc"), QStringLiteral("real.doc")}));
}

void SaveSafetyTest::chartThatCannotBeWrittenWholeKeepsTheEarlierOne_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("limit");
    QTest::addColumn<QString>("reason");
    // The PDF writer streams its file and goes on after a failed write: the
    // case that once replaced an earlier chart with a cut-short one.
    for (const char* name : {"chart.pdf", "chart.png", "chart.svg"}) {
        QTest::addRow("%s, disk full", name) << name << "none" << "磁盘空间不足";
        QTest::addRow("%s, one block short", name) << name << "short" << "磁盘空间不足";
        QTest::addRow("%s, file size limit", name) << name << "sizelimit" << "文件太大";
    }
}

void SaveSafetyTest::chartThatCannotBeWrittenWholeKeepsTheEarlierOne()
{
    QFETCH(QString, name);
    QFETCH(QString, limit);
    QFETCH(QString, reason);
    if (limit != "sizelimit" && !m_ownMounts)
        QSKIP("cannot mount a small tmpfs here (needs root)");
    ChartContent content;
    content.points = {{10.32, 53.6, "N", {}}, {15, 60, "W", {}}};
    content.process = true;
    const auto write = [&](const QString& path) {
        ChartFile file(path, 100);
        return file.open() && file.write(content) ? QString() : file.errorMessage();
    };
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QCOMPARE(write(dir.filePath(name)), QString());
    const qint64 size = QFileInfo(dir.filePath(name)).size();

    const QString place = dir.filePath(QStringLiteral("place"));
    QVERIFY(QDir().mkdir(place));
    const qint64 block = ::sysconf(_SC_PAGESIZE);
    const qint64 blocks = (size + block - 1) / block;
    bool mounted = false;
    auto unmount = Finally{[&] {
        if (mounted)
            ::umount2(QFile::encodeName(place).constData(), MNT_DETACH);
    }};
    const QString target = place + u'/' + name;
    if (limit != "sizelimit") {
        QVERIFY(mountTmpfs(place, (blocks + 16) * block));
        mounted = true;
    }
    QVERIFY(writeFile(target, kEarlier));
    if (limit != "sizelimit")
        QVERIFY(fillLeaving(place, limit == "none" ? 0 : (blocks - 1) * block));
    const QMap<QString, QByteArray> before = snapshot(place);

    rlimit sizeLimit{};
    ::getrlimit(RLIMIT_FSIZE, &sizeLimit);
    if (limit == "sizelimit") {
        rlimit small = sizeLimit;
        small.rlim_cur = static_cast<rlim_t>(size / 2);
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);
    }
    const QString error = write(target);
    ::setrlimit(RLIMIT_FSIZE, &sizeLimit);

    QCOMPARE(error, QStringLiteral("无法写入图表文件“%1”：%2").arg(target, reason));
    QVERIFY(snapshot(place) == before);
}

QTEST_MAIN(SaveSafetyTest)
#include "save_safety_test.moc"
