// A design as nimbara-calc reads it: a JSON object with SI units.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "design.h"

struct DesignFile {
    std::optional<DesignInput> input;  // empty when the text is no valid design
    std::string error;                 // why, in Chinese, naming the key or the line and column
    std::optional<double> altitude;    // m, when B came from it
};

// The largest design file read: a design is a few hundred bytes.
inline constexpr std::size_t kMaxDesignBytes = 1 << 20;

// Reads a design from its JSON text. Keys (a key not listed is an error):
//   B (Pa) or altitude (m), default 101325 Pa; upsilon (m/s, default 2.5);
//   season: summer | winter; system: direct | primary-return | secondary-return (summer only);
//   room, outdoor: two of t, rh (%), ts, d (g/kg干), h (kJ/kg干), tl;
//   load: {Q (kW), W (g/s)}; fresh_air_ratio (0 … 1, not for direct);
//   supply: {dt} | {t} | {rh} (summer only); coil_rh (%, default 90);
//   winter: G (kg/s) instead of supply, humidifier: spray | steam (default spray).
DesignFile ReadDesign(std::string_view text);
