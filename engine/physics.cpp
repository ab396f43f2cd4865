// The psychrometric formulas of the state-point calculation.
#include "physics.h"

#include <cmath>

#include "pressure_coefficients.h"  // kCelsiusToKelvin

double AntoinePressure(double constant, double t)
{
    return std::exp(constant - 3816.44 / ((t + kCelsiusToKelvin) - 46.13));
}

double PsychrometerCoefficient(double upsilon)
{
    return 1e-5 * (65 + 6.75 / upsilon);
}

double MoistureContentFromVapourPressure(double B, double Pq)
{
    return (622 * Pq) / (B - Pq);
}

double VapourPressureFromMoistureContent(double B, double d)
{
    return ((0.001 * d) * B) / (0.622 + d / 1000);
}

double MoistureContentFromWetBulb(double B, double t, double ts, double Ps)
{
    const double delta = t - ts;
    const double X = std::pow((647.3 - ts) - kCelsiusToKelvin, 0.38);
    return 1000 * ((166.31 * X + 1.01 * delta) * Ps - (1.01 * B) * delta)
           / ((1.88 * delta + 267.38 * X) * (B - Ps));
}

double DewPointFit(double Pq)
{
    const double alpha = std::log(Pq / 1000);
    return 1.9 * (alpha * alpha) + (12.4 * alpha + 8.22);
}

double Enthalpy(double t, double d)
{
    return 1.01 * t + (0.001 * d) * (2501 + 1.84 * t);
}

double DryBulbFromEnthalpy(double h, double d)
{
    return (h - 2.501 * d) / (1.01 + 0.00184 * d);
}

double Density(double B, double t, double Pq)
{
    return (0.00348 * B) / (kCelsiusToKelvin + t) - (0.00132 * Pq) / (kCelsiusToKelvin + t);
}

double SpecificVolume(double rho)
{
    return 1 / rho;
}
