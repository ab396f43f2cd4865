// The rows of the chart's line families.
#include "chartfamilies.h"

#include <cmath>

#include "chartcanvas.h"
#include "chartpalette.h"

namespace {

// `step` made a whole fraction of `numbered` (1, 2, 5 steps can meet 2.5):
// halve the numbered step then.
LineFamily family(QString name, QString unit, const ChartPalette::Lines& colours, double minorWidth,
                  double majorWidth, double step, double numbered)
{
    double ratio = numbered / step;
    if (std::fabs(ratio - std::round(ratio)) > 1e-9) {
        step = numbered / 2;
        ratio = 2;
    }
    return {std::move(name), std::move(unit), colours.minor, colours.major, minorWidth, majorWidth,
            step, std::max(1, static_cast<int>(std::lround(ratio)))};
}

}  // namespace

bool LineFamily::isMajor(double k) const
{
    return std::fmod(std::fabs(std::round(k)), majorEvery) == 0;
}

QString LineFamily::legendText() const
{
    const QString space = unit.startsWith(u'℃') || unit.startsWith(u'%') ? QString() : QStringLiteral(" ");
    if (majorEvery == 1)
        return QStringLiteral("%1，每 %2%3%4 标注").arg(name, ChartCanvas::Number(step), space, unit);
    return QStringLiteral("%1，每 %2%3%4，每 %5%3%4 加粗并标注")
        .arg(name, ChartCanvas::Number(step), space, unit, ChartCanvas::Number(majorStep()));
}

ChartFamilies::ChartFamilies(const ChartSpacing& spacing)
    // Isotherms every 1 °C (every 0.5 °C when every degree is numbered).
    : isotherms(family(QStringLiteral("干球温度 t"), QStringLiteral("℃"), ChartPalette::kIsotherm, 0.12, 0.3,
                       spacing.isothermLabelStep() < 2 ? 0.5 : 1, spacing.isothermLabelStep())),
      isenthalps(family(QStringLiteral("焓 h"), QStringLiteral("kJ/kg干"), ChartPalette::kIsenthalp, 0.12, 0.22,
                        spacing.enthalpyStep(), spacing.enthalpyLabelStep())),
      moisture(family(QStringLiteral("含湿量 d"), QStringLiteral("g/kg干"), ChartPalette::kMoisture, 0.1, 0.18,
                      spacing.moistureStep(), spacing.moistureLabelStep())),
      humidity(family(QStringLiteral("相对湿度 ψ"), QStringLiteral("%"), {ChartPalette::kHumidity, ChartPalette::kHumidity},
                      0.22, 0.22, 10, 10)),
      // Every heavy isotherm's temperature has its wet-bulb line; specific
      // volume every 0.01 m³/kg, numbered every 0.05.
      wetBulb(family(QStringLiteral("湿球温度 ts"), QStringLiteral("℃"), ChartPalette::kWetBulb, 0.18, 0.18,
                     isotherms.majorStep(), isotherms.majorStep())),
      volume(family(QStringLiteral("比容 v"), QStringLiteral("m³/kg"), ChartPalette::kVolume, 0.12, 0.18, 0.01, 0.05))
{
}
