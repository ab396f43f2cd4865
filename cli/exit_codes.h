// nimbara-calc's exit codes.
#pragma once

inline constexpr int kExitOk = 0;
inline constexpr int kExitCalculationFailed = 1;  // failure or incomplete input
inline constexpr int kExitUsage = 2;              // usage error, unreadable input, unwritable output
