// The main window (`fMainform`): its menu commands and the child windows they open.
#include "mainwindow.h"

#include <QAction>
#include <QCoreApplication>
#include <QIcon>
#include <QLayout>
#include <QMenuBar>
#include <QTextEdit>

#include "childwindow.h"
#include "form1.h"
#include "form2.h"
#include "form3.h"
#include "form4.h"
#include "notebooksave.h"
#include "notice.h"
#include "shellresources.h"
#include "twips.h"

namespace {
constexpr int kClientWidth = 9510;   // twips
constexpr int kClientHeight = 7980;  // twips

}  // namespace

fMainform::fMainform(QWidget* parent)
    : QMainWindow(parent), m_mdiArea(new QMdiArea(this)),
      m_saveCommand(new SaveCommand(this))
{
    initShellResources();
    setObjectName(QStringLiteral("fMainform_计算管理界面"));
    setWindowTitle(caption());
    setWindowIcon(QIcon(QStringLiteral(":/images/nimbara.png")));

    m_mdiArea->setObjectName(QStringLiteral("mdiArea"));
    // Windows' default application-workspace colour (system colour 12).
    m_mdiArea->setBackground(QColor(0xAB, 0xAB, 0xAB));
    setCentralWidget(m_mdiArea);

    createActions();

    resize(twipsSize(*this, kClientWidth, kClientHeight) + QSize(0, menuBar()->sizeHint().height()));

    Form_Load();
}

QString fMainform::caption()
{
    return QStringLiteral("求Nimbara") + QString(39, QLatin1Char(' ')) + rightsNotice();
}

void fMainform::createActions()
{
    QMenuBar* bar = menuBar();
    auto add = [&](const char* name, const QString& text, void (fMainform::*slot)()) {
        QAction* action = bar->addAction(text, this, slot);
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };
    m_savingfiles = add("Savingfiles", QStringLiteral("保存记录本"), &fMainform::Savingfiles_Click);
    m_computerotherparameter = add("computerotherparameter", QStringLiteral("Nimbara"),
                                   &fMainform::computerotherparameter_Click);
    m_about = add("about", QStringLiteral("关于软件"), &fMainform::about_Click);
    m_exit = add("exit", QStringLiteral("退出"), &fMainform::exit_Click);
    m_help = add("help", QStringLiteral("帮助"), &fMainform::help_Click);
}

void fMainform::Form_Load()
{
    createForm1();
}

void fMainform::createForm1()
{
    auto* form = new Form1;
    form->setNotebookProvider([this] { return showNotebook(); });
    m_form1Window = AddChildWindow(m_mdiArea, form, ChildBorder::FixedSingle);
}

QWidget* fMainform::activeChild() const
{
    QMdiSubWindow* sub = m_mdiArea->activeSubWindow();
    return sub ? sub->widget() : nullptr;
}

Form1* fMainform::form1() const
{
    return IsChildWindowOpen(m_form1Window) ? qobject_cast<Form1*>(m_form1Window->widget()) : nullptr;
}

Form2* fMainform::form2() const
{
    return IsChildWindowOpen(m_form2Window) ? qobject_cast<Form2*>(m_form2Window->widget()) : nullptr;
}

QTextEdit* fMainform::showNotebook()
{
    if (!IsChildWindowOpen(m_form2Window))
        m_form2Window = AddChildWindow(m_mdiArea, new Form2, ChildBorder::Sizable);
    ShowChildWindow(m_form2Window);
    return form2()->richTextBox1();
}

Form4* fMainform::form4() const
{
    return IsChildWindowOpen(m_form4Window) ? qobject_cast<Form4*>(m_form4Window->widget()) : nullptr;
}

Form3* fMainform::form3() const
{
    return IsChildWindowOpen(m_form3Window) ? qobject_cast<Form3*>(m_form3Window->widget()) : nullptr;
}

void fMainform::Savingfiles_Click()
{
    m_saveCommand->run(m_mdiArea);
}

void fMainform::computerotherparameter_Click()
{
    if (!IsChildWindowOpen(m_form1Window))
        createForm1();
    ShowChildWindow(m_form1Window);
}

void fMainform::about_Click()
{
    if (!IsChildWindowOpen(m_form4Window))
        m_form4Window = AddChildWindow(m_mdiArea, new Form4, ChildBorder::FixedSingle);
    ShowChildWindow(m_form4Window);
}

void fMainform::exit_Click()
{
    // Ends at once: no window is asked whether it may close.
    QCoreApplication::exit(0);
}

void fMainform::help_Click()
{
    if (!IsChildWindowOpen(m_form3Window))
        m_form3Window = AddChildWindow(m_mdiArea, new Form3, ChildBorder::FixedTool);
    ShowChildWindow(m_form3Window);
}
