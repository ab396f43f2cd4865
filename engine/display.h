// The fixed display patterns of the results ("0.00" … "0.00000") and the shortest form.
#pragma once

#include <string>

// The fixed display patterns of the results: "0.00", "0.000", "0.0000",
// "0.00000". At least one digit before the point, exactly `decimals` digits
// after it, "." as the point, no grouping, a leading "-" for negative values.
// Rounds the exact binary value of the double, as printf("%.Nf") does; a value
// that rounds to zero is written without a minus sign ("0.00", never "-0.00").
std::string FormatFixed(double value, int decimals);


// Shortest plain decimal form with up to 15 significant digits, no trailing
// zeros, as printf("%.15g"): 46.73, 50. Used for the relative humidity result.
std::string FormatShortest(double value);
