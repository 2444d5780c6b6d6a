#pragma once
// The score's text: a sign only when the sign bit is set, two decimals and
// always a point. The value is first rounded to 17 decimal places, then half
// away from zero at the second decimal.

#include <string>

namespace kvorn {

// `score` must be finite (the score computation never yields anything
// else). Below 2^120 in full, from there on in "%.2E" form.
std::string FormatScore(double score);

// One term's share of the score, in the score's own format; a share beyond
// the range of a double (terms that cancel each other) in "%.2LE" form.
std::string FormatShare(long double share);

}  // namespace kvorn
