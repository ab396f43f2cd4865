// The state under the pointer of the 焓湿图 window.
#include "chartreading.h"

#include "calculate.h"  // DewPointInFit
#include "display.h"
#include "pair.h"

namespace {

QString fixed(double value, int decimals)
{
    return QString::fromStdString(FormatFixed(value, decimals));
}

}  // namespace

ChartReading ReadChart(double B, double upsilon, DhPoint at)
{
    const PairState state =
        StateFromPair(B, upsilon, {Quantity::d, at.d}, {Quantity::h, at.h}, WetBulb::Optional);
    if (state.failure.cause == CalcCause::Supersaturated)
        return {QStringLiteral("雾区（ψ>100%）"), {}};
    if (state.failure.cause != CalcCause::None)
        return {QString::fromStdString(FailureMessage(state.failure)), {}};

    const QStringList values = ChartValues(state.point, state.wetBulbFound);
    const QString& ts = values[4];
    const QString& tl = values[5];
    QString text = QStringLiteral("t=%1℃  ψ=%2%  d=%3g/kg干  h=%4kJ/kg干")
                       .arg(values[0], values[1], values[2], values[3]);
    if (!ts.isEmpty())
        text += QStringLiteral("  ts=%1℃").arg(ts);
    if (!tl.isEmpty())
        text += QStringLiteral("  tl=%1℃").arg(tl);
    text += QStringLiteral("  Pq=%1Pa").arg(fixed(state.point.Pq, 0));
    return {text, values};
}

QStringList ChartValues(const StatePoint& p, bool wetBulbFound)
{
    return {fixed(p.t, 2), fixed(p.psi * 100, 2), fixed(p.d, 2), fixed(p.h, 2),
            wetBulbFound ? fixed(p.ts, 2) : QString(), DewPointInFit(p) ? fixed(p.tl, 2) : QString()};
}
