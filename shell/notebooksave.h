// The save command behind "保存记录本": the notebook to a rich-text file the user names.
#pragma once

#include <functional>

#include <QObject>
#include <QPointer>
#include <QString>

class QFileDialog;
class QMdiArea;
class QWidget;

// Asks the user for the file to save the notebook to; an empty string means
// the user chose none. Tests replace it so that no real dialog opens.
using FileNameProvider = std::function<QString(QWidget* parent)>;

// The "save notebook" command of the main window. The main window creates one
// and keeps it; it owns the save dialog dlgCommonDialog, created on first use
// and reused from one save to the next.
class SaveCommand : public QObject {
    Q_OBJECT
public:
    // mainWindow parents the dialog and the failure message.
    explicit SaveCommand(QWidget* mainWindow);

    void setFileNameProvider(FileNameProvider provider);

    // Saves the notebook as rich text when it is the area's active child
    // window, under the name the provider returns; the notebook's caption
    // becomes that name. Does nothing otherwise, or when no name is chosen.
    // A failed write is reported and leaves the caption and any earlier file
    // as they were. Only a regular file or a new name is written; a pipe or
    // device of that name is refused.
    void run(QMdiArea* area);

    // The save dialog dlgCommonDialog, owned by the main window; created and
    // set up on first use, then reused so that it remembers the last folder.
    QFileDialog* saveDialog();

private:
    QString askWithDialog();

    QWidget* m_mainWindow;
    QPointer<QFileDialog> m_dialog;
    FileNameProvider m_provider;
};
