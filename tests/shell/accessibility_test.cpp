// What a screen reader hears in the program, through the toolkit's accessibility interfaces.
//
// What a screen reader hears: the main window with its menu and all four
// child windows open, walked through the toolkit's accessibility interfaces
// as an assistive technology walks them (roles, names, showing or not).

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QCheckBox>
#include <QTableWidget>
#include <QTest>
#include <QTextEdit>

#include <memory>

#include "chartwindow.h"
#include "form1.h"
#include "form2.h"
#include "form3.h"
#include "form4.h"
#include "mainwindow.h"
#include "modalwatch.h"

namespace {

QAccessibleInterface* accessible(QObject* object)
{
    return QAccessible::queryAccessibleInterface(object);
}

QString nameOf(QObject* object)
{
    return accessible(object)->text(QAccessible::Name);
}

// Every interface under root, root included, in the order a reader walks them.
void walk(QAccessibleInterface* root, QList<QAccessibleInterface*>& out)
{
    out << root;
    for (int i = 0; i < root->childCount(); ++i)
        if (QAccessibleInterface* child = root->child(i))
            walk(child, out);
}

// The role a control of each kind must report.
QAccessible::Role expectedRole(const QWidget* widget)
{
    if (qobject_cast<const QRadioButton*>(widget))
        return QAccessible::RadioButton;
    if (qobject_cast<const QPushButton*>(widget))
        return QAccessible::Button;
    if (qobject_cast<const QCheckBox*>(widget))
        return QAccessible::CheckBox;
    if (qobject_cast<const QTableWidget*>(widget))
        return QAccessible::Table;
    if (qobject_cast<const QGroupBox*>(widget))
        return QAccessible::Grouping;
    if (qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QTextEdit*>(widget)
        || qobject_cast<const QPlainTextEdit*>(widget))
        return QAccessible::EditableText;
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return label->pixmap().isNull() ? QAccessible::StaticText : QAccessible::Graphic;
    return QAccessible::NoRole;
}

}  // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void no_control_is_read_by_its_object_name();
    void controls_report_the_role_of_their_kind();
    void labels_buttons_options_and_frames_are_read_by_their_captions();
    void boxes_are_read_by_their_caption_and_unit_data();
    void boxes_are_read_by_their_caption_and_unit();
    void cubed_units_are_read_whole_and_once();
    void notebook_and_help_boxes_are_read_by_what_they_hold();
    void windows_are_read_by_their_captions();
    void menu_commands_are_read_by_their_captions();
    void hidden_controls_are_not_reported_showing();
    void a_changed_link_text_is_read_as_it_stands();

private:
    // The widgets of the five child windows that a reader meets.
    QList<QWidget*> controls() const
    {
        QList<QWidget*> all;
        for (QWidget* form : forms())
            for (QWidget* w : form->findChildren<QWidget*>())
                if (!w->objectName().startsWith(QLatin1String("qt_")) && !w->objectName().isEmpty())
                    all << w;
        return all;
    }
    QList<QWidget*> forms() const
    {
        return {m_window->form1(), m_window->form2(), m_window->form3(), m_window->form4(),
                m_window->chartWindow()};
    }
    QWidget* form1Control(const char* name) const
    {
        return m_window->form1()->control(QString::fromLatin1(name));
    }

    std::unique_ptr<ModalWatch> m_watch;
    std::unique_ptr<fMainform> m_window;
};

void AccessibilityTest::initTestCase()
{
    m_watch = std::make_unique<ModalWatch>();
    m_window = std::make_unique<fMainform>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    for (const char* command : {"computerotherparameter", "about", "help", "chart"})
        m_window->findChild<QAction*>(QString::fromLatin1(command))->trigger();
    m_window->showNotebook();
    for (QWidget* form : forms())
        QVERIFY(form && form->isVisible());
}

void AccessibilityTest::cleanupTestCase()
{
    QVERIFY(m_watch->seen().isEmpty());
    m_window.reset();
    m_watch.reset();
}

void AccessibilityTest::no_control_is_read_by_its_object_name()
{
    // Everything a reader can reach from the main window, the menu included.
    QList<QAccessibleInterface*> all;
    walk(accessible(m_window.get()), all);
    QVERIFY(all.size() > 80);

    const QRegularExpression designerName(
        QStringLiteral("^(Text|Label|Command|Option|Frame|Form|Picture|RichTextBox|Timer)\\d+$"));
    for (QAccessibleInterface* iface : all) {
        const QString name = iface->text(QAccessible::Name);
        QObject* object = iface->object();
        const QString objectName = object ? object->objectName() : QString();
        QVERIFY2(!designerName.match(name).hasMatch(), qPrintable(objectName + " is read as " + name));
        QVERIFY2(objectName.isEmpty() || name != objectName, qPrintable(objectName));
    }
}

void AccessibilityTest::controls_report_the_role_of_their_kind()
{
    int checked = 0;
    for (QWidget* widget : controls()) {
        const QAccessible::Role role = expectedRole(widget);
        if (role == QAccessible::NoRole)
            continue;
        QVERIFY2(accessible(widget)->role() == role, qPrintable(widget->objectName()));
        ++checked;
    }
    // Form1: 3 frames, 2 options, 32 labels, 15 boxes, 3 buttons; the notebook
    // and help boxes; Form4: 7 labels (the icon among them) and a button; the
    // chart window: 6 buttons, a check box, the read-out and the table.
    QCOMPARE(checked, 55 + 2 + 8 + 9);
}

void AccessibilityTest::labels_buttons_options_and_frames_are_read_by_their_captions()
{
    for (QWidget* widget : controls()) {
        QString caption;
        if (const auto* label = qobject_cast<QLabel*>(widget))
            caption = label->text();
        else if (const auto* button = qobject_cast<QAbstractButton*>(widget))
            caption = button->text();
        else if (const auto* frame = qobject_cast<QGroupBox*>(widget))
            caption = frame->title();
        else
            continue;
        // The two units with a cube read whole (below); the icon has no caption.
        if (widget == form1Control("Label25") || widget == form1Control("Label27"))
            continue;
        QVERIFY2(nameOf(widget) == caption,
                 qPrintable(widget->objectName() + ": " + nameOf(widget) + " / " + caption));
    }
    // A few read aloud exactly, inner and leading spaces as drawn.
    QCOMPARE(nameOf(form1Control("Command1")), QStringLiteral("计 算"));
    QCOMPARE(nameOf(form1Control("Label23")), QStringLiteral("g/kg干"));
    QCOMPARE(nameOf(form1Control("Frame2")), QStringLiteral("输入已知参数"));
    QCOMPARE(nameOf(form1Control("Option1")), QStringLiteral("1、已知t、υ和相对湿度ψ；"));
    Form4* about = m_window->form4();
    QCOMPARE(nameOf(about->findChild<QWidget*>(QStringLiteral("Command1"))), QStringLiteral("退出"));
    QCOMPARE(nameOf(about->findChild<QWidget*>(QStringLiteral("Label10"))),
             QStringLiteral("Tavrel希望给空调界的朋友们带来新的惊喜！"));
    // The chart window's parts by what they are: the chart area, the
    // read-out (its text is its value) and the points table.
    ChartWindow* chart = m_window->chartWindow();
    for (const auto& [name, reading] : {std::pair{"chartView", "焓湿图区域"}, std::pair{"readOut", "读数"},
                                        std::pair{"points", "状态点"}, std::pair{"export", "导出…"}})
        QCOMPARE(nameOf(chart->findChild<QWidget*>(QString::fromLatin1(name))), QString::fromUtf8(reading));
}

void AccessibilityTest::boxes_are_read_by_their_caption_and_unit_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("reading");
    const QList<std::pair<const char*, const char*>> rows = {
        {"Text1", "大气压 B，Pa"},
        {"Text2", "空气流速υ，m/s"},
        {"Text3", "干球温度 t，℃"},
        {"Text4", "湿球温度ts，℃"},
        {"Text5", "相对湿度ψ，%"},
        {"Text6", "湿球温度ts，℃"},
        {"Text7", "相对湿度ψ，%"},
        {"Text8", "含湿量 d，g/kg干"},
        {"Text9", "焓 值 h，kJ/kg干"},
        {"Text10", "密度 ρ，kg/m³"},
        {"Text11", "比 容 v，m³/kg"},
        {"Text12", "干球饱和水蒸汽分压力Pqb，Pa"},
        {"Text13", "露点温度tl，℃"},
        {"Text14", "湿球饱和水蒸汽分压力Pqbs，Pa"},
        {"Text15", "水蒸汽分压力Pq，Pa"},
    };
    for (const auto& [box, reading] : rows)
        QTest::newRow(box) << QString::fromLatin1(box) << QString::fromUtf8(reading);
}

void AccessibilityTest::boxes_are_read_by_their_caption_and_unit()
{
    QFETCH(QString, box);
    QFETCH(QString, reading);
    QLineEdit* edit = m_window->form1()->box(box.mid(4).toInt());
    QCOMPARE(edit->objectName(), box);
    QCOMPARE(nameOf(edit), reading);
    // The box's own text is its value, read after the name.
    QCOMPARE(accessible(edit)->textInterface()->text(0, edit->text().size()), edit->text());
}

void AccessibilityTest::cubed_units_are_read_whole_and_once()
{
    QCOMPARE(nameOf(form1Control("Label25")), QStringLiteral("kg/m³"));
    QCOMPARE(nameOf(form1Control("Label27")), QStringLiteral("m³/kg"));
    for (const char* name : {"Label26", "Label28"}) {
        auto* superscript = static_cast<QLabel*>(form1Control(name));
        // Still drawn as designed, only left out of the reading.
        QVERIFY(superscript->isVisible());
        QCOMPARE(superscript->text(), QStringLiteral("3"));
        QVERIFY2(accessible(superscript)->state().invisible, name);
    }
    // Drawn as before: the labels show what they showed.
    QCOMPARE(static_cast<QLabel*>(form1Control("Label25"))->text(), QStringLiteral("kg/m"));
    QCOMPARE(static_cast<QLabel*>(form1Control("Label27"))->text(), QStringLiteral("m  /kg "));
}

void AccessibilityTest::notebook_and_help_boxes_are_read_by_what_they_hold()
{
    QCOMPARE(nameOf(m_window->form2()->richTextBox1()), QStringLiteral("记录本"));
    QCOMPARE(nameOf(m_window->form3()->text1()),
             QStringLiteral("只有当你“记录数据”操作之后，你才可以保存记录本中的内容！"));
    QCOMPARE(m_window->form3()->text1()->toPlainText(), Form3::helpText());
}

void AccessibilityTest::windows_are_read_by_their_captions()
{
    QCOMPARE(nameOf(m_window.get()), m_window->windowTitle());
    QCOMPARE(accessible(m_window.get())->role(), QAccessible::Window);
    const QStringList expected = {Form1::caption(), QStringLiteral("记录本"), Form3::caption(),
                                  QStringLiteral("关于本软件"), QStringLiteral("焓湿图")};
    QStringList read;
    for (QWidget* form : forms()) {
        auto* sub = qobject_cast<QMdiSubWindow*>(form->parentWidget());
        QVERIFY(sub);
        QCOMPARE(accessible(sub)->role(), QAccessible::Window);
        read << nameOf(sub);
    }
    QCOMPARE(read, expected);

    // Outside the main window a form is a window of its own, read by its caption.
    Form1 alone;
    QCOMPARE(nameOf(&alone), Form1::caption());
}

void AccessibilityTest::menu_commands_are_read_by_their_captions()
{
    QAccessibleInterface* bar = accessible(m_window->menuBar());
    QCOMPARE(bar->role(), QAccessible::MenuBar);
    QStringList read;
    for (int i = 0; i < bar->childCount(); ++i) {
        QCOMPARE(bar->child(i)->role(), QAccessible::MenuItem);
        read << bar->child(i)->text(QAccessible::Name);
    }
    QCOMPARE(read, QStringList({"保存记录本", "Nimbara", "关于软件", "退出", "帮助", "焓湿图"}));
}

void AccessibilityTest::hidden_controls_are_not_reported_showing()
{
    const auto check = [this] {
        for (QWidget* widget : controls()) {
            const bool decorative = widget == form1Control("Label26") || widget == form1Control("Label28");
            const bool reportedShowing = !accessible(widget)->state().invisible;
            if (!reportedShowing == (!widget->isVisible() || decorative))
                continue;
            QFAIL(qPrintable(widget->objectName() + (reportedShowing ? " reported showing" : " reported hidden")));
        }
    };
    // ψ-known mode: the ts input and the ψ result are hidden.
    QVERIFY(m_window->form1()->isOption1Selected());
    QVERIFY(accessible(form1Control("Text4"))->state().invisible);
    check();

    QTest::mouseClick(form1Control("Option2"), Qt::LeftButton);
    QVERIFY(!accessible(form1Control("Text4"))->state().invisible);
    QVERIFY(accessible(form1Control("Text6"))->state().invisible);
    check();
    QTest::mouseClick(form1Control("Option1"), Qt::LeftButton);
    check();
}

void AccessibilityTest::a_changed_link_text_is_read_as_it_stands()
{
    auto* link = m_window->form4()->findChild<QLabel*>(QStringLiteral("Label1"));
    const QString before = link->text();
    QCOMPARE(nameOf(link), before);
    link->setText(QStringLiteral("https://example.org/nimbara"));
    QCOMPARE(nameOf(link), QStringLiteral("https://example.org/nimbara"));
    link->setText(before);
}

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
