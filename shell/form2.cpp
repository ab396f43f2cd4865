// The record notebook window (`Form2`): its text box, kept inside the window's edges.
#include "form2.h"

#include <QResizeEvent>
#include <QTextEdit>

#include "twips.h"

namespace {

constexpr int kDesignWidthTwips = 8595;
constexpr int kDesignHeightTwips = 5670;
constexpr double kMarginTwips = 100;
constexpr double kWrapInsetTwips = 400;  // lines wrap this far before the box's right edge

}  // namespace

Form2::Form2(QWidget* parent) : QWidget(parent), m_richTextBox1(new QTextEdit(this))
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("记录本"));

    m_richTextBox1->setObjectName(QStringLiteral("RichTextBox1"));
    // Named for the notebook, whatever file the caption later shows.
    m_richTextBox1->setAccessibleName(QStringLiteral("记录本"));
    m_richTextBox1->setAcceptRichText(true);
    m_richTextBox1->setLineWrapMode(QTextEdit::FixedPixelWidth);
    setFocusProxy(m_richTextBox1);

    resize(sizeHint());
    // The box is placed before the window is first shown, not on its first resize event.
    applyLayout();
}

QSize Form2::sizeHint() const
{
    return twipsSize(*this, kDesignWidthTwips, kDesignHeightTwips);
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
    const double innerWidth = pixelsToTwips(width(), dpiX);
    const double innerHeight = pixelsToTwips(height(), dpiY);

    // A minimised or tiny window would give the box a negative size; it then
    // keeps the size it had, so restoring shows the notebook as it was.
    if (innerWidth >= 2 * kMarginTwips && innerHeight >= 2 * kMarginTwips) {
        m_richTextBox1->setGeometry(twipsToPixels(kMarginTwips, dpiX), twipsToPixels(kMarginTwips, dpiY),
                                    twipsToPixels(innerWidth - 2 * kMarginTwips, dpiX),
                                    twipsToPixels(innerHeight - 2 * kMarginTwips, dpiY));
    }

    // A box narrower than the inset has no valid wrap margin; it keeps the last one.
    const double wrap = pixelsToTwips(m_richTextBox1->width(), dpiX) - kWrapInsetTwips;
    if (wrap >= 0)
        m_richTextBox1->setLineWrapColumnOrWidth(twipsToPixels(wrap, dpiX));
}
