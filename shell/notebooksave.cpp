// The save command of the notebook: the file dialog, an all-or-nothing write, the failure message.
#include "notebooksave.h"

#include <QDir>
#include <QFileDialog>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <string_view>

#include "form2.h"
#include "messagebox.h"
#include "safefile.h"

namespace {

// Writes all or nothing: an earlier file of that name stays until the new one
// is complete and on the disk. Only a regular file or a new name is written.
bool writeFile(const QString& fileName, const QByteArray& data, QString* reason)
{
    // A NUL character stays in the name, for SafeFile to refuse it.
    SafeFile file(QFile::encodeName(fileName).toStdString());
    if (file.open() && file.write(std::string_view(data.constData(), static_cast<std::size_t>(data.size())))
        && file.commit())
        return true;
    *reason = QString::fromStdString(file.reason());
    return false;
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
