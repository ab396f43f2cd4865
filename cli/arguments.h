// nimbara-calc's command line: what it asks for, and the usage and help texts.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "calculate.h"
#include "pair.h"
#include "chartrange.h"

// What the command line asks for.
struct CliArguments {
    enum class Action {
        StatePoint,  // one state point: -t with --rh or --ts
        Batch,       // --batch [FILE]
        Design,      // --design FILE
        Help,        // --help
        UsageError,  // anything else; `error` says what is wrong
    };
    Action action = Action::UsageError;
    std::string error;  // UsageError only: what is wrong, in Chinese

    // StatePoint: the box texts exactly as given. B and υ default to the
    // calculation window's initial texts.
    InputMode mode = InputMode::PsiKnown;
    std::string B = kDefaultBText;
    std::string upsilon = kDefaultUpsilonText;
    std::string t;
    std::string humidity;  // --rh (ψ in %) or --ts (ts in °C)
    // Any other two of -t, --rh, --ts, --d, --h and --tl: a state from two
    // properties, with B and υ as above.
    std::optional<PairInputs> pair;

    // Design: the JSON file ("-" standard input); --json prints the sheet as JSON.
    std::string designFile;
    bool json = false;

    // Batch: the input file; empty or "-" is standard input.
    std::string batchFile;

    // --altitude METRES, instead of -B: B is then the standard atmosphere's
    // pressure there (in the batch, for every row), and `pressure` that B in
    // whole pascals, with `B` its text.
    std::optional<double> altitude;
    std::optional<double> pressure;

    // --chart FILE (.png, .svg or .pdf), with --chart-t and --chart-d for its
    // range and, in the batch, --chart-process for arrows between the rows.
    std::string chartFile;  // empty: no chart
    ChartRange chartRange;
    bool chartProcess = false;
    // --chart-lines ts,v: the optional wet-bulb (at the point's υ) and
    // specific-volume lines.
    bool chartWetBulbLines = false;
    bool chartVolumeLines = false;

    // Batch: how many rows are calculated at once (--jobs); 0 when not given,
    // which means as many as the process has processors.
    int jobs = 0;
};

// The largest --jobs: more threads than that cannot be busy on any machine
// this runs on, and each one holds a few records in memory.
inline constexpr int kMaxJobs = 64;

// The calculation's inputs for a state point.
CalcInputs StatePointInputs(const CliArguments& a);

// The threads a batch runs on: --jobs, else every processor the process may
// use, at most kMaxJobs.
int JobsToRun(const CliArguments& a);

// Why the chart's range has nothing to draw at the pressure B (every air in it
// beyond saturation); empty when it has.
std::string ChartRangeProblem(double B, const ChartRange& range);

// Reads the arguments after the program name. Options: -B, -u, -t, --rh,
// --ts, --d, --h, --tl, --altitude, --design, --chart, --chart-t, --chart-d
// (each with its value as the next argument, or joined: -t27, --rh=46.37),
// --chart-process, --json, --batch [FILE], --jobs N (with --batch only; 1 to
// kMaxJobs), --help (-h). An option's value is taken as it is, even when it
// begins with "-" (-t -5 is a dry-bulb temperature of −5 °C).
CliArguments ParseArguments(const std::vector<std::string>& args);

// The short usage text written with a usage error (standard error).
const char* UsageText();
// The full help text written by --help (standard output).
std::string HelpText();
