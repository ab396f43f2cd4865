#include "calculate.h"

#include <cmath>

#include "display.h"
#include "parse.h"
#include "pressure.h"

namespace {

constexpr double kAbsoluteZero = -273.15;  // °C

// Messages for inputs the formulas have no value for. Each names the quantity
// and what is wrong with it, so the engineer knows which box to correct.
constexpr const char* kNotFiniteInput = "的数值超出了可以计算的范围，请检查输入！";
constexpr const char* kBelowAbsoluteZero = "不能低于或等于绝对零度（-273.15℃），请检查输入！";
constexpr const char* kVelocityNotPositive = "空气流速υ必须大于0，请检查输入！";
constexpr const char* kHumidityNegative = "相对湿度ψ不能为负值，请检查输入！";
constexpr const char* kPressureBelowVapour =
    "大气压力B必须大于水蒸汽分压力Pq，请检查输入！";
constexpr const char* kPressureBelowWetBulb =
    "大气压力B必须大于湿球温度下的饱和水蒸汽分压力，请检查输入！";
constexpr const char* kMoistureNegative =
    "湿球温度ts相对干球温度t过低，算得的含湿量d为负值，请检查输入！";
constexpr const char* kSearchFailed =
    "找不到满足湿球公式的湿球温度ts（相对湿度ψ太接近或超过100%，或温度超出公式的适用范围），请检查输入！";
constexpr const char* kPsychrometerTermTooLarge =
    "，湿球公式中的A·(t-ts)·B项超过了任何温度下的饱和水蒸汽分压力，找不到湿球温度ts，请检查输入！";
constexpr const char* kPsychrometerTermTooLargeHere =
    "在这个干球温度t下，湿球公式中的A·(t-ts)·B项已超过饱和水蒸汽分压力，任何相对湿度都找不到湿球温度ts"
    "（大气压力B过大、空气流速υ过小，或干球温度t超出公式的适用范围），请检查输入！";
constexpr const char* kWetBulbAboveDryBulb = "湿球温度ts不能高于干球温度t，请检查输入！";
constexpr const char* kResultNotFinite = "计算结果超出了可以表示的范围，请检查输入！";

CalcOutcome fail(std::string message)
{
    CalcOutcome out;
    out.status = CalcStatus::Failure;
    out.message = std::move(message);
    return out;
}

bool allFinite(std::initializer_list<double> values)
{
    for (double v : values) {
        if (!std::isfinite(v))
            return false;
    }
    return true;
}

// Wet-bulb search on the psychrometer equation Pq = Pqbs − A·(t − ts)·B: steps
// down from t − 0.1 by 0.005 K until the relative mismatch is below 0.0005.
// The result is the first grid value that meets the tolerance, not the exact
// root; the grid is made by repeated subtraction, as the results depend on it.
//
// The mismatch (p − target)/p only falls as ts falls (p falls, target rises,
// given υ > 0 and B > Pq ≥ 0). Once it is at or below −0.0005 no later grid
// value can meet the tolerance, so the search gives up there; this never
// changes a result the search would find, it only ends the searches that would
// otherwise run for ever (ψ near 100 %, low temperatures).
//
// The search also gives up after kMaxSearchSteps steps, 500 K below t. A wet
// bulb cannot be below absolute zero, so only t above 226.85 °C can reach this
// bound, beyond the 200 °C up to which the water formula holds. Without it, very
// high temperatures at a tiny B searched for up to about a million steps.
constexpr long kMaxSearchSteps = 100000;

struct SearchResult {
    bool found;
    double ts;
    long steps;
};

// The psychrometer coefficient A, 1/K, for the air velocity υ in m/s. It
// falls towards 65·10⁻⁵ as υ grows.
double psychrometerCoefficient(double upsilon)
{
    return 1e-5 * (65 + 6.75 / upsilon);
}
constexpr double kLeastPsychrometerCoefficient = 1e-5 * 65;

// The psychrometer term A·(t − ts)·B of the search's target.
double psychrometerTerm(double A, double B, double t, double ts)
{
    return (A * (t - ts)) * B;
}

// Pressure rises with t up to kPressureRisesUpTo (°C), where the water formula
// peaks at about 3.968·10⁸ Pa, and falls beyond it; kSaturationPressureBound
// is above every value it gives (the ice formula stays below 612 Pa).
constexpr double kPressureRisesUpTo = 882;
constexpr double kSaturationPressureBound = 4e8;

SearchResult searchWetBulb(double B, double upsilon, double t, double Pq)
{
    // Depends on υ alone, so it is the same value at every step.
    const double A = psychrometerCoefficient(upsilon);
    enum class Step { Next, Found, GiveUp };
    const auto test = [&](double ts, double p, long steps) {
        const double target = Pq + psychrometerTerm(A, B, t, ts);
        // |p − target| / p, with p > 0 here, equals |(p − target) / p| exactly:
        // one division serves the tolerance test and the give-up test.
        const double mismatch = (p - target) / p;
        if (!std::isfinite(mismatch))
            return Step::GiveUp;
        if (!(std::fabs(mismatch) >= 0.0005))
            return Step::Found;
        if (mismatch <= -0.0005 || steps >= kMaxSearchSteps)
            return Step::GiveUp;
        return Step::Next;
    };

    double ts = t - 0.1;
    long steps = 0;
    for (;;) {
        // The grid values are tested one after the other, but the saturation
        // pressure of the next one is computed alongside the current one so
        // that the two evaluations overlap in the processor.
        const double next = ts - 0.005;
        const double p = Pressure(ts);
        const double pNext = Pressure(next);
        if (const Step step = test(ts, p, steps); step != Step::Next)
            return {step == Step::Found, ts, steps};
        ts = next;
        ++steps;
        if (const Step step = test(ts, pNext, steps); step != Step::Next)
            return {step == Step::Found, ts, steps};
        ts = ts - 0.005;
        ++steps;
    }
}

// Why the wet-bulb search found nothing; it only words the message of a
// search that has already given up. A grid value ts can meet the tolerance
// only where the target Pq + A·(t − ts)·B is below 1.0005·p(ts). The
// psychrometer term A·(t − ts)·B grows as ts falls, so it is least at the
// first grid value t − 0.1. When that least term alone is above every value p
// can take, no temperature and no humidity can succeed, and B or υ is to
// blame: B when even the fastest air (A at its limit 65·10⁻⁵) would not help,
// υ otherwise. When it is above p(t − 0.1) where p rises with t, every later
// grid value has a smaller p and a larger term: no humidity can succeed at
// this t.
std::string searchFailure(double B, double upsilon, double t)
{
    const double first = t - 0.1;
    const double term = psychrometerTerm(psychrometerCoefficient(upsilon), B, t, first);
    if (term >= 1.0005 * kSaturationPressureBound) {
        const double leastTerm = psychrometerTerm(kLeastPsychrometerCoefficient, B, t, first);
        const bool pressureAlone = leastTerm >= 1.0005 * kSaturationPressureBound;
        return std::string(pressureAlone ? "大气压力B过大" : "空气流速υ过小") + kPsychrometerTermTooLarge;
    }
    if (t <= kPressureRisesUpTo && term >= 1.0005 * Pressure(first))
        return kPsychrometerTermTooLargeHere;
    return kSearchFailed;
}

// Antoine equation for the ts-known mode, T in K, p in Pa.
double antoine(double constant, double temperature)
{
    return std::exp(constant - 3816.44 / ((temperature + 273.15) - 46.13));
}

}  // namespace

CalcOutcome CalculateStatePoint(InputMode mode, const CalcInputs& in)
{
    const bool psiKnown = mode == InputMode::PsiKnown;
    const std::string& humidityText = psiKnown ? in.psi : in.ts;
    if (in.B.empty() || in.upsilon.empty() || in.t.empty() || humidityText.empty())
        return CalcOutcome{};  // Incomplete

    StatePoint s;
    s.B = ParseLenient(in.B);
    s.upsilon = ParseLenient(in.upsilon);
    s.t = ParseLenient(in.t);
    const double humidity = ParseLenient(humidityText);

    if (!std::isfinite(s.B))
        return fail(std::string("大气压力B") + kNotFiniteInput);
    if (!std::isfinite(s.upsilon))
        return fail(std::string("空气流速υ") + kNotFiniteInput);
    if (!std::isfinite(s.t))
        return fail(std::string("干球温度t") + kNotFiniteInput);
    if (!std::isfinite(humidity))
        return fail(std::string(psiKnown ? "相对湿度ψ" : "湿球温度ts") + kNotFiniteInput);
    if (s.t <= kAbsoluteZero)
        return fail(std::string("干球温度t") + kBelowAbsoluteZero);

    CalcOutcome out;
    out.status = CalcStatus::Ok;

    if (psiKnown) {
        if (s.upsilon <= 0)
            return fail(kVelocityNotPositive);
        s.psi = humidity / 100;
        if (s.psi < 0)
            return fail(kHumidityNegative);
        s.Pqb = Pressure(s.t);
        s.Pq = s.Pqb * s.psi;
        if (!allFinite({s.Pqb, s.Pq}))
            return fail(kResultNotFinite);
        if (s.B <= s.Pq)
            return fail(kPressureBelowVapour);

        const SearchResult search = searchWetBulb(s.B, s.upsilon, s.t, s.Pq);
        out.searchSteps = search.steps;
        if (!search.found)
            return fail(searchFailure(s.B, s.upsilon, s.t));
        s.ts = search.ts;
        s.Pqbs = Pressure(s.ts);
        s.d = (622 * s.Pq) / (s.B - s.Pq);
        out.writes.push_back({6, Format2(s.ts)});
    } else {
        s.ts = humidity;
        // The wet bulb cools by evaporation: it cannot be warmer than the air.
        // Equal is saturated air.
        if (s.ts > s.t)
            return fail(kWetBulbAboveDryBulb);
        if (s.ts <= kAbsoluteZero)
            return fail(std::string("湿球温度ts") + kBelowAbsoluteZero);
        s.Pqb = antoine(23.196, s.t);
        s.Pqbs = antoine(23.196, s.ts);

        // Energy balance of the wet bulb; 267.38·X is the latent heat at ts in
        // kJ/kg (647.3 K the critical temperature of water), 166.31 ≈ 0.622 ×
        // 267.38, 1.01 and 1.88 the specific heats of dry air and of vapour.
        // The saturation pressure here takes 23.1964, not 23.196.
        const double delta = s.t - s.ts;
        const double X = std::pow((647.3 - s.ts) - 273.15, 0.38);
        const double Ps = antoine(23.1964, s.ts);
        if (s.B <= Ps)
            return fail(kPressureBelowWetBulb);
        s.d = 1000 * ((166.31 * X + 1.01 * delta) * Ps - (1.01 * s.B) * delta)
              / ((1.88 * delta + 267.38 * X) * (s.B - Ps));
        if (!std::isfinite(s.d))
            return fail(kResultNotFinite);
        if (s.d < 0)
            return fail(kMoistureNegative);
        s.Pq = ((0.001 * s.d) * s.B) / (0.622 + s.d / 1000);
        s.psi = s.Pq / s.Pqb;
        // ψ is shown in percent from its four-decimal fraction: 0.4673 → 46.73.
        // ψ itself can be finite and still overflow as a percentage.
        const double shownFraction = ParseLenient(Format4(s.psi));
        const double shownPercent = shownFraction * 100;
        if (!std::isfinite(shownPercent))
            return fail(kResultNotFinite);
        out.writes.push_back({7, FormatShortest(shownPercent)});
    }

    // Common results. Dry air (Pq = 0) has no dew point by this formula.
    const double alpha = std::log(s.Pq / 1000);
    s.tl = 1.9 * (alpha * alpha) + (12.4 * alpha + 8.22);
    s.h = 1.01 * s.t + (0.001 * s.d) * (2501 + 1.84 * s.t);
    s.rho = (0.00348 * s.B) / (273.15 + s.t) - (0.00132 * s.Pq) / (273.15 + s.t);
    s.v = 1 / s.rho;

    if (!allFinite({s.ts, s.Pqb, s.Pqbs, s.Pq, s.psi, s.d, s.h, s.rho, s.v}))
        return fail(kResultNotFinite);
    if (s.Pq > 0 && !std::isfinite(s.tl))
        return fail(kResultNotFinite);

    out.writes.push_back({8, Format2(s.d)});
    out.writes.push_back({9, Format5(s.h)});
    out.writes.push_back({10, Format3(s.rho)});
    out.writes.push_back({11, Format5(s.v)});
    out.writes.push_back({12, Format2(s.Pqb)});
    out.writes.push_back({14, Format2(s.Pqbs)});
    out.writes.push_back({15, Format5(s.Pq)});
    out.dewPointOutOfRange = s.Pq == 0 || s.tl > 65 || s.tl < 0;
    out.writes.push_back({13, out.dewPointOutOfRange ? std::string() : Format2(s.tl)});
    out.point = s;
    return out;
}
