#pragma once
// One recomputation of the score. Data flow: the eight input texts are
// checked for completeness and the ship selector for the placeholder; then
// each text is converted (the caliber first, then Edit1 to Edit7) and folded
// into one running sum in checked extended precision. Only the final
// quotient is rounded to a double, and that double is what is written.

#include <array>
#include <string>
#include <string_view>

#include "ship_types.h"

namespace kvorn {

inline constexpr std::string_view NotSelectedMessage = "Не вбран тип корабля";

// The eight figures of a ship, each the text of its control.
struct ScoreInputs {
    std::string_view Hull;             // Edit1, "Корпус"
    std::string_view Hold;             // Edit2, "Трюм"
    std::string_view Speed;            // Edit3, "Скорость"
    std::string_view Manoeuvrability;  // Edit4, "Маневренность"
    std::string_view CloseHauled;      // Edit5, "Бейдевинд"
    std::string_view Crew1;            // Edit6, "Команда м/о", first figure
    std::string_view Crew2;            // Edit7, second figure
    std::string_view Caliber;          // ComboBox2, "Вооружение"
};
using ScoreInput = std::string_view ScoreInputs::*;

// Edit1 to Edit7, then ComboBox2.
inline constexpr std::array<ScoreInput, 8> ControlOrder = {
    &ScoreInputs::Hull,        &ScoreInputs::Hold,  &ScoreInputs::Speed, &ScoreInputs::Manoeuvrability,
    &ScoreInputs::CloseHauled, &ScoreInputs::Crew1, &ScoreInputs::Crew2, &ScoreInputs::Caliber};
// Top to bottom on the window, as the command line takes them too.
inline constexpr std::array<ScoreInput, 8> WindowOrder = {
    &ScoreInputs::Hull, &ScoreInputs::Speed, &ScoreInputs::Manoeuvrability, &ScoreInputs::CloseHauled,
    &ScoreInputs::Hold, &ScoreInputs::Crew1, &ScoreInputs::Crew2,           &ScoreInputs::Caliber};

enum class ScoreOutcome { NothingToDo, NotSelected, Score };

// T1 to T9, each term's part of the score: the term divided by 9 and by
// ShipDivisor, in extended precision. T1 hull, T2 hold, T3 speed, T4
// manoeuvrability, T5 close-hauled, T6 and T7 the crew, T8 the type's
// cannons, T9 the caliber. Written out only when asked for (FormatShare).
using ScoreShares = std::array<long double, 9>;
// The terms in the order the window lists their figures, top to bottom, with
// the type's cannons (T8) before the caliber (T9): how a breakdown shows them.
inline constexpr std::size_t CannonsTerm = 7, CaliberTerm = 8;
inline constexpr std::array<std::size_t, 9> SharesInWindowOrder = {0, 2, 3, 4, 1, 5, 6, CannonsTerm, CaliberTerm};

struct ScoreResult {
    ScoreOutcome Outcome = ScoreOutcome::NothingToDo;
    std::string Text;      // the score, or the not-selected message
    ScoreShares Shares{};  // with a score only
};

// Throws RatingError on a conversion or arithmetic failure.
ScoreResult ComputeScore(const ScoreInputs& inputs, std::string_view shipText,
                         const ShipCoefficients& coefficients, char32_t separator);

}  // namespace kvorn
