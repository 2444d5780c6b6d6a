#pragma once
// The command-line scorer: rates ships given as arguments or as rows of a
// spreadsheet export, on the same rating core as the window.

#include <array>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "score.h"

namespace kvorn::cli {

enum ExitCode { Success = 0, Failed = 1, Usage = 2, NotSelected = 3 };

struct Rating {
    ExitCode Code = Success;
    std::string Score;  // empty when there is nothing to rate or it failed
    std::string Error;  // the failure's message, without any final point
    ScoreShares Shares{};  // each term's share, with a score
    int CannonCount = 0;   // the ship type's, with a score
    bool NotANumber = false;  // the failure is a figure that does not convert
};

// Fields in the window's top-to-bottom order: ship, hull, speed,
// manoeuvrability, close-hauled, hold, crew 1, crew 2, caliber.
using ShipRow = std::array<std::string_view, 9>;

Rating RateShip(const ShipRow& row, char32_t separator);

// The score's breakdown: ten lines "name<TAB>figure<TAB>share", the last
// "score<TAB><TAB>" and the score, for a rated ship.
std::string Explanation(const ShipRow& row, const Rating& rating);

struct BatchSettings {
    char32_t Separator = U'.';    // the regional one, or the one asked for
    bool SeparatorGiven = false;  // asked for: the figures' own mark is not looked for
    bool Console = false;         // rows go out as UTF-8 text, whatever their encoding
};

// Rates each row of `input` (see spreadsheet_row.h), writing it back as it
// came with its delimiter and the score appended, an earlier score replaced.
ExitCode RateBatch(std::string_view input, std::ostream& out, std::ostream& err, const BatchSettings& settings);

// The aligned table of all ship types.
std::string ShipTable();

// The whole program; `regionalSeparator` is what --separator defaults to;
// `console`: standard output shows text to a person, rather than bytes.
int Run(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err,
        char32_t regionalSeparator, bool console = false);

}  // namespace kvorn::cli
