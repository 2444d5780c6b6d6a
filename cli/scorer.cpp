#include "scorer.h"

#include <charconv>
#include <istream>
#include <iterator>
#include <ostream>

#include "decimal_separator.h"
#include "rating_error.h"
#include "score.h"
#include "score_format.h"
#include "ship_types.h"
#include "spreadsheet_row.h"
#include "text.h"

#ifndef KVORN_VERSION
#define KVORN_VERSION "unknown"
#endif

namespace kvorn::cli {

namespace {

constexpr std::string_view UsageText =
    "usage: kvorn-score [--separator=C] SHIP HULL SPEED MANOEUVRABILITY CLOSE_HAULED HOLD CREW1 CREW2 CALIBER\n"
    "       kvorn-score --explain [--separator=C] SHIP HULL SPEED ... CALIBER\n"
    "       kvorn-score [--separator=C] --batch < rows.csv > rated.csv\n"
    "       kvorn-score --list | --help | -h | /? | --version\n";

constexpr std::string_view HelpText =
    "Rates a sailing ship the way Kvorn calculator does and prints the score.\n"
    "\n"
    "Arguments are read in the window's order, top to bottom: the ship type\n"
    "(one of the names --list shows), hull, speed, manoeuvrability, close-hauled,\n"
    "hold, the two crew figures and the heaviest cannon caliber (12, 16, 24, 32, 42).\n"
    "\n"
    "  --separator=C  decimal separator of the figures (default: the regional one)\n"
    "  --explain      print each figure's share of the score, one tab-separated line\n"
    "                 each (name, figure, share), then the score; the shares are\n"
    "                 rounded, so their sum may differ from the score in the last\n"
    "                 decimal\n"
    "  --batch        rate rows of a ship type and eight figures from standard input,\n"
    "                 separated by ';', ',' or tabs as the first row has them, in\n"
    "                 UTF-8 or Windows-1251;\n"
    "                 each row is written back as it came, with the delimiter and\n"
    "                 its score appended\n"
    "  --list         show the ship types and their reference values\n"
    "\n"
    "Exit status: 0 rated (or nothing to rate), 1 a figure or row failed,\n"
    "2 wrong usage, 3 no ship type chosen.\n";

std::string Shortest(double value)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string Pad(std::string_view text, std::size_t width, bool right)
{
    const std::size_t length = CountCharacters(text);
    const std::string fill(width > length ? width - length : 0, ' ');
    return right ? fill + std::string(text) : std::string(text) + fill;
}

int UsageError(std::ostream& err, std::string_view reason)
{
    err << "kvorn-score: " << reason << "\n" << UsageText;
    return Usage;
}

}  // namespace

Rating RateShip(const ShipRow& row, char32_t separator)
{
    for (std::string_view field : row)
        if (field.empty())
            return {};
    const std::string_view ship = row[0];
    ScoreInputs inputs;
    for (std::size_t i = 0; i < WindowOrder.size(); ++i)
        inputs.*WindowOrder[i] = row[i + 1];
    if (ship == PlaceholderText)
        return {NotSelected, {}, std::string(NotSelectedMessage)};
    ShipCoefficients coefficients;
    if (!SelectShipType(ship, coefficients))
        return {Failed, {}, "unknown ship type '" + std::string(ship) + "' (kvorn-score --list shows the 24 types)"};
    try {
        const ScoreResult result = ComputeScore(inputs, ship, coefficients, separator);
        return {Success, result.Text, {}, result.Shares, coefficients.CannonCount};
    } catch (const RatingError& error) {
        return {Failed, {}, error.message()};
    }
}

std::string Explanation(const ShipRow& row, const Rating& rating)
{
    // In the window's order, top to bottom; each names its term T1 to T9.
    static const struct {
        const char* name;
        std::size_t field;  // in the row; 0 for the type's cannon count
        std::size_t term;
    } lines[] = {
        {"hull", 1, 0},  {"speed", 2, 2}, {"manoeuvrability", 3, 3}, {"close_hauled", 4, 4}, {"hold", 5, 1},
        {"crew1", 6, 5}, {"crew2", 7, 6}, {"cannons", 0, 7},          {"caliber", 8, 8},
    };
    std::string text;
    for (const auto& line : lines) {
        const std::string figure = line.field ? std::string(row[line.field]) : std::to_string(rating.CannonCount);
        text += std::string(line.name) + '\t' + figure + '\t' + FormatShare(rating.Shares[line.term]) + '\n';
    }
    return text + "score\t\t" + rating.Score + '\n';
}

ExitCode RateBatch(std::istream& in, std::ostream& out, std::ostream& err, char32_t separator)
{
    constexpr std::string_view bom = "\xEF\xBB\xBF";
    const std::string input{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::string_view rest = input;
    const bool marked = rest.substr(0, bom.size()) == bom;
    if (marked) {
        out << bom;
        rest.remove_prefix(bom.size());
    }
    // Rows go back byte for byte as they came, in their own encoding; they
    // are read, and the messages written, in UTF-8.
    const bool windows1251 = !marked && DetectEncoding(rest) == RowsEncoding::Windows1251;
    ExitCode result = Success;
    char delimiter = 0;  // from the first row
    for (long number = 1; !rest.empty(); ++number) {
        const std::size_t end = rest.find('\n');
        std::string_view text = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        const bool crlf = !text.empty() && text.back() == '\r';
        if (crlf)
            text.remove_suffix(1);
        const char* const ending = crlf ? "\r\n" : "\n";

        if (text.empty() || text.front() == '#') {
            out << text << ending;
            continue;
        }
        const std::string row = windows1251 ? Windows1251ToUtf8(text) : std::string(text);
        if (!delimiter)
            delimiter = DetectDelimiter(row);
        const std::vector<std::string> fields = SplitRow(row, delimiter);
        if (fields.front() == "ship") {
            out << text << delimiter << "score" << ending;
            continue;
        }
        Rating rating;
        if (fields.size() != 9) {
            const std::string shown = delimiter == '\t' ? "tabs" : std::string("'") + delimiter + "'";
            rating = {Failed, {}, "expected a ship type and 8 figures separated by " + shown + ", found " +
                                      std::to_string(fields.size()) + (fields.size() == 1 ? " field" : " fields")};
        } else {
            ShipRow ship;
            std::copy(fields.begin(), fields.end(), ship.begin());
            rating = RateShip(ship, separator);
        }
        out << text << delimiter << rating.Score << ending;
        if (rating.Code != Success) {
            err << "line " << number << ": " << rating.Error << "\n";
            result = Failed;
        }
    }
    return result;
}

std::string ShipTable()
{
    static const char* const headings[] = {"#",         "Ship",      "ShipDivisor", "CannonFactor", "Caliber12",
                                           "Caliber16", "Caliber24", "Caliber32",   "CannonCount"};
    std::vector<std::array<std::string, 9>> rows;
    rows.push_back({});
    for (std::size_t i = 0; i < 9; ++i)
        rows.back()[i] = headings[i];
    int index = 0;
    for (const ShipType& ship : ShipTypeTable) {
        const ShipCoefficients& c = ship.Coefficients;
        rows.push_back({std::to_string(++index), std::string(ship.Name), Shortest(c.ShipDivisor),
                        Shortest(c.CannonFactor), Shortest(c.Caliber12), Shortest(c.Caliber16),
                        Shortest(c.Caliber24), Shortest(c.Caliber32), std::to_string(c.CannonCount)});
    }
    std::array<std::size_t, 9> widths{};
    for (const auto& row : rows)
        for (std::size_t i = 0; i < 9; ++i)
            widths[i] = std::max(widths[i], CountCharacters(row[i]));
    std::string table;
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t i = 0; i < 9; ++i)
            line += (i ? "  " : "") + Pad(row[i], widths[i], i != 1);
        table += line + "\n";
    }
    return table;
}

int Run(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err,
        char32_t regionalSeparator)
{
    char32_t separator = regionalSeparator;
    std::string mode;  // --batch, --list, --help or --version
    bool explain = false;
    std::vector<std::string_view> positional;
    bool optionsEnded = false;
    for (const std::string& arg : args) {
        const std::string_view a = arg;
        if (!optionsEnded && (a == "/?" || a == "-h")) {
            if (!mode.empty() && mode != "--help")
                return UsageError(err, "choose one of --batch, --list, --help and --version");
            mode = "--help";  // as Windows tools, and many others, take it
        } else if (optionsEnded || a.substr(0, 2) != "--") {
            positional.push_back(a);
        } else if (a == "--") {
            optionsEnded = true;
        } else if (a.substr(0, 12) == "--separator=") {
            const std::string_view value = a.substr(12);
            std::size_t length;
            const char32_t c = DecodeUtf8(value, length);
            if (length == 0 || length != value.size() || UsableSeparator(value) != c)
                return UsageError(err, "--separator takes one character that is not a digit, space, sign or E");
            separator = c;
        } else if (a == "--explain") {
            explain = true;
        } else if (a == "--batch" || a == "--list" || a == "--help" || a == "--version") {
            if (!mode.empty() && mode != a)
                return UsageError(err, "choose one of --batch, --list, --help and --version");
            mode = a;
        } else {
            return UsageError(err, "unknown option " + arg);
        }
    }

    if (explain && !mode.empty())
        return UsageError(err, "--explain rates the ship given as arguments; it goes with none of " + mode);
    if (mode == "--help") {
        out << UsageText << "\n" << HelpText;
        return Success;
    }
    if (mode == "--version") {
        out << "kvorn-score " KVORN_VERSION "\n";
        return Success;
    }
    if (mode == "--list") {
        out << ShipTable();
        return Success;
    }
    if (mode == "--batch") {
        if (!positional.empty())
            return UsageError(err, "--batch reads its rows from standard input, not from arguments");
        return RateBatch(in, out, err, separator);
    }
    if (positional.size() != 9)
        return UsageError(err, "expected a ship type and 8 figures, got " + std::to_string(positional.size()) +
                                   (positional.size() == 1 ? " argument" : " arguments"));

    ShipRow row;
    std::copy(positional.begin(), positional.end(), row.begin());
    const Rating rating = RateShip(row, separator);
    if (!rating.Score.empty())
        out << (explain ? Explanation(row, rating) : rating.Score + "\n");
    if (rating.Code != Success)
        err << rating.Error << "\n";
    return rating.Code;
}

}  // namespace kvorn::cli
