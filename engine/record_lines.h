#pragma once

#include "calculate.h"

// The twelve value lines of a notebook record: prefix, the text of one box of
// the calculation window, suffix. The box depends on the input mode for the
// wet-bulb and relative-humidity lines, which are computed in one mode and
// typed in the other. Texts are UTF-8, reproduced exactly as the notebook shows
// them (two leading ASCII spaces, no space before the suffix).
struct RecordLine {
    const char* prefix;
    int psiKnownBox;  // box number (1 = Text1 … 15 = Text15) in the ψ-known mode
    int tsKnownBox;   // box number in the ts-known mode
    const char* suffix;
};

inline constexpr RecordLine kRecordLines[12] = {
    {"  大气压力B=", 1, 1, "Pa"},
    {"  干球温度t=", 3, 3, "℃"},
    {"  湿球温度 ts=", 6, 4, "℃"},
    {"  相对湿度 ψ=", 5, 7, "%"},
    {"  焓值 h=", 9, 9, "kJ/kg干"},
    {"  含湿量 d=", 8, 8, "g/kg干"},
    {"  密度 ρ=", 10, 10, "kg/m3"},
    {"  比容 v=", 11, 11, "m3/kg"},
    {"  干球饱和水蒸气分压力 Pqb=", 12, 12, "Pa"},
    {"  湿球饱和水蒸气分压力 Pqbs=", 14, 14, "Pa"},
    {"  水蒸气分压力 Pq=", 15, 15, "Pa"},
    {"  露点温度 tl=", 13, 13, "℃"},
};

inline int RecordSourceBox(const RecordLine& line, InputMode mode)
{
    return mode == InputMode::PsiKnown ? line.psiKnownBox : line.tsKnownBox;
}
