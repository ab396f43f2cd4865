// The save command of the notebook: the file dialog, an all-or-nothing write, the failure message.
#include "notebooksave.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

#include "form2.h"
#include "messagebox.h"

namespace {

// The file a save replaces: the target of a symbolic link (the link itself
// stays and points at the new contents), otherwise the name as given.
QFileInfo replacedFile(const QString& fileName)
{
    const QFileInfo info(fileName);
    return info.isSymLink() && info.exists() ? QFileInfo(info.canonicalFilePath()) : info;
}

// Why a file could not be written, in the user's language; the system's own
// wording follows in parentheses for whoever needs the detail.
QString failureReason(const QString& fileName, const QString& stage, const QString& detail)
{
    const QFileInfo info = replacedFile(fileName);
    const QFileInfo folder(info.absolutePath());
    QString reason;
    if (info.isDir())
        reason = QStringLiteral("这是一个文件夹的名称");
    else if (!folder.exists())
        reason = QStringLiteral("文件夹“%1”不存在").arg(QDir::toNativeSeparators(folder.filePath()));
    else if (!folder.isDir())
        reason = QStringLiteral("“%1”不是文件夹").arg(QDir::toNativeSeparators(folder.filePath()));
    else if (info.exists() && !info.isWritable())
        reason = QStringLiteral("这个文件是只读的");
    else if (!folder.isWritable() && info.exists()) {
        // The new contents go to a new file beside the old one, which then
        // takes its place; writing into the old file instead would leave it
        // cut short by a failure half-way.
        return QStringLiteral("文件夹“%1”不允许写入，无法安全地替换“%2”；请另存到可写的文件夹")
            .arg(QDir::toNativeSeparators(folder.filePath()), info.fileName());
    } else if (!folder.isWritable())
        reason = QStringLiteral("没有在文件夹“%1”中写入的权限").arg(QDir::toNativeSeparators(folder.filePath()));
    else
        reason = stage;
    if (!detail.isEmpty())
        reason += QStringLiteral("（%1）").arg(detail);
    return reason;
}

// The reason for a failed write or sync, from the system's error number.
QString writeFailure(const QString& fileName, int error, const QString& detail)
{
    if (error == ENOSPC)
        return QStringLiteral("磁盘空间不足");
    if (error == EDQUOT)
        return QStringLiteral("超出了磁盘配额");
    return failureReason(fileName, QStringLiteral("写入文件失败"), detail);
}

// What the name points to, when it is something other than a regular file or
// a folder; empty otherwise. Replacing it would turn a pipe or a device (as
// root even /dev/null) into a plain file.
QString specialFileKind(const QString& fileName)
{
    struct stat st;
    if (::stat(QFile::encodeName(fileName).constData(), &st) != 0)
        return {};  // a new name, or a link to one
    if (S_ISREG(st.st_mode) || S_ISDIR(st.st_mode))
        return {};
    if (S_ISFIFO(st.st_mode))
        return QStringLiteral("命名管道（FIFO）");
    if (S_ISCHR(st.st_mode))
        return QStringLiteral("字符设备");
    if (S_ISBLK(st.st_mode))
        return QStringLiteral("块设备");
    if (S_ISSOCK(st.st_mode))
        return QStringLiteral("套接字");
    return QStringLiteral("特殊文件");
}

// Writes all or nothing: an earlier file of that name stays until the new one
// is complete and on the disk. Only a regular file or a new name is written.
bool writeFile(const QString& fileName, const QByteArray& data, QString* reason)
{
    // The system ends a name at a NUL character: the file of the shorter name
    // would be written instead, and the save reported as done.
    if (fileName.contains(QChar(u'\0'))) {
        *reason = QStringLiteral("文件名中含有不允许使用的字符（NUL）");
        return false;
    }
    const auto refuseSpecial = [&] {
        const QString kind = specialFileKind(fileName);
        if (!kind.isEmpty())
            *reason = QStringLiteral("这是一个%1，不是普通文件；记录本只能保存为普通文件").arg(kind);
        return !kind.isEmpty();
    };
    if (refuseSpecial())
        return false;

    // Unbuffered: QSaveFile::commit() ignores a failure of the buffered write
    // it flushes itself, and would put the cut-short file in place.
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        *reason = failureReason(fileName, QStringLiteral("无法创建文件"), file.errorString());
        return false;
    }
    // A write can be cut short (the disk filling up) without an error; the
    // next one then reports why.
    qint64 written = 0;
    while (written < data.size()) {
        const qint64 n = file.write(data.constData() + written, data.size() - written);
        if (n <= 0)
            break;
        written += n;
    }
    if (written < data.size() || file.error() != QFileDevice::NoError) {
        const bool full = file.error() == QFileDevice::ResourceError;
        *reason = writeFailure(fileName, full ? ENOSPC : 0, file.errorString());
        file.cancelWriting();
        return false;
    }
    // Some file systems report a write that cannot be kept only when the data
    // goes to the disk; commit() ignores that, so it is checked here.
    if (::fsync(file.handle()) != 0) {
        const int error = errno;
        *reason = writeFailure(fileName, error, QString::fromLocal8Bit(std::strerror(error)));
        file.cancelWriting();
        return false;
    }
    // The name may have been taken by a pipe or device while the file was written.
    if (refuseSpecial()) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        *reason = failureReason(fileName, QStringLiteral("无法替换原有文件"), file.errorString());
        return false;
    }
    // commit() closes the new file before it takes the old one's place and
    // goes on whatever the close reports; the contents are on the disk by now,
    // but a reported error must not pass for a clean save.
    if (file.error() != QFileDevice::NoError) {
        *reason = QStringLiteral("文件已写入，但关闭时系统报告了错误（%1），请检查文件是否完整")
                      .arg(file.errorString());
        return false;
    }
    return true;
}

}  // namespace

SaveCommand::SaveCommand(QWidget* mainWindow) : QObject(mainWindow), m_mainWindow(mainWindow)
{
    m_provider = [this](QWidget*) { return askWithDialog(); };
}

void SaveCommand::setFileNameProvider(FileNameProvider provider)
{
    m_provider = std::move(provider);
}

QFileDialog* SaveCommand::saveDialog()
{
    if (!m_dialog) {
        m_dialog = new QFileDialog(m_mainWindow);
        m_dialog->setObjectName(QStringLiteral("dlgCommonDialog"));
        m_dialog->setWindowTitle(QStringLiteral("Save As"));
        m_dialog->setAcceptMode(QFileDialog::AcceptSave);
        m_dialog->setFileMode(QFileDialog::AnyFile);
        // One entry: the description "Word文档（*.doc)" for the pattern *.doc. No
        // default suffix: the name is used exactly as chosen. The type box
        // shows the description alone; with the pattern appended it would read
        // "Word文档（*.doc)(*.doc)".
        m_dialog->setNameFilter(QStringLiteral("Word文档（*.doc)(*.doc)"));
        m_dialog->setOption(QFileDialog::HideNameFilterDetails);
    }
    return m_dialog;
}

QString SaveCommand::askWithDialog()
{
    QFileDialog* dialog = saveDialog();
    if (dialog->exec() != QDialog::Accepted)
        return {};
    return dialog->selectedFiles().value(0);
}

void SaveCommand::run(QMdiArea* area)
{
    if (!area)
        return;
    // The current sub-window is the active one while the main window is, and
    // stays known while a menu or another application holds the focus.
    QMdiSubWindow* sub = area->currentSubWindow();
    QPointer<Form2> notebook = sub ? qobject_cast<Form2*>(sub->widget()) : nullptr;
    if (!notebook)
        return;

    const QString fileName = m_provider(m_mainWindow);
    if (fileName.isEmpty() || !notebook)
        return;

    const QString caption = notebook->windowTitle();
    notebook->setWindowTitle(fileName);
    QString reason;
    if (writeFile(fileName, notebook->richText(), &reason))
        return;

    // The caption names the file the notebook was last saved to, so it must not claim this one.
    notebook->setWindowTitle(caption);
    ShowMessage(m_mainWindow, QStringLiteral("提醒"),
                QStringLiteral("无法保存记录本到文件“%1”：%2")
                    .arg(QDir::toNativeSeparators(fileName), reason));
}
