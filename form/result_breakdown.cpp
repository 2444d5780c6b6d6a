#include "result_breakdown.h"

#include "form_description.h"
#include "score_format.h"

namespace kvorn {

std::string DescribeResult(const ShownResult& shown, const ShownResult* previous)
{
    // Each field's term by its field's spoken name: T1 to T7 are Edit1 to
    // Edit7's; the type's cannons have no field.
    std::string text;
    for (const std::size_t term : SharesInWindowOrder) {
        if (term == CannonsTerm)
            text += "Пушки (" + std::to_string(shown.CannonCount) + ")";
        else if (term == CaliberTerm)
            text += std::string(Describe(Control::ComboBox2).AccessibleName) + " (" + shown.Caliber + ")";
        else
            text += Describe(Control(int(Control::Edit1) + int(term))).AccessibleName;
        text += ": " + FormatShare(shown.Shares[term]) + "\n";
    }
    text += shown.Ship + ": " + shown.Score + "\n";
    text += "Доли округлены: их сумма может\nотличаться в последнем знаке.";
    if (previous)
        text += "\nПредыдущий: " + previous->Ship + " " + previous->Score;
    return text;
}

}  // namespace kvorn
