// The colours of the h–d chart, shared by its grid, its points and its legend.
#pragma once

#include <QColor>

// The legend draws its keys in the colours of the lines they stand for, so
// the grid, the points and the legend all take their colours from here.
struct ChartPalette {
    // A family of grid lines: the thin ones and the heavier ones.
    struct Lines {
        QColor minor;
        QColor major;

        constexpr const QColor& of(bool isMajor) const { return isMajor ? major : minor; }
    };

    // Text, frames and the saturation curve.
    static constexpr QColor kInk{0x20, 0x20, 0x20};
    // The thin lines are dark enough to survive office printing.
    static constexpr Lines kMoisture{{0xbb, 0xbb, 0xbb}, {0x8c, 0x8c, 0x8c}};
    static constexpr Lines kIsotherm{{0x9c, 0xb2, 0xce}, {0x1f, 0x4e, 0x85}};
    static constexpr Lines kIsenthalp{{0xd8, 0xbd, 0x9a}, {0xa8, 0x64, 0x1e}};
    static constexpr QColor kHumidity{0x2e, 0x7d, 0x32};
    // The optional families, drawn dashed.
    static constexpr Lines kWetBulb{{0x00, 0x83, 0x8f}, {0x00, 0x83, 0x8f}};
    static constexpr Lines kVolume{{0x90, 0xa4, 0xae}, {0x45, 0x5a, 0x64}};
    // Process arrows, and the rays of the ε fan.
    static constexpr QColor kProcess{0x6a, 0x1b, 0x9a};
    static constexpr QColor kFan{0x44, 0x44, 0x44};
    // State-point markers: their fill and their edge.
    static constexpr QColor kPoint{0xd0, 0x10, 0x10};
    static constexpr QColor kPointEdge{0x60, 0x00, 0x00};
};
