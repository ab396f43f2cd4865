// Air-handling designs by the textbook procedures of Chinese air-conditioning
// courses (the 一次回风 and 二次回风 systems as taught with the h–d chart, e.g.
// 赵荣义等《空气调节》, the chapters on air-handling processes): the ε line
// through the room point N, the supply point O on it, the machine dew point L
// on ψL, the mix C of fresh and return air by mass, then G and the loads.
#include "design.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "display.h"
#include "physics.h"
#include "pressure.h"

namespace {

std::string fixed(double value, int decimals) { return FormatFixed(value, decimals); }

class Designer {
public:
    explicit Designer(const DesignInput& in) : m_in(in) {}

    DesignResult run();

private:
    bool build();
    // The state from two properties, named; a failure names the point.
    bool state(const char* name, const char* title, Given a, Given b);
    const StatePoint& at(const std::string& name) const { return m_out.point(name)->state; }
    // The point of the ε line through N at dry bulb t, or where it meets ψ
    // on the way from N towards lower enthalpy.
    bool lineAtT(const char* name, const char* title, double t);
    bool lineAtRh(const char* name, const char* title, double rh);
    // C: the mass mix of a share m of W with N.
    bool mix(double m);
    std::optional<double> supplyT() const;

    bool summer();
    bool summerSecondary();
    bool winter();
    void load(const char* key, const char* title, double value, const char* unit)
    {
        m_out.loads.push_back({key, title, value, unit});
    }
    void arrow(const char* from, const char* to) { m_out.processes.emplace_back(from, to); }
    bool refuse(DesignCause cause, std::string detail = {})
    {
        m_out.failure = {cause, std::move(detail)};
        return false;
    }

    const DesignInput& m_in;
    DesignResult m_out;
};

bool Designer::state(const char* name, const char* title, Given a, Given b)
{
    const PairState s = StateFromPair(m_in.B, m_in.upsilon, a, b, WetBulb::Optional);
    if (s.failure) {
        // The mix and the supply point beyond saturation have messages of their own.
        const std::string_view point = name;
        const DesignCause fog = point == "C" ? DesignCause::MixInFog
                                : point == "O" ? DesignCause::SupplySaturated
                                               : DesignCause::PointFailed;
        if (s.failure.cause == CalcCause::Supersaturated && fog != DesignCause::PointFailed)
            return refuse(fog);
        return refuse(DesignCause::PointFailed, std::string(title) + "状态点 " + name + "：" + FailureMessage(s.failure));
    }
    m_out.points.push_back({name, title, s.point, s.wetBulbFound});
    return true;
}

// The ε line: h − hN = ε·(d − dN)/1000, vertical (d = dN) when W = 0.
bool Designer::lineAtT(const char* name, const char* title, double t)
{
    const StatePoint& N = at("N");
    if (!m_out.epsilon)
        return state(name, title, {Quantity::t, t}, {Quantity::d, N.d});
    // 1.01·t + 0.001·d·(2501 + 1.84·t) = hN + ε·(d − dN)/1000, solved for d.
    const double eps = *m_out.epsilon;
    const double slope = 0.001 * (2501 + 1.84 * t) - eps / 1000;
    if (slope == 0)
        return refuse(DesignCause::SupplySaturated);
    const double d = (N.h - eps * N.d / 1000 - 1.01 * t) / slope;
    return state(name, title, {Quantity::t, t}, {Quantity::d, d});
}

bool Designer::lineAtRh(const char* name, const char* title, double rh)
{
    const StatePoint& N = at("N");
    if (!m_out.epsilon)
        return state(name, title, {Quantity::d, N.d}, {Quantity::psi, rh});
    const double eps = *m_out.epsilon;
    const double hN = N.h;
    const double dN = N.d;
    const double B = m_in.B;
    // ψ along the line, from its h and d, without the wet-bulb search.
    const auto psiAt = [&](double d) {
        const double h = hN + eps * (d - dN) / 1000;
        return VapourPressureFromMoistureContent(B, d) / Pressure(DryBulbFromEnthalpy(h, d));
    };
    // From N towards drier, lower-enthalpy air in steps of 0.05 g/kg until ψ
    // is reached, then halving the last step to the last bit.
    const double target = rh / 100;
    double wet = dN;  // ψ below the target here
    double dry = dN;
    bool found = false;
    for (int i = 1; i <= 2000 && !found; ++i) {
        wet = dry;
        dry = dN - 0.05 * i;
        if (dry < 0)
            break;
        const double t = DryBulbFromEnthalpy(hN + eps * (dry - dN) / 1000, dry);
        if (t < -60)
            break;
        found = psiAt(dry) >= target;
    }
    if (!found || psiAt(dN) >= target)
        return refuse(DesignCause::LineMissesCoilRh, fixed(rh, 0));
    for (;;) {
        const double mid = dry + (wet - dry) / 2;
        if (mid <= dry || mid >= wet)
            break;
        (psiAt(mid) >= target ? dry : wet) = mid;
    }
    const double d = std::abs(psiAt(dry) - target) <= std::abs(psiAt(wet) - target) ? dry : wet;
    return state(name, title, {Quantity::h, hN + eps * (d - dN) / 1000}, {Quantity::d, d});
}

bool Designer::mix(double m)
{
    const StatePoint& N = at("N");
    const StatePoint& W = at("W");
    // hC = (1 − m)·hN + m·hW, dC likewise: the mixing line W–N by mass.
    const double h = (1 - m) * N.h + m * W.h;
    const double d = (1 - m) * N.d + m * W.d;
    if (!state("C", "混合", {Quantity::h, h}, {Quantity::d, d}))
        return false;
    m_out.checks.push_back("混合点C未进入雾区：ψC = " + fixed(at("C").psi * 100, 1) + "% < 100%");
    return true;
}

std::optional<double> Designer::supplyT() const
{
    const double tN = m_out.point("N")->state.t;
    if (m_in.supply->kind == SupplyRule::Kind::Temperature)
        return m_in.supply->value;
    if (m_in.supply->kind == SupplyRule::Kind::Difference)
        return m_in.season == Season::Summer ? tN - m_in.supply->value : tN + m_in.supply->value;
    return std::nullopt;
}

bool Designer::build()
{
    if (m_in.supply && m_in.supply->kind == SupplyRule::Kind::Difference && !(m_in.supply->value > 0))
        return refuse(DesignCause::SupplyNotPositive);
    if (!(m_in.freshAirRatio >= 0 && m_in.freshAirRatio <= 1))
        return refuse(DesignCause::RatioOutOfRange);
    if (!state("N", "室内", m_in.room[0], m_in.room[1]) || !state("W", "室外", m_in.outdoor[0], m_in.outdoor[1]))
        return false;
    // ε = Q / (W / 1000) kJ/kg, Q in kW and W in g/s.
    if (m_in.W != 0)
        m_out.epsilon = m_in.Q / (m_in.W / 1000);
    return m_in.season == Season::Winter                 ? winter()
           : m_in.system == AirSystem::SecondaryReturn ? summerSecondary()
                                                        : summer();
}

DesignResult Designer::run()
{
    // The procedures hold references to points while they add more: room for
    // all six (N, W, C, H, L, O) from the start, so that none moves.
    m_out.points.reserve(6);
    const bool done = build();
    if (!done) {
        // A refused design keeps nothing but why.
        m_out.epsilon.reset();
        m_out.points.clear();
        m_out.loads.clear();
        m_out.checks.clear();
        m_out.processes.clear();
        return m_out;
    }
    // The table in the order the air meets the points.
    const std::string order = "NWCHLO";
    std::stable_sort(m_out.points.begin(), m_out.points.end(), [&](const DesignPoint& a, const DesignPoint& b) {
        return order.find(a.name) < order.find(b.name);
    });
    // The supply air's volume at its own specific volume.
    m_out.Gm3h = m_out.G * at("O").v * 3600;
    return m_out;
}

// Summer 直流 and 一次回风: O on the ε line, G = Q / (hN − hO), L at dO on ψL
// (露点送风: L = O), C the mix; the coil cools C to L, the reheater L to O.
bool Designer::summer()
{
    const StatePoint& N = at("N");
    const bool dewPointSupply = m_in.supply->kind == SupplyRule::Kind::Humidity;
    if (dewPointSupply ? !lineAtRh("O", "送风", m_in.supply->value) : !lineAtT("O", "送风", *supplyT()))
        return false;
    const StatePoint& O = at("O");
    if (!(O.t < N.t && O.h < N.h && m_in.Q > 0))
        return refuse(DesignCause::SupplyWrongSide);
    m_out.G = m_in.Q / (N.h - O.h);
    m_out.checks.push_back("送风点O未饱和：ψO = " + fixed(O.psi * 100, 1) + "% < 100%");
    if (m_in.W != 0 && N.d != O.d) {
        m_out.checks.push_back("风量两种算法一致：Q/(hN−hO) = " + fixed(m_out.G, 4) + " kg/s，W/(dN−dO) = "
                               + fixed(m_in.W / 1000 / ((N.d - O.d) / 1000), 4) + " kg/s");
    }
    if (dewPointSupply) {
        m_out.points.push_back({"L", "机器露点", O, m_out.point("O")->wetBulbFound});
    } else {
        if (O.psi * 100 > m_in.coilRh)
            return refuse(DesignCause::SupplyWetterThanCoil);
        if (!state("L", "机器露点", {Quantity::d, O.d}, {Quantity::psi, m_in.coilRh}))
            return false;
    }
    const double m = m_in.system == AirSystem::Direct ? 1 : m_in.freshAirRatio;
    if (!mix(m))
        return false;
    const StatePoint& C = at("C");
    const StatePoint& L = at("L");
    if (C.d < L.d)
        return refuse(DesignCause::NoDehumidification);
    m_out.checks.push_back("可以除湿：dC = " + fixed(C.d, 2) + " ≥ dL = " + fixed(L.d, 2) + " g/kg干");
    const double G = m_out.G;
    load("coil", "表冷器冷量 G·(hC − hL)", G * (C.h - L.h), "kW");
    load("reheat", "再热量 G·(hO − hL)", G * (O.h - L.h), "kW");
    load("fresh_air", "新风负荷 m·G·(hW − hN)", m * G * (at("W").h - N.h), "kW");
    load("condensate", "凝结水量 G·(dC − dL)", G * (C.d - L.d) * 3.6, "kg/h");
    if (m < 1)
        arrow("N", "C");
    arrow("W", "C");
    arrow("C", "L");
    if (!dewPointSupply)
        arrow("L", "O");
    arrow("O", "N");
    return true;
}

// Summer 二次回风: L where the ε line meets ψL, O on it between N and L; the
// coil air GL = G·(hN − hO)/(hN − hL) mixes after the coil with the second
// return air G − GL into O, so no reheat.
bool Designer::summerSecondary()
{
    const StatePoint& N = at("N");
    if (!lineAtRh("L", "机器露点", m_in.coilRh) || !lineAtT("O", "送风", *supplyT()))
        return false;
    const StatePoint& O = at("O");
    const StatePoint& L = at("L");
    if (!(O.t < N.t && O.h < N.h && m_in.Q > 0))
        return refuse(DesignCause::SupplyWrongSide);
    if (L.t >= O.t)
        return refuse(DesignCause::CoilAboveSupply);
    m_out.checks.push_back("机器露点低于送风点：tL = " + fixed(L.t, 2) + "℃ < tO = " + fixed(O.t, 2) + "℃");
    m_out.G = m_in.Q / (N.h - O.h);
    const double GL = m_out.G * (N.h - O.h) / (N.h - L.h);
    const double fresh = m_in.freshAirRatio * m_out.G;
    if (fresh > GL)
        return refuse(DesignCause::FreshAirAboveCoilAir);
    m_out.checks.push_back("新风量 m·G = " + fixed(fresh, 4) + " kg/s ≤ 经过表冷器的风量 GL = " + fixed(GL, 4) + " kg/s");
    if (!mix(GL > 0 ? fresh / GL : 0))
        return false;
    const StatePoint& C = at("C");
    if (C.d < L.d)
        return refuse(DesignCause::NoDehumidification);
    m_out.checks.push_back("可以除湿：dC = " + fixed(C.d, 2) + " ≥ dL = " + fixed(L.d, 2) + " g/kg干");
    load("coil", "表冷器冷量 GL·(hC − hL)", GL * (C.h - L.h), "kW");
    load("reheat", "再热量", 0, "kW");
    load("fresh_air", "新风负荷 m·G·(hW − hN)", fresh * (at("W").h - N.h), "kW");
    load("condensate", "凝结水量 GL·(dC − dL)", GL * (C.d - L.d) * 3.6, "kg/h");
    load("coil_air", "经过表冷器的风量 GL", GL, "kg/s");
    arrow("N", "C");
    arrow("W", "C");
    arrow("C", "L");
    arrow("L", "O");
    arrow("N", "O");
    arrow("O", "N");
    return true;
}

// Winter 直流 and 一次回风: O from G (hO = hN − Q/G, dO = dN − W/G) or on the
// ε line at tO; C the mix. Spray (等焓): heat C at dC to hL, spray along hL to
// L at dO on ψL, reheat L to O; with hC ≥ hL no first heating, the spray runs
// along hC to dO. Steam (等温): heat C at dC to tO (H), steam at tO to dO.
bool Designer::winter()
{
    const StatePoint& N = at("N");
    if (m_in.G) {
        if (!(*m_in.G > 0))
            return refuse(DesignCause::SupplyWrongSide);
        m_out.G = *m_in.G;
        if (!state("O", "送风", {Quantity::h, N.h - m_in.Q / m_out.G}, {Quantity::d, N.d - m_in.W / m_out.G}))
            return false;
    } else if (!lineAtT("O", "送风", *supplyT())) {
        return false;
    }
    const StatePoint& O = at("O");
    if (!(O.t > N.t && O.h > N.h))
        return refuse(DesignCause::SupplyWrongSide);
    if (!m_in.G)
        m_out.G = m_in.Q / (N.h - O.h);
    if (!(m_out.G > 0))
        return refuse(DesignCause::SupplyWrongSide);
    m_out.checks.push_back("送风点O比室内热：tO = " + fixed(O.t, 2) + "℃ > tN = " + fixed(N.t, 2) + "℃");
    const double m = m_in.system == AirSystem::Direct ? 1 : m_in.freshAirRatio;
    if (!mix(m))
        return false;
    const StatePoint& C = at("C");
    if (C.d > O.d)
        return refuse(DesignCause::MixWetterThanSupply);
    m_out.checks.push_back("需要加湿：dC = " + fixed(C.d, 2) + " ≤ dO = " + fixed(O.d, 2) + " g/kg干");
    const double G = m_out.G;
    const double water = G * (O.d - C.d) * 3.6;
    if (m < 1)
        arrow("N", "C");
    arrow("W", "C");
    if (m_in.humidifier == Humidifier::Steam) {
        if (!state("H", "加热后", {Quantity::t, O.t}, {Quantity::d, C.d}))
            return false;
        const double hH = at("H").h;
        load("heating", "加热量 G·(hH − hC)", G * (hH - C.h), "kW");
        load("reheat", "再热量", 0, "kW");
        load("water", "加湿量（蒸汽） G·(dO − dC)", water, "kg/h");
        arrow("C", "H");
        arrow("H", "O");
        arrow("O", "N");
        return true;
    }
    if (!state("L", "机器露点", {Quantity::d, O.d}, {Quantity::psi, m_in.coilRh}))
        return false;
    double hL = at("L").h;
    if (C.h >= hL) {
        // Warm enough already: the spray runs along hC to dO, below ψL.
        m_out.points.pop_back();
        if (!state("L", "喷水后", {Quantity::h, C.h}, {Quantity::d, O.d}))
            return refuse(DesignCause::HumidifiedInFog);
        hL = C.h;
        load("heating", "一次加热量", 0, "kW");
    } else {
        if (!state("H", "一次加热后", {Quantity::h, hL}, {Quantity::d, C.d}))
            return false;
        load("heating", "一次加热量 G·(hL − hC)", G * (hL - C.h), "kW");
        arrow("C", "H");
    }
    if (hL > O.h)
        return refuse(DesignCause::CoilAboveSupply);
    load("reheat", "再热量 G·(hO − hL)", G * (O.h - hL), "kW");
    load("water", "加湿量（喷水） G·(dO − dC)", water, "kg/h");
    arrow(C.h >= hL ? "C" : "H", "L");
    arrow("L", "O");
    arrow("O", "N");
    return true;
}

}  // namespace

const DesignPoint* DesignResult::point(const std::string& name) const
{
    for (const DesignPoint& p : points) {
        if (p.name == name)
            return &p;
    }
    return nullptr;
}

std::string DesignFailureMessage(const DesignFailure& failure)
{
    switch (failure.cause) {
    case DesignCause::None: return {};
    case DesignCause::PointFailed: return failure.detail;
    case DesignCause::SupplyNotPositive: return "送风温差Δt0必须大于0";
    case DesignCause::RatioOutOfRange: return "新风比 fresh_air_ratio 必须在 0 到 1 之间";
    case DesignCause::SupplyWrongSide:
        return "送风点O在室内点N的错误一侧：夏季须比室内冷、焓值低（室内余热Q>0），冬季须比室内热（风量G>0）";
    case DesignCause::SupplySaturated: return "送风点O超过饱和（ψ>100%）：请减小送风温差Δt0";
    case DesignCause::LineMissesCoilRh:
        return "热湿比ε线与ψ=" + failure.detail + "%的线不相交，找不到机器露点：请检查室内状态与负荷";
    case DesignCause::SupplyWetterThanCoil:
        return "送风点O的相对湿度高于机器露点的ψL：请减小送风温差Δt0、提高 coil_rh，或改用露点送风";
    case DesignCause::CoilAboveSupply: return "机器露点L不低于送风点O（tL ≥ tO）：请减小送风温差Δt0或提高 coil_rh";
    case DesignCause::FreshAirAboveCoilAir: return "新风量超过了经过表冷器的风量：请减小新风比";
    case DesignCause::MixInFog: return "混合点C在雾区（ψ>100%）：请预热新风或减小新风比";
    case DesignCause::NoDehumidification:
        return "混合点C的含湿量低于机器露点L（dC < dL），无法除湿：请检查室外状态、新风比或送风状态";
    case DesignCause::MixWetterThanSupply: return "混合点C已比送风点O湿（dC > dO），冬季不需要加湿：请检查室外状态与负荷";
    case DesignCause::HumidifiedInFog: return "沿等焓线喷水加湿到dO时进入雾区：请先加热或改用蒸汽加湿";
    }
    return {};
}

DesignResult RunDesign(const DesignInput& input)
{
    return Designer(input).run();
}
