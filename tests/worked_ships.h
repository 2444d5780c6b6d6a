#pragma once
// The five worked ships, written once for every layer's tests: the ship
// type, the seven figures as a user types them (with the comma), the
// caliber and what the result label shows.

#include <array>
#include <string_view>

namespace kvorn::test {

struct WorkedShip {
    std::string_view Type;
    // Edit1 to Edit7: hull, hold, speed, manoeuvrability, close-hauled, the two crew figures.
    std::array<std::string_view, 7> Figures;
    std::string_view Caliber;
    std::string_view Label;
};

inline constexpr std::array<WorkedShip, 5> WorkedShips = {{
    {"Фрегат", {"3000", "2000", "14,5", "35", "0,5", "100", "400"}, "24", "122.05"},
    {"Корвет", {"2500", "1200", "15,7", "41,5", "0,45", "120", "180"}, "16", "94.23"},
    {"Шлюп", {"900", "600", "16,2", "60", "0,6", "40", "90"}, "32", "70.84"},
    {"Шлюп", {"900", "600", "16,2", "60", "0,6", "40", "90"}, "12", "65.00"},
    {"Баркас", {"0", "0", "0", "0", "0", "187", "0"}, "42", "29.58"},
}};

// The first worked ship, which other tests start from.
inline constexpr const WorkedShip& Frigate = WorkedShips[0];

}  // namespace kvorn::test
