// The main window driven through its menu commands as a user drives it.
// Every modal window is recorded and dismissed by ModalWatch: the menu
// commands here must bring none up.

#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QImage>
#include <QMenu>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionTitleBar>
#include <QTest>
#include <QTimer>

#include <memory>

#include <QFile>
#include <QTemporaryDir>
#include <QTextEdit>

#include "form1.h"
#include "form2.h"
#include "form3.h"
#include "form4.h"
#include "mainwindow.h"
#include "modalwatch.h"
#include "notebooksave.h"

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void starts_with_six_commands_and_an_empty_workspace();
    void nimbara_command_shows_one_calculation_window();
    void nimbara_command_brings_the_open_window_to_the_front_unchanged();
    void closed_calculation_window_reopens_fresh();
    void help_command_shows_one_help_window();
    void about_command_shows_one_about_window();
    void record_button_opens_one_notebook_and_appends();
    void save_command_acts_only_with_the_notebook_active();
    void closing_the_main_window_asks_nothing();
    void exit_command_ends_the_event_loop_at_once();

private:
    // The widget of the active child window, as the workspace shows it.
    template <class T>
    T* activeChild() const
    {
        QMdiSubWindow* sub = m_window->mdiArea()->activeSubWindow();
        return sub ? qobject_cast<T*>(sub->widget()) : nullptr;
    }
    void trigger(const char* name)
    {
        m_window->findChild<QAction*>(QString::fromLatin1(name))->trigger();
    }
    QList<QMdiSubWindow*> visibleChildren() const
    {
        QList<QMdiSubWindow*> visible;
        for (QMdiSubWindow* sub : m_window->mdiArea()->subWindowList())
            if (sub->isVisible())
                visible << sub;
        return visible;
    }
    // The title bar shows neither a picture (Qt's logo, the frame's icon) nor
    // Qt's English system menu.
    static bool hasNoIconOrSystemMenu(QMdiSubWindow* sub)
    {
        const QImage icon = sub->windowIcon().pixmap(16, 16).toImage();
        for (int y = 0; y < icon.height(); ++y)
            for (int x = 0; x < icon.width(); ++x)
                if (qAlpha(icon.pixel(x, y)) != 0)
                    return false;
        return !icon.isNull() && !sub->systemMenu();
    }
    static void destroyClosedWindows()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    template <class T>
    T* child(QWidget* parent, const char* name) const
    {
        return parent->findChild<T*>(QString::fromLatin1(name));
    }
    // Opens the calculation window and changes it as a user would: the
    // ts-known mode chosen and 95000 typed over B.
    Form1* openCalculationWindowInTsKnownModeWithB95000()
    {
        trigger("computerotherparameter");
        Form1* form = m_window->form1();
        QTest::mouseClick(child<QRadioButton>(form, "Option2"), Qt::LeftButton);
        QLineEdit* text1 = child<QLineEdit>(form, "Text1");
        text1->clear();
        QTest::keyClicks(text1, QStringLiteral("95000"));
        return form;
    }

    std::unique_ptr<fMainform> m_window;
    std::unique_ptr<ModalWatch> m_watch;
};

void MainWindowTest::init()
{
    m_watch = std::make_unique<ModalWatch>();
    m_window = std::make_unique<fMainform>();
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void MainWindowTest::cleanup()
{
    QVERIFY2(m_watch->seen().isEmpty(), "an unexpected modal window came up");
    m_window.reset();
    m_watch.reset();
}

void MainWindowTest::starts_with_six_commands_and_an_empty_workspace()
{
    QCOMPARE(m_window->objectName(), QStringLiteral("fMainform_计算管理界面"));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("求Nimbara") + QString(39, QLatin1Char(' '))
                                          + QStringLiteral("版权所有（C）Nimbara 开发组 张工"));
    // The program's own icon, compiled in: 48 x 48 in at most 16 colours.
    const QImage icon(QStringLiteral(":/images/nimbara.png"));
    QCOMPARE(icon.size(), QSize(48, 48));
    QVERIFY(icon.colorCount() > 0 && icon.colorCount() <= 16);
    QCOMPARE(m_window->windowIcon().availableSizes(), QList<QSize>({QSize(48, 48)}));

    QStringList names, captions;
    for (QAction* action : m_window->menuBar()->actions()) {
        names << action->objectName();
        captions << action->text();
        QVERIFY(!action->menu());
        QVERIFY(action->isEnabled());
        QVERIFY(action->shortcut().isEmpty());
    }
    // The chart's command comes after the program's five.
    QCOMPARE(names, QStringList({"Savingfiles", "computerotherparameter", "about", "exit", "help", "chart"}));
    QCOMPARE(captions, QStringList({"保存记录本", "Nimbara", "关于软件", "退出", "帮助", "焓湿图"}));

    // The load step made the calculation window, hidden.
    QVERIFY(m_window->form1());
    QVERIFY(!m_window->form1()->isVisible());
    QCOMPARE(m_window->mdiArea()->subWindowList().size(), 1);
    QVERIFY(visibleChildren().isEmpty());
    QCOMPARE(m_window->mdiArea()->background().color(), QColor(0xAB, 0xAB, 0xAB));
    if (m_window->logicalDpiX() == 96)
        QCOMPARE(m_window->mdiArea()->size(), QSize(634, 532));
}

void MainWindowTest::nimbara_command_shows_one_calculation_window()
{
    Form1* hidden = m_window->form1();
    trigger("computerotherparameter");
    QCOMPARE(m_window->form1(), hidden);
    QCOMPARE(visibleChildren().size(), 1);
    QCOMPARE(activeChild<QWidget>(), hidden);
    QCOMPARE(activeChild<Form1>(), hidden);
    QVERIFY(hidden->isOption1Selected());
    QVERIFY(!child<QLineEdit>(hidden, "Text4")->isVisible());

    QMdiSubWindow* sub = visibleChildren().first();
    QCOMPARE(sub->windowTitle(), Form1::caption());
    QVERIFY(hasNoIconOrSystemMenu(sub));
    QVERIFY(!(sub->windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(sub->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(sub->windowFlags() & Qt::WindowCloseButtonHint);
    QCOMPARE(sub->minimumSize(), sub->maximumSize());
    QVERIFY(sub->testAttribute(Qt::WA_DeleteOnClose));

    trigger("computerotherparameter");
    QCOMPARE(m_window->mdiArea()->subWindowList().size(), 1);
}

void MainWindowTest::nimbara_command_brings_the_open_window_to_the_front_unchanged()
{
    Form1* form = openCalculationWindowInTsKnownModeWithB95000();
    QLineEdit* text1 = child<QLineEdit>(form, "Text1");

    trigger("help");
    QCOMPARE(activeChild<Form3>(), m_window->form3());
    trigger("computerotherparameter");
    QCOMPARE(activeChild<Form1>(), form);
    QCOMPARE(text1->text(), QStringLiteral("95000"));
    QVERIFY(form->isOption2Selected());
    QCOMPARE(visibleChildren().size(), 2);
}

void MainWindowTest::closed_calculation_window_reopens_fresh()
{
    Form1* form = openCalculationWindowInTsKnownModeWithB95000();
    QLineEdit* text1 = child<QLineEdit>(form, "Text1");
    QTest::mouseClick(child<QPushButton>(form, "Command1"), Qt::LeftButton);

    // By its exit button.
    QPointer<Form1> closed = form;
    QTest::mouseClick(child<QPushButton>(form, "Command3"), Qt::LeftButton);
    QVERIFY(visibleChildren().isEmpty());
    QVERIFY(!m_window->form1());
    destroyClosedWindows();
    QVERIFY(closed.isNull());

    trigger("computerotherparameter");
    form = m_window->form1();
    QVERIFY(form);
    QVERIFY(form->isOption1Selected());
    QVERIFY(!form->statePoint().has_value());
    QCOMPARE(form->boxText(1), QStringLiteral("101325"));
    QCOMPARE(form->boxText(6), QStringLiteral("Text6"));
    QCOMPARE(m_window->mdiArea()->subWindowList().size(), 1);

    // By its close box: the same, and even before the closed window is gone.
    text1 = child<QLineEdit>(form, "Text1");
    text1->clear();
    QTest::keyClicks(text1, QStringLiteral("1"));
    m_window->mdiArea()->activeSubWindow()->close();
    trigger("computerotherparameter");
    QVERIFY(m_window->form1() != form);
    QCOMPARE(m_window->form1()->boxText(1), QStringLiteral("101325"));
    destroyClosedWindows();
    QCOMPARE(m_window->mdiArea()->subWindowList().size(), 1);
}

void MainWindowTest::help_command_shows_one_help_window()
{
    QVERIFY(!m_window->form3());
    trigger("help");
    Form3* help = m_window->form3();
    QVERIFY(help);
    QCOMPARE(activeChild<Form3>(), help);
    QMdiSubWindow* sub = m_window->mdiArea()->activeSubWindow();
    QCOMPARE(sub->windowTitle(), QStringLiteral("帮助内容"));
    QVERIFY(hasNoIconOrSystemMenu(sub));
    QVERIFY(sub->windowFlags() & Qt::WindowCloseButtonHint);
    QVERIFY(!(sub->windowFlags() & Qt::WindowMinMaxButtonsHint));
    QCOMPARE(sub->minimumSize(), sub->maximumSize());

    auto* text = child<QPlainTextEdit>(help, "Text1");
    QCOMPARE(text->toPlainText(), QStringLiteral("     只有当你“记录数据”操\n作之后，你才可以保存记录本中\n的内容！\n"));
    QCOMPARE(text->palette().color(QPalette::Base), QColor(255, 192, 192));
    QCOMPARE(text->font().pointSizeF(), 12.0);
    QCOMPARE(text->focusPolicy(), Qt::ClickFocus);
    if (help->logicalDpiX() == 96) {
        QCOMPARE(help->size(), QSize(227, 54));
        QCOMPARE(text->geometry(), QRect(0, 0, 233, 81));
    }

    // A tool window's title bar is lower than the calculation window's.
    trigger("computerotherparameter");
    QMdiSubWindow* calc = m_window->mdiArea()->activeSubWindow();
    QStyleOptionTitleBar option;
    option.initFrom(sub);
    const int toolHeight = sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, &option, sub);
    option.initFrom(calc);
    const int normalHeight = calc->style()->pixelMetric(QStyle::PM_TitleBarHeight, &option, calc);
    QVERIFY2(toolHeight < normalHeight, qPrintable(QStringLiteral("%1 vs %2").arg(toolHeight).arg(normalHeight)));

    trigger("help");
    QCOMPARE(m_window->form3(), help);
    QCOMPARE(activeChild<Form3>(), help);
    QCOMPARE(m_window->mdiArea()->subWindowList().size(), 2);
}

void MainWindowTest::about_command_shows_one_about_window()
{
    trigger("computerotherparameter");
    trigger("about");
    Form4* about = m_window->form4();
    QVERIFY(about);
    QCOMPARE(activeChild<Form4>(), about);
    QCOMPARE(about->windowTitle(), QStringLiteral("关于本软件"));
    QVERIFY(hasNoIconOrSystemMenu(m_window->mdiArea()->activeSubWindow()));

    // A second command only brings it back to the front.
    trigger("computerotherparameter");
    trigger("about");
    QCOMPARE(m_window->form4(), about);
    QCOMPARE(activeChild<Form4>(), about);
    QCOMPARE(m_window->mdiArea()->subWindowList().size(), 2);

    // Closed with its button, it is created afresh.
    QTest::mouseClick(child<QPushButton>(about, "Command1"), Qt::LeftButton);
    destroyClosedWindows();
    QVERIFY(!m_window->form4());
    trigger("about");
    QVERIFY(m_window->form4());
    QVERIFY(m_watch->seen().isEmpty());
}

void MainWindowTest::record_button_opens_one_notebook_and_appends()
{
    // State: the calculation window after calculating the default inputs.
    trigger("computerotherparameter");
    Form1* form = m_window->form1();
    QTest::mouseClick(child<QPushButton>(form, "Command1"), Qt::LeftButton);
    QCOMPARE(form->boxText(6), QStringLiteral("19.03"));

    // Action: record twice.
    QTest::mouseClick(child<QPushButton>(form, "Command2"), Qt::LeftButton);
    Form2* notebook = m_window->form2();
    QVERIFY(notebook);
    QCOMPARE(activeChild<Form2>(), notebook);
    QCOMPARE(notebook->windowTitle(), QStringLiteral("记录本"));
    const QString once = notebook->richTextBox1()->toPlainText();
    QVERIFY(once.startsWith(QStringLiteral("Nimbara如下：\n（计算时间：")));
    QVERIFY(once.contains(QStringLiteral("\n  湿球温度 ts=19.03℃\n  相对湿度 ψ=46.37%\n")));
    QVERIFY(once.endsWith(QStringLiteral("  露点温度 tl=14.94℃\n\n")));

    QTest::mouseClick(child<QPushButton>(form, "Command2"), Qt::LeftButton);
    QCOMPARE(m_window->form2(), notebook);
    QCOMPARE(notebook->richTextBox1()->toPlainText(), once + once);

    // Closed, the notebook and its text are gone; the next record starts a new one.
    m_window->mdiArea()->activeSubWindow()->close();
    destroyClosedWindows();
    QVERIFY(!m_window->form2());
    QTest::mouseClick(child<QPushButton>(form, "Command2"), Qt::LeftButton);
    QCOMPARE(m_window->form2()->richTextBox1()->toPlainText(), once);
    QVERIFY(m_watch->seen().isEmpty());
}

void MainWindowTest::save_command_acts_only_with_the_notebook_active()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("记录.doc"));
    int asked = 0;
    m_window->saveCommand()->setFileNameProvider([&](QWidget*) {
        ++asked;
        return path;
    });

    // No notebook yet, then the calculation window active: nothing happens.
    trigger("Savingfiles");
    trigger("computerotherparameter");
    Form1* form = m_window->form1();
    trigger("Savingfiles");
    QCOMPARE(asked, 0);

    QTest::mouseClick(child<QPushButton>(form, "Command2"), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>(form, "Command2"), Qt::LeftButton);
    trigger("Savingfiles");
    QCOMPARE(asked, 1);
    QCOMPARE(m_window->form2()->windowTitle(), path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray rtf = file.readAll();
    QVERIFY(rtf.startsWith("{\\rtf1"));
    QCOMPARE(rtf.count("Nimbara"), 2);  // both records' headings

    trigger("computerotherparameter");
    trigger("Savingfiles");
    QCOMPARE(asked, 1);
    QVERIFY(m_watch->seen().isEmpty());
}

void MainWindowTest::closing_the_main_window_asks_nothing()
{
    trigger("computerotherparameter");
    const bool quitOnClose = QGuiApplication::quitOnLastWindowClosed();
    QGuiApplication::setQuitOnLastWindowClosed(false);
    QVERIFY(m_window->close());
    QVERIFY(!m_window->isVisible());
    QGuiApplication::setQuitOnLastWindowClosed(quitOnClose);
}

// Last: QCoreApplication::exit() leaves every running event loop.
void MainWindowTest::exit_command_ends_the_event_loop_at_once()
{
    trigger("computerotherparameter");
    QEventLoop loop;
    QTimer::singleShot(0, this, [this] { trigger("exit"); });
    QTimer::singleShot(5000, &loop, [&loop] { loop.exit(99); });
    QCOMPARE(loop.exec(), 0);
}

QTEST_MAIN(MainWindowTest)
#include "mainwindow_test.moc"
