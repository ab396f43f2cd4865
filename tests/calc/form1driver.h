// Drives the calculation window in its tests as a user does: the window shown, its controls by name, typing.
#pragma once

#include <QLineEdit>
#include <QString>
#include <QStringList>
#include <QTest>

#include <memory>

#include "form1.h"
#include "golden.h"
#include "modalwatch.h"

// The titles and texts of the window's message boxes.
inline const QString kIncompleteTitle = QStringLiteral("提醒");
inline const QString kIncompleteText = QStringLiteral("请把已知参数输入完整");
inline const QString kInfoTitle = QStringLiteral("计算信息");
inline const QString kDewPointText = QStringLiteral("对不起，目前还无法用公式计算此时的露点温度tl！");

// Texts of Text1 … Text15 as the window opens: the default inputs, and the
// result boxes holding their own names.
inline QStringList initialTexts()
{
    QStringList texts;
    for (const GoldenBox& input : kGoldenInputs)
        texts << QString::fromUtf8(input.text);
    for (int n = 6; n <= 15; ++n)
        texts << QStringLiteral("Text%1").arg(n);
    return texts;
}
inline const QStringList kInitialTexts = initialTexts();

// Texts of Text1 … Text15 after calculating the default inputs in mode.
inline QStringList textsAfterDefaults(InputMode mode)
{
    QStringList texts = kInitialTexts;
    for (const GoldenBox& result : GoldenResults(mode))
        texts[result.box - 1] = QString::fromUtf8(result.text);
    return texts;
}

inline QString golden(Quantity q)
{
    return QString::fromUtf8(GoldenText(InputMode::PsiKnown, q));
}

// A fresh window for every test: open() in the test's init(), close() in its
// cleanup(). Every message box is recorded and dismissed by ModalWatch, so a
// test fails instead of hanging on a box it did not expect.
class Form1Driver {
protected:
    void open()
    {
        m_watch = std::make_unique<ModalWatch>();
        m_form = std::make_unique<Form1>();
        m_form->show();
        m_form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    }
    void close()
    {
        m_form.reset();
        m_watch.reset();
    }

    QWidget* control(const char* name) const { return m_form->control(QString::fromLatin1(name)); }
    QLineEdit* text(int n) const { return m_form->box(n); }
    void click(const char* name) { QTest::mouseClick(control(name), Qt::LeftButton); }
    void setInput(int box, const QString& value)
    {
        text(box)->clear();
        QTest::keyClicks(text(box), value);
    }
    QStringList allTexts() const
    {
        QStringList texts;
        for (int n = 1; n <= 15; ++n)
            texts << m_form->boxText(n);
        return texts;
    }
    // Which mode the options, boxes and labels show.
    void verifyMode(bool psiKnown)
    {
        QCOMPARE(m_form->isOption1Selected(), psiKnown);
        QCOMPARE(m_form->isOption2Selected(), !psiKnown);
        for (const char* name : {"Label5", "Text5", "Label20", "Label6", "Text6", "Label21"})
            QVERIFY2(control(name)->isVisible() == psiKnown, name);
        for (const char* name : {"Label4", "Text4", "Label19", "Label7", "Text7", "Label22"})
            QVERIFY2(control(name)->isVisible() == !psiKnown, name);
        QCOMPARE(text(4)->isEnabled(), !psiKnown);
        QCOMPARE(text(5)->isEnabled(), psiKnown);
        QCOMPARE(text(6)->isEnabled(), psiKnown);
        QCOMPARE(text(7)->isEnabled(), !psiKnown);
        // Inputs and common results show in both modes.
        for (int n : {1, 2, 3, 8, 9, 10, 11, 12, 13, 14, 15}) {
            QVERIFY(text(n)->isVisible());
            QVERIFY(text(n)->isEnabled());
        }
    }

    std::unique_ptr<Form1> m_form;
    std::unique_ptr<ModalWatch> m_watch;
};
