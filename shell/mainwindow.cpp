// The main window (`fMainform`): its menu commands and the child windows they open.
#include "mainwindow.h"

#include <QAction>
#include <QCoreApplication>
#include <QIcon>
#include <QMenuBar>

#include "boxes.h"
#include "chartwindow.h"
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
// The chart window first fills the workspace, up to this.
constexpr QSize kChartFirstSize(900, 600);

// The state point the calculation window shows, with its boxes as they stand:
// ψ and ts each sit in one box or the other by the mode.
CalculatedPoint calculatedPointOf(const Form1& form)
{
    const InputMode mode = form.isOption1Selected() ? InputMode::PsiKnown : InputMode::TsKnown;
    QStringList texts;
    for (Quantity q : {Quantity::t, Quantity::psi, Quantity::d, Quantity::h, Quantity::ts, Quantity::tl})
        texts << form.boxText(BoxOf(q, mode));
    return {*form.statePoint(), texts};
}

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
        bar->addAction(text, this, slot)->setObjectName(QString::fromLatin1(name));
    };
    add("Savingfiles", QStringLiteral("保存记录本"), &fMainform::Savingfiles_Click);
    add("computerotherparameter", QStringLiteral("Nimbara"), &fMainform::computerotherparameter_Click);
    add("about", QStringLiteral("关于软件"), &fMainform::about_Click);
    add("exit", QStringLiteral("退出"), &fMainform::exit_Click);
    add("help", QStringLiteral("帮助"), &fMainform::help_Click);
    add("chart", QStringLiteral("焓湿图"), &fMainform::chart_Click);
}

void fMainform::Form_Load()
{
    openForm1();
}

QMdiSubWindow* fMainform::openChild(QPointer<QMdiSubWindow>& window, ChildBorder border,
                                    const std::function<QWidget*()>& create)
{
    if (!IsChildWindowOpen(window))
        window = AddChildWindow(m_mdiArea, create(), border);
    return window;
}

QMdiSubWindow* fMainform::openForm1()
{
    return openChild(m_form1Window, ChildBorder::FixedSingle, [this] {
        auto* form = new Form1;
        connect(form, &Form1::recordsMade, this, [this](const QStringList& records) {
            // The notebook comes to the front on every press, before the records.
            Form2* notebook = showNotebook();
            for (const QString& record : records)
                notebook->appendRecord(record);
        });
        connect(form, &Form1::calculated, this, [this, form] {
            m_calculated = calculatedPointOf(*form);
            if (ChartWindow* chart = chartWindow())
                chart->setCalculatedPoint(*m_calculated);
        });
        return form;
    });
}

Form1* fMainform::form1() const { return OpenChildWidget<Form1>(m_form1Window); }
Form2* fMainform::form2() const { return OpenChildWidget<Form2>(m_form2Window); }
Form3* fMainform::form3() const { return OpenChildWidget<Form3>(m_form3Window); }
Form4* fMainform::form4() const { return OpenChildWidget<Form4>(m_form4Window); }
ChartWindow* fMainform::chartWindow() const { return OpenChildWidget<ChartWindow>(m_chartWindow); }

Form2* fMainform::showNotebook()
{
    ShowChildWindow(openChild(m_form2Window, ChildBorder::Sizable, [] { return new Form2; }));
    return form2();
}

void fMainform::Savingfiles_Click()
{
    m_saveCommand->run(m_mdiArea);
}

void fMainform::computerotherparameter_Click()
{
    ShowChildWindow(openForm1());
}

void fMainform::about_Click()
{
    ShowChildWindow(openChild(m_form4Window, ChildBorder::FixedSingle, [] { return new Form4; }));
}

void fMainform::exit_Click()
{
    // Ends at once: no window is asked whether it may close.
    QCoreApplication::exit(0);
}

void fMainform::help_Click()
{
    ShowChildWindow(openChild(m_form3Window, ChildBorder::FixedTool, [] { return new Form3; }));
}

void fMainform::chart_Click()
{
    const bool opening = !IsChildWindowOpen(m_chartWindow);
    QMdiSubWindow* sub = openChild(m_chartWindow, ChildBorder::Sizable, [this] {
        auto* chart = new ChartWindow;
        if (m_calculated)
            chart->setCalculatedPoint(*m_calculated);
        return chart;
    });
    if (opening) {
        sub->resize(m_mdiArea->size().boundedTo(kChartFirstSize));
        sub->move(0, 0);
    }
    ShowChildWindow(sub);
}
