#pragma once
// Why the shown result is what it is: the tip over the result, and what a
// screen reader reads as its description, in both windows. Each of the nine
// terms with its share of the score, in the window's own words and order,
// then the result itself, and the result the previous ship ended with, so
// that two ships can be compared one after the other.

#include <string>

#include "score.h"

namespace kvorn {

// A result as it was shown, with what it was made of.
struct ShownResult {
    std::string Ship;
    std::string Score;
    std::string Caliber;  // the caliber selector's text
    int CannonCount = 0;  // the ship type's
    ScoreShares Shares{};
};

// Lines separated by '\n'; `previous` may be null.
std::string DescribeResult(const ShownResult& shown, const ShownResult* previous);

}  // namespace kvorn
