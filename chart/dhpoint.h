// A place on the h–d chart: moisture content and enthalpy.
#pragma once

struct DhPoint {
    double d = 0;  // moisture content, g/kg dry air
    double h = 0;  // enthalpy, kJ/kg dry air
};

struct DhSegment {
    DhPoint from;
    DhPoint to;
};
