#include "ship_row.h"

#include <vector>

#include "spreadsheet_row.h"

namespace kvorn {

ScoreInputs FiguresOf(const RowTexts& row)
{
    return {row[1], row[5], row[2], row[3], row[4], row[6], row[7], row[8]};
}

std::string WriteShipRow(const RowTexts& fields, std::string_view score, char32_t separator)
{
    std::string row;
    for (const std::string& field : fields)
        row += field + '\t';
    return row + WithDecimalMark(score, separator);
}

ReadShipRow ReadShipRowFrom(std::string_view text)
{
    constexpr std::string_view bom = "\xEF\xBB\xBF";
    if (text.starts_with(bom))
        text.remove_prefix(bom.size());
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find_first_of("\r\n");
        const std::string_view line = text.substr(0, end);
        if (line.find_first_not_of(" \t;,") != std::string_view::npos)  // a row of empty cells is no row
            lines.push_back(line);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    ReadShipRow read;
    if (lines.empty()) {
        read.Error = "В буфере обмена нет строки с кораблём.";
        return read;
    }
    const auto split = [](std::string_view line) { return SplitRow(line, DetectDelimiter(line)); };
    std::vector<std::string> fields = split(lines.front());
    if (IsHeaderRow(fields)) {
        lines.erase(lines.begin());
        if (lines.empty()) {
            read.Error = "В буфере обмена только заголовки столбцов, строки с кораблём нет.";
            return read;
        }
        fields = split(lines.front());
    }
    if (lines.size() > 1) {
        read.Error = "В буфере обмена больше одной строки с кораблём (" + std::to_string(lines.size()) +
                     "): скопируйте одну.";
        return read;
    }
    DropScoreColumn(fields);
    if (fields.size() != RowFields.size()) {
        read.Error = "Полей в строке: " + std::to_string(fields.size()) +
                     ", а нужно 9: тип корабля и восемь чисел (десятое поле, результат, может быть).";
        return read;
    }
    for (std::size_t i = 0; i < RowFields.size(); ++i)
        read.Fields[i] = std::move(fields[i]);
    return read;
}

}  // namespace kvorn
