// The design the tests share: the classic 送风状态 example of Chinese
// air-conditioning courses, as a summer 一次回风 design.
#pragma once

#include "design.h"

// Room 22 ℃ / 55 %, 3314 W and 0.264 g/s, Δt0 = 8 ℃ at 101325 Pa; outdoor
// 35 ℃ with a 26.9 ℃ wet bulb, 15 % fresh air. The example's answers, read
// off a printed chart: ε ≈ 12 500 kJ/kg, hN ≈ 46 and hO ≈ 36 kJ/kg,
// G ≈ 0.33 kg/s.
inline DesignInput TextbookSummerDesign()
{
    DesignInput in;
    in.season = Season::Summer;
    in.system = AirSystem::PrimaryReturn;
    in.room[0] = {Quantity::t, 22};
    in.room[1] = {Quantity::psi, 55};
    in.outdoor[0] = {Quantity::t, 35};
    in.outdoor[1] = {Quantity::ts, 26.9};
    in.Q = 3.314;
    in.W = 0.264;
    in.freshAirRatio = 0.15;
    in.supply = SupplyRule{SupplyRule::Kind::Difference, 8};
    return in;
}
