#pragma once
// Rows as spreadsheets write them: UTF-8 (with or without a byte-order
// mark) or, where the bytes are not UTF-8, Windows-1251 as Russian Excel
// saves "CSV"; the fields separated by ';', ',' or a tab, whichever the first
// row uses, a field in double quotes where it holds one of them (a quote
// inside written twice), as RFC 4180 has it. A row of a ship holds its type
// and its eight figures in the window's order, top to bottom, and may hold
// the score after them, from an earlier rating.

#include <string>
#include <string_view>
#include <vector>

namespace kvorn {

enum class RowsEncoding { Utf8, Windows1251 };

// The encoding of a whole input, its byte-order mark (if any) not included.
RowsEncoding DetectEncoding(std::string_view input);

// Windows-1251 text as UTF-8.
std::string Windows1251ToUtf8(std::string_view text);

// The first of ';', ',' and tab that `row` holds outside quotes; ';' when it
// holds none (a row of one field).
char DetectDelimiter(std::string_view row);

// The fields of one row, unquoted.
std::vector<std::string> SplitRow(std::string_view row, char delimiter);

// A ship's type and its eight figures.
inline constexpr std::size_t ShipRowFields = 9;

// Whether `fields`, the first row, are headings rather than a ship: some
// figure column holds text and none a number (with either decimal mark).
bool IsHeaderRow(const std::vector<std::string>& fields);

// Drops the field after the figures, a score an earlier rating wrote (a
// number or nothing); true when there was one.
bool DropScoreColumn(std::vector<std::string>& fields);

// The decimal mark the figures of `rows` (ships' fields, without a header)
// were typed with: the comma where they hold commas and no points, the point
// where they hold points and no commas, and `regional` otherwise.
char32_t DetectDecimalMark(const std::vector<std::vector<std::string>>& rows, char32_t regional);

// The score, written with a point, as the same number with `mark`.
std::string WithDecimalMark(std::string_view score, char32_t mark);

// `field` as a row with `delimiter` holds it: quoted where it holds the
// delimiter, a quote or a line break.
std::string QuoteField(std::string_view field, char delimiter);

}  // namespace kvorn
