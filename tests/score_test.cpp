#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "checked_arithmetic.h"
#include "decimal_separator.h"
#include "final_point.h"
#include "number_conversion.h"
#include "score.h"
#include "score_format.h"
#include "ship_types.h"
#include "worked_ships.h"

using namespace kvorn;

namespace {

ShipCoefficients Picked(std::string_view name)
{
    ShipCoefficients c;
    EXPECT_TRUE(SelectShipType(name, c)) << name;
    return c;
}

// A worked ship's figures as its fields hold them.
ScoreInputs Inputs(const test::WorkedShip& ship)
{
    const auto& f = ship.Figures;
    return {f[0], f[1], f[2], f[3], f[4], f[5], f[6], ship.Caliber};
}

std::string Score(std::string_view ship, const ScoreInputs& inputs)
{
    return ComputeScore(inputs, ship, Picked(ship), U',').Text;
}

std::string ErrorOf(const ScoreInputs& inputs, std::string_view ship, const ShipCoefficients& c)
{
    try {
        ComputeScore(inputs, ship, c, U',');
    } catch (const RatingError& e) {
        return e.message();
    }
    return "(no error)";
}

}  // namespace

TEST(Score, WorkedResults)
{
    for (const test::WorkedShip& ship : test::WorkedShips) {
        const ScoreResult result = ComputeScore(Inputs(ship), ship.Type, Picked(ship.Type), U',');
        EXPECT_EQ(result.Outcome, ScoreOutcome::Score) << ship.Type;
        EXPECT_EQ(result.Text, ship.Label) << ship.Type << " " << ship.Caliber;
    }
}

// One row per term: a ship with only that term's figure set (C1 at 187
// zeroes its term); the last rows are decimal ties, on purpose-made
// coefficients, that show whether the quotient is rounded to a double
// before it is written and whether 4.6 is taken as a double. The labels
// were worked out with exact rational arithmetic, rounding as the
// computation does, independently of this code.
TEST(Score, EachTermAndTheRoundingOfTheQuotient)
{
    ShipCoefficients longboat;
    SelectShipType("Баркас", longboat);
    ShipCoefficients tie1000 = {1, 0, 120.0006, 0, 0, 0, 0};
    ShipCoefficients tie1 = {38.14262023217247, 0, 0, 0, 0, 0, 0};
    ASSERT_EQ(tie1000.Caliber12, 0x1.e0009d495182bp+6);
    ASSERT_EQ(tie1.ShipDivisor, 0x1.31241613876dfp+5);
    const struct {
        ScoreInputs inputs;
        const ShipCoefficients& coefficients;
        const char* label;
    } rows[] = {
        {{"99999", "0", "0", "0", "0", "187", "0", "42"}, longboat, "304.12"},
        {{"0", "9992", "0", "0", "0", "187", "0", "42"}, longboat, "39.86"},
        {{"0", "0", "99999", "0", "0", "187", "0", "42"}, longboat, "81565.89"},
        {{"0", "0", "0", "99999", "0", "187", "0", "42"}, longboat, "13016.47"},
        {{"0", "0", "0", "0", "99999", "187", "0", "42"}, longboat, "24116.37"},
        {{"0", "0", "0", "0", "0", "999", "0", "42"}, longboat, "25.83"},
        {{"0", "0", "0", "0", "0", "187", "965", "42"}, longboat, "39.49"},
        {{"0", "0", "0", "0", "0", "187", "0", "12"}, tie1000, "1000.00"},
        {{"0", "0", "0", "0", "0", "187", "0", "42"}, tie1, "1.00"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(ComputeScore(row.inputs, "Баркас", row.coefficients, U',').Text, row.label) << row.label;
}

// Each term's share, T1 to T9, of every ship type with figures of its own
// against a computation in plain doubles written here from the formula; the
// written shares add up to the score within 0.05. (The frigate's described
// shares: the form's breakdown test and the scorer's --explain.)
TEST(Score, SharesOfTheTerms)
{
    const char* const calibers[] = {"12", "16", "24", "32", "42"};
    int n = 0;
    for (const ShipType& ship : ShipTypeTable) {
        const double h = 500 + 97 * n, q = 300 + 41 * n, v = 9.5 + n * 0.3, m = 20 + n, w = 0.25 + n * 0.01,
                     c1 = 60 + 7 * n, c2 = 50 + 11 * n;
        const std::string texts[] = {std::to_string(int(h)), std::to_string(int(q)), std::to_string(v),
                                     std::to_string(m), std::to_string(w), std::to_string(int(c1)),
                                     std::to_string(int(c2)), calibers[n % 5]};
        const ScoreInputs inputs = {texts[0], texts[1], texts[2], texts[3], texts[4], texts[5], texts[6], texts[7]};
        const ShipCoefficients& k = ship.Coefficients;
        const double factors[] = {k.Caliber12, k.Caliber16, k.Caliber24, k.Caliber32, 4.6};
        const double terms[] = {h / 115.5 * 3.71,         q / 76.5 * 0.92, v / 0.1782 * 1.7,
                                m / 0.77 * 1.17,          w / 0.11 * 0.31, (c1 - 187) / -1.85 * 0.1,
                                c2 / 9.33 * 1.12,         k.CannonCount / 1.12 * k.CannonFactor, 75 * factors[n % 5]};
        const ScoreResult result = ComputeScore(inputs, ship.Name, k, U'.');
        ASSERT_EQ(result.Outcome, ScoreOutcome::Score) << ship.Name;
        double sum = 0;
        for (std::size_t i = 0; i < 9; ++i) {
            const double written = std::stod(FormatShare(result.Shares[i]));
            EXPECT_NEAR(written, terms[i] / 9 / k.ShipDivisor, 0.005 + 1e-9) << ship.Name << " T" << i + 1;
            sum += written;
        }
        EXPECT_NEAR(sum, std::stod(result.Text), 0.05) << ship.Name;
        ++n;
    }
}

TEST(Score, CaliberIsComparedAsANumber)
{
    const ScoreInputs base = Inputs(test::WorkedShips[3]);  // the sloop at 12
    const std::string at12 = Score("Шлюп", base);
    for (const char* same : {"12,0", "+12", "1,2e1", " 12 ", "012", "120e-1"}) {
        ScoreInputs inputs = base;
        inputs.Caliber = same;
        EXPECT_EQ(Score("Шлюп", inputs), at12) << same;
    }
    // Anything that is not 12, 16, 24 or 32 weighs as 42 does, for every type.
    ScoreInputs at42 = base;
    at42.Caliber = "42";
    for (const char* other : {"6", "0", "-12", "12,5", "1e9"}) {
        ScoreInputs inputs = base;
        inputs.Caliber = other;
        EXPECT_EQ(Score("Шлюп", inputs), Score("Шлюп", at42)) << other;
    }
}

TEST(Score, NothingToDoWhileAnyInputIsEmpty)
{
    for (ScoreInput input : ControlOrder) {
        ScoreInputs inputs = Inputs(test::Frigate);
        inputs.*input = "";
        for (std::string_view ship : {std::string_view("Фрегат"), PlaceholderText}) {
            const ScoreResult result = ComputeScore(inputs, ship, Picked("Фрегат"), U',');
            EXPECT_EQ(result.Outcome, ScoreOutcome::NothingToDo);
            EXPECT_EQ(result.Text, "");
        }
    }
}

TEST(Score, PlaceholderAsksForAShipTypeBeforeAnyConversion)
{
    const ScoreInputs bad = {"x", "x", "x", "x", "x", "x", "x", "x"};
    const ScoreResult result = ComputeScore(bad, PlaceholderText, ShipCoefficients{}, U',');
    EXPECT_EQ(result.Outcome, ScoreOutcome::NotSelected);
    EXPECT_EQ(result.Text, "Не вбран тип корабля");
    // Only the exact placeholder counts as "not chosen".
    EXPECT_EQ(ErrorOf(bad, "Тип корабля ", ShipCoefficients{}), "'x' is not a valid floating point value");
}

TEST(Score, FirstBadFieldIsReportedInConversionOrder)
{
    // Conversion order: caliber, then Edit1..Edit7.
    const ScoreInput order[] = {&ScoreInputs::Caliber, &ScoreInputs::Hull,        &ScoreInputs::Hold,
                                &ScoreInputs::Speed,   &ScoreInputs::Manoeuvrability, &ScoreInputs::CloseHauled,
                                &ScoreInputs::Crew1,   &ScoreInputs::Crew2};
    const ScoreInputs bad = {"b0", "b1", "b2", "b3", "b4", "b5", "b6", "b7"};
    for (std::size_t k = 0; k < 8; ++k) {
        ScoreInputs inputs = Inputs(test::Frigate);
        for (std::size_t j = k; j < 8; ++j)
            inputs.*order[j] = bad.*order[j];
        EXPECT_EQ(ErrorOf(inputs, "Фрегат", Picked("Фрегат")), ConversionMessage(bad.*order[k])) << k;
    }
}

TEST(Score, ArithmeticFailuresAreErrorsNeverInfinities)
{
    // The selector's text edited away from the placeholder before any type was
    // picked: the coefficients are still all zero.
    const ShipCoefficients none;
    EXPECT_EQ(ErrorOf(Inputs(test::Frigate), "регат", none),
              "Floating point division by zero");
    EXPECT_EQ(ErrorOf({"0", "0", "0", "0", "0", "187", "0", "12"}, "регат", none), "Invalid floating point operation");
    // Beyond a double when the quotient is rounded.
    EXPECT_EQ(ErrorOf({"1e999", "0", "0", "0", "0", "0", "0", "12"}, "Фрегат", Picked("Фрегат")),
              "Floating point overflow");
    EXPECT_EQ(ErrorOf({"-1e999", "0", "0", "0", "0", "0", "0", "12"}, "Фрегат", Picked("Фрегат")),
              "Floating point overflow");
}

TEST(Format, TwoStageRounding)
{
    const struct {
        double value;
        const char* text;
    } rows[] = {
        {0.125, "0.13"},
        {0.015, "0.02"},  // just below the tie in binary, a tie at 17 places
        {1.005, "1.00"},
        {2.675, "2.67"},
        {12.5, "12.50"},
        {100.0 / 9, "11.11"},
        {9.999, "10.00"},
        {99.995, "100.00"},
        {0, "0.00"},
        {-0.0, "-0.00"},
        {-0.001, "-0.00"},
        {-2.675, "-2.67"},
        {0.005, "0.01"},
        {0.0049999, "0.00"},
        {1e-300, "0.00"},
        {123456789.125, "123456789.13"},
        {1e18, "1000000000000000000.00"},
        {1.5e19, "15000000000000000000.00"},
        {16, "16.00"},
        {1e22, "10000000000000000000000.00"},
        {std::ldexp(1.0, 120), "1.33E+36"},
        {-std::ldexp(1.0, 120), "-1.33E+36"},
        {5.1e96, "5.10E+96"},
        {1e300, "1.00E+300"},
        {1.5e-5 * 1e-300, "0.00"},
        {0.145, "0.14"},  // 17 places, not 16
        {0.285, "0.28"},
        {16000.295, "16000.30"},
        {16383.5, "16383.50"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(FormatScore(row.value), row.text) << row.value;
}

TEST(Format, FixedFormJustBelowTwoToThe120)
{
    const std::string text = FormatScore(std::nextafter(std::ldexp(1.0, 120), 0.0));
    EXPECT_EQ(text.size(), 37u + 3u);
    EXPECT_EQ(text.substr(0, 3), "132");
    EXPECT_EQ(text.substr(text.size() - 3), ".00");
}

TEST(Conversion, Rules)
{
    struct Conversion {
        const char* text;
        char32_t separator;
        bool ok;
        Extended value;
    };
    const Extended big = std::pow(Extended(10), Extended(499)), big500 = std::pow(Extended(10), Extended(500));
    const Conversion rows[] = {
        {"12,5", U',', true, 12.5L},
        {",", U',', true, 0},
        {"5,", U',', true, 5},
        {",5", U',', true, 0.5L},
        {"0,45", U',', true, 45.0L / 100},
        {"14,5", U',', true, 145.0L / 10},
        {"12.5", U'.', true, 12.5L},
        {"  7", U',', true, 7},
        {"7  ", U',', true, 7},
        {" -7 ", U',', true, -7},
        {"+3", U',', true, 3},
        {"-0", U',', true, -0.0L},
        {"1e3", U',', true, 1000},
        {"1E-2", U',', true, 1.0L / 100},
        {"2e", U',', true, 2},
        {"1e+", U',', true, 1},
        {",e1", U',', true, 0},
        {"1,5e1", U',', true, 15},
        {"1e0499", U',', true, big},
        {"1e0500", U',', true, big500},  // the exponent's digits stop at 500
        {"1e00000000000000000003", U',', true, 1000},
        {"1e-4999", U',', true, 0},
        {"0e4999", U',', true, 0},
        {"12٫5", U'٫', true, 12.5L},
        // failures
        {"", U',', false, 0},
        {" ", U',', false, 0},
        {"+", U',', false, 0},
        {"-", U',', false, 0},
        {"\t7", U',', false, 0},
        {"--3", U',', false, 0},
        {"+-3", U',', false, 0},
        {"e5", U',', false, 0},
        {"12.5", U',', false, 0},
        {"12,5", U'.', false, 0},
        {"1,2,3", U',', false, 0},
        {"1 2", U',', false, 0},
        {"1e4999", U',', false, 0},  // beyond extended precision
        {"1e5001", U',', false, 0},  // the digit after 500 is left unread
        {"1e5000", U',', false, 0},
        {"0e5000", U',', false, 0},
        {"1e-5000", U',', false, 0},
        {"1e1ee", U',', false, 0},
        {"0x10", U',', false, 0},
        {"١٢", U',', false, 0},
        {"12\n", U',', false, 0},
    };
    for (const Conversion& row : rows) {
        if (row.ok) {
            EXPECT_EQ(ConvertNumber(row.text, row.separator), row.value) << row.text;
            EXPECT_EQ(std::signbit(ConvertNumber(row.text, row.separator)), std::signbit(row.value)) << row.text;
        } else {
            try {
                ConvertNumber(row.text, row.separator);
                ADD_FAILURE() << "converted: " << row.text;
            } catch (const RatingError& e) {
                EXPECT_EQ(e.kind(), ErrorKind::Conversion);
                EXPECT_EQ(e.message(), "'" + std::string(row.text) + "' is not a valid floating point value");
            }
        }
    }
}

TEST(Conversion, LongDigitRunsOverflowInsteadOfWrapping)
{
    EXPECT_THROW(ConvertNumber(std::string(6000, '9'), U','), RatingError);
    // The same digits behind the separator scale back down to a finite value.
    EXPECT_EQ(ConvertNumber("," + std::string(4000, '0') + "1e4001", U','), 1);
}

TEST(Messages, FinalPointRule)
{
    const struct {
        const char* message;
        const char* shown;
    } rows[] = {
        {"'12,5' is not a valid floating point value", "'12,5' is not a valid floating point value."},
        {"Floating point division by zero", "Floating point division by zero."},
        {"Не вбран тип корабля", "Не вбран тип корабля."},
        {"ends in a digit 7", "ends in a digit 7."},
        {"a question?", "a question?."},
        {"a slash/", "a slash/."},
        {"ends in a point.", "ends in a point."},
        {"comma,", "comma,"},
        {"hyphen-", "hyphen-"},
        {"bang!", "bang!"},
        {"(bracket)", "(bracket)"},
        {"'quote'", "'quote'"},
        {"space ", "space "},
        {"", ""},
    };
    for (const auto& row : rows)
        EXPECT_EQ(WithFinalPoint(row.message), row.shown);
}

TEST(Messages, UsableSeparator)
{
    EXPECT_EQ(UsableSeparator(","), U',');
    EXPECT_EQ(UsableSeparator("."), U'.');
    EXPECT_EQ(UsableSeparator("٫"), U'٫');
    for (const char* unusable : {"", "ab", "5", " ", "-", "+", "e", "E", "\xff", "\t"})
        EXPECT_EQ(UsableSeparator(unusable), U'.') << unusable;
}
