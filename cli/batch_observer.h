// What the batch tells a listener about each row it has written.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "row_calculator.h"

// A row as the batch wrote it to its output.
struct FinishedRow {
    long number;                             // 1 for the first data row
    const std::vector<std::string>& fields;  // its fields as read
    std::string_view status;                 // ok, incomplete, dew-point-range or error
    const RowPoint& point;                   // its state, for ok and dew-point-range
};

// Told of the header and then of every row, in input order, as each is
// written (the batch's output stage); the batch's own output is the same
// with or without one.
class BatchObserver {
public:
    virtual ~BatchObserver() = default;
    virtual void header(const std::vector<std::string>& columns) = 0;
    virtual void row(const FinishedRow& row) = 0;
};
