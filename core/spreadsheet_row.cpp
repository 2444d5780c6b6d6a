#include "spreadsheet_row.h"

#include <algorithm>

#include "number_conversion.h"
#include "rating_error.h"
#include "text.h"

namespace kvorn {

RowsEncoding DetectEncoding(std::string_view input)
{
    for (std::size_t at = 0; at < input.size();) {
        std::size_t length = 0;
        const char32_t c = DecodeUtf8(input.substr(at), length);
        // A malformed byte decodes as U+FFFD; a real U+FFFD takes three.
        if (c == U'\uFFFD' && input.substr(at, 3) != "\xEF\xBF\xBD")
            return RowsEncoding::Windows1251;
        at += length;
    }
    return RowsEncoding::Utf8;
}

std::string Windows1251ToUtf8(std::string_view text)
{
    // 0x80 to 0xBF; from 0xC0 on, А to я in order.
    static constexpr char16_t high[64] = {
        0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
        0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0xFFFD, 0x2122,
        0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
        0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
        0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457};
    std::string utf8;
    utf8.reserve(text.size() * 2);
    for (const char byte : text) {
        const auto b = static_cast<unsigned char>(byte);
        if (b < 0x80)
            utf8 += byte;
        else if (b < 0xC0)
            utf8 += EncodeUtf8(high[b - 0x80]);
        else
            utf8 += EncodeUtf8(char32_t(0x0410 + (b - 0xC0)));
    }
    return utf8;
}

char DetectDelimiter(std::string_view row)
{
    bool quoted = false;
    for (const char c : row) {
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && (c == ';' || c == ',' || c == '\t'))
            return c;
    }
    return ';';
}

std::vector<std::string> SplitRow(std::string_view row, char delimiter)
{
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (std::size_t i = 0; i < row.size(); ++i) {
        const char c = row[i];
        if (quoted) {
            if (c != '"')
                fields.back() += c;
            else if (i + 1 < row.size() && row[i + 1] == '"')
                fields.back() += row[++i];  // a quote written twice
            else
                quoted = false;
        } else if (c == '"') {
            quoted = true;
        } else if (c == delimiter) {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

namespace {

bool IsNumber(std::string_view field)
{
    for (const char32_t mark : {U',', U'.'}) {
        try {
            ConvertNumber(field, mark);
            return true;
        } catch (const RatingError& error) {
            if (error.kind() != ErrorKind::Conversion)
                return true;  // a number, only too large
        }
    }
    return false;
}

// A score an earlier rating wrote, in any decimal mark it may have had: a
// regional one beyond ASCII ("119٫34") is read as the point.
bool IsWrittenScore(std::string_view field)
{
    std::string withPoint;
    std::size_t mark = std::string::npos;
    for (std::size_t i = 0; i < field.size(); ++i) {
        const bool beyondAscii = static_cast<unsigned char>(field[i]) >= 0x80;
        if (beyondAscii && (i == 0 || static_cast<unsigned char>(field[i - 1]) < 0x80)) {
            if (mark != std::string::npos)
                return false;  // a second one: text, not a mark
            mark = withPoint.size();
            withPoint += '.';
        } else if (!beyondAscii) {
            withPoint += field[i];
        }
    }
    const auto digit = [&](std::size_t at) { return at < withPoint.size() && withPoint[at] >= '0' && withPoint[at] <= '9'; };
    if (mark != std::string::npos && !(mark > 0 && digit(mark - 1) && digit(mark + 1)))
        return false;  // a mark stands between digits
    return IsNumber(withPoint);
}

}  // namespace

bool IsHeaderRow(const std::vector<std::string>& fields)
{
    if (fields.size() < 2)
        return false;
    const auto figures = fields.begin() + 1, end = fields.begin() + std::min(fields.size(), ShipRowFields);
    return std::any_of(figures, end, [](const std::string& f) { return !f.empty(); }) &&
           std::none_of(figures, end, [](const std::string& f) { return IsNumber(f); });
}

bool DropScoreColumn(std::vector<std::string>& fields)
{
    if (fields.size() != ShipRowFields + 1 || !(fields.back().empty() || IsWrittenScore(fields.back())))
        return false;
    fields.pop_back();
    return true;
}

char32_t DetectDecimalMark(const std::vector<std::vector<std::string>>& rows, char32_t regional)
{
    bool comma = false, point = false;
    for (const auto& fields : rows)
        for (std::size_t i = 1; i < std::min(fields.size(), ShipRowFields); ++i) {
            comma = comma || fields[i].find(',') != std::string::npos;
            point = point || fields[i].find('.') != std::string::npos;
        }
    if (comma != point)
        return comma ? U',' : U'.';
    return regional;
}

std::string WithDecimalMark(std::string_view score, char32_t mark)
{
    std::string written;
    for (const char c : score)
        written += c == '.' ? EncodeUtf8(mark) : std::string(1, c);
    return written;
}

std::string QuoteField(std::string_view field, char delimiter)
{
    if (field.find_first_of(std::string{delimiter, '"', '\r', '\n'}) == std::string_view::npos)
        return std::string(field);
    std::string quoted = "\"";
    for (const char c : field)
        quoted += c == '"' ? "\"\"" : std::string(1, c);
    return quoted + '"';
}

}  // namespace kvorn
