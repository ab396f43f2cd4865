// Air-handling designs on the h–d chart: 直流, 一次回风 and 二次回风 for summer,
// 直流 and 一次回风 for winter, with the air volume and the loads.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "pair.h"

enum class Season { Summer, Winter };
enum class AirSystem { Direct, PrimaryReturn, SecondaryReturn };
enum class Humidifier { Spray, Steam };  // 喷水（等焓） or 干蒸汽（等温）

// How the supply point O is fixed: by the supply temperature difference Δt0
// (summer tO = tN − Δt0, winter tO = tN + Δt0), by tO itself, or, in summer,
// by its relative humidity (露点送风: O where the ε line meets that ψ).
struct SupplyRule {
    enum class Kind { Difference, Temperature, Humidity };
    Kind kind = Kind::Difference;
    double value = 0;  // K, °C or %
};

struct DesignInput {
    double B = 101325;     // Pa
    double upsilon = 2.5;  // m/s, for the wet bulbs
    Season season = Season::Summer;
    AirSystem system = AirSystem::PrimaryReturn;
    Given room[2];     // N
    Given outdoor[2];  // W
    double Q = 0;      // kW: the room's heat gain (negative for a winter heat loss)
    double W = 0;      // g/s: the room's moisture gain
    double freshAirRatio = 1;       // mass share of fresh air in the supply air (直流: 1)
    std::optional<SupplyRule> supply;
    double coilRh = 90;             // % : ψ of the machine dew point L
    std::optional<double> G;        // kg/s, winter: the air volume instead of `supply`
    Humidifier humidifier = Humidifier::Spray;
};

// Why a design cannot be built, each naming what the designer should change.
enum class DesignCause {
    None,
    PointFailed,            // a state (given or computed) has no value; `detail` says why
    SupplyNotPositive,      // Δt0 ≤ 0
    RatioOutOfRange,        // the fresh-air ratio outside 0 … 1
    SupplyWrongSide,        // O not cooler (summer) or warmer (winter) than N, or G ≤ 0
    SupplySaturated,        // O beyond saturation
    LineMissesCoilRh,       // the ε line does not reach ψL (or the ψ of 露点送风)
    SupplyWetterThanCoil,   // summer: ψO above ψL, so L would be warmer than O
    CoilAboveSupply,        // 二次回风 tL ≥ tO; winter L above O
    FreshAirAboveCoilAir,   // 二次回风: m·G > GL
    MixInFog,               // C beyond saturation
    NoDehumidification,     // summer dC < dL
    MixWetterThanSupply,    // winter dC > dO
    HumidifiedInFog,        // winter spray along hC to dO beyond saturation
};

struct DesignFailure {
    DesignCause cause = DesignCause::None;
    std::string detail;  // PointFailed: the point and its state's message
    explicit operator bool() const { return cause != DesignCause::None; }
};

// The failure's message in Chinese.
std::string DesignFailureMessage(const DesignFailure& failure);

struct DesignPoint {
    std::string name;   // N, W, C, H, L, O
    std::string title;  // 室内, 室外, 混合, 加热后, 机器露点, 送风
    StatePoint state;
    bool wetBulbFound = true;  // false: state.ts is NaN, no wet bulb meets the search's tolerance
};

struct DesignLoad {
    std::string key;    // the JSON key: coil, reheat, fresh_air, condensate, coil_air, heating, water
    std::string title;  // 表冷器冷量 …
    double value;
    std::string unit;   // kW, kg/h, kg/s
};

struct DesignResult {
    DesignFailure failure;
    std::optional<double> epsilon;  // kJ/kg; none when W = 0 (the ε line is vertical)
    double G = 0;                   // kg/s of supply air
    double Gm3h = 0;                // m³/h at the supply point's specific volume
    std::vector<DesignPoint> points;
    std::vector<DesignLoad> loads;
    std::vector<std::string> checks;  // what was checked, with its numbers, in Chinese
    // The processes the air goes through, point name to point name, in order.
    std::vector<std::pair<std::string, std::string>> processes;

    const DesignPoint* point(const std::string& name) const;
};

// Builds the design by the textbook procedures; every point is a state of
// StateFromPair at the design's B and υ.
DesignResult RunDesign(const DesignInput& input);
