// Number conversion with the comma, the point and a multi-byte separator.

#include <cmath>
#include <cstdint>
#include <string>

#include "invariants.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    static const char32_t separators[] = {U',', U'.', U'٫'};
    const char32_t separator = separators[data[0] % 3];
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    try {
        const kvorn::Extended value = kvorn::ConvertNumber(text, separator);
        if (!std::isfinite(value))
            fuzz::Broken("non-finite conversion", text);
        // Digits alone are read as the integer they spell.
        if (!text.empty() && text.size() <= 18 && text.find_first_not_of("0123456789") == std::string::npos &&
            value != static_cast<kvorn::Extended>(std::stoull(text)))
            fuzz::Broken("integer misread", text);
    } catch (const kvorn::RatingError& e) {
        if (e.kind() != kvorn::ErrorKind::Conversion || e.message() != kvorn::ConversionMessage(text))
            fuzz::Broken("conversion message", e.message());
    }
    return 0;
}
