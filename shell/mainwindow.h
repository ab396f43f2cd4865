// The main window (`fMainform`): the menu bar's five commands and the workspace of child windows.
#pragma once

#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>

#include <functional>
#include <optional>

#include "childwindow.h"
#include "chartwindow.h"

class Form1;
class Form2;
class Form3;
class Form4;
class SaveCommand;

// The main window "fMainform_计算管理界面": a multiple-document frame whose menu
// bar carries the program's five commands, then "焓湿图", and whose workspace
// holds the child windows. moc cannot read a class name with Chinese characters, so the class
// is fMainform and the window's objectName is the full name.
class fMainform : public QMainWindow {
    Q_OBJECT
public:
    explicit fMainform(QWidget* parent = nullptr);

    // "求Nimbara", 39 spaces, then the rights notice.
    static QString caption();

    QMdiArea* mdiArea() const { return m_mdiArea; }

    // The child windows this window made; nullptr while they do not exist.
    Form1* form1() const;
    Form2* form2() const;
    Form3* form3() const;
    Form4* form4() const;
    ChartWindow* chartWindow() const;

    // Shows the record notebook, creating it on first use, and returns it.
    // Only the record button opens the notebook.
    Form2* showNotebook();

    // The save command behind "保存记录本" (tests replace its file dialog).
    SaveCommand* saveCommand() const { return m_saveCommand; }

public slots:
    void Savingfiles_Click();
    void computerotherparameter_Click();
    void about_Click();
    void exit_Click();
    void help_Click();
    void chart_Click();

private:
    void createActions();
    void Form_Load();
    // The child window kept in window, made from create() unless it is open.
    QMdiSubWindow* openChild(QPointer<QMdiSubWindow>& window, ChildBorder border,
                             const std::function<QWidget*()>& create);
    QMdiSubWindow* openForm1();

    QMdiArea* m_mdiArea;
    SaveCommand* m_saveCommand;
    QPointer<QMdiSubWindow> m_form1Window;
    QPointer<QMdiSubWindow> m_form2Window;
    QPointer<QMdiSubWindow> m_form3Window;
    QPointer<QMdiSubWindow> m_form4Window;
    QPointer<QMdiSubWindow> m_chartWindow;
    // The calculation window's last state point, for the chart window now or later.
    std::optional<CalculatedPoint> m_calculated;
};
