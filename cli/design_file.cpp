// Reading a design from JSON (nlohmann/json), every key checked.
#include "design_file.h"

#include <cmath>
#include <nlohmann/json.hpp>

#include "altitude.h"
#include "display.h"
#include "option_values.h"
#include "printable.h"

namespace {

using nlohmann::json;

// Nesting deeper than any design: refused while parsing, before the parser
// builds a deep tree.
constexpr int kMaxDepth = 8;
struct TooDeep {};

// What is wrong with the design, in Chinese; thrown to the top of ReadDesign.
struct Bad {
    std::string message;
};

std::string keyName(const std::string& path) { return "键“" + Printable(path) + "”"; }

// The object at `path`, refusing any key outside `allowed`.
const json& object(const json& value, const std::string& path, std::initializer_list<std::string_view> allowed)
{
    if (!value.is_object())
        throw Bad{path.empty() ? "设计文件应为一个 JSON 对象 {…}" : keyName(path) + "的值应为一个对象 {…}"};
    for (const auto& [key, unused] : value.items()) {
        bool known = false;
        for (std::string_view a : allowed)
            known = known || key == a;
        if (!known)
            throw Bad{"未知的" + keyName(path.empty() ? key : path + "." + key)};
    }
    return value;
}

std::optional<double> number(const json& parent, const std::string& key, const std::string& path)
{
    const auto it = parent.find(key);
    if (it == parent.end())
        return std::nullopt;
    if (!it->is_number())
        throw Bad{keyName(path) + "的值应为数值"};
    const double value = it->get<double>();
    if (!std::isfinite(value))
        throw Bad{keyName(path) + "的数值超出了可以计算的范围"};
    return value;
}

double required(const json& parent, const std::string& key, const std::string& path)
{
    const auto value = number(parent, key, path);
    if (!value)
        throw Bad{"缺少" + keyName(path)};
    return *value;
}

std::string word(const json& parent, const std::string& key, std::initializer_list<std::string_view> words)
{
    const auto it = parent.find(key);
    if (it == parent.end())
        throw Bad{"缺少" + keyName(key)};
    std::string list;
    for (std::string_view w : words) {
        if (it->is_string() && it->get<std::string>() == w)
            return std::string(w);
        list += (list.empty() ? "" : "、") + std::string(w);
    }
    throw Bad{keyName(key) + "的值应为 " + list + " 之一"};
}

// A state point: two of t, rh, ts, d, h, tl.
void point(const json& parent, const std::string& key, Given (&out)[2])
{
    const auto it = parent.find(key);
    if (it == parent.end())
        throw Bad{"缺少" + keyName(key)};
    const json& p = object(*it, key, {"t", "rh", "ts", "d", "h", "tl"});
    static constexpr std::pair<const char*, Quantity> kKeys[] = {
        {"t", Quantity::t}, {"rh", Quantity::psi}, {"ts", Quantity::ts},
        {"d", Quantity::d}, {"h", Quantity::h},    {"tl", Quantity::tl},
    };
    int n = 0;
    for (const auto& [name, quantity] : kKeys) {
        if (const auto value = number(p, name, key + "." + name)) {
            if (n == 2)
                throw Bad{keyName(key) + "只能给出两个参数（t、rh、ts、d、h、tl 中的两个）"};
            out[n++] = {quantity, *value};
        }
    }
    if (n < 2)
        throw Bad{keyName(key) + "须给出两个参数（t、rh、ts、d、h、tl 中的两个）"};
}

void supply(const json& root, Season season, DesignInput& in)
{
    const auto it = root.find("supply");
    if (it == root.end())
        return;
    const json& s = object(*it, "supply", {"dt", "t", "rh"});
    if (s.size() != 1)
        throw Bad{keyName("supply") + "须给出 dt、t、rh 中的一个"};
    const std::string key = s.begin().key();
    if (key == "rh" && season == Season::Winter)
        throw Bad{keyName("supply.rh") + "（露点送风）只用于夏季"};
    const SupplyRule::Kind kind = key == "dt" ? SupplyRule::Kind::Difference
                                  : key == "t" ? SupplyRule::Kind::Temperature
                                               : SupplyRule::Kind::Humidity;
    in.supply = SupplyRule{kind, required(s, key, "supply." + key)};
}

DesignFile read(const json& root)
{
    object(root, "", {"B", "altitude", "upsilon", "season", "system", "room", "outdoor", "load",
                      "fresh_air_ratio", "supply", "coil_rh", "G", "humidifier"});
    DesignFile file;
    DesignInput in;
    if (root.contains("B") && root.contains("altitude"))
        throw Bad{"键“B”与“altitude”只能给出其中一个"};
    if (const auto B = number(root, "B", "B")) {
        // A B in kPa or bar is the commonest slip: no air is at 1/1000 of it.
        if (*B < 1000)
            throw Bad{"键“B”以 Pa 为单位（例如 101325，而不是 101.325 kPa）"};
        in.B = *B;
    }
    if (const auto altitude = number(root, "altitude", "altitude")) {
        if (!AltitudeInRange(*altitude))
            throw Bad{"键“altitude”须在 " + FormatShortest(kAltitudeMin) + " 到 " + FormatShortest(kAltitudeMax) + " 米之间"};
        in.B = PressureAtAltitudeRounded(*altitude);
        file.altitude = altitude;
    }
    in.upsilon = number(root, "upsilon", "upsilon").value_or(in.upsilon);
    in.season = word(root, "season", {"summer", "winter"}) == "summer" ? Season::Summer : Season::Winter;
    const std::string system = word(root, "system", {"direct", "primary-return", "secondary-return"});
    in.system = system == "direct"           ? AirSystem::Direct
                : system == "primary-return" ? AirSystem::PrimaryReturn
                                             : AirSystem::SecondaryReturn;
    if (in.system == AirSystem::SecondaryReturn && in.season == Season::Winter)
        throw Bad{"二次回风（secondary-return）只用于夏季"};
    point(root, "room", in.room);
    point(root, "outdoor", in.outdoor);
    if (!root.contains("load"))
        throw Bad{"缺少键“load”"};
    const json& load = object(root["load"], "load", {"Q", "W"});
    in.Q = required(load, "Q", "load.Q");
    in.W = required(load, "W", "load.W");
    const auto ratio = number(root, "fresh_air_ratio", "fresh_air_ratio");
    if (in.system == AirSystem::Direct && ratio)
        throw Bad{"直流系统全部是新风，不用键“fresh_air_ratio”"};
    if (in.system != AirSystem::Direct && !ratio)
        throw Bad{"缺少键“fresh_air_ratio”（新风在送风中的质量比，0 … 1）"};
    in.freshAirRatio = ratio.value_or(1);
    supply(root, in.season, in);
    if (const auto rh = number(root, "coil_rh", "coil_rh")) {
        if (!(*rh > 0 && *rh <= 100))
            throw Bad{"键“coil_rh”（机器露点的相对湿度，%）须大于 0、不大于 100"};
        in.coilRh = *rh;
    }
    if (in.season == Season::Summer) {
        for (const char* key : {"G", "humidifier"}) {
            if (root.contains(key))
                throw Bad{keyName(key) + "只用于冬季"};
        }
        if (!in.supply)
            throw Bad{"缺少键“supply”（dt、t 或 rh）"};
    } else {
        in.G = number(root, "G", "G");
        if (in.G.has_value() == in.supply.has_value())
            throw Bad{"冬季须给出键“G”（风量，kg/s）或“supply”（dt 或 t）其中一个"};
        if (root.contains("humidifier"))
            in.humidifier = word(root, "humidifier", {"spray", "steam"}) == "spray" ? Humidifier::Spray : Humidifier::Steam;
    }
    file.input = in;
    return file;
}

// Line and column (from 1, in bytes) of the byte at `offset`.
std::string place(std::string_view text, std::size_t offset)
{
    offset = std::min(offset, text.size());
    std::size_t line = 1;
    std::size_t column = 1;
    for (std::size_t i = 0; i < offset; ++i) {
        column = text[i] == '\n' ? 1 : column + 1;
        line += text[i] == '\n' ? 1 : 0;
    }
    return "第 " + std::to_string(line) + " 行第 " + std::to_string(column) + " 列";
}

}  // namespace

DesignFile ReadDesign(std::string_view text)
{
    json root;
    try {
        root = json::parse(text.begin(), text.end(), [](int depth, json::parse_event_t, json&) {
            if (depth > kMaxDepth)
                throw TooDeep{};
            return true;
        });
    } catch (const json::parse_error& e) {
        // e.byte counts from 1 and points just past where reading stopped.
        return {std::nullopt, "设计文件不是有效的 JSON：" + place(text, e.byte == 0 ? 0 : e.byte - 1) + "（读到此处）有误"};
    } catch (const TooDeep&) {
        return {std::nullopt, "设计文件嵌套太深，不是一个设计"};
    } catch (const json::out_of_range&) {
        return {std::nullopt, "设计文件中有超出可以计算范围的数值"};
    } catch (const json::exception&) {
        return {std::nullopt, "设计文件不是有效的 JSON"};
    }
    try {
        return read(root);
    } catch (const Bad& bad) {
        return {std::nullopt, bad.message};
    } catch (const json::exception&) {
        return {std::nullopt, "设计文件的内容有误"};
    }
}
