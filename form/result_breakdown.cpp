#include "result_breakdown.h"

#include "form_description.h"
#include "score_format.h"

namespace kvorn {

std::string DescribeResult(const ShownResult& shown, const ShownResult* previous)
{
    // Top to bottom as the window shows them, each with its term (T1 to T9);
    // the two crew figures and the caliber by their fields' spoken names.
    static const struct {
        Control field;  // Image1: the type's cannons, which no field holds
        std::size_t term;
    } rows[] = {
        {Control::Edit1, 0}, {Control::Edit3, 2}, {Control::Edit4, 3},  {Control::Edit5, 4},     {Control::Edit2, 1},
        {Control::Edit6, 5}, {Control::Edit7, 6}, {Control::Image1, 7}, {Control::ComboBox2, 8},
    };
    std::string text;
    for (const auto& row : rows) {
        if (row.field == Control::Image1)
            text += "Пушки (" + std::to_string(shown.CannonCount) + ")";
        else if (row.field == Control::ComboBox2)
            text += std::string(Describe(row.field).AccessibleName) + " (" + shown.Caliber + ")";
        else
            text += Describe(row.field).AccessibleName;
        text += ": " + FormatShare(shown.Shares[row.term]) + "\n";
    }
    text += shown.Ship + ": " + shown.Score + "\n";
    text += "Доли округлены: их сумма может\nотличаться в последнем знаке.";
    if (previous)
        text += "\nПредыдущий: " + previous->Ship + " " + previous->Score;
    return text;
}

}  // namespace kvorn
