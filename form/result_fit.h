#pragma once
// How the result is shown in its label: whole, never cut. A text too wide
// for the label at the described face is drawn in a smaller one, down to a
// legible height; where even that cannot hold it, a score is shown in its
// exponent form. The label's own text (what a screen reader reads, what the
// scorer prints) stays exact: only the drawing follows this rule.

#include <functional>
#include <string>
#include <string_view>

namespace kvorn {

struct FittedResult {
    std::string Text;  // what is drawn
    int PixelHeight;   // the face's character height it is drawn in
};

// The smallest character height the result is drawn in: the window's own.
inline constexpr int SmallestResultHeight = 11;
// The space kept free between the text and each side of the label.
inline constexpr int ResultMargin = 4;

// The width in pixels of `text` drawn at character height `pixelHeight`.
using MeasureText = std::function<int(std::string_view text, int pixelHeight)>;

FittedResult FitResult(std::string_view text, int labelWidth, int describedHeight, const MeasureText& measure);

// A score written in full ("509860509860509952.00"), rounded half away from
// zero to three significant digits, in the shape the score's format takes
// beyond its fixed range: "5.10E+17". Any other text comes back unchanged.
std::string ExponentForm(std::string_view score);

}  // namespace kvorn
