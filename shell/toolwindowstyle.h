#pragma once

#include <QProxyStyle>

// Gives the sub-windows marked with kToolWindowProperty the small title bar of
// a tool window; inside a QMdiArea the Qt::Tool flag itself is dropped.
class ToolWindowStyle : public QProxyStyle {
    Q_OBJECT
public:
    static constexpr const char* kToolWindowProperty = "nimbaraToolWindow";

    explicit ToolWindowStyle(QObject* parent = nullptr);

    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
};
