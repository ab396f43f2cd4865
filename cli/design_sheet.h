// A design's calculation sheet (计算书), as text in Chinese or as JSON, and
// nimbara-calc's --design run.
#pragma once

#include <istream>
#include <ostream>
#include <string>

#include "design.h"
#include "design_file.h"

// The sheet: the inputs, ε, a table of the points, G, the loads and the checks.
std::string DesignSheet(const DesignInput& input, const DesignResult& result, std::optional<double> altitude);

// The same as JSON: epsilon (null when W = 0), G, G_m3h, points keyed by
// name (t, rh, d, h, ts, tl, rho, v, Pq), loads keyed as DesignLoad::key,
// checks, processes.
std::string DesignJson(const DesignResult& result);

struct DesignRun {
    int code;  // kExitOk, or the exit code of what went wrong (its message already written)
    DesignFile file;
    DesignResult result;
};

// Reads the design from `path` ("-" standard input) and builds it; a file
// that cannot be read or is no valid design exits kExitUsage, a design that
// cannot be built kExitCalculationFailed.
DesignRun CalculateDesign(const std::string& path, std::istream& in, std::ostream& err);

// Writes the sheet (or its JSON) of a built design.
int PrintDesign(const DesignRun& run, bool json, std::ostream& out, std::ostream& err);
