// The help window (`Form3`): the one hint about saving the notebook, on pink.
#include "form3.h"

#include <QPalette>
#include <QPlainTextEdit>

#include "fonts.h"
#include "twips.h"

Form3::Form3(QWidget* parent) : QWidget(parent), m_text1(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(caption());
    setFixedSize(twipsSize(*this, 3405, 810));
    const int dpi = logicalDpiX();

    m_text1->setObjectName(QStringLiteral("Text1"));
    // Read as the one sentence it is, not broken where the box breaks it.
    m_text1->setAccessibleName(QString(helpText()).remove(QLatin1Char('\n')).trimmed());
    // Larger than the window on purpose: only its top left part shows.
    m_text1->setGeometry(twipsRect(0, 0, 3495, 1215, dpi));
    m_text1->setFont(songtiFont(12));
    QPalette palette = m_text1->palette();
    palette.setColor(QPalette::Base, QColor(255, 192, 192));
    m_text1->setPalette(palette);
    // The lines are broken by hand to the box's width.
    m_text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Not a tab stop: the hint can still be clicked into, but Tab never lands there.
    m_text1->setFocusPolicy(Qt::ClickFocus);
    m_text1->setPlainText(helpText());
}

QString Form3::caption()
{
    return QStringLiteral("帮助内容");
}

QString Form3::helpText()
{
    return QStringLiteral("     只有当你“记录数据”操\n"
                          "作之后，你才可以保存记录本中\n"
                          "的内容！\n");
}
