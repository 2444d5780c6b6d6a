#pragma once
// Rows as spreadsheets write them: UTF-8 (with or without a byte-order
// mark) or, where the bytes are not UTF-8, Windows-1251 as Russian Excel
// saves "CSV"; the fields separated by ';', ',' or a tab, whichever the first
// row uses, a field in double quotes where it holds one of them (a quote
// inside written twice), as RFC 4180 has it.

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

}  // namespace kvorn
