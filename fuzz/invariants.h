#pragma once
// What every fuzz target checks: a score's text is well formed and a
// failure carries one of the system's own messages.

#include <cstdio>
#include <cstdlib>
#include <regex>
#include <string>

#include "checked_arithmetic.h"
#include "number_conversion.h"
#include "score.h"
#include "score_format.h"

namespace fuzz {

[[noreturn]] inline void Broken(const char* what, const std::string& detail)
{
    std::fprintf(stderr, "invariant broken: %s: [%s]\n", what, detail.c_str());
    std::abort();
}

inline void CheckScoreText(const std::string& text)
{
    static const std::regex fixed(R"(-?[0-9]+\.[0-9][0-9])");
    static const std::regex exponent(R"(-?[0-9]\.[0-9][0-9]E[+-][0-9][0-9][0-9]?)");
    if (!std::regex_match(text, fixed) && !std::regex_match(text, exponent))
        Broken("score text", text);
    if (text.find('E') == std::string::npos && text.size() > 45)
        Broken("fixed form too wide", text);
}

// A term's share: the score's own form, or beyond a double's range (terms
// that cancel each other) an exponent of up to four digits.
inline void CheckShareText(const std::string& text)
{
    static const std::regex wide(R"(-?[0-9]\.[0-9][0-9]E[+-][0-9]{4})");
    if (!std::regex_match(text, wide))
        CheckScoreText(text);
}

inline void CheckArithmeticMessage(const std::string& message)
{
    if (message != kvorn::DivisionByZeroMessage && message != kvorn::InvalidOperationMessage &&
        message != kvorn::OverflowMessage)
        Broken("arithmetic message", message);
}

}  // namespace fuzz
