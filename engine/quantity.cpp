// Display texts of the quantities of a state point.
#include "quantity.h"

#include "display.h"
#include "parse.h"

double PercentShown(double fraction)
{
    return ParseLenient(FormatFixed(fraction, 4)) * 100;
}

std::string DisplayText(const StatePoint& point, Quantity q)
{
    const QuantityInfo& info = Info(q);
    const double value = ValueOf(point, q);
    switch (info.decimals) {
    case kTypedInput:
        return FormatShortest(value);
    case kPercentOfFraction:
        return FormatShortest(PercentShown(value));
    default:
        return FormatFixed(value, info.decimals);
    }
}
