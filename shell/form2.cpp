#include "form2.h"

#include <QResizeEvent>
#include <QTextEdit>
#include <QtMath>

namespace {

constexpr int kDesignWidthTwips = 8595;
constexpr int kDesignHeightTwips = 5670;
constexpr double kMarginTwips = 100;
constexpr double kWrapInsetTwips = 400;  // lines wrap this far before the box's right edge

double toTwips(int pixels, int dpi) { return pixels * 1440.0 / dpi; }
int toPixels(double twips, int dpi) { return qRound(twips * dpi / 1440.0); }

}  // namespace

Form2::Form2(QWidget* parent) : QWidget(parent), m_richTextBox1(new QTextEdit(this))
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("记录本"));

    m_richTextBox1->setObjectName(QStringLiteral("RichTextBox1"));
    m_richTextBox1->setAccessibleName(QStringLiteral("RichTextBox1"));
    m_richTextBox1->setAcceptRichText(true);
    m_richTextBox1->setLineWrapMode(QTextEdit::FixedPixelWidth);
    setFocusProxy(m_richTextBox1);

    resize(sizeHint());
    // The box is placed before the window is first shown, not on its first resize event.
    applyLayout();
}

QSize Form2::sizeHint() const
{
    return {toPixels(kDesignWidthTwips, logicalDpiX()), toPixels(kDesignHeightTwips, logicalDpiY())};
}

void Form2::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    applyLayout();
}

void Form2::applyLayout()
{
    const int dpiX = logicalDpiX();
    const int dpiY = logicalDpiY();
    const double innerWidth = toTwips(width(), dpiX);
    const double innerHeight = toTwips(height(), dpiY);

    // A minimised or tiny window would give the box a negative size; it then
    // keeps the size it had, so restoring shows the notebook as it was.
    if (innerWidth >= 2 * kMarginTwips && innerHeight >= 2 * kMarginTwips) {
        m_richTextBox1->setGeometry(toPixels(kMarginTwips, dpiX), toPixels(kMarginTwips, dpiY),
                                    toPixels(innerWidth - 2 * kMarginTwips, dpiX),
                                    toPixels(innerHeight - 2 * kMarginTwips, dpiY));
    }

    // A box narrower than the inset has no valid wrap margin; it keeps the last one.
    const double wrap = toTwips(m_richTextBox1->width(), dpiX) - kWrapInsetTwips;
    if (wrap >= 0)
        m_richTextBox1->setLineWrapColumnOrWidth(toPixels(wrap, dpiX));
}
