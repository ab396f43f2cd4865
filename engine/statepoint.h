// The state point of moist air: the thirteen values the calculation window keeps.
#pragma once

// The state point of moist air kept by the calculation window. Field order as
// the window declares it; psi is a fraction (0.4637 for 46.37 %).
struct StatePoint {
    double t = 0;        // dry-bulb temperature, °C
    double ts = 0;       // wet-bulb temperature, °C
    double Pq = 0;       // partial pressure of the water vapour, Pa
    double Pqb = 0;      // saturation vapour pressure at t, Pa
    double Pqbs = 0;     // saturation vapour pressure at ts, Pa
    double v = 0;        // specific volume, m³/kg
    double d = 0;        // moisture content, g/kg dry air
    double h = 0;        // enthalpy, kJ/kg dry air
    double B = 0;        // barometric pressure, Pa
    double tl = 0;       // dew-point temperature, °C
    double rho = 0;      // density, kg/m³
    double upsilon = 0;  // air velocity past the wet bulb, m/s
    double psi = 0;      // relative humidity, fraction
};
