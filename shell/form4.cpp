// The About window (`Form4`): version, links, the icon, a close button and the scrolling message.
#include "form4.h"

#include <QCloseEvent>
#include <QColor>
#include <QCursor>
#include <QFont>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPalette>
#include <QPixmap>
#include <QPushButton>
#include <QStringList>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTimer>

#include "closeform.h"
#include "controltable.h"
#include "defaultbutton.h"
#include "fonts.h"
#include "shellresources.h"
#include "twips.h"

namespace {

using Kind = ControlKind;

// Top to bottom, as the window shows them; only the two pictures and the
// button take the focus, in the order of their tabs. Picture2 is wider than
// the window on purpose: the message runs in from beyond the right edge.
constexpr ControlDesc kControls[] = {
    {"Label3", Kind::Label, nullptr, 120, 120, 1455, 255, "版本编号：1.0.0"},
    {"Picture1", Kind::Picture, nullptr, 2280, 120, 735, 735, "", 1},
    {"Label4", Kind::Label, nullptr, 120, 480, 1455, 255, "Nimbara 版权所有"},
    {"Label7", Kind::Label, nullptr, 120, 840, 2055, 255, "联系电话：010-00000000"},
    {"Label1", Kind::Label, nullptr, 120, 1200, 2415, 255, "http://www.example.com/"},
    {"Command1", Kind::Button, nullptr, 2640, 1200, 375, 495, "退出", 3},
    {"Label6", Kind::Label, nullptr, 120, 1560, 2415, 255, "nimbara@example.com"},
    {"Picture2", Kind::Panel, nullptr, 0, 1920, 4335, 255, "", 2},
    {"Label10", Kind::Label, "Picture2", -1320, 0, 5175, 255, "Tavrel希望给空调界的朋友们带来新的惊喜！"},
};

constexpr int kTimerIntervalMs = 30;
constexpr float kScrollStepTwips = 20.0f;

const QColor kLinkColor(0, 0, 0);
const QColor kLinkHoverColor(0, 0, 255);
const QColor kIconBackground(0, 128, 128);
const QColor kIconHoverBackground(255, 0, 0);
const QColor kMarqueeColor(255, 0, 0);

// "华文行楷" (STXingkai), falling back to the calligraphic AR PL UKai on Debian.
QFont xingkaiFont(double pointSize)
{
    QFont font;
    font.setFamilies({QStringLiteral("华文行楷"), QStringLiteral("STXingkai"),
                      QStringLiteral("AR PL UKai CN")});
    font.setPointSizeF(pointSize);
    font.setWeight(QFont::Normal);
    return font;
}

QFont underlined(QFont font)
{
    font.setUnderline(true);
    return font;
}

void setRoleColor(QWidget* widget, QPalette::ColorRole role, const QColor& color)
{
    QPalette palette = widget->palette();
    palette.setColor(role, color);
    widget->setPalette(palette);
}

}  // namespace

Form4::Form4(QWidget* parent)
    : QWidget(parent)
{
    initShellResources();

    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("关于本软件"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(songtiFont(9));
    setFixedSize(twipsSize(*this, ClientWidthTwips, ClientHeightTwips));
    setMouseTracking(true);

    createControls();

    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setInterval(kTimerIntervalMs);
    connect(m_timer1, &QTimer::timeout, this, &Form4::Timer1_Timer);
    m_timer1->start();
}

void Form4::createControls()
{
    const QHash<QString, QWidget*> byName = BuildControls(this, kControls);
    m_picture1 = qobject_cast<QLabel*>(byName.value(QStringLiteral("Picture1")));
    m_label1 = qobject_cast<QLabel*>(byName.value(QStringLiteral("Label1")));
    m_command1 = qobject_cast<QPushButton*>(byName.value(QStringLiteral("Command1")));
    m_label6 = qobject_cast<QLabel*>(byName.value(QStringLiteral("Label6")));
    m_picture2 = qobject_cast<QFrame*>(byName.value(QStringLiteral("Picture2")));
    m_label10 = qobject_cast<QLabel*>(byName.value(QStringLiteral("Label10")));

    // Every control sees the pointer's moves with no button held, as the
    // hover colours need; the marquee reads the design widths.
    for (const ControlDesc& desc : kControls) {
        QWidget* control = byName.value(QString::fromLatin1(desc.name));
        control->setMouseTracking(true);
        m_designWidthTwips.insert(control, float(desc.width));
        if (control == m_label10)
            m_label10Left = float(desc.left);
    }

    // Enter anywhere in the window presses it (keyPressEvent below).
    makeDefaultButton(m_command1, this);

    m_picture1->setPixmap(QPixmap(QStringLiteral(":/images/nimbara.png")));
    setRoleColor(m_picture1, QPalette::Window, kIconBackground);

    const QCursor linkCursor(QPixmap(QStringLiteral(":/images/linkcursor.png")), 6, 0);
    m_label1->setFont(underlined(songtiFont(10.5)));
    m_label6->setFont(underlined(songtiFont(9)));
    for (QLabel* link : {m_label1, m_label6}) {
        setRoleColor(link, QPalette::WindowText, kLinkColor);
        link->setCursor(linkCursor);
    }

    // The calligraphic strokes are a pixel thin: smoothed, most of them only
    // reach pink. Drawn without smoothing they are the full red.
    QFont marqueeFont = xingkaiFont(12);
    marqueeFont.setStyleStrategy(QFont::NoAntialias);
    m_label10->setFont(marqueeFont);
    setRoleColor(m_label10, QPalette::WindowText, kMarqueeColor);

    connect(m_command1, &QPushButton::clicked, this, &Form4::Command1_Click);
    for (QWidget* watched : {static_cast<QWidget*>(m_label1), static_cast<QWidget*>(m_label6),
                             static_cast<QWidget*>(m_picture1),
                             static_cast<QWidget*>(m_command1)})
        watched->installEventFilter(this);
}

void Form4::setLinkOpener(LinkOpener opener)
{
    m_openLink = std::move(opener);
}

int Form4::toPixels(double twips) const
{
    return twipsToPixels(twips, logicalDpiX());
}

float Form4::widthTwips(const QWidget* control) const
{
    const auto design = m_designWidthTwips.constFind(control);
    if (design != m_designWidthTwips.constEnd() && toPixels(*design) == control->width())
        return *design;
    return float(pixelsToTwips(control->width(), logicalDpiX()));
}

void Form4::placeLabel10()
{
    m_label10->move(toPixels(m_label10Left), m_label10->y());
}

void Form4::Timer1_Timer()
{
    m_label10Left = m_scrollX - widthTwips(m_label10);
    placeLabel10();
    m_scrollX -= kScrollStepTwips;
    if (m_scrollX <= 0.0f)
        m_scrollX = widthTwips(m_label10) + widthTwips(m_picture2);
}

void Form4::Command1_Click()
{
    closeForm(this);
}

void Form4::Label1_Click()
{
    m_openLink(m_label1->text());
}

void Form4::Label6_Click()
{
    m_openLink(QStringLiteral("mailto:") + m_label6->text());
}

void Form4::Label1_MouseMove()
{
    setRoleColor(m_label1, QPalette::WindowText, kLinkHoverColor);
}

void Form4::Label6_MouseMove()
{
    setRoleColor(m_label6, QPalette::WindowText, kLinkHoverColor);
}

void Form4::Picture1_MouseMove()
{
    setRoleColor(m_picture1, QPalette::Window, kIconHoverBackground);
}

void Form4::Form_MouseMove()
{
    const QColor buttonText = QGuiApplication::palette().color(QPalette::ButtonText);
    setRoleColor(m_label1, QPalette::WindowText, buttonText);
    setRoleColor(m_label6, QPalette::WindowText, buttonText);
    setRoleColor(m_picture1, QPalette::Window, kIconBackground);
}

bool Form4::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_command1 && event->type() == QEvent::Paint) {
        paintCommand1();
        return true;
    }
    if (event->type() == QEvent::MouseMove) {
        if (watched == m_label1)
            Label1_MouseMove();
        else if (watched == m_label6)
            Label6_MouseMove();
        else if (watched == m_picture1)
            Picture1_MouseMove();
    } else if (event->type() == QEvent::MouseButtonPress
               || event->type() == QEvent::MouseButtonDblClick) {
        // The second press of a double click is no click of its own: a double
        // click opens a link once, not twice.
        const auto* mouse = static_cast<QMouseEvent*>(event);
        m_clickStartedOn = event->type() == QEvent::MouseButtonPress
                                   && mouse->button() == Qt::LeftButton
                               ? watched
                               : nullptr;
    } else if (event->type() == QEvent::MouseButtonRelease) {
        // A click: the left button released over the control it was pressed on
        // (Qt sends the release to the control that took the press).
        const auto* mouse = static_cast<QMouseEvent*>(event);
        auto* control = static_cast<QWidget*>(watched);
        const bool click = m_clickStartedOn == watched && mouse->button() == Qt::LeftButton
                           && control->rect().contains(mouse->position().toPoint());
        m_clickStartedOn = nullptr;
        if (click) {
            if (watched == m_label1 || watched == m_picture1)
                Label1_Click();
            else if (watched == m_label6)
                Label6_Click();
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Form4::paintCommand1()
{
    // The button is narrower than its caption: like the toolkit it was
    // designed with, break the caption onto more lines instead of cutting it.
    QStylePainter painter(m_command1);
    QStyleOptionButton option;
    option.initFrom(m_command1);
    option.features = QStyleOptionButton::AutoDefaultButton;
    if (m_command1->isDefault())
        option.features |= QStyleOptionButton::DefaultButton;
    option.state |= m_command1->isDown() ? QStyle::State_Sunken : QStyle::State_Raised;
    painter.drawControl(QStyle::CE_PushButtonBevel, option);

    const QRect contents = m_command1->rect().adjusted(1, 1, -1, -1);
    painter.drawItemText(contents, Qt::AlignCenter | Qt::TextWrapAnywhere, option.palette,
                         m_command1->isEnabled(), m_command1->text(), QPalette::ButtonText);
    if (m_command1->hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(m_command1);
        focus.rect = m_command1->style()->subElementRect(QStyle::SE_PushButtonFocusRect, &option,
                                                         m_command1);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

void Form4::mouseMoveEvent(QMouseEvent* event)
{
    // Moves over controls that ignore them are passed on to the window; only
    // the bare surface between the controls restores the colours.
    if (!childAt(event->position().toPoint()))
        Form_MouseMove();
    QWidget::mouseMoveEvent(event);
}

void Form4::keyPressEvent(QKeyEvent* event)
{
    // Command1 is the default button: Enter anywhere in the window presses it.
    if (!pressOnEnter(m_command1, event))
        QWidget::keyPressEvent(event);
}

void Form4::closeEvent(QCloseEvent* event)
{
    m_timer1->stop();
    QWidget::closeEvent(event);
}
