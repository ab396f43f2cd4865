// The small title bar of the help window, a tool window inside the workspace.
#pragma once

#include <QProxyStyle>

class QStyleOptionTitleBar;

// Gives the sub-windows marked with kToolWindowProperty the small title bar of
// a tool window; inside a QMdiArea the Qt::Tool flag itself is dropped. Its
// close box is drawn as a cross that fits the smaller button.
class ToolWindowStyle : public QProxyStyle {
    Q_OBJECT
public:
    static constexpr const char* kToolWindowProperty = "nimbaraToolWindow";

    explicit ToolWindowStyle(QObject* parent = nullptr);

    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget = nullptr) const override;

private:
    void drawCloseBox(const QStyleOptionTitleBar& titleBar, QPainter* painter, const QWidget* widget) const;
};
