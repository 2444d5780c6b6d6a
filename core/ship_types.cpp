#include "ship_types.h"

namespace kvorn {

namespace {
// Three families share their cannon and caliber weights; spelling the groups
// out once keeps the table readable and stops a typo in one row.
constexpr ShipCoefficients Heavy(double divisor, std::int32_t cannons)
{
    return {divisor, 2.24, 3.557, 3.809, 4.145, 4.18, cannons};
}
constexpr ShipCoefficients Medium(double divisor, std::int32_t cannons)
{
    return {divisor, 0.64, 3.5125, 3.7825, 4.1425, 4.18, cannons};
}
constexpr ShipCoefficients Light(double divisor, std::int32_t cannons)
{
    return {divisor, 0.36, 3.467, 3.755, 4.14, 4.18, cannons};
}
constexpr ShipCoefficients Small(double divisor, std::int32_t cannons)
{
    return {divisor, 0.24, 3.334, 3.676, 4.132, 4.0, cannons};
}
}  // namespace

const std::array<ShipType, ShipTypeCount> ShipTypeTable = {{
    {"Мановар", Heavy(0.7, 102)},
    {"Бэттлшип", Heavy(0.7, 80)},
    {"Линкор", Heavy(0.7, 66)},
    {"Варшип", Heavy(0.7, 56)},
    {"Арабелла", Heavy(0.7, 52)},
    {"Пес войны", Medium(0.7, 40)},
    {"Фрегат", Heavy(0.7, 46)},
    {"Т Галлеон", Heavy(0.7, 36)},
    {"Корвет", Medium(0.75, 32)},
    {"Синяя птица", Light(0.77, 22)},
    {"Королева", Light(0.78, 24)},
    {"Пинас", Light(0.8, 18)},
    {"Морской волк", Light(0.78, 22)},
    {"Бригантина", Light(0.79, 16)},
    {"Галлеон", Light(0.8, 20)},
    {"Бриг", Light(0.8, 16)},
    {"Флейт", Light(0.8, 18)},
    {"Баркентина", Light(0.8, 16)},
    {"Каравелла", Light(0.8, 30)},
    {"Шхуна", Light(0.8, 20)},
    {"Люггер", Small(0.95, 12)},
    {"Шлюп", Small(0.95, 16)},
    {"Барк", Small(0.95, 16)},
    {"Баркас", {1.3, 0.16, 2.95, 3.45, 3.95, 4.0, 8}},
}};

const ShipType* FindShipType(std::string_view name)
{
    for (const ShipType& row : ShipTypeTable)
        if (row.Name == name)
            return &row;
    return nullptr;
}

bool SelectShipType(std::string_view name, ShipCoefficients& coefficients)
{
    const ShipType* row = FindShipType(name);
    if (row)
        coefficients = row->Coefficients;
    return row != nullptr;
}

}  // namespace kvorn
