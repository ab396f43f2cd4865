// The golden results: what the calculation of the window's default inputs shows, in both modes.
#pragma once

#include <span>
#include <string_view>

#include "quantity.h"

// One box text of the calculation window: the quantity it shows, the box
// (1 = Text1 … 15 = Text15) and the text exactly as shown.
struct GoldenBox {
    Quantity quantity;
    int box;
    const char* text;
};

// The inputs as the window opens: B 101325 Pa, υ 2.5 m/s, t 27 ℃, with
// ts 19 ℃ in the ts-known mode or ψ 46.37 % in the ψ-known mode.
inline constexpr GoldenBox kGoldenInputs[] = {
    {Quantity::B, 1, "101325"}, {Quantity::upsilon, 2, "2.5"}, {Quantity::t, 3, "27"},
    {Quantity::ts, 4, "19"},    {Quantity::psi, 5, "46.37"},
};

// The results of those inputs, in the order the calculation writes their
// boxes. They are the program's own figures, kept so that a change in any
// formula, pattern or rounding shows: every consumer of the engine (window,
// record, command line, batch) must agree with them to the last digit.
inline constexpr GoldenBox kGoldenPsiKnown[] = {
    {Quantity::ts, 6, "19.03"},        {Quantity::d, 8, "10.32"},    {Quantity::h, 9, "53.60034"},
    {Quantity::rho, 10, "1.168"},      {Quantity::v, 11, "0.85653"}, {Quantity::Pqb, 12, "3567.31"},
    {Quantity::Pqbs, 14, "2201.92"},   {Quantity::Pq, 15, "1654.16250"}, {Quantity::tl, 13, "14.94"},
};

inline constexpr GoldenBox kGoldenTsKnown[] = {
    {Quantity::psi, 7, "46.73"},       {Quantity::d, 8, "10.32"},    {Quantity::h, 9, "53.59903"},
    {Quantity::rho, 10, "1.168"},      {Quantity::v, 11, "0.85652"}, {Quantity::Pqb, 12, "3539.81"},
    {Quantity::Pqbs, 14, "2171.73"},   {Quantity::Pq, 15, "1654.08145"}, {Quantity::tl, 13, "14.94"},
};

inline std::span<const GoldenBox> GoldenResults(InputMode mode)
{
    return mode == InputMode::PsiKnown ? std::span<const GoldenBox>(kGoldenPsiKnown)
                                       : std::span<const GoldenBox>(kGoldenTsKnown);
}

// The text shown for q after calculating the defaults in mode: its result,
// or the typed input for the quantities that mode reads.
inline std::string_view GoldenText(InputMode mode, Quantity q)
{
    for (const GoldenBox& result : GoldenResults(mode))
        if (result.quantity == q)
            return result.text;
    for (const GoldenBox& input : kGoldenInputs)
        if (input.quantity == q)
            return input.text;
    return {};
}
