// The whole score operation on arbitrary texts: ship name and eight inputs,
// separated by newlines; the first byte picks the separator and the type.

#include <cstdint>
#include <string>
#include <vector>

#include "invariants.h"
#include "ship_types.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const char32_t separator = data[0] & 1 ? U'.' : U',';
    kvorn::ShipCoefficients coefficients;
    if (data[0] >> 1 < kvorn::ShipTypeCount)
        coefficients = kvorn::ShipTypeTable[data[0] >> 1].Coefficients;

    std::vector<std::string> parts(1);
    for (std::size_t i = 1; i < size; ++i) {
        if (data[i] == '\n' && parts.size() < 9)
            parts.emplace_back();
        else
            parts.back() += static_cast<char>(data[i]);
    }
    parts.resize(9);
    kvorn::ScoreInputs inputs;
    for (std::size_t i = 0; i < 8; ++i)
        inputs.*kvorn::ControlOrder[i] = parts[i + 1];

    try {
        const kvorn::ScoreResult result = kvorn::ComputeScore(inputs, parts[0], coefficients, separator);
        if (result.Outcome == kvorn::ScoreOutcome::Score) {
            fuzz::CheckScoreText(result.Text);
            for (long double share : result.Shares)
                fuzz::CheckShareText(kvorn::FormatShare(share));
        }
        else if (result.Outcome == kvorn::ScoreOutcome::NotSelected && result.Text != kvorn::NotSelectedMessage)
            fuzz::Broken("not-selected message", result.Text);
    } catch (const kvorn::RatingError& e) {
        if (e.kind() != kvorn::ErrorKind::Conversion) {
            fuzz::CheckArithmeticMessage(e.message());
        } else {
            bool named = false;
            for (kvorn::ScoreInput input : kvorn::ControlOrder)
                named = named || e.message() == kvorn::ConversionMessage(inputs.*input);
            if (!named)
                fuzz::Broken("conversion names no input", e.message());
        }
    }
    return 0;
}
