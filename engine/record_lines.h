// The twelve value lines of a notebook record.
#pragma once

#include "quantity.h"

// Each line is a prefix, the text the calculation window shows for one
// quantity, and a suffix. The wet-bulb and relative-humidity lines show a
// computed value in one mode and a typed one in the other. Texts are UTF-8,
// reproduced exactly as the notebook shows them (two leading ASCII spaces, no
// space before the suffix; the cube written as a plain "3").
struct RecordLine {
    const char* prefix;
    Quantity quantity;
    const char* suffix;
};

inline constexpr RecordLine kRecordLines[12] = {
    {"  大气压力B=", Quantity::B, "Pa"},
    {"  干球温度t=", Quantity::t, "℃"},
    {"  湿球温度 ts=", Quantity::ts, "℃"},
    {"  相对湿度 ψ=", Quantity::psi, "%"},
    {"  焓值 h=", Quantity::h, "kJ/kg干"},
    {"  含湿量 d=", Quantity::d, "g/kg干"},
    {"  密度 ρ=", Quantity::rho, "kg/m3"},
    {"  比容 v=", Quantity::v, "m3/kg"},
    {"  干球饱和水蒸气分压力 Pqb=", Quantity::Pqb, "Pa"},
    {"  湿球饱和水蒸气分压力 Pqbs=", Quantity::Pqbs, "Pa"},
    {"  水蒸气分压力 Pq=", Quantity::Pq, "Pa"},
    {"  露点温度 tl=", Quantity::tl, "℃"},
};
