// The scorer's --batch on arbitrary bytes: any encoding, delimiter, quoting,
// header and decimal mark, the first byte choosing the separator settings.
// Each input line comes back once, its bytes as they came (an earlier score
// cut off), the score in the mark the rows were read with; and a file rated
// without a message comes back unchanged when rated again.

#include <algorithm>
#include <cstdint>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>

#include "invariants.h"
#include "scorer.h"
#include "spreadsheet_row.h"
#include "text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    static constexpr char32_t separators[] = {U',', U'.', U'٫', U'·'};
    const kvorn::cli::BatchSettings settings{separators[data[0] & 3], (data[0] & 4) != 0, false};
    const std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);
    // The exit code, the rows written and whether nothing else was said.
    const auto rate = [&settings](std::string_view rows) {
        std::ostringstream out, err;
        const int code = kvorn::cli::RateBatch(rows, out, err, settings);
        return std::tuple(code, out.str(), err.str().empty());
    };
    const auto [code, rated, quiet] = rate(input);
    if (code != kvorn::cli::Success && code != kvorn::cli::Failed)
        fuzz::Broken("batch exit code", std::to_string(code));
    std::string_view rows = input, written = rated;
    if (rows.substr(0, 3) == "\xEF\xBB\xBF") {
        if (written.substr(0, 3) != rows.substr(0, 3))
            fuzz::Broken("byte-order mark", std::string(written.substr(0, 3)));
        rows.remove_prefix(3);
        written.remove_prefix(3);
    }
    // Where the last field starts, as the rows' delimiter and quotes have it.
    char delimiter = 0;
    const auto lastField = [&](std::string_view row) {
        std::size_t start = 0;
        bool quoted = false;
        for (std::size_t i = 0; i < row.size(); ++i)
            if (row[i] == '"')
                quoted = !quoted;
            else if (!quoted && row[i] == delimiter)
                start = i + 1;
        return start;
    };
    std::string mark;  // every score's
    bool first = true;
    while (!rows.empty()) {
        const std::size_t end = rows.find('\n');
        std::string_view line = rows.substr(0, end);
        rows.remove_prefix(end == std::string_view::npos ? rows.size() : end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        const std::size_t next = written.find('\n');
        if (next == std::string_view::npos)
            fuzz::Broken("row not ended", std::string(line));
        std::string_view out = written.substr(0, next);
        written.remove_prefix(next + 1);
        if (!out.empty() && out.back() == '\r')
            out.remove_suffix(1);
        if (line.empty() || line.front() == '#') {
            if (out != line)
                fuzz::Broken("passed row changed", std::string(line));
            continue;
        }
        if (!delimiter)
            delimiter = kvorn::DetectDelimiter(line);
        // The row as it came, or up to the delimiter before an earlier
        // score; then the delimiter and the score.
        std::size_t scoreAt = line.size() + 1;
        if (out.substr(0, line.size()) != line || out.size() <= line.size() || out[line.size()] != delimiter) {
            scoreAt = lastField(line);
            if (scoreAt == 0 || out.substr(0, scoreAt) != line.substr(0, scoreAt))
                fuzz::Broken("row not written back as it came", std::string(line) + "|" + std::string(out));
        }
        const std::string score = kvorn::SplitRow(out.substr(scoreAt), delimiter).front();
        if (std::exchange(first, false)) {
            // Headings: figure columns with text and no number; a column of
            // digits alone is a ship's, and text without digits or a mark
            // is never a number.
            const std::vector<std::string> fields = kvorn::SplitRow(line, delimiter);
            bool text = false, digits = false, numberless = true;
            for (std::size_t i = 1; i < std::min<std::size_t>(fields.size(), 9); ++i) {
                const std::string& f = fields[i];
                text = text || !f.empty();
                digits = digits || (!f.empty() && f.find_first_not_of("0123456789") == std::string::npos);
                numberless = numberless && f.find_first_of("0123456789,.") == std::string::npos;
            }
            if ((digits && score == "score") || (text && numberless && score != "score"))
                fuzz::Broken("headings rule", std::string(line) + "|" + std::string(out));
            if (score == "score")
                continue;
        }
        if (score.empty())
            continue;
        // A score as the window writes it, but for its decimal mark.
        std::size_t integer = score[0] == '-';
        while (integer < score.size() && score[integer] >= '0' && score[integer] <= '9')
            ++integer;
        const std::size_t exponent = std::min(score.find('E'), score.size());
        if (exponent < integer + 3)
            fuzz::Broken("score text", score);
        const std::string itsMark = score.substr(integer, exponent - 2 - integer);
        fuzz::CheckScoreText(score.substr(0, integer) + "." + score.substr(exponent - 2));
        if (mark.empty())
            mark = itsMark;
        else if (itsMark != mark)
            fuzz::Broken("two decimal marks in one file", mark + " " + itsMark);
        if (settings.SeparatorGiven && itsMark != kvorn::EncodeUtf8(settings.Separator) && itsMark != ".")
            fuzz::Broken("not the decimal mark asked for", itsMark);
    }
    if (!written.empty())
        fuzz::Broken("more rows out than in", std::string(written));
    // A quote left open swallows what follows it, an appended score too.
    bool balanced = true, open = false;
    for (const char c : input) {
        open = c == '"' ? !open : open;
        balanced = balanced && !(c == '\n' && open);
    }
    if (quiet && balanced && !open) {
        const auto [againCode, again, againQuiet] = rate(rated);
        if (again != rated || againCode != code)
            fuzz::Broken("rated twice, rated differently", rated + "|" + again);
    }
    return 0;
}
