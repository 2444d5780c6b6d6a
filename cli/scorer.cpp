#include "scorer.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <istream>
#include <iterator>
#include <optional>
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
    "       kvorn-score [--separator=C] --batch [ROWS.csv] [--output=RATED.csv]\n"
    "       kvorn-score [--separator=C] ROWS.csv\n"
    "       kvorn-score --list | --help | -h | /? | --version\n";

constexpr std::string_view HelpText =
    "Rates a sailing ship the way Kvorn calculator does and prints the score.\n"
    "\n"
    "Arguments are read in the window's order, top to bottom: the ship type\n"
    "(one of the names --list shows), hull, speed, manoeuvrability, close-hauled,\n"
    "hold, the two crew figures and the heaviest cannon caliber (12, 16, 24, 32, 42).\n"
    "\n"
    "  --separator=C  decimal separator of the figures (default: the regional one;\n"
    "                 with --batch, the one the file's figures use)\n"
    "  --explain      print each figure's share of the score, one tab-separated line\n"
    "                 each (name, figure, share), then the score; the shares are\n"
    "                 rounded, so their sum may differ from the score in the last\n"
    "                 decimal\n"
    "  --batch        rate rows of a ship type and eight figures from a file or\n"
    "                 standard input, separated by ';', ',' or tabs as the first\n"
    "                 row has them, in UTF-8 or Windows-1251; each row is written\n"
    "                 back as it came with its score appended, in the decimal mark\n"
    "                 of its figures (a score there before is replaced); a first\n"
    "                 row of headings is given the heading \"score\"\n"
    "  --output=FILE  write the rated rows to FILE, not to standard output\n"
    "  ROWS.csv       alone (a file dropped on the program) is rated into a new\n"
    "                 file beside it, ROWS.rated.csv; the file itself is left as it is\n"
    "  --list         show the ship types and their reference values: the divisor,\n"
    "                 the cannon factor, the factors of calibers 12 to 32 and the\n"
    "                 number of cannons\n"
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
        return {Failed, {}, error.message(), {}, 0, error.kind() == ErrorKind::Conversion};
    }
}

namespace {

// The names of a ship row's fields, as --explain and a header have them.
constexpr std::array<std::string_view, ShipRowFields> FieldNames = {
    "ship type", "hull", "speed", "manoeuvrability", "close_hauled", "hold", "crew1", "crew2", "caliber"};

}  // namespace

std::string Explanation(const ShipRow& row, const Rating& rating)
{
    // In the window's order, top to bottom, which is the row's; the type's
    // cannons, which no field holds, come before the caliber.
    std::string text;
    std::size_t field = 1;
    for (const std::size_t term : SharesInWindowOrder) {
        const bool cannons = term == CannonsTerm;
        const std::string figure = cannons ? std::to_string(rating.CannonCount) : std::string(row[field]);
        text += std::string(cannons ? "cannons" : FieldNames[field++]) + '\t' + figure + '\t' +
                FormatShare(rating.Shares[term]) + '\n';
    }
    return text + "score\t\t" + rating.Score + '\n';
}

namespace {

struct BatchRow {
    std::string_view Text;  // as it came, without its line end or an earlier score
    std::string_view Ending;
    bool Header = false;
    bool Ship = false;  // not a comment or a blank line
    std::vector<std::string> Fields;  // in UTF-8, without an earlier score
};

// Where the last field of `row` starts; its delimiter is the byte before.
std::size_t LastFieldStart(std::string_view row, char delimiter)
{
    std::size_t start = 0;
    bool quoted = false;
    for (std::size_t i = 0; i < row.size(); ++i) {
        if (row[i] == '"')
            quoted = !quoted;
        else if (!quoted && row[i] == delimiter)
            start = i + 1;
    }
    return start;
}

std::string ShownMark(char32_t mark) { return "'" + EncodeUtf8(mark) + "'"; }

}  // namespace

ExitCode RateBatch(std::string_view input, std::ostream& out, std::ostream& err, const BatchSettings& settings)
{
    constexpr std::string_view bom = "\xEF\xBB\xBF";
    std::string_view rest = input;
    const bool marked = rest.substr(0, bom.size()) == bom;
    if (marked) {
        if (!settings.Console)
            out << bom;
        rest.remove_prefix(bom.size());
    }
    // Rows go back byte for byte as they came, in their own encoding (to a
    // console, as text); they are read, and the messages written, in UTF-8.
    const bool windows1251 = !marked && DetectEncoding(rest) == RowsEncoding::Windows1251;
    std::vector<BatchRow> rows;
    std::vector<std::vector<std::string>> ships;
    char delimiter = 0;  // from the first row
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        BatchRow row;
        row.Text = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        const bool crlf = !row.Text.empty() && row.Text.back() == '\r';
        if (crlf)
            row.Text.remove_suffix(1);
        row.Ending = crlf ? "\r\n" : "\n";
        row.Ship = !row.Text.empty() && row.Text.front() != '#';
        if (row.Ship) {
            const std::string text = windows1251 ? Windows1251ToUtf8(row.Text) : std::string(row.Text);
            const bool first = !delimiter;
            if (first)
                delimiter = DetectDelimiter(text);
            row.Fields = SplitRow(text, delimiter);
            row.Header = first && IsHeaderRow(row.Fields);
            // An earlier rating's score, or its heading, is written anew.
            const bool oldHeading =
                row.Header && (row.Fields.size() == ShipRowFields + 1 || row.Fields.back() == "score");
            if (oldHeading || (!row.Header && DropScoreColumn(row.Fields)))
                row.Text = row.Text.substr(0, LastFieldStart(row.Text, delimiter) - 1);
            if (!row.Header)
                ships.push_back(row.Fields);
        }
        rows.push_back(std::move(row));
    }
    const char32_t mark = settings.SeparatorGiven ? settings.Separator : DetectDecimalMark(ships, settings.Separator);
    // A Windows-1251 file holds only the marks it can encode.
    const char32_t written = windows1251 && !settings.Console && mark >= 0x80 ? U'.' : mark;

    ExitCode result = Success;
    long number = 0;
    for (const BatchRow& row : rows) {
        ++number;
        out << (windows1251 && settings.Console ? Windows1251ToUtf8(row.Text) : std::string(row.Text));
        if (!row.Ship) {
            out << row.Ending;
            continue;
        }
        if (row.Header) {
            out << delimiter << "score" << row.Ending;
            continue;
        }
        Rating rating;
        if (row.Fields.size() != ShipRowFields) {
            const std::string shown = delimiter == '\t' ? "tabs" : std::string("'") + delimiter + "'";
            rating = {Failed, {}, "expected a ship type and 8 figures separated by " + shown + ", found " +
                                      std::to_string(row.Fields.size()) +
                                      (row.Fields.size() == 1 ? " field" : " fields")};
        } else {
            ShipRow ship;
            std::copy(row.Fields.begin(), row.Fields.end(), ship.begin());
            rating = RateShip(ship, mark);
            const auto empty = std::find(ship.begin(), ship.end(), std::string_view());
            if (empty != ship.end())
                err << "line " << number << ": the " << FieldNames[std::size_t(empty - ship.begin())]
                    << " is empty; nothing to rate\n";
        }
        out << delimiter << QuoteField(WithDecimalMark(rating.Score, written), delimiter) << row.Ending;
        if (rating.Code != Success) {
            err << "line " << number << ": " << rating.Error;
            if (rating.NotANumber && !settings.SeparatorGiven)
                err << " (read with the decimal mark " << ShownMark(mark) << "; --separator=C sets another)";
            err << "\n";
            result = Failed;
        }
    }
    return result;
}

std::string ShipTable()
{
    // Short headings, so that the table fits an 80-column console.
    static const char* const headings[] = {"#",     "Ship",  "Divisor", "Factor", "Cal12",
                                           "Cal16", "Cal24", "Cal32",   "Cannons"};
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

namespace {

std::filesystem::path PathOf(std::string_view utf8)
{
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8Of(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

bool ReadFile(const std::filesystem::path& path, std::string& contents)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    contents = bytes.str();
    return file.good() || file.eof();
}

// A file dropped on the program is rated into a new one beside it.
std::filesystem::path RatedPathBeside(const std::filesystem::path& input)
{
    std::filesystem::path rated = input;
    rated.replace_filename(input.stem().u8string() + u8".rated" + input.extension().u8string());
    return rated;
}

}  // namespace

int Run(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err,
        char32_t regionalSeparator, bool console)
{
    BatchSettings batch{regionalSeparator, false, console};
    std::string mode;  // --batch, --list, --help or --version
    bool explain = false;
    std::optional<std::string> output;
    std::vector<std::string_view> positional;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
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
            batch.Separator = c;
            batch.SeparatorGiven = true;
        } else if (a == "--output" || a.substr(0, 9) == "--output=") {
            if (a == "--output" && i + 1 == args.size())
                return UsageError(err, "--output takes the file to write");
            output = a == "--output" ? args[++i] : std::string(a.substr(9));
            if (output->empty())
                return UsageError(err, "--output takes the file to write");
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

    // A lone argument naming a file, as a file dropped on the program is.
    std::error_code error;
    const bool dropped = mode.empty() && !explain && positional.size() == 1 &&
                         std::filesystem::is_regular_file(PathOf(positional[0]), error);
    if (dropped)
        mode = "--batch";
    if (explain && !mode.empty())
        return UsageError(err, "--explain rates the ship given as arguments; it goes with none of " + mode);
    if (output && mode != "--batch")
        return UsageError(err, "--output goes with --batch");
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
        if (positional.size() > 1)
            return UsageError(err, "--batch reads one file, or standard input");
        std::string input;
        std::filesystem::path inputPath;
        if (positional.empty()) {
            input.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        } else {
            inputPath = PathOf(positional[0]);
            if (!ReadFile(inputPath, input)) {
                err << "kvorn-score: cannot read '" << positional[0] << "'\n";
                return Failed;
            }
        }
        if (dropped && !output)
            output = Utf8Of(RatedPathBeside(inputPath));
        if (!output)
            return RateBatch(input, out, err, batch);
        const std::filesystem::path outputPath = PathOf(*output);
        if (!inputPath.empty() && std::filesystem::equivalent(inputPath, outputPath, error))
            return UsageError(err, "--output names the file being rated; it is never written over");
        std::ostringstream rated;
        const ExitCode code = RateBatch(input, rated, err, BatchSettings{batch.Separator, batch.SeparatorGiven, false});
        std::ofstream file(outputPath, std::ios::binary | std::ios::trunc);
        file << rated.str();
        file.close();
        if (!file) {
            err << "kvorn-score: cannot write '" << *output << "'\n";
            return Failed;
        }
        if (dropped)
            out << "kvorn-score: rated rows written to " << *output << "\n";
        return code;
    }
    if (positional.size() != 9)
        return UsageError(err, "expected a ship type and 8 figures, got " + std::to_string(positional.size()) +
                                   (positional.size() == 1 ? " argument" : " arguments"));

    ShipRow row;
    std::copy(positional.begin(), positional.end(), row.begin());
    const Rating rating = RateShip(row, batch.Separator);
    if (!rating.Score.empty())
        out << (explain ? Explanation(row, rating) : rating.Score + "\n");
    if (rating.Code != Success)
        err << rating.Error << "\n";
    return rating.Code;
}

}  // namespace kvorn::cli
