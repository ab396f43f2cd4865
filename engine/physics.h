// The psychrometric formulas of the state-point calculation, one function each.
#pragma once

// Each function is evaluated exactly as the calculation has always done it:
// the same operations in the same order, so that no result moves by a bit.
// Pressures in Pa, temperatures in °C, moisture content in g/kg dry air,
// enthalpy in kJ/kg dry air. The saturation pressure of the ψ-known mode is
// Pressure() in pressure.h.

// The two constants of the Antoine equation used by the ts-known mode: 23.196
// for the saturation pressures Pqb and Pqbs it shows, 23.1964 inside the
// energy balance of the wet bulb. The two differ on purpose (saturated air
// shows ψ = 100.04 %), so both are kept.
inline constexpr double kAntoineConstant = 23.196;
inline constexpr double kAntoineConstantWetBulb = 23.1964;

// Saturation pressure over water by the Antoine equation, p = exp(C − 3816.44 / (T − 46.13))
// in Pa, with T = t + 273.15 K; `constant` is C (kAntoineConstant or
// kAntoineConstantWetBulb). t in °C.
// Reference: Antoine constants of water from Reid, Prausnitz & Poling, The
// Properties of Gases and Liquids (A = 18.3036 for mmHg, B = 3816.44, C = −46.13 K);
// 23.196 = 18.3036 + ln 133.322, the same equation in Pa.
double AntoinePressure(double constant, double t);

// Psychrometer coefficient A, 1/K, of a wet bulb in air moving at υ m/s:
// A = 10⁻⁵ · (65 + 6.75 / υ). Enters Pq = Pqbs − A·(t − ts)·B.
// Reference: the psychrometer equation as Chinese air-conditioning textbooks
// give it; the coefficient's fit in υ is the one used by this calculation.
double PsychrometerCoefficient(double upsilon);

// Moisture content from the vapour pressure Pq at barometric pressure B:
// d = 622 · Pq / (B − Pq), 622 being 1000 × the ratio of the molar masses of
// water and dry air. B and Pq in Pa, d in g/kg dry air.
// Reference: ASHRAE Handbook - Fundamentals (2017) ch. 1 eqn 20 (0.621945 there).
double MoistureContentFromVapourPressure(double B, double Pq);

// Vapour pressure from the moisture content, the inverse of the above:
// Pq = (0.001 · d) · B / (0.622 + d / 1000). B in Pa, d in g/kg dry air.
// Reference: ASHRAE Handbook - Fundamentals (2017) ch. 1 eqn 20, solved for pw.
double VapourPressureFromMoistureContent(double B, double d);

// Moisture content from the energy balance of the wet bulb at dry bulb t, wet
// bulb ts and barometric pressure B; `Ps` is the saturation pressure at ts by
// AntoinePressure(kAntoineConstantWetBulb, ts). 267.38·X is the latent heat at
// ts in kJ/kg (X = (647.3 − ts − 273.15)^0.38, 647.3 K the critical temperature
// of water), 166.31 ≈ 0.622 × 267.38, 1.01 and 1.88 the specific heats of dry
// air and of water vapour in kJ/(kg·K). B and Ps in Pa, t and ts in °C, d in
// g/kg dry air.
// Reference: the energy balance of the wet bulb (as ASHRAE Handbook -
// Fundamentals (2017) ch. 1 eqn 33 and 35 write it), with the latent heat by a fit
// in the temperature below the critical point: the form used by this calculation.
double MoistureContentFromWetBulb(double B, double t, double ts, double Ps);

// Dew point by the fit tl = 1.9·α² + (12.4·α + 8.22), α = ln(Pq / 1000) with
// Pq in Pa, tl in °C; the fit is meant for 0 … 65 °C.
// Reference: fit used by this calculation.
double DewPointFit(double Pq);

// Enthalpy of moist air: h = 1.01·t + (0.001·d)·(2501 + 1.84·t), 2501 kJ/kg the
// latent heat at 0 °C. t in °C, d in g/kg dry air, h in kJ/kg dry air.
// Reference: ASHRAE Handbook - Fundamentals (2017) ch. 1 eqn 30 (1.006, 2501,
// 1.86 there), with the specific heats of Chinese air-conditioning texts.
double Enthalpy(double t, double d);
// The same solved for t: t = (h − 2.501·d) / (1.01 + 0.00184·d).
double DryBulbFromEnthalpy(double h, double d);

// Density of moist air, kg/m³: ρ = 0.00348·B / (273.15 + t) − 0.00132·Pq / (273.15 + t),
// B and Pq in Pa, t in °C.
// Reference: the ideal-gas law for dry air and water vapour (R = 287 and 461
// J/(kg·K)) as Chinese air-conditioning texts round it.
double Density(double B, double t, double Pq);

// Specific volume, m³/kg: the reciprocal of the density.
double SpecificVolume(double rho);
