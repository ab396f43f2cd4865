// The fifteen boxes of the calculation window: the quantity each holds and
// when, and the labels a sighted user reads along its row.
#pragma once

#include "quantity.h"

// In which input mode a box is in use.
enum class BoxUse { Both, PsiKnown, TsKnown };

struct BoxRow {
    int number;           // 1 for Text1 … 15 for Text15
    const char* name;     // "Text1" …
    Quantity quantity;    // what it holds: typed in Text1 … Text5, a result in Text6 … Text15
    BoxUse use;
    const char* caption;  // the label before it, and the unit label after it: a
    const char* unit;     // screen reader names the box by them
};

inline constexpr BoxRow kBoxes[15] = {
    {1, "Text1", Quantity::B, BoxUse::Both, "Label1", "Label16"},
    {2, "Text2", Quantity::upsilon, BoxUse::Both, "Label2", "Label17"},
    {3, "Text3", Quantity::t, BoxUse::Both, "Label3", "Label18"},
    {4, "Text4", Quantity::ts, BoxUse::TsKnown, "Label4", "Label19"},
    {5, "Text5", Quantity::psi, BoxUse::PsiKnown, "Label5", "Label20"},
    {6, "Text6", Quantity::ts, BoxUse::PsiKnown, "Label6", "Label21"},
    {7, "Text7", Quantity::psi, BoxUse::TsKnown, "Label7", "Label22"},
    {8, "Text8", Quantity::d, BoxUse::Both, "Label8", "Label23"},
    {9, "Text9", Quantity::h, BoxUse::Both, "Label9", "Label24"},
    {10, "Text10", Quantity::rho, BoxUse::Both, "Label10", "Label25"},
    {11, "Text11", Quantity::v, BoxUse::Both, "Label11", "Label27"},
    {12, "Text12", Quantity::Pqb, BoxUse::Both, "Label12", "Label29"},
    {13, "Text13", Quantity::tl, BoxUse::Both, "Label14", "Label31"},
    {14, "Text14", Quantity::Pqbs, BoxUse::Both, "Label13", "Label30"},
    {15, "Text15", Quantity::Pq, BoxUse::Both, "Label15", "Label32"},
};

// The number of the box that holds q in the given mode.
constexpr int BoxOf(Quantity q, InputMode mode)
{
    const BoxUse own = mode == InputMode::PsiKnown ? BoxUse::PsiKnown : BoxUse::TsKnown;
    for (const BoxRow& row : kBoxes) {
        if (row.quantity == q && (row.use == BoxUse::Both || row.use == own))
            return row.number;
    }
    return 0;
}

// The titles of the window's message boxes: incomplete input, and the limits
// of a formula.
inline constexpr const char* kIncompleteTitle = "提醒";
inline constexpr const char* kCalcInfoTitle = "计算信息";
