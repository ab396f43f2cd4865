// Saturation pressure of water vapour over ice and over water (Hyland–Wexler).
#pragma once

// Saturation pressure of water vapour, in Pa, at temperature t in °C: over ice
// for t < 0, over liquid water for t >= 0 (t = 0 takes the water set).
// Hyland–Wexler formulation with its thirteen coefficients.
// Reference: ASHRAE Handbook - Fundamentals (2017) ch. 1 eqn 5 (over ice) and
// eqn 6 (over liquid water), after Hyland and Wexler (1983).
// Published range -100 °C to 200 °C; outside it the same formulas are used
// unchanged. For t <= -273.15 the result is not a finite number (NaN or 0
// from the logarithm of T <= 0); callers check for that.
double Pressure(double t);
