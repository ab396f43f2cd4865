// The wet-bulb search of the ψ-known mode: a linear scan down a fixed grid,
// and the exact search that finds its result with a handful of evaluations.
#pragma once

// The grid starts kSearchStartOffset below the dry bulb t and steps down by
// kSearchStep; a grid value is the wet bulb when the relative mismatch of the
// psychrometer equation there is below kSearchTolerance. The grid is made by
// repeated subtraction (ts = ts − kSearchStep), not from the step count: the
// results depend on the rounding of every subtraction.
inline constexpr double kSearchStartOffset = 0.1;  // K
inline constexpr double kSearchStep = 0.005;       // K
inline constexpr double kSearchTolerance = 0.0005;

// The search gives up after this many steps, 500 K below t. A wet bulb cannot
// be below absolute zero, so only t above 226.85 °C can reach this bound,
// beyond the 200 °C up to which the water formula holds.
inline constexpr long kMaxSearchSteps = 100000;

struct WetBulbSearch {
    bool found;   // false: no grid value meets the tolerance (see SearchWetBulb)
    double ts;    // the grid value found, or the one at which the search gave up, °C
    long steps;   // steps of kSearchStep taken from t − kSearchStartOffset
};

// Finds the wet bulb ts on the psychrometer equation Pq = Pressure(ts) − A·(t − ts)·B,
// A = PsychrometerCoefficient(υ): the first grid value at which
// |Pressure(ts) − target| / Pressure(ts) < kSearchTolerance, target = Pq + A·(t − ts)·B.
// B and Pq in Pa, υ in m/s, t in °C; expects υ > 0 and B > Pq ≥ 0.
//
// The mismatch (p − target)/p only falls as ts falls (p falls, target rises).
// Once it is at or below −kSearchTolerance no later grid value can meet the
// tolerance, so the search gives up there; this never changes a result, it
// only ends the searches that would otherwise run for ever (ψ near 100 %, low
// temperatures where a step jumps over the tolerance band). It also gives up
// after kMaxSearchSteps steps, or when the mismatch is not a number.
//
// It returns exactly what the plain scan (ScanWetBulb) returns, the same ts
// bits, step count and give-up, for every input, but skips the grid values it
// can prove the scan steps on: a few evaluations of Pressure() instead of
// thousands (wetbulb.cpp says why that is safe).
WetBulbSearch SearchWetBulb(double B, double upsilon, double t, double Pq);

// The plain scan: every grid value from t − kSearchStartOffset down decided
// by Pressure(), one after the other, as the definition above reads.
WetBulbSearch ScanWetBulb(double B, double upsilon, double t, double Pq);

// SearchWetBulb with the margin by which a skipped grid value's mismatch must
// exceed kSearchTolerance (see wetbulb.cpp); kExactSearchMargin is the one
// SearchWetBulb uses. Tests make it negative to see that the comparison with
// the plain scan would catch a wrong proof.
inline constexpr double kExactSearchMargin = 1e-10;
WetBulbSearch SearchWetBulbWithMargin(double margin, double B, double upsilon, double t, double Pq);

// Whether SearchWetBulb runs the plain scan instead (the environment variable
// NIMBARA_SCAN=scalar, read once per process), for comparisons.
bool PlainScanChosen();
