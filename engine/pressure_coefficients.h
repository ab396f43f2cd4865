// The thirteen Hyland–Wexler coefficients of the saturation pressure, shared by
// Pressure() and the slope the wet-bulb search's guess takes from them.
#pragma once

// C[1]..C[7]: the set over ice; C[8]..C[13]: the set over water. C[0] is unused
// so that the indices read as the published coefficient numbers.
// The small coefficients are written as mantissa times a power of ten, the
// way the published table gives them.
// Reference: ASHRAE Handbook - Fundamentals, psychrometrics chapter.
inline constexpr double kPressureC[14] = {
    0.0,
    -5674.5359,           // C1  · 1/T
    6.3925247,            // C2  · 1
    -0.009677843,         // C3  · T
    0.62215701 * 1e-6,    // C4  · T²
    0.20747825 * 1e-8,    // C5  · T³
    -0.9484024 * 1e-12,   // C6  · T⁴
    4.1635019,            // C7  · ln T
    -5800.2206,           // C8  · 1/T
    1.3914993,            // C9  · 1
    -0.048640239,         // C10 · T
    0.41764768 * 1e-4,    // C11 · T²
    -0.14452093 * 1e-7,   // C12 · T³
    6.5459673,            // C13 · ln T
};

// T = t + kCelsiusToKelvin, K.
inline constexpr double kCelsiusToKelvin = 273.15;
