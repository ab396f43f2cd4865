// The batch's calculating stage: one record to its result fields, safe to run in parallel.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "csv_reader.h"
#include "quantity.h"
#include "statepoint.h"

// One input record of the batch, as the reading stage hands it on.
struct BatchRecord {
    std::vector<std::string> fields;  // none when the record was cut at a limit
    CsvRecordStatus status = CsvRecordStatus::Complete;
    bool cutInsideQuotes = false;
    long line = 0;      // physical line on which it starts
    long lastLine = 0;  // and on which it ends (for a cut record: up to which it was skipped)
};

// The result fields appended to every output row: the result text of each of
// these quantities, under its name as the column's (ts, psi, d … tl), then the
// status and the message.
inline constexpr std::array<Quantity, 10> kBatchResultQuantities = {
    Quantity::ts, Quantity::psi, Quantity::d, Quantity::h, Quantity::rho,
    Quantity::v, Quantity::Pqb, Quantity::Pqbs, Quantity::Pq, Quantity::tl};
inline constexpr std::size_t kBatchStatusColumn = kBatchResultQuantities.size();
inline constexpr std::size_t kBatchMessageColumn = kBatchStatusColumn + 1;
using BatchResults = std::array<std::string, kBatchMessageColumn + 1>;

// What a chart needs of a calculated row besides its texts.
struct RowPoint {
    StatePoint point;                // for status ok and dew-point-range
    std::optional<double> altitude;  // m, when its B came from an altitude
};

// The names of the result fields, in their order.
std::array<const char*, std::tuple_size_v<BatchResults>> BatchResultColumnNames();

// The calculating stage of the batch: knows from the header where the input
// columns are, and turns one record into its result fields. calculate() is
// const and touches nothing but its arguments, so records may be calculated in
// any order, or several at once.
class RowCalculator {
public:
    // `altitude` (m, from --altitude) gives every row its B; the input may
    // then have neither a B nor an altitude column.
    explicit RowCalculator(const CsvLimits& limits, std::optional<double> altitude = std::nullopt)
        : m_limits(limits), m_altitude(altitude)
    {
    }

    // Finds the columns mode, B, upsilon, t and value in the header's fields,
    // or instead of mode and value one of psi, d, h and tl (t with that
    // property for every row); false with `error` set (in Chinese) when one
    // is missing or named twice.
    // Without a B column an altitude column (m) gives each row its B; beside a
    // B column it is an ordinary column.
    bool readHeader(const std::vector<std::string>& header, std::string& error);
    // The number of fields in the header: every output row has this many
    // input fields, followed by the result fields.
    std::size_t width() const { return m_width; }

    // The result fields of one record: the texts the calculation window's
    // boxes would show, the status (ok, incomplete, dew-point-range, error) and
    // the message; every message but the dew point's starts "第N行：".
    // When `point` is given it receives the state point and its altitude.
    BatchResults calculate(const BatchRecord& record, RowPoint* point = nullptr) const;

private:
    enum Column { kMode, kB, kUpsilon, kT, kValue, kColumns };

    std::string recordProblem(const BatchRecord& record) const;
    bool readPairHeader(const std::vector<std::string>& header, std::string& error);

    CsvLimits m_limits;
    std::optional<double> m_altitude;
    std::array<std::size_t, kColumns> m_columns{};
    bool m_hasB = false;
    std::optional<std::size_t> m_altitudeColumn;
    std::size_t m_width = 0;
    // Without mode and value columns: t with the column of this quantity
    // (psi, d, h or tl), which stands where value does.
    std::optional<Quantity> m_pairWith;
};
