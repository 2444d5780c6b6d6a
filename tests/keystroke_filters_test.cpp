#include <gtest/gtest.h>

#include "keystroke_filters.h"

using namespace kvorn;

namespace {
enum class Rule { Digit, Decimal, BlockAll };

char32_t Apply(Rule rule, char32_t key, std::string_view field = "", char32_t separator = U',')
{
    rule == Rule::Digit     ? DigitFilter(key)
    : rule == Rule::Decimal ? DecimalFilter(key, field, separator)
                            : BlockAllFilter(key);
    return key;
}
}  // namespace

TEST(Filters, EachKeyInEachRule)
{
    const struct {
        Rule rule;
        const char* field;
        char32_t separator;
        char32_t key;
        char32_t result;
    } rows[] = {
        {Rule::Digit, "", U',', U'0', U'0'},
        {Rule::Digit, "", U',', U'9', U'9'},
        {Rule::Digit, "12", U',', 8, 8},
        {Rule::Digit, "", U',', U' ', 0},
        {Rule::Digit, "", U',', U'-', 0},
        {Rule::Digit, "", U',', U'.', 0},
        {Rule::Digit, "", U',', U',', 0},
        {Rule::Digit, "", U',', 13, 0},
        {Rule::Digit, "", U',', 27, 0},
        {Rule::Digit, "", U',', 3, 0},
        {Rule::Digit, "", U',', 22, 0},
        {Rule::Digit, "", U',', 24, 0},
        {Rule::Digit, "", U',', 26, 0},
        {Rule::Digit, "", U',', U'/', 0},
        {Rule::Digit, "", U',', U':', 0},
        {Rule::Digit, "", U',', U'٣', 0},  // a digit, but not an ASCII one
        {Rule::Digit, "", U',', U'a', 0},

        {Rule::Decimal, "12", U',', U'.', U','},
        {Rule::Decimal, "12", U',', U',', U','},
        {Rule::Decimal, "", U',', U',', U','},
        {Rule::Decimal, "12,5", U',', U'.', 0},
        {Rule::Decimal, "12,5", U',', U',', 0},
        {Rule::Decimal, ",", U',', U',', 0},
        {Rule::Decimal, "12,5", U',', U'7', U'7'},
        {Rule::Decimal, "12,5", U',', 8, 8},
        {Rule::Decimal, "", U',', U'-', 0},
        {Rule::Decimal, "", U',', U' ', 0},
        {Rule::Decimal, "", U',', 22, 0},
        // With the point as the regional separator both marks become a point.
        {Rule::Decimal, "12", U'.', U',', U'.'},
        {Rule::Decimal, "12", U'.', U'.', U'.'},
        {Rule::Decimal, "12.5", U'.', U',', 0},
        {Rule::Decimal, "12,5", U'.', U'.', U'.'},  // a pasted comma is no separator there
        {Rule::Decimal, "12", U'٫', U'.', U'٫'},
        {Rule::Decimal, "12٫", U'٫', U',', 0},
        {Rule::Decimal, "12", U'٫', U'٫', U'٫'},

        {Rule::BlockAll, "", U',', U'1', 0},
        {Rule::BlockAll, "", U',', U'М', 0},
        {Rule::BlockAll, "", U',', 8, 0},
        {Rule::BlockAll, "", U',', U' ', 0},
    };
    for (const auto& row : rows)
        EXPECT_EQ(Apply(row.rule, row.key, row.field, row.separator), row.result)
            << static_cast<int>(row.rule) << " field '" << row.field << "' key " << static_cast<unsigned>(row.key);
}
