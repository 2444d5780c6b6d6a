// The score's text for arbitrary finite doubles.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "invariants.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < sizeof(double))
        return 0;
    double value;
    std::memcpy(&value, data, sizeof value);
    if (!std::isfinite(value))
        return 0;
    const std::string text = kvorn::FormatScore(value);
    fuzz::CheckScoreText(text);
    if ((text[0] == '-') != std::signbit(value))
        fuzz::Broken("sign", text);
    // Within a cent (and the 17-digit first stage) of the value it writes.
    const long double read = std::strtold(text.c_str(), nullptr);  // 1.80E+308 is beyond a double
    const long double magnitude = std::fabs(static_cast<long double>(value));
    const long double slack = text.find('E') != std::string::npos ? magnitude * 0.006L : 0.0051L + magnitude * 1e-15L;
    if (std::fabs(read - value) > slack)
        fuzz::Broken("value drifted", text);
    return 0;
}
