// Barometric pressure of the standard atmosphere at an altitude.
#pragma once

// The standard atmosphere's pressure at sea level, Pa: the B a chart or a
// batch row has when nothing else gives one.
inline constexpr double kStandardPressure = 101325;

// The altitudes for which the formula below holds: the troposphere, from a
// little below sea level up to 11000 m.
inline constexpr double kAltitudeMin = -500;   // m
inline constexpr double kAltitudeMax = 11000;  // m

// True when Z (m above sea level) lies in kAltitudeMin … kAltitudeMax; false
// for anything else, NaN included.
bool AltitudeInRange(double Z);

// Barometric pressure, Pa, of the standard atmosphere at altitude Z, m above
// sea level: B = 101325 · (1 − 2.25577×10⁻⁵ · Z)^5.2559. Meant for Z in
// kAltitudeMin … kAltitudeMax; callers check AltitudeInRange first.
// Reference: ASHRAE Handbook - Fundamentals, ch. 1 (psychrometrics), eqn. 3.
double PressureAtAltitude(double Z);
