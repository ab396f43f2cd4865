// The builder of a form's fixed controls from its control table.
#include "controltable.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleFactory>

#include <algorithm>
#include <utility>
#include <vector>

#include "fonts.h"
#include "twips.h"

namespace {

// A label this tall holds two lines of the window's font.
constexpr int kTwoLineHeight = 375;  // twips

QWidget* createControl(const ControlDesc& desc, QWidget* container, OptionFactory makeOption)
{
    const QString text = QString::fromUtf8(desc.text);
    switch (desc.kind) {
    case ControlKind::Frame:
        return new QGroupBox(text, container);
    case ControlKind::Option: {
        QRadioButton* option = makeOption ? makeOption(container) : new QRadioButton(container);
        option->setText(text);
        return option;
    }
    case ControlKind::Label: {
        auto* label = new QLabel(text, container);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setWordWrap(desc.height >= kTwoLineHeight);
        return label;
    }
    case ControlKind::Text:
        return new QLineEdit(text, container);
    case ControlKind::Button: {
        auto* button = new QPushButton(text, container);
        button->setAutoDefault(true);
        return button;
    }
    case ControlKind::Picture: {
        auto* picture = new QLabel(container);
        picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        picture->setFocusPolicy(Qt::StrongFocus);
        picture->setAutoFillBackground(true);
        return picture;
    }
    case ControlKind::Panel: {
        auto* panel = new QFrame(container);
        panel->setFrameShape(QFrame::NoFrame);
        panel->setFocusPolicy(Qt::StrongFocus);
        return panel;
    }
    }
    return nullptr;
}

}  // namespace

QHash<QString, QWidget*> BuildControls(QWidget* form, std::span<const ControlDesc> table,
                                       OptionFactory makeOption)
{
    const int dpi = form->logicalDpiX();
    QHash<QString, QWidget*> controls;
    QStyle* frameStyle = nullptr;
    std::vector<std::pair<int, QWidget*>> tabOrder;

    for (const ControlDesc& desc : table) {
        QWidget* container = desc.container ? controls.value(QString::fromLatin1(desc.container)) : form;
        QWidget* widget = createControl(desc, container, makeOption);
        if (desc.kind == ControlKind::Frame) {
            // Fusion puts the caption above the frame line, where it would
            // push the line through the first row of controls. One style
            // serves all the frames of a form and lives as long as the form.
            if (!frameStyle) {
                frameStyle = QStyleFactory::create(QStringLiteral("Windows"));
                if (frameStyle)
                    frameStyle->setParent(form);
            }
            if (frameStyle)
                widget->setStyle(frameStyle);
        }
        const QString name = QString::fromLatin1(desc.name);
        widget->setObjectName(name);
        if (desc.pointSize > 0) {
            // Small glyphs (5.25 pt is seven pixels) smoothed never reach a
            // full pixel of ink and show as a grey smudge; drawn without
            // smoothing they are black, at the same size and place.
            QFont font = songtiFont(desc.pointSize);
            font.setStyleStrategy(QFont::NoAntialias);
            widget->setFont(font);
        }
        widget->setGeometry(twipsRect(desc.left, desc.top, desc.width, desc.height, dpi));
        controls.insert(name, widget);
        if (widget->focusPolicy() != Qt::NoFocus)
            tabOrder.emplace_back(desc.tab, widget);
    }

    std::sort(tabOrder.begin(), tabOrder.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (size_t i = 1; i < tabOrder.size(); ++i)
        QWidget::setTabOrder(tabOrder[i - 1].second, tabOrder[i].second);
    return controls;
}
