#include <gtest/gtest.h>

#include "keystroke_filters.h"

using namespace kvorn;

namespace {
char32_t Digit(char32_t key)
{
    DigitFilter(key);
    return key;
}
}  // namespace

TEST(Filters, DigitsAndBackspaceAlonePassTheDigitRule)
{
    for (char32_t key : {U'0', U'9', Backspace})
        EXPECT_EQ(Digit(key), key) << unsigned(key);
    // Enter, Escape and Ctrl+C, V, X, Z among them; and a digit, but not an ASCII one.
    for (char32_t key : {U' ', U'-', U'.', U',', char32_t(13), char32_t(27), char32_t(3), char32_t(22), char32_t(24),
                         char32_t(26), U'/', U':', U'٣', U'a'})
        EXPECT_EQ(Digit(key), 0) << unsigned(key);
}

TEST(Filters, NothingPassesTheBlockingRule)
{
    for (char32_t key : {U'1', U'М', Backspace, U' '}) {
        char32_t blocked = key;
        BlockAllFilter(blocked);
        EXPECT_EQ(blocked, 0) << unsigned(key);
    }
}

TEST(Filters, TheDecimalRule)
{
    const struct {
        const char* field;
        char32_t separator;
        char32_t key;
        char32_t result;
    } rows[] = {
        {"12", U',', U'.', U','},
        {"12", U',', U',', U','},
        {"", U',', U',', U','},
        {"12,5", U',', U'.', 0},
        {"12,5", U',', U',', 0},
        {",", U',', U',', 0},
        {"12,5", U',', U'7', U'7'},
        {"12,5", U',', 8, 8},
        {"", U',', U'-', 0},
        {"", U',', U' ', 0},
        {"", U',', 22, 0},
        // With the point as the regional separator both marks become a point.
        {"12", U'.', U',', U'.'},
        {"12", U'.', U'.', U'.'},
        {"12.5", U'.', U',', 0},
        {"12,5", U'.', U'.', U'.'},  // a pasted comma is no separator there
        {"12", U'٫', U'.', U'٫'},
        {"12٫", U'٫', U',', 0},
        {"12", U'٫', U'٫', U'٫'},
    };
    for (const auto& row : rows) {
        char32_t key = row.key;
        DecimalFilter(key, row.field, row.separator);
        EXPECT_EQ(key, row.result) << "field '" << row.field << "' key " << unsigned(row.key);
    }
}
