#pragma once

#include <istream>
#include <ostream>
#include <string>

// Batch calculation over CSV. The input's header row names at least the
// columns mode, B, upsilon, t and value, in any order; other columns are passed
// through. Each row is one calculation: mode "psi" (value = ψ in %) or "ts"
// (value = ts in °C), every field a box text taken unchanged. The output has,
// for each input row, its fields in input column order followed by
// ts,psi,d,h,rho,v,Pqb,Pqbs,Pq,tl,status,message: the texts the calculation
// window's boxes would show, the row's status (ok, incomplete,
// dew-point-range, error) and the message the window would show, if any.
// Rows are read and written one at a time.
//
// Returns kExitOk when the input could be read, whatever the rows' statuses,
// and kExitUsage (with a message on `err`) when it has no usable header or
// cannot be read.
int RunBatch(std::istream& in, std::ostream& out, std::ostream& err);

// RunBatch on the named file; empty or "-" reads `stdinStream`. A file that
// cannot be opened gives kExitUsage with a message on `err`.
int RunBatchFile(const std::string& path, std::istream& stdinStream, std::ostream& out,
                 std::ostream& err);
