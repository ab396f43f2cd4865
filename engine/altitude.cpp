// Barometric pressure of the standard atmosphere at an altitude.
#include "altitude.h"

#include <cmath>

bool AltitudeInRange(double Z)
{
    return Z >= kAltitudeMin && Z <= kAltitudeMax;
}

double PressureAtAltitude(double Z)
{
    return kStandardPressure * std::pow(1 - 2.25577e-5 * Z, 5.2559);
}
