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
};

// Fields in the window's top-to-bottom order: ship, hull, speed,
// manoeuvrability, close-hauled, hold, crew 1, crew 2, caliber.
using ShipRow = std::array<std::string_view, 9>;

Rating RateShip(const ShipRow& row, char32_t separator);

// The score's breakdown: ten lines "name<TAB>figure<TAB>share", the last
// "score<TAB><TAB>" and the score, for a rated ship.
std::string Explanation(const ShipRow& row, const Rating& rating);

// Rates each row of `in` (see spreadsheet_row.h), writing it back as it
// came with its delimiter and the score appended.
ExitCode RateBatch(std::istream& in, std::ostream& out, std::ostream& err, char32_t separator);

// The aligned table of all ship types.
std::string ShipTable();

// The whole program; `regionalSeparator` is what --separator defaults to.
int Run(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err,
        char32_t regionalSeparator);

}  // namespace kvorn::cli
