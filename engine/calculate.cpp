// The calculate request: validation, the two modes' physics and the common
// results, each a stage of its own.
#include "calculate.h"

#include <cmath>
#include <iterator>

#include "parse.h"
#include "physics.h"
#include "pressure.h"
#include "wetbulb.h"

namespace {

constexpr double kAbsoluteZero = -273.15;  // °C

// Messages for inputs the formulas have no value for. Each names the quantity
// and what is wrong with it, so the engineer knows which value to correct.
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
constexpr const char* kBelowDryAir = "使含湿量d为负值（比干空气还干），请检查输入！";
constexpr const char* kSupersaturated = "使空气超过饱和（ψ>100%，雾区），请检查输入！";
constexpr const char* kDewPointOutsideFit = "露点温度tl须在0到65℃之间（露点公式的适用范围），请检查输入！";
constexpr const char* kPairNotIndependent = "两个已知参数确定的是同一个量（含湿量d与露点温度tl都只取决于水蒸汽分压力），请换一个参数！";
constexpr const char* kPairIllConditioned = "湿球温度ts与焓值h的线几乎平行，不能确定状态点，请换一个参数！";
constexpr const char* kNoStateForPair = "在这个大气压力下没有同时具有这两个参数的空气，请检查输入！";

// The psychrometer coefficient falls towards 65·10⁻⁵ as υ grows.
constexpr double kLeastPsychrometerCoefficient = 1e-5 * 65;

// Pressure rises with t up to kPressureRisesUpTo (°C), where the water formula
// peaks at about 3.968·10⁸ Pa, and falls beyond it; kSaturationPressureBound
// is above every value it gives (the ice formula stays below 612 Pa).
constexpr double kPressureRisesUpTo = 882;
constexpr double kSaturationPressureBound = 4e8;

constexpr CalcFailure fail(CalcCause cause, Quantity blamed = Quantity::B)
{
    return {cause, blamed};
}

// The name a message gives an input.
const char* inputName(Quantity q)
{
    switch (q) {
    case Quantity::B: return "大气压力B";
    case Quantity::upsilon: return "空气流速υ";
    case Quantity::t: return "干球温度t";
    case Quantity::psi: return "相对湿度ψ";
    case Quantity::ts: return "湿球温度ts";
    case Quantity::d: return "含湿量d";
    case Quantity::h: return "焓值h";
    case Quantity::tl: return "露点温度tl";
    default: return "";
    }
}

bool allFinite(std::initializer_list<double> values)
{
    for (double v : values) {
        if (!std::isfinite(v))
            return false;
    }
    return true;
}

// The psychrometer term A·(t − ts)·B of the search's target.
double psychrometerTerm(double A, double B, double t, double ts)
{
    return (A * (t - ts)) * B;
}

// Why the wet-bulb search found nothing; it only words the message of a
// search that has already given up. A grid value ts can meet the tolerance
// only where the target Pq + A·(t − ts)·B is below (1 + tolerance)·p(ts). The
// psychrometer term A·(t − ts)·B grows as ts falls, so it is least at the
// first grid value. When that least term alone is above every value p can
// take, no temperature and no humidity can succeed, and B or υ is to blame: B
// when even the fastest air (A at its limit 65·10⁻⁵) would not help, υ
// otherwise. When it is above p at the first grid value where p rises with t,
// every later grid value has a smaller p and a larger term: no humidity can
// succeed at this t.
CalcFailure searchFailure(double B, double upsilon, double t)
{
    const double first = t - kSearchStartOffset;
    const double margin = 1 + kSearchTolerance;
    const double term = psychrometerTerm(PsychrometerCoefficient(upsilon), B, t, first);
    if (term >= margin * kSaturationPressureBound) {
        const double leastTerm = psychrometerTerm(kLeastPsychrometerCoefficient, B, t, first);
        const bool pressureAlone = leastTerm >= margin * kSaturationPressureBound;
        return fail(CalcCause::PsychrometerTermTooLarge, pressureAlone ? Quantity::B : Quantity::upsilon);
    }
    if (t <= kPressureRisesUpTo && term >= margin * Pressure(first))
        return fail(CalcCause::NoWetBulbAtThisDryBulb, Quantity::t);
    return fail(CalcCause::SearchFailed, Quantity::ts);
}

bool complete(InputMode mode, const CalcInputs& in)
{
    const std::string& humidity = mode == InputMode::PsiKnown ? in.psi : in.ts;
    return (in.pressure || !in.B.empty()) && !in.upsilon.empty() && !in.t.empty() && !humidity.empty();
}

// Reads B, υ, t and the known humidity (ψ in %, or ts) into the point; a
// failure when one of them has no usable value.
CalcFailure readInputs(InputMode mode, const CalcInputs& in, StatePoint& s, double& humidity)
{
    const bool psiKnown = mode == InputMode::PsiKnown;
    s.B = in.pressure ? *in.pressure : ParseLenient(in.B);
    s.upsilon = ParseLenient(in.upsilon);
    s.t = ParseLenient(in.t);
    humidity = ParseLenient(psiKnown ? in.psi : in.ts);

    if (!std::isfinite(s.B))
        return fail(CalcCause::NotFinite, Quantity::B);
    if (!std::isfinite(s.upsilon))
        return fail(CalcCause::NotFinite, Quantity::upsilon);
    if (!std::isfinite(s.t))
        return fail(CalcCause::NotFinite, Quantity::t);
    if (!std::isfinite(humidity))
        return fail(CalcCause::NotFinite, psiKnown ? Quantity::psi : Quantity::ts);
    if (s.t <= kAbsoluteZero)
        return fail(CalcCause::BelowAbsoluteZero, Quantity::t);
    return {};
}

// Stage 1, ψ known: saturation by Pressure(), ts by the wet-bulb search.
CalcFailure psiKnownStage(StatePoint& s, double psiPercent, long& searchSteps)
{
    if (s.upsilon <= 0)
        return fail(CalcCause::VelocityNotPositive, Quantity::upsilon);
    s.psi = psiPercent / 100;
    if (s.psi < 0)
        return fail(CalcCause::HumidityNegative, Quantity::psi);
    s.Pqb = Pressure(s.t);
    s.Pq = s.Pqb * s.psi;
    if (!allFinite({s.Pqb, s.Pq}))
        return fail(CalcCause::ResultNotFinite);
    if (s.B <= s.Pq)
        return fail(CalcCause::PressureBelowVapour, Quantity::B);

    const WetBulbSearch search = SearchWetBulb(s.B, s.upsilon, s.t, s.Pq);
    searchSteps = search.steps;
    if (!search.found)
        return searchFailure(s.B, s.upsilon, s.t);
    s.ts = search.ts;
    s.Pqbs = Pressure(s.ts);
    s.d = MoistureContentFromVapourPressure(s.B, s.Pq);
    return {};
}

// Stage 2, ts known: saturation by the Antoine equation, d from the energy
// balance of the wet bulb, ψ from the result.
CalcFailure tsKnownStage(StatePoint& s, double ts)
{
    s.ts = ts;
    // The wet bulb cools by evaporation: it cannot be warmer than the air.
    // Equal is saturated air.
    if (s.ts > s.t)
        return fail(CalcCause::WetBulbAboveDryBulb, Quantity::ts);
    if (s.ts <= kAbsoluteZero)
        return fail(CalcCause::BelowAbsoluteZero, Quantity::ts);
    s.Pqb = AntoinePressure(kAntoineConstant, s.t);
    s.Pqbs = AntoinePressure(kAntoineConstant, s.ts);
    const double Ps = AntoinePressure(kAntoineConstantWetBulb, s.ts);
    if (s.B <= Ps)
        return fail(CalcCause::PressureBelowWetBulb, Quantity::B);
    s.d = MoistureContentFromWetBulb(s.B, s.t, s.ts, Ps);
    if (!std::isfinite(s.d))
        return fail(CalcCause::ResultNotFinite);
    if (s.d < 0)
        return fail(CalcCause::MoistureNegative, Quantity::ts);
    s.Pq = VapourPressureFromMoistureContent(s.B, s.d);
    s.psi = s.Pq / s.Pqb;
    // ψ itself can be finite and still overflow as the percentage shown.
    if (!std::isfinite(PercentShown(s.psi)))
        return fail(CalcCause::ResultNotFinite);
    return {};
}

// Stage 3, both modes: dew point, enthalpy, density, specific volume.
CalcFailure commonStage(StatePoint& s)
{
    // Dry air (Pq = 0) has no dew point by this formula.
    s.tl = DewPointFit(s.Pq);
    s.h = Enthalpy(s.t, s.d);
    s.rho = Density(s.B, s.t, s.Pq);
    s.v = SpecificVolume(s.rho);
    if (!allFinite({s.ts, s.Pqb, s.Pqbs, s.Pq, s.psi, s.d, s.h, s.rho, s.v}))
        return fail(CalcCause::ResultNotFinite);
    if (s.Pq > 0 && !std::isfinite(s.tl))
        return fail(CalcCause::ResultNotFinite);
    return {};
}

}  // namespace

CalcOutcome CalculateStatePoint(InputMode mode, const CalcInputs& in)
{
    if (!complete(mode, in))
        return CalcOutcome{};  // Incomplete

    CalcOutcome out;
    StatePoint& s = out.point;
    double humidity = 0;
    CalcFailure failure = readInputs(mode, in, s, humidity);
    if (!failure)
        failure = mode == InputMode::PsiKnown ? psiKnownStage(s, humidity, out.searchSteps)
                                              : tsKnownStage(s, humidity);
    if (!failure)
        failure = commonStage(s);
    if (failure) {
        // Nothing of the failed calculation is kept but why, and how far the search went.
        CalcOutcome failed;
        failed.status = CalcStatus::Failure;
        failed.failure = failure;
        const bool searched = failure.cause == CalcCause::SearchFailed
                              || failure.cause == CalcCause::PsychrometerTermTooLarge
                              || failure.cause == CalcCause::NoWetBulbAtThisDryBulb;
        failed.searchSteps = searched ? out.searchSteps : 0;
        return failed;
    }

    out.status = CalcStatus::Ok;
    out.dewPointOutOfRange = !DewPointInFit(s);
    out.results.reserve(std::size(kQuantities));
    for (const QuantityInfo& q : kQuantities) {
        if (!IsResult(q.quantity, mode))
            continue;
        const bool emptied = q.quantity == Quantity::tl && out.dewPointOutOfRange;
        out.results.push_back({q.quantity, emptied ? std::string() : DisplayText(s, q.quantity)});
    }
    return out;
}

const std::string& TypedText(const CalcInputs& inputs, InputMode mode, Quantity q)
{
    static const std::string none;
    if (!IsTyped(q, mode))
        return none;
    switch (q) {
    case Quantity::B: return inputs.B;
    case Quantity::upsilon: return inputs.upsilon;
    case Quantity::t: return inputs.t;
    case Quantity::ts: return inputs.ts;
    case Quantity::psi: return inputs.psi;
    default: return none;
    }
}

std::string_view ResultText(const CalcOutcome& outcome, Quantity q)
{
    for (const QuantityText& result : outcome.results) {
        if (result.quantity == q)
            return result.text;
    }
    return {};
}

std::string FailureMessage(const CalcFailure& failure)
{
    // The messages that begin with the quantity to blame.
    const auto named = [&](const char* what) { return std::string(inputName(failure.blamed)) + what; };
    switch (failure.cause) {
    case CalcCause::None: return {};
    case CalcCause::NotFinite: return named(kNotFiniteInput);
    case CalcCause::BelowAbsoluteZero: return named(kBelowAbsoluteZero);
    case CalcCause::VelocityNotPositive: return kVelocityNotPositive;
    case CalcCause::HumidityNegative: return kHumidityNegative;
    case CalcCause::PressureBelowVapour: return kPressureBelowVapour;
    case CalcCause::PressureBelowWetBulb: return kPressureBelowWetBulb;
    case CalcCause::MoistureNegative: return kMoistureNegative;
    case CalcCause::WetBulbAboveDryBulb: return kWetBulbAboveDryBulb;
    case CalcCause::SearchFailed: return kSearchFailed;
    case CalcCause::PsychrometerTermTooLarge:
        return std::string(failure.blamed == Quantity::B ? "大气压力B过大" : "空气流速υ过小") + kPsychrometerTermTooLarge;
    case CalcCause::NoWetBulbAtThisDryBulb: return kPsychrometerTermTooLargeHere;
    case CalcCause::ResultNotFinite: return kResultNotFinite;
    case CalcCause::BelowDryAir: return named(kBelowDryAir);
    case CalcCause::Supersaturated: return named(kSupersaturated);
    case CalcCause::DewPointOutsideFit: return kDewPointOutsideFit;
    case CalcCause::PairNotIndependent: return kPairNotIndependent;
    case CalcCause::PairIllConditioned: return kPairIllConditioned;
    case CalcCause::NoStateForPair: return kNoStateForPair;
    }
    return {};
}

std::string_view ShownText(const CalcInputs& inputs, const CalcOutcome& outcome, InputMode mode,
                           Quantity q)
{
    return IsTyped(q, mode) ? std::string_view(TypedText(inputs, mode, q)) : ResultText(outcome, q);
}

CalcFailure WetBulbSearchFailure(double B, double upsilon, double t)
{
    return searchFailure(B, upsilon, t);
}
