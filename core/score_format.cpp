#include "score_format.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdio>

#include "checked_arithmetic.h"

namespace kvorn {

std::string FormatScore(double score)
{
    assert(std::isfinite(score));
    std::string out = std::signbit(score) ? "-" : "";
    Extended m = std::fabs(static_cast<Extended>(score));
    if (m >= 0x1p120L) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%.2E", static_cast<double>(m));
        return out + buffer;
    }

    // First stage: scaled below 16 by powers of ten guessed from the binary
    // exponent (19728 / 65536 is just above log10 2), then 17 places.
    long shift = 0;
    if (m >= 10) {
        for (;;) {
            const long k = (static_cast<long>(std::ilogb(m)) * 19728) >> 16;
            if (k == 0)
                break;
            m /= PowerOfTen(k);
            shift += k;
        }
    }
    const std::string digits = std::to_string(static_cast<unsigned long long>(std::rint(m * PowerOfTen(17))));

    // The expansion as text: the integer part, then at least three decimals,
    // with one leading zero left free for a carry out of the top digit.
    const long fractionDigits = 17 - shift;
    std::string expansion = "0" + digits + std::string(static_cast<std::size_t>(std::max(-fractionDigits, 0L)), '0');
    const long decimals = std::max(fractionDigits, 0L);
    if (static_cast<long>(expansion.size()) - decimals < 2)
        expansion.insert(0, static_cast<std::size_t>(2 - (static_cast<long>(expansion.size()) - decimals)), '0');
    const long integerDigits = static_cast<long>(expansion.size()) - decimals;
    if (decimals < 3)
        expansion.append(static_cast<std::size_t>(3 - decimals), '0');

    // Second stage: half away from zero at the second decimal.
    std::string kept = expansion.substr(0, static_cast<std::size_t>(integerDigits + 2));
    if (expansion[static_cast<std::size_t>(integerDigits + 2)] >= '5') {
        long i = static_cast<long>(kept.size()) - 1;
        for (; kept[static_cast<std::size_t>(i)] == '9'; --i)
            kept[static_cast<std::size_t>(i)] = '0';
        ++kept[static_cast<std::size_t>(i)];  // the leading zero takes the last carry
    }
    std::size_t first = kept.find_first_not_of('0');
    const std::size_t point = kept.size() - 2;
    if (first == std::string::npos || first >= point)
        first = point - 1;
    out.append(kept, first, point - first);
    out += '.';
    out.append(kept, point, 2);
    return out;
}

std::string FormatShare(long double share)
{
    const auto value = static_cast<double>(share);
    if (std::isfinite(value))
        return FormatScore(value);
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.2LE", share);
    return buffer;
}

}  // namespace kvorn
