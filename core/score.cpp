#include "score.h"

#include <cmath>

#include "checked_arithmetic.h"
#include "number_conversion.h"
#include "score_format.h"

namespace kvorn {

namespace {

// x / divisor × weight, left to right.
Extended Term(Extended x, Extended divisor, Extended weight) { return CheckedMul(CheckedDiv(x, divisor), weight); }

Extended CaliberFactor(Extended caliber, const ShipCoefficients& c)
{
    if (caliber == 12)
        return c.Caliber12;
    if (caliber == 16)
        return c.Caliber16;
    if (caliber == 24)
        return c.Caliber24;
    if (caliber == 32)
        return c.Caliber32;
    return 4.6;  // a double, the same for every type
}

}  // namespace

ScoreResult ComputeScore(const ScoreInputs& inputs, std::string_view shipText, const ShipCoefficients& c,
                         char32_t separator)
{
    for (ScoreInput input : ControlOrder)
        if ((inputs.*input).empty())
            return {ScoreOutcome::NothingToDo, {}};
    if (shipText == PlaceholderText)
        return {ScoreOutcome::NotSelected, std::string(NotSelectedMessage)};

    const auto number = [separator](std::string_view text) { return ConvertNumber(text, separator); };
    const Extended factor = CaliberFactor(number(inputs.Caliber), c);
    // Each term is kept as it is added: the sum is the same, in the same
    // order, and the shares come from the very terms it adds.
    std::array<Extended, 9> t;
    Extended sum = t[0] = Term(number(inputs.Hull), 115.5L, 3.71L);
    sum = CheckedAdd(sum, t[1] = Term(number(inputs.Hold), 76.5L, 0.92L));
    sum = CheckedAdd(sum, t[2] = Term(number(inputs.Speed), 0.1782L, 1.7L));
    sum = CheckedAdd(sum, t[3] = Term(number(inputs.Manoeuvrability), 0.77L, 1.17L));
    sum = CheckedAdd(sum, t[4] = Term(number(inputs.CloseHauled), 0.11L, 0.31L));
    sum = CheckedAdd(sum, t[5] = Term(CheckedSub(number(inputs.Crew1), 187), -1.85L, 0.1L));
    sum = CheckedAdd(sum, t[6] = Term(number(inputs.Crew2), 9.33L, 1.12L));
    sum = CheckedAdd(
        sum, t[7] = Term(static_cast<Extended>(c.CannonCount), 1.12L, static_cast<Extended>(c.CannonFactor)));
    sum = CheckedAdd(sum, t[8] = CheckedMul(75, factor));
    const Extended divisor = static_cast<Extended>(c.ShipDivisor);
    const Extended quotient = CheckedDiv(CheckedDiv(sum, 9), divisor);

    const auto score = static_cast<double>(quotient);
    if (!std::isfinite(score))
        FailOverflow();
    ScoreResult result{ScoreOutcome::Score, FormatScore(score), {}};
    // The divisor is not zero here: the score's own division has passed.
    for (std::size_t i = 0; i < t.size(); ++i)
        result.Shares[i] = t[i] / 9 / divisor;
    return result;
}

}  // namespace kvorn
