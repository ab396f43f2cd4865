// The state-point calculation on a random mode and five random box texts.
// Input: the first byte picks the mode, the rest is split on '|' into the
// texts B, υ, t, ts and ψ (missing ones are empty).
//
// Checked: no wet-bulb search runs past its step bound; an Ok outcome holds only finite
// numbers (the dew point may be non-finite only for dry air, Pq = 0) and box
// texts of the display patterns, in the window's order; a Failure has a
// message and writes nothing; Incomplete exactly when a needed box is empty.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "calculate.h"
#include "wetbulb.h"

namespace {

[[noreturn]] void fail(const char* what, const std::string& detail = {})
{
    std::fprintf(stderr, "calculate_fuzz: %s %s\n", what, detail.c_str());
    std::abort();
}

bool digitsOnly(std::string_view s)
{
    if (s.empty())
        return false;
    for (char c : s) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

bool allZeroDigits(std::string_view s)
{
    return s.find_first_of("123456789") == std::string_view::npos;
}

// -?[0-9]+\.[0-9]{decimals}, and not a negative zero such as "-0.00".
bool isFixed(std::string_view s, std::size_t decimals)
{
    std::string_view body = s;
    if (!body.empty() && body[0] == '-') {
        body.remove_prefix(1);
        if (allZeroDigits(body))
            return false;
    }
    const std::size_t point = body.find('.');
    if (point == std::string_view::npos)
        return false;
    return digitsOnly(body.substr(0, point)) && body.size() - point - 1 == decimals
           && digitsOnly(body.substr(point + 1));
}

// What printf("%.15g") writes for a finite value: digits with an optional
// point and no trailing zeros after it, or that mantissa (one digit before the
// point) with an exponent e±dd or e±ddd. No negative zero.
bool isShortest(std::string_view s)
{
    std::string_view body = s;
    if (!body.empty() && body[0] == '-')
        body.remove_prefix(1);
    std::string_view exponent;
    const std::size_t e = body.find('e');
    if (e != std::string_view::npos) {
        exponent = body.substr(e + 1);
        body = body.substr(0, e);
        if (exponent.size() < 3 || exponent.size() > 4 || (exponent[0] != '+' && exponent[0] != '-')
            || !digitsOnly(exponent.substr(1)))
            return false;
    }
    const std::size_t point = body.find('.');
    const std::string_view whole = body.substr(0, point);
    if (!digitsOnly(whole) || (whole.size() > 1 && whole[0] == '0'))
        return false;
    if (!exponent.empty() && (whole.size() != 1 || whole[0] == '0'))
        return false;
    if (point != std::string_view::npos) {
        const std::string_view fraction = body.substr(point + 1);
        if (!digitsOnly(fraction) || fraction.back() == '0')
            return false;
    }
    if (s[0] == '-' && allZeroDigits(body))
        return false;
    std::size_t significant = 0;
    for (char c : body)
        significant += c >= '0' && c <= '9';
    std::size_t leadingZeros = 0;
    for (char c : body) {
        if (c == '0')
            ++leadingZeros;
        else if (c != '.')
            break;
    }
    return significant - leadingZeros <= 15 || allZeroDigits(body);
}

void checkOk(InputMode mode, const CalcOutcome& out)
{
    const StatePoint& p = out.point;
    for (double v : {p.t, p.ts, p.Pq, p.Pqb, p.Pqbs, p.v, p.d, p.h, p.B, p.rho, p.upsilon, p.psi}) {
        if (!std::isfinite(v))
            fail("Ok with a non-finite state point value");
    }
    if (p.Pq != 0 && !std::isfinite(p.tl))
        fail("Ok with a non-finite dew point while Pq > 0");

    const Quantity humidity = mode == InputMode::PsiKnown ? Quantity::ts : Quantity::psi;
    const std::vector<Quantity> order = {humidity,      Quantity::d,    Quantity::h,  Quantity::rho, Quantity::v,
                                         Quantity::Pqb, Quantity::Pqbs, Quantity::Pq, Quantity::tl};
    if (out.results.size() != order.size())
        fail("Ok with the wrong number of results");
    for (std::size_t i = 0; i < order.size(); ++i) {
        const QuantityText& w = out.results[i];
        if (w.quantity != order[i])
            fail("result out of order:", Info(w.quantity).name);
        bool good = false;
        switch (w.quantity) {
        case Quantity::ts: case Quantity::d: case Quantity::Pqb: case Quantity::Pqbs:
            good = isFixed(w.text, 2);
            break;
        case Quantity::rho:
            good = isFixed(w.text, 3);
            break;
        case Quantity::h: case Quantity::v: case Quantity::Pq:
            good = isFixed(w.text, 5);
            break;
        case Quantity::tl:
            good = out.dewPointOutOfRange ? w.text.empty() : isFixed(w.text, 2);
            break;
        case Quantity::psi:
            good = isShortest(w.text);
            break;
        default:
            break;
        }
        if (!good)
            fail("result text not of its display pattern:", std::string(Info(w.quantity).name) + " \"" + w.text + "\"");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const InputMode mode = (data[0] & 1) ? InputMode::TsKnown : InputMode::PsiKnown;
    std::vector<std::string> texts(5);
    std::size_t field = 0;
    for (std::size_t i = 1; i < size && field < texts.size(); ++i) {
        if (data[i] == '|')
            ++field;
        else
            texts[field].push_back(char(data[i]));
    }
    const CalcInputs inputs{texts[0], texts[1], texts[2], texts[3], texts[4]};

    const CalcOutcome out = CalculateStatePoint(mode, inputs);
    // The search's length is what could make a press of the button hang; a
    // step count is checked rather than a time, which a busy machine stretches.
    if (out.searchSteps < 0 || out.searchSteps > kMaxSearchSteps)
        fail("wet-bulb search ran past its bound:", std::to_string(out.searchSteps) + " steps");

    const std::string& humidity = mode == InputMode::PsiKnown ? inputs.psi : inputs.ts;
    const bool incomplete = inputs.B.empty() || inputs.upsilon.empty() || inputs.t.empty() || humidity.empty();
    if (incomplete != (out.status == CalcStatus::Incomplete))
        fail("Incomplete status does not match the empty boxes");

    switch (out.status) {
    case CalcStatus::Incomplete:
        if (!out.results.empty())
            fail("Incomplete with results");
        break;
    case CalcStatus::Failure:
        if (FailureMessage(out.failure).empty())
            fail("Failure without a message");
        if (!out.results.empty())
            fail("Failure with results");
        break;
    case CalcStatus::Ok:
        checkOk(mode, out);
        break;
    }
    return 0;
}
