// Saturation pressure of water vapour over ice and over water (Hyland–Wexler).
#pragma once

// Saturation pressure of water vapour, in Pa, at temperature t in °C: over ice
// for t < 0, over liquid water for t >= 0 (t = 0 takes the water set).
// Hyland–Wexler formulation with its thirteen coefficients.
// Reference: ASHRAE Handbook - Fundamentals, psychrometrics chapter.
// Published range -100 °C to 200 °C; outside it the same formulas are used
// unchanged. For t <= -273.15 the result is not a finite number (NaN or 0
// from the logarithm of T <= 0); callers check for that.
double Pressure(double t);
