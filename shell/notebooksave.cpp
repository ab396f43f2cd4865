#include "notebooksave.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSaveFile>
#include <QTextEdit>

#include "form2.h"
#include "messagebox.h"
#include "rtfwriter.h"

namespace {

// Why a file could not be written, in the user's language; the system's own
// wording follows in parentheses for whoever needs the detail.
QString failureReason(const QString& fileName, const QString& stage, const QString& detail)
{
    const QFileInfo info(fileName);
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
    else if (!folder.isWritable())
        reason = QStringLiteral("没有在文件夹“%1”中写入的权限").arg(QDir::toNativeSeparators(folder.filePath()));
    else
        reason = stage;
    if (!detail.isEmpty())
        reason += QStringLiteral("（%1）").arg(detail);
    return reason;
}

// Writes all or nothing: an earlier file of that name stays until the new one is complete.
bool writeFile(const QString& fileName, const QByteArray& data, QString* reason)
{
    // The system ends a name at a NUL character: the file of the shorter name
    // would be written instead, and the save reported as done.
    if (fileName.contains(QChar(u'\0'))) {
        *reason = QStringLiteral("文件名中含有不允许使用的字符（NUL）");
        return false;
    }
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        *reason = failureReason(fileName, QStringLiteral("无法创建文件"), file.errorString());
        return false;
    }
    if (file.write(data) != data.size()) {
        *reason = failureReason(fileName, QStringLiteral("写入文件失败"), file.errorString());
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        *reason = failureReason(fileName, QStringLiteral("无法替换原有文件"), file.errorString());
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
        // default suffix: the name is used exactly as chosen.
        m_dialog->setNameFilter(QStringLiteral("Word文档（*.doc)(*.doc)"));
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
    if (writeFile(fileName, WriteRtf(*notebook->richTextBox1()->document()), &reason))
        return;

    // The caption names the file the notebook was last saved to, so it must not claim this one.
    notebook->setWindowTitle(caption);
    ShowMessage(m_mainWindow, QStringLiteral("提醒"),
                QStringLiteral("无法保存记录本到文件“%1”：%2")
                    .arg(QDir::toNativeSeparators(fileName), reason));
}
