// How the result is fitted to its label, with a stand-in face whose every
// character is 0.6 of its height wide.

#include <gtest/gtest.h>

#include <cstdio>

#include "result_fit.h"
#include "score_format.h"

using namespace kvorn;

namespace {

int Measure(std::string_view text, int pixelHeight) { return int(text.size()) * pixelHeight * 6 / 10; }

TEST(ResultFit, TheWholeTextInTheLargestFaceThatHoldsItThenTheExponentForm)
{
    const struct {
        const char* text;
        const char* drawn;
        int height;
    } rows[] = {
        {"122.05", "122.05", 19},                                         // 69 of 168 pixels
        {"50986050986050.00", "50986050986050.00", 16},                    // 17 characters: 163 at 16
        {"509860509860509952.00", "509860509860509952.00", 13},            // 21: 163 at 13
        {"5098605098605099520000.00", "5098605098605099520000.00", 11},    // 25: 165 at 11
        {"50986050986050991000000000.00", "5.10E+25", 19},                 // 29: too wide even at 11
        {"-99960000000000000000000000000.00", "-1.00E+29", 19},
        {"1.33E+36", "1.33E+36", 19},  // the format's own exponent form
    };
    for (const auto& row : rows) {
        const FittedResult fitted = FitResult(row.text, 176, 19, Measure);
        EXPECT_EQ(fitted.Text, row.drawn) << row.text;
        EXPECT_EQ(fitted.PixelHeight, row.height) << row.text;
    }
}

// The exponent form of a score written in full is what the score's format
// writes beyond its fixed range, "%.2E" of the value.
TEST(ResultFit, TheExponentFormIsTheFormatsOwn)
{
    for (double value : {5.0986050986050991e34, 509860509860509952.0, 1.2345e20, 9.996e25, 1.0049e30, 3.14159e18,
                         -7.77e33, 122.05}) {
        char expected[32];
        std::snprintf(expected, sizeof expected, "%.2E", value);
        EXPECT_EQ(ExponentForm(FormatScore(value)), expected) << FormatScore(value);
    }
    for (const char* other : {"", "Не вбран тип корабля", "1.33E+36", "12", "1.2.3", "-", ".00", "12a.00"})
        EXPECT_EQ(ExponentForm(other), other);
    EXPECT_EQ(ExponentForm("0.00"), "0.00E+00");
}

}  // namespace
