#include "result_fit.h"

#include <algorithm>
#include <cstdio>

namespace kvorn {

namespace {

bool IsFixedScore(std::string_view text)
{
    if (!text.empty() && text.front() == '-')
        text.remove_prefix(1);
    const std::size_t point = text.find('.');
    if (point == 0 || point == std::string_view::npos || text.size() - point != 3)
        return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (i != point && (text[i] < '0' || text[i] > '9'))
            return false;
    return true;
}

}  // namespace

std::string ExponentForm(std::string_view score)
{
    if (!IsFixedScore(score))
        return std::string(score);
    std::string sign;
    if (score.front() == '-') {
        sign = "-";
        score.remove_prefix(1);
    }
    const std::size_t point = score.find('.');
    std::string digits = std::string(score.substr(0, point)) + std::string(score.substr(point + 1));
    const std::size_t first = digits.find_first_not_of('0');
    if (first == std::string::npos)
        return sign + "0.00E+00";
    long exponent = long(point) - long(first) - 1;
    digits = digits.substr(first);
    digits.resize(std::max<std::size_t>(digits.size(), 4), '0');
    // Three significant digits, the fourth rounding them half away from zero.
    std::string kept(1, '0');  // room for a carry out of the top digit
    kept.append(digits, 0, 3);
    if (digits[3] >= '5') {
        std::size_t i = kept.size() - 1;
        for (; kept[i] == '9'; --i)
            kept[i] = '0';
        ++kept[i];
    }
    if (kept[0] != '0')
        ++exponent;  // 9.995 became 10.0
    else
        kept.erase(0, 1);
    char written[32];
    std::snprintf(written, sizeof written, "%c.%c%cE%c%02ld", kept[0], kept[1], kept[2], exponent < 0 ? '-' : '+',
                  exponent < 0 ? -exponent : exponent);
    return sign + written;
}

FittedResult FitResult(std::string_view text, int labelWidth, int describedHeight, const MeasureText& measure)
{
    const int room = labelWidth - 2 * ResultMargin;
    const int smallest = std::min(SmallestResultHeight, describedHeight);
    const std::string candidates[] = {std::string(text), ExponentForm(text)};
    for (const std::string& candidate : candidates)
        for (int height = describedHeight; height >= smallest; --height)
            if (measure(candidate, height) <= room)
                return {candidate, height};
    return {candidates[1], smallest};  // nothing holds it: the shortest, at the smallest
}

}  // namespace kvorn
