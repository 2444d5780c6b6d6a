#pragma once
// The calculator window as its description gives it, typed in here once
// (never read from the code's own table) for both windows' tests to check
// at each display scale.

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "form_view.h"

namespace kvorn::test {

struct DescribedRect {
    int Left, Top, Width, Height;
    // At a display scale given in percent, as both windows lay out: every
    // place and size multiplied and rounded to the nearest pixel.
    constexpr DescribedRect At(int percent) const
    {
        return {AtPercent(Left, percent), AtPercent(Top, percent), AtPercent(Width, percent),
                AtPercent(Height, percent)};
    }
    static constexpr int AtPercent(int v, int percent) { return (v * percent + 50) / 100; }
};

struct DescribedControl {
    Control Id;
    std::string_view Name;
    DescribedRect Bounds;   // within the client area
    int MaxLength;          // 0: none
    int FontPixels;         // character height at 100 %
    bool Bold;
    std::string_view AccessibleName;  // UTF-8; what a screen reader names it
};

// Client area on the screen.
inline constexpr DescribedRect DescribedWindow = {444, 196, 196, 317};
inline constexpr int DescribedWindowFontPixels = 11;

// Stacking order, bottom to top.
inline constexpr std::array<DescribedControl, 14> DescribedControls = {{
    {Control::Image1, "Image1", {0, 0, 198, 321}, 0, 11, false, ""},
    {Control::Label2, "Label2", {149, 196, 4, 16}, 0, 13, false, ""},
    {Control::Label1, "Label1", {10, 255, 176, 24}, 0, 19, true, "Результат"},
    {Control::Edit1, "Edit1", {138, 38, 48, 22}, 5, 13, true, "Корпус"},
    {Control::Edit2, "Edit2", {138, 162, 48, 22}, 4, 13, true, "Трюм"},
    {Control::Edit3, "Edit3", {138, 69, 48, 22}, 5, 13, true, "Скорость"},
    {Control::Edit4, "Edit4", {138, 99, 48, 22}, 5, 13, true, "Маневренность"},
    {Control::Edit5, "Edit5", {138, 130, 48, 22}, 5, 13, true, "Бейдевинд"},
    {Control::Edit6, "Edit6", {117, 193, 31, 22}, 3, 13, true, "Команда м/о, первое число"},
    {Control::Edit7, "Edit7", {154, 193, 31, 22}, 3, 13, true, "Команда м/о, второе число"},
    {Control::ComboBox1, "ComboBox1", {10, 6, 176, 24}, 0, 13, true, "Тип корабля"},
    {Control::ComboBox2, "ComboBox2", {138, 223, 48, 24}, 0, 13, true, "Вооружение"},
    {Control::BitBtn1, "BitBtn1", {14, 288, 78, 19}, 0, 11, false, "Очистить"},
    {Control::BitBtn2, "BitBtn2", {104, 288, 78, 19}, 0, 11, false, "Выход"},
}};

// Tab order, first to last: top to bottom through the window.
inline constexpr std::array<Control, 11> DescribedTabOrder = {
    Control::ComboBox1, Control::Edit1, Control::Edit3, Control::Edit4,   Control::Edit5,   Control::Edit2,
    Control::Edit6,     Control::Edit7, Control::ComboBox2, Control::BitBtn1, Control::BitBtn2};

// An open list shows at most this many rows, each this high at 100 %.
inline constexpr int DescribedListRows = 8;
inline constexpr int DescribedListItemHeight = 16;

// The window's own menu, on the picture and the result.
inline const std::vector<std::string> DescribedWindowMenu = {"Копировать результат", "Копировать строку",
                                                              "Вставить строку"};

// How far, in levels, the picture shown at `scale` is from the one drawn for
// `drawnFor` scaled down smoothly: over a word of the picture, where a scaling
// that picks pixels is rough, each pixel against the mean of the area it covers.
template <class Drawn, class Shown>
double LevelsOffTheMean(double scale, double drawnFor, Drawn drawnAt, Shown shownAt)
{
    const double r = drawnFor / scale;
    double off = 0, n = 0;
    for (int y = int(50 * scale); y < int(66 * scale); ++y)
        for (int x = int(30 * scale); x < int(90 * scale); ++x)
            for (unsigned channel = 0; channel < 24; channel += 8, ++n) {
                double sum = 0;  // over the area the pixel covers, sampled 8 x 8
                for (int k = 0; k < 64; ++k)
                    sum += drawnAt(int((x + (k % 8 + 0.5) / 8) * r), int((y + (k / 8 + 0.5) / 8) * r)) >> channel &
                           0xff;
                off += std::abs(sum / 64 - double(shownAt(x, y) >> channel & 0xff));
            }
    return off / n;
}

// The longest run along a row of pixels where `differs` holds: between a
// focused button and the same one unfocused, no more than two at 100 %, as
// a dotted focus mark is; and none within `ring` of the edge, as the mark
// lies inside the button, 3 px in.
template <class Differs>
int LongestRun(int width, int height, Differs differs, int ring = 0)
{
    int longest = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0, run = 0; x < width; ++x) {
            longest = std::max(longest, run = differs(x, y) ? run + 1 : 0);
            if (run && (x < ring || y < ring || x >= width - ring || y >= height - ring))
                return width;  // in the ring: no mark of a dotted frame
        }
    return longest;
}

// The mean change, in grey levels, of the pixels that `levels` finds changed:
// a focus mark a user can see stands out from what is under it.
template <class Levels>
double MeanChange(int width, int height, Levels levels)
{
    double sum = 0, changed = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (const int l = levels(x, y))
                sum += l, ++changed;
    return changed ? sum / changed : 255;
}

// The first column where `at` differs from the top-left pixel (`width` when
// none): a left-aligned text's ink starts at its left.
template <class At>
int FirstInkColumn(int width, int height, At at)
{
    int from = width;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < from; ++x)
            if (at(x, y) != at(0, 0))
                from = x;
    return from;
}

constexpr const DescribedControl& DescribedControlOf(Control id)
{
    for (const DescribedControl& c : DescribedControls)
        if (c.Id == id)
            return c;
    return DescribedControls[0];
}

}  // namespace kvorn::test
