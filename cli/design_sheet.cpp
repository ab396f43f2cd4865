// The calculation sheet of a design.
#include "design_sheet.h"

#include <cerrno>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "display.h"
#include "exit_codes.h"
#include "io_errors.h"
#include "printable.h"

namespace {

std::string fixed(double value, int decimals) { return FormatFixed(value, decimals); }

// A given property as the sheet writes it: "t = 22℃".
std::string givenText(const Given& g)
{
    const QuantityInfo& info = Info(g.quantity);
    const std::string unit = info.unit;
    return std::string(info.symbol) + " = " + FormatShortest(g.value) + (unit == "℃" || unit == "%" ? "" : " ") + unit;
}

const char* systemName(const DesignInput& in)
{
    switch (in.system) {
    case AirSystem::Direct: return "直流";
    case AirSystem::PrimaryReturn: return "一次回风";
    case AirSystem::SecondaryReturn: return "二次回风";
    }
    return "";
}

std::string supplyText(const DesignInput& in)
{
    if (in.G)
        return "送风量 G = " + FormatShortest(*in.G) + " kg/s";
    switch (in.supply->kind) {
    case SupplyRule::Kind::Difference: return "送风温差 Δt0 = " + FormatShortest(in.supply->value) + "℃";
    case SupplyRule::Kind::Temperature: return "送风温度 tO = " + FormatShortest(in.supply->value) + "℃";
    case SupplyRule::Kind::Humidity: return "露点送风，送风点 ψO = " + FormatShortest(in.supply->value) + "%";
    }
    return "";
}

// One column of the points table, right-aligned by characters (a "—" is
// one column wide, three bytes long).
std::string cell(const std::string& text, std::size_t width)
{
    std::size_t characters = 0;
    for (char c : text)
        characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    return std::string(width > characters ? width - characters : 0, ' ') + text;
}

}  // namespace

std::string DesignSheet(const DesignInput& in, const DesignResult& r, std::optional<double> altitude)
{
    std::ostringstream s;
    s << "空调过程设计计算书（" << (in.season == Season::Summer ? "夏季" : "冬季") << "，" << systemName(in) << "）\n\n";
    s << "已知条件\n";
    s << "  大气压力 B = " << FormatShortest(in.B) << " Pa";
    if (altitude)
        s << "（海拔 " << FormatShortest(*altitude) << " m 的标准大气）";
    s << "，空气流速 υ = " << FormatShortest(in.upsilon) << " m/s（湿球温度 ts 用）\n";
    s << "  室内 N：" << givenText(in.room[0]) << "，" << givenText(in.room[1]) << "\n";
    s << "  室外 W：" << givenText(in.outdoor[0]) << "，" << givenText(in.outdoor[1]) << "\n";
    s << "  余热量 Q = " << FormatShortest(in.Q) << " kW，余湿量 W = " << FormatShortest(in.W) << " g/s\n";
    if (in.system != AirSystem::Direct)
        s << "  新风比 m = " << FormatShortest(in.freshAirRatio) << "（新风在送风中的质量比）\n";
    s << "  " << supplyText(in) << "\n";
    if (in.season == Season::Summer || in.humidifier == Humidifier::Spray)
        s << "  机器露点的相对湿度 ψL = " << FormatShortest(in.coilRh) << "%\n";
    if (in.season == Season::Winter)
        s << "  加湿方式：" << (in.humidifier == Humidifier::Spray ? "喷水（等焓）" : "干蒸汽（等温）") << "\n";
    s << "  焓 h = 1.01·t + 0.001·d·(2501 + 1.84·t) kJ/kg干\n\n";

    s << "热湿比\n  ε = Q/(W/1000) = ";
    if (r.epsilon)
        s << FormatShortest(in.Q) << "/(" << FormatShortest(in.W) << "/1000) = " << fixed(*r.epsilon, 0) << " kJ/kg\n\n";
    else
        s << "±∞（余湿量为 0，ε 线为等 d 线）\n\n";

    s << "状态点\n";
    s << "  点    t(℃)    ψ(%)  d(g/kg干)  h(kJ/kg干)   ts(℃)   tl(℃)  ρ(kg/m³)  名称\n";
    for (const DesignPoint& p : r.points) {
        const StatePoint& x = p.state;
        s << "  " << p.name << cell(fixed(x.t, 2), 9) << cell(fixed(x.psi * 100, 2), 8) << cell(fixed(x.d, 2), 11)
          << cell(fixed(x.h, 2), 12) << cell(p.wetBulbFound ? fixed(x.ts, 2) : "—", 8)
          << cell(DewPointInFit(x) ? fixed(x.tl, 2) : "—", 8)
          << cell(fixed(x.rho, 3), 10) << "  " << p.title << "\n";
    }
    bool missing = false;
    for (const DesignPoint& p : r.points)
        missing = missing || !p.wetBulbFound || !DewPointInFit(p.state);
    if (missing)
        s << "  —：湿球公式找不到满足精度的湿球温度ts，或露点超出露点公式的适用范围（0 … 65℃）\n";
    const StatePoint& O = r.point("O")->state;
    const StatePoint& N = r.point("N")->state;
    s << "\n送风量\n";
    if (in.G)
        s << "  G = " << fixed(r.G, 4) << " kg/s（已知）\n";
    else
        s << "  G = Q/(hN − hO) = " << FormatShortest(in.Q) << "/(" << fixed(N.h, 2) << " − " << fixed(O.h, 2)
          << ") = " << fixed(r.G, 4) << " kg/s\n";
    s << "    = " << fixed(r.Gm3h, 0) << " m³/h（按送风点 O 的比容 v = " << fixed(O.v, 4) << " m³/kg）\n\n";
    s << "负荷\n";
    for (const DesignLoad& l : r.loads)
        s << "  " << l.title << " = " << fixed(l.value, l.unit == "kg/s" ? 4 : 2) << " " << l.unit << "\n";
    s << "\n校核\n";
    for (const std::string& c : r.checks)
        s << "  " << c << "\n";
    s << "\n过程：";
    for (std::size_t i = 0; i < r.processes.size(); ++i)
        s << (i ? "，" : "") << r.processes[i].first << "→" << r.processes[i].second;
    s << "\n";
    return s.str();
}

std::string DesignJson(const DesignResult& r)
{
    nlohmann::ordered_json j;
    j["epsilon"] = r.epsilon ? nlohmann::ordered_json(*r.epsilon) : nlohmann::ordered_json(nullptr);
    j["G"] = r.G;
    j["G_m3h"] = r.Gm3h;
    nlohmann::ordered_json points = nlohmann::ordered_json::object();
    for (const DesignPoint& p : r.points) {
        const StatePoint& x = p.state;
        const auto orNull = [](bool known, double v) {
            return known ? nlohmann::ordered_json(v) : nlohmann::ordered_json(nullptr);
        };
        points[p.name] = {{"title", p.title}, {"t", x.t},     {"rh", x.psi * 100},
                          {"d", x.d},         {"h", x.h},     {"ts", orNull(p.wetBulbFound, x.ts)},
                          {"tl", orNull(DewPointInFit(x), x.tl)},      {"rho", x.rho},
                          {"v", x.v},         {"Pq", x.Pq}};
    }
    j["points"] = points;
    nlohmann::ordered_json loads = nlohmann::ordered_json::object();
    for (const DesignLoad& l : r.loads)
        loads[l.key] = l.value;
    j["loads"] = loads;
    j["checks"] = r.checks;
    nlohmann::ordered_json processes = nlohmann::ordered_json::array();
    for (const auto& [from, to] : r.processes)
        processes.push_back({from, to});
    j["processes"] = processes;
    return j.dump(2) + "\n";
}

DesignRun CalculateDesign(const std::string& path, std::istream& stdinStream, std::ostream& err)
{
    DesignRun run{kExitUsage, {}, {}};
    std::ifstream file;
    std::istream* in = &stdinStream;
    if (path != "-") {
        errno = 0;
        file.open(path, std::ios::binary);
        if (!file) {
            err << "nimbara-calc：无法打开设计文件“" << Printable(path) << "”" << ReasonSuffix(errno) << '\n';
            return run;
        }
        in = &file;
    }
    std::string text(kMaxDesignBytes + 1, '\0');
    in->read(text.data(), static_cast<std::streamsize>(text.size()));
    if (in->bad()) {
        err << "nimbara-calc：读取设计文件“" << Printable(path) << "”时出错\n";
        return run;
    }
    text.resize(static_cast<std::size_t>(in->gcount()));
    if (text.size() > kMaxDesignBytes) {
        err << "nimbara-calc：设计文件“" << Printable(path) << "”太大（最大 1 MiB），不是一个设计\n";
        return run;
    }
    run.file = ReadDesign(text);
    if (!run.file.input) {
        err << "nimbara-calc：" << run.file.error << '\n';
        return run;
    }
    run.result = RunDesign(*run.file.input);
    if (run.result.failure) {
        err << "nimbara-calc：" << DesignFailureMessage(run.result.failure) << '\n';
        run.code = kExitCalculationFailed;
        return run;
    }
    run.code = kExitOk;
    return run;
}

int PrintDesign(const DesignRun& run, bool json, std::ostream& out, std::ostream& err)
{
    const std::string text = json ? DesignJson(run.result) : DesignSheet(*run.file.input, run.result, run.file.altitude);
    return WriteText(out, text, err, json ? "JSON" : "计算书") ? kExitOk : kExitUsage;
}
