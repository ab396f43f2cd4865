// A state of moist air from two of its properties.
#include "pair.h"

#include <cmath>
#include <limits>

#include "display.h"
#include "parse.h"
#include "physics.h"
#include "pressure.h"
#include "pressure_coefficients.h"  // kCelsiusToKelvin
#include "wetbulb.h"

namespace {

constexpr double kAbsoluteZero = -kCelsiusToKelvin;  // °C
// Where t is solved for: Pressure()'s published range.
constexpr double kLowestT = -100;
constexpr double kHighestT = 200;

constexpr CalcFailure fail(CalcCause cause, Quantity blamed)
{
    return {cause, blamed};
}

// The t in [lo, hi] where the rising f crosses target, to the last bit.
template <class F>
std::optional<double> solveRising(F f, double target, double lo, double hi)
{
    if (!(f(lo) <= target && f(hi) >= target))
        return std::nullopt;
    for (;;) {
        const double mid = lo + (hi - lo) / 2;
        if (mid <= lo || mid >= hi)
            break;
        (f(mid) < target ? lo : hi) = mid;
    }
    return target - f(lo) <= f(hi) - target ? lo : hi;
}

// Vapour pressure of the dew point tl by the dew-point fit solved for Pq:
// 1.9·α² + 12.4·α + (8.22 − tl) = 0, α = ln(Pq / 1000), the root that rises with tl.
double vapourPressureAtDewPoint(double tl)
{
    const double alpha = (-12.4 + std::sqrt(12.4 * 12.4 - 7.6 * (8.22 - tl))) / 3.8;
    return 1000 * std::exp(alpha);
}

// Dry-bulb t of the psychrometer equation Pq = Pressure(ts) − A·(t − ts)·B.
double dryBulbOfWetBulb(double B, double upsilon, double ts, double Pq)
{
    return ts + (Pressure(ts) - Pq) / (PsychrometerCoefficient(upsilon) * B);
}

// What the two properties give on the way: t, Pq, and d when it is known
// without Pq.
struct Fix {
    double t = 0;
    double Pq = 0;
    std::optional<double> d;
};

CalcFailure checkGiven(const Given& g)
{
    if (!std::isfinite(g.value))
        return fail(CalcCause::NotFinite, g.quantity);
    switch (g.quantity) {
    case Quantity::t:
    case Quantity::ts:
        if (g.value <= kAbsoluteZero)
            return fail(CalcCause::BelowAbsoluteZero, g.quantity);
        break;
    case Quantity::psi:
        if (g.value < 0)
            return fail(CalcCause::HumidityNegative, g.quantity);
        if (g.value > 100)
            return fail(CalcCause::Supersaturated, g.quantity);
        break;
    case Quantity::d:
        if (g.value < 0)
            return fail(CalcCause::BelowDryAir, g.quantity);
        break;
    case Quantity::tl:
        if (g.value < kDewPointFitLow || g.value > kDewPointFitHigh)
            return fail(CalcCause::DewPointOutsideFit, g.quantity);
        break;
    default: break;
    }
    return {};
}

// t and Pq when t is given, with `other`.
CalcFailure fixWithT(double B, double upsilon, double t, const Given& other, Fix& fix)
{
    fix.t = t;
    switch (other.quantity) {
    case Quantity::psi: {
        const double psi = other.value / 100;
        fix.Pq = Pressure(t) * psi;
        return {};
    }
    case Quantity::ts:
        if (other.value > t)
            return fail(CalcCause::WetBulbAboveDryBulb, Quantity::ts);
        fix.Pq = Pressure(other.value) - (PsychrometerCoefficient(upsilon) * (t - other.value)) * B;
        return fix.Pq < 0 ? fail(CalcCause::BelowDryAir, Quantity::ts) : CalcFailure{};
    case Quantity::h:
        // h = 1.01·t + 0.001·d·(2501 + 1.84·t), solved for d.
        fix.d = (other.value - 1.01 * t) / (0.001 * (2501 + 1.84 * t));
        if (*fix.d < 0)
            return fail(CalcCause::BelowDryAir, Quantity::h);
        fix.Pq = VapourPressureFromMoistureContent(B, *fix.d);
        return {};
    default: return {};
    }
}

// t when Pq is fixed (by d or tl), with `other`.
CalcFailure fixWithVapour(double B, double upsilon, const Given& other, Fix& fix)
{
    switch (other.quantity) {
    case Quantity::psi: {
        const double saturation = fix.Pq / (other.value / 100);
        const auto t = solveRising([](double x) { return Pressure(x); }, saturation, kLowestT, kHighestT);
        if (!t)
            return fail(CalcCause::NoStateForPair, Quantity::psi);
        fix.t = *t;
        return {};
    }
    case Quantity::h: {
        const double d = fix.d ? *fix.d : MoistureContentFromVapourPressure(B, fix.Pq);
        fix.t = DryBulbFromEnthalpy(other.value, d);
        return {};
    }
    case Quantity::ts:
        if (Pressure(other.value) < fix.Pq)
            return fail(CalcCause::Supersaturated, Quantity::ts);
        fix.t = dryBulbOfWetBulb(B, upsilon, other.value, fix.Pq);
        return {};
    default: return {};
    }
}

// t and Pq from ψ with h or ts.
CalcFailure fixWithHumidity(double B, double upsilon, double psiPercent, const Given& other, Fix& fix)
{
    const double psi = psiPercent / 100;
    std::optional<double> t;
    if (other.quantity == Quantity::h) {
        const auto enthalpy = [&](double x) {
            const double Pq = Pressure(x) * psi;
            return Pq >= B ? std::numeric_limits<double>::infinity()
                           : Enthalpy(x, MoistureContentFromVapourPressure(B, Pq));
        };
        t = solveRising(enthalpy, other.value, kLowestT, kHighestT);
    } else {
        // Along one wet bulb ψ falls as t rises: solve −ψ(t) rising.
        const double ts = other.value;
        const double A = PsychrometerCoefficient(upsilon);
        const auto minusPsi = [&](double x) { return -(Pressure(ts) - (A * (x - ts)) * B) / Pressure(x); };
        t = solveRising(minusPsi, -psi, ts, ts + (kHighestT - kLowestT));
    }
    if (!t)
        return fail(CalcCause::NoStateForPair, other.quantity);
    fix.t = *t;
    fix.Pq = Pressure(*t) * psi;
    return {};
}

bool isGiven(Quantity q, const Given& a, const Given& b) { return a.quantity == q || b.quantity == q; }

double valueOf(Quantity q, const Given& a, const Given& b) { return a.quantity == q ? a.value : b.value; }

CalcFailure fixState(double B, double upsilon, const Given& a, const Given& b, Fix& fix)
{
    const auto fixesVapour = [](Quantity q) { return q == Quantity::d || q == Quantity::tl; };
    if (a.quantity == b.quantity || (fixesVapour(a.quantity) && fixesVapour(b.quantity)))
        return fail(CalcCause::PairNotIndependent, b.quantity);
    if (isGiven(Quantity::ts, a, b) && isGiven(Quantity::h, a, b))
        return fail(CalcCause::PairIllConditioned, Quantity::h);
    for (const Given& g : {a, b}) {
        if (const CalcFailure failure = checkGiven(g))
            return failure;
    }
    if (fixesVapour(a.quantity) || fixesVapour(b.quantity)) {
        const Given& vapour = fixesVapour(a.quantity) ? a : b;
        const Given& other = fixesVapour(a.quantity) ? b : a;
        if (vapour.quantity == Quantity::d) {
            fix.d = vapour.value;
            fix.Pq = VapourPressureFromMoistureContent(B, vapour.value);
        } else {
            fix.Pq = vapourPressureAtDewPoint(vapour.value);
        }
        if (other.quantity == Quantity::t) {
            fix.t = other.value;
            return {};
        }
        return fixWithVapour(B, upsilon, other, fix);
    }
    if (isGiven(Quantity::t, a, b))
        return fixWithT(B, upsilon, valueOf(Quantity::t, a, b), a.quantity == Quantity::t ? b : a, fix);
    const Given& other = a.quantity == Quantity::psi ? b : a;
    return fixWithHumidity(B, upsilon, valueOf(Quantity::psi, a, b), other, fix);
}

}  // namespace

bool IsPairProperty(Quantity q)
{
    return q == Quantity::t || q == Quantity::psi || q == Quantity::ts || q == Quantity::d
           || q == Quantity::h || q == Quantity::tl;
}

PairState StateFromPair(double B, double upsilon, Given a, Given b, WetBulb wetBulb)
{
    if (!std::isfinite(B))
        return {fail(CalcCause::NotFinite, Quantity::B)};
    if (!std::isfinite(upsilon))
        return {fail(CalcCause::NotFinite, Quantity::upsilon)};
    if (upsilon <= 0)
        return {fail(CalcCause::VelocityNotPositive, Quantity::upsilon)};
    Fix fix;
    if (const CalcFailure failure = fixState(B, upsilon, a, b, fix))
        return {failure};

    PairState out;
    StatePoint& s = out.point;
    s.B = B;
    s.upsilon = upsilon;
    s.t = fix.t;
    s.Pq = fix.Pq;
    s.Pqb = Pressure(s.t);
    if (!std::isfinite(s.t) || s.t <= kAbsoluteZero || !std::isfinite(s.Pqb) || !std::isfinite(s.Pq))
        return {fail(CalcCause::NoStateForPair, b.quantity)};
    const bool psiGiven = isGiven(Quantity::psi, a, b);
    // A ψ given is at most 100 %; otherwise the air must not be beyond saturation.
    if (!psiGiven && s.Pq > s.Pqb)
        return {fail(CalcCause::Supersaturated, a.quantity == Quantity::t ? b.quantity : a.quantity)};
    if (B <= s.Pq)
        return {fail(CalcCause::PressureBelowVapour, Quantity::B)};
    s.psi = psiGiven ? valueOf(Quantity::psi, a, b) / 100 : s.Pq / s.Pqb;
    s.d = fix.d ? *fix.d : MoistureContentFromVapourPressure(B, s.Pq);
    if (isGiven(Quantity::ts, a, b)) {
        s.ts = valueOf(Quantity::ts, a, b);
    } else {
        const WetBulbSearch search = SearchWetBulb(B, upsilon, s.t, s.Pq);
        if (!search.found && wetBulb == WetBulb::Required)
            return {WetBulbSearchFailure(B, upsilon, s.t)};
        out.wetBulbFound = search.found;
        s.ts = search.found ? search.ts : std::numeric_limits<double>::quiet_NaN();
    }
    s.Pqbs = out.wetBulbFound ? Pressure(s.ts) : s.ts;
    s.h = isGiven(Quantity::h, a, b) ? valueOf(Quantity::h, a, b) : Enthalpy(s.t, s.d);
    const bool tlGiven = isGiven(Quantity::tl, a, b);
    s.tl = tlGiven ? valueOf(Quantity::tl, a, b) : DewPointFit(s.Pq);
    s.rho = Density(B, s.t, s.Pq);
    s.v = SpecificVolume(s.rho);
    for (double v : {s.psi, s.d, s.h, s.rho, s.v, out.wetBulbFound ? s.Pqbs : 0.0}) {
        if (!std::isfinite(v))
            return {fail(CalcCause::ResultNotFinite, Quantity::B)};
    }
    out.dewPointOutOfRange = !tlGiven && !DewPointInFit(s);
    return out;
}

CalcOutcome CalculateFromPair(const PairInputs& in)
{
    if ((!in.pressure && in.B.empty()) || in.upsilon.empty() || in.firstText.empty() || in.secondText.empty())
        return CalcOutcome{};  // Incomplete

    const double B = in.pressure ? *in.pressure : ParseLenient(in.B);
    const PairState state = StateFromPair(B, ParseLenient(in.upsilon), {in.first, ParseLenient(in.firstText)},
                                          {in.second, ParseLenient(in.secondText)});
    CalcOutcome out;
    if (state.failure) {
        out.status = CalcStatus::Failure;
        out.failure = state.failure;
        return out;
    }
    out.status = CalcStatus::Ok;
    out.point = state.point;
    out.dewPointOutOfRange = state.dewPointOutOfRange;
    for (const QuantityInfo& q : kQuantities) {
        if (q.quantity == Quantity::B || q.quantity == Quantity::upsilon || q.quantity == in.first
            || q.quantity == in.second)
            continue;
        std::string text;
        if (q.quantity == Quantity::t)
            text = FormatFixed(state.point.t, 2);
        else if (!(q.quantity == Quantity::tl && state.dewPointOutOfRange))
            text = DisplayText(state.point, q.quantity);
        out.results.push_back({q.quantity, std::move(text)});
    }
    return out;
}

std::string_view PairShownText(const PairInputs& in, const CalcOutcome& outcome, Quantity q)
{
    if (q == Quantity::B)
        return in.B;
    if (q == Quantity::upsilon)
        return in.upsilon;
    if (q == in.first)
        return in.firstText;
    if (q == in.second)
        return in.secondText;
    return ResultText(outcome, q);
}
