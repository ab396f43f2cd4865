// The record notebook window (`Form2`): its box's margins and wrap margin, and its frame.
//
// The notebook window: its box with 100-twip margins and a wrap margin 400
// twips inside the box, kept through minimising, and how it sits in the
// main window's area. Offscreen the logical DPI is 96: 15 twips per pixel.

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <QTextEdit>

#include "childwindow.h"
#include "form2.h"

namespace {

// Box geometry expected for an inner size in pixels at 96 dpi: the margins of
// 100 twips round to 7 pixels, and width = inner − 200 twips.
QRect boxFor(int innerWidth, int innerHeight)
{
    return QRect(7, 7, qRound((innerWidth * 15 - 200) / 15.0), qRound((innerHeight * 15 - 200) / 15.0));
}

// A notebook in the area, framed as the main window frames it.
Form2* addNotebook(QMdiArea* area)
{
    auto* form = new Form2;
    AddChildWindow(area, form, ChildBorder::Sizable);
    return form;
}

void present(Form2* form)
{
    ShowChildWindow(qobject_cast<QMdiSubWindow*>(form->parentWidget()));
}

int wrapFor(int boxWidth)
{
    return qRound((boxWidth * 15 - 400) / 15.0);
}

}  // namespace

class Form2Test : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void opensEmptyWithItsCaptionAndControl();
    void boxIsPlacedBeforeFirstShown();
    void boxFollowsResize_data();
    void boxFollowsResize();
    void tooSmallWindowKeepsBoxAndItsWrapMargin();
    void narrowBoxKeepsLastWrapMargin();
    void inAreaMinimiseAndRestoreKeepBox();
    void subWindowCaptionFollowsNotebook();
    void closingDiscardsText();
};

void Form2Test::initTestCase()
{
    Form2 probe;
    if (probe.logicalDpiX() != 96 || probe.logicalDpiY() != 96)
        QSKIP("the pixel values below are for 96 dpi");
}

void Form2Test::opensEmptyWithItsCaptionAndControl()
{
    Form2 form;
    QCOMPARE(form.windowTitle(), QStringLiteral("记录本"));
    auto* box = form.findChild<QTextEdit*>(QStringLiteral("RichTextBox1"));
    QVERIFY(box);
    QCOMPARE(box, form.richTextBox1());
    // A screen reader names the box for the notebook, not by its object name.
    QCOMPARE(box->accessibleName(), QStringLiteral("记录本"));
    QVERIFY(box->toPlainText().isEmpty());
    QVERIFY(box->acceptRichText());
    QVERIFY(!box->isReadOnly());
    QCOMPARE(box->lineWrapMode(), QTextEdit::FixedPixelWidth);
    // 8595 × 5670 twips.
    QCOMPARE(form.sizeHint(), QSize(573, 378));
    QCOMPARE(form.size(), QSize(573, 378));
}

void Form2Test::boxIsPlacedBeforeFirstShown()
{
    Form2 form;
    QVERIFY(!form.isVisible());
    QCOMPARE(form.richTextBox1()->geometry(), QRect(7, 7, 560, 365));
    QCOMPARE(form.richTextBox1()->lineWrapColumnOrWidth(), 533);
}

void Form2Test::boxFollowsResize_data()
{
    QTest::addColumn<QSize>("inner");
    QTest::newRow("larger") << QSize(900, 700);
    QTest::newRow("smaller") << QSize(300, 150);
    QTest::newRow("inner just over 200 twips") << QSize(14, 14);  // box 10 twips
    QTest::newRow("just over the wrap inset") << QSize(41, 41);
}

void Form2Test::boxFollowsResize()
{
    QFETCH(QSize, inner);
    Form2 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.resize(inner);
    QCOMPARE(form.size(), inner);

    const QRect expected = boxFor(inner.width(), inner.height());
    QCOMPARE(form.richTextBox1()->geometry(), expected);
    if (wrapFor(expected.width()) >= 0)
        QCOMPARE(form.richTextBox1()->lineWrapColumnOrWidth(), wrapFor(expected.width()));
}

void Form2Test::tooSmallWindowKeepsBoxAndItsWrapMargin()
{
    // State: a notebook with its box fitted. Action: the window shrinks below
    // 200 twips, in one direction and in both. Expected: the box keeps its
    // place and size and the wrap margin still matches that width; growing
    // again fits the box anew.
    Form2 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.resize(400, 300);
    const QRect fitted = form.richTextBox1()->geometry();
    QCOMPARE(fitted, boxFor(400, 300));

    for (const QSize tiny : {QSize(10, 300), QSize(400, 13), QSize(0, 0)}) {
        form.resize(tiny);
        QCOMPARE(form.richTextBox1()->geometry(), fitted);
        QCOMPARE(form.richTextBox1()->lineWrapColumnOrWidth(), wrapFor(fitted.width()));
    }

    form.resize(500, 320);
    QCOMPARE(form.richTextBox1()->geometry(), boxFor(500, 320));
}

void Form2Test::narrowBoxKeepsLastWrapMargin()
{
    // A box narrower than the 400-twip inset has no valid wrap margin: the
    // last one stays rather than a negative width.
    Form2 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.resize(200, 200);
    const int wrap = form.richTextBox1()->lineWrapColumnOrWidth();
    QCOMPARE(wrap, wrapFor(boxFor(200, 200).width()));
    form.resize(30, 30);  // 450 twips: box 250 twips wide
    QCOMPARE(form.richTextBox1()->geometry(), boxFor(30, 30));
    QCOMPARE(form.richTextBox1()->lineWrapColumnOrWidth(), wrap);
}

void Form2Test::inAreaMinimiseAndRestoreKeepBox()
{
    QMdiArea area;
    area.resize(1000, 800);
    Form2* form = addNotebook(&area);
    auto* sub = qobject_cast<QMdiSubWindow*>(form->parentWidget());
    QVERIFY(sub);
    QCOMPARE(area.subWindowList().size(), 1);
    QVERIFY(sub->testAttribute(Qt::WA_DeleteOnClose));
    QVERIFY(sub->windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(sub->windowFlags() & Qt::WindowMaximizeButtonHint);
    QVERIFY(sub->windowFlags() & Qt::WindowCloseButtonHint);
    QVERIFY(!sub->systemMenu());

    area.show();
    QVERIFY(QTest::qWaitForWindowExposed(&area));
    QVERIFY(!sub->isVisible());
    present(form);
    QVERIFY(sub->isVisible());
    QCOMPARE(area.activeSubWindow(), sub);

    // Opens at its design inner size.
    QCOMPARE(form->size(), QSize(573, 378));
    QCOMPARE(form->richTextBox1()->geometry(), QRect(7, 7, 560, 365));

    sub->resize(sub->width() + 60, sub->height() + 40);
    const QRect fitted = boxFor(form->width(), form->height());
    QCOMPARE(form->size(), QSize(633, 418));
    QCOMPARE(form->richTextBox1()->geometry(), fitted);

    sub->showMinimized();
    QApplication::processEvents();
    QVERIFY(sub->isMinimized());
    QCOMPARE(form->richTextBox1()->geometry(), fitted);
    QCOMPARE(form->richTextBox1()->lineWrapColumnOrWidth(), wrapFor(fitted.width()));

    sub->showNormal();
    QApplication::processEvents();
    QCOMPARE(form->size(), QSize(633, 418));
    QCOMPARE(form->richTextBox1()->geometry(), fitted);

    sub->showMaximized();
    QApplication::processEvents();
    QCOMPARE(form->richTextBox1()->geometry(), boxFor(form->width(), form->height()));
    QVERIFY(form->width() > 633);
}

void Form2Test::subWindowCaptionFollowsNotebook()
{
    QMdiArea area;
    Form2* form = addNotebook(&area);
    auto* sub = qobject_cast<QMdiSubWindow*>(form->parentWidget());
    QCOMPARE(sub->windowTitle(), QStringLiteral("记录本"));
    form->setWindowTitle(QStringLiteral("/tmp/记录.doc"));
    QCOMPARE(sub->windowTitle(), QStringLiteral("/tmp/记录.doc"));
}

void Form2Test::closingDiscardsText()
{
    // No question is asked and the window is gone with its text.
    QMdiArea area;
    area.show();
    QVERIFY(QTest::qWaitForWindowExposed(&area));
    QPointer<Form2> form = addNotebook(&area);
    present(form);
    form->richTextBox1()->setPlainText(QStringLiteral("未保存的记录"));
    QVERIFY(form->parentWidget()->close());
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(form.isNull());
    QVERIFY(QApplication::activeModalWidget() == nullptr);
}

QTEST_MAIN(Form2Test)
#include "form2_test.moc"
