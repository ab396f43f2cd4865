// The About window (`Form4`): version, links, icon, close button and the scrolling message.
#pragma once

#include "linkopener.h"

#include <QHash>
#include <QWidget>

class QCloseEvent;
class QEvent;
class QFrame;
class QKeyEvent;
class QLabel;
class QMouseEvent;
class QPushButton;
class QTimer;

// The About window: version, rights notice, telephone number, the web and
// e-mail links, the program's icon (which also opens the web site), a close
// button and a red message scrolling right to left along the bottom edge.
class Form4 : public QWidget {
    Q_OBJECT
public:
    // Client area in twips.
    static constexpr int ClientWidthTwips = 3135;
    static constexpr int ClientHeightTwips = 2265;

    explicit Form4(QWidget* parent = nullptr);

    // Replaces how links are opened (the desktop's handler by default).
    void setLinkOpener(LinkOpener opener);

    // One step of the marquee; Timer1 calls it every 30 ms.
    void Timer1_Timer();

    // The marquee state in twips: ScrollX as the tick keeps it, and the
    // Left of Label10 inside Picture2.
    float scrollX() const { return m_scrollX; }
    float label10LeftTwips() const { return m_label10Left; }

    // Width of a control in twips as the tick reads it: its design width as
    // long as the control keeps the pixel width that stands for it, otherwise
    // its current pixel width converted back.
    float widthTwips(const QWidget* control) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    int toPixels(double twips) const;
    void placeLabel10();
    void paintCommand1();

    void Command1_Click();
    void Label1_Click();
    void Label6_Click();
    void Label1_MouseMove();
    void Label6_MouseMove();
    void Picture1_MouseMove();
    void Form_MouseMove();

    QLabel* m_picture1 = nullptr;
    QLabel* m_label1 = nullptr;
    QPushButton* m_command1 = nullptr;
    QLabel* m_label6 = nullptr;
    QFrame* m_picture2 = nullptr;
    QLabel* m_label10 = nullptr;
    QTimer* m_timer1 = nullptr;

    QHash<const QWidget*, float> m_designWidthTwips;
    const QObject* m_clickStartedOn = nullptr;
    float m_scrollX = 0.0f;
    float m_label10Left = 0.0f;
    LinkOpener m_openLink = openWithDesktop;
};
