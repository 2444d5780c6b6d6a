#include <gtest/gtest.h>

#include "ship_types.h"

using namespace kvorn;

// Every row, every value, in the table's order.
TEST(ShipTypes, SelectionCopiesTheWholeRow)
{
    const struct {
        const char* name;
        ShipCoefficients expected;
    } rows[] = {
        {"Мановар", {0.7, 2.24, 3.557, 3.809, 4.145, 4.18, 102}},
        {"Бэттлшип", {0.7, 2.24, 3.557, 3.809, 4.145, 4.18, 80}},
        {"Линкор", {0.7, 2.24, 3.557, 3.809, 4.145, 4.18, 66}},
        {"Варшип", {0.7, 2.24, 3.557, 3.809, 4.145, 4.18, 56}},
        {"Арабелла", {0.7, 2.24, 3.557, 3.809, 4.145, 4.18, 52}},
        {"Пес войны", {0.7, 0.64, 3.5125, 3.7825, 4.1425, 4.18, 40}},
        {"Фрегат", {0.7, 2.24, 3.557, 3.809, 4.145, 4.18, 46}},
        {"Т Галлеон", {0.7, 2.24, 3.557, 3.809, 4.145, 4.18, 36}},
        {"Корвет", {0.75, 0.64, 3.5125, 3.7825, 4.1425, 4.18, 32}},
        {"Синяя птица", {0.77, 0.36, 3.467, 3.755, 4.14, 4.18, 22}},
        {"Королева", {0.78, 0.36, 3.467, 3.755, 4.14, 4.18, 24}},
        {"Пинас", {0.8, 0.36, 3.467, 3.755, 4.14, 4.18, 18}},
        {"Морской волк", {0.78, 0.36, 3.467, 3.755, 4.14, 4.18, 22}},
        {"Бригантина", {0.79, 0.36, 3.467, 3.755, 4.14, 4.18, 16}},
        {"Галлеон", {0.8, 0.36, 3.467, 3.755, 4.14, 4.18, 20}},
        {"Бриг", {0.8, 0.36, 3.467, 3.755, 4.14, 4.18, 16}},
        {"Флейт", {0.8, 0.36, 3.467, 3.755, 4.14, 4.18, 18}},
        {"Баркентина", {0.8, 0.36, 3.467, 3.755, 4.14, 4.18, 16}},
        {"Каравелла", {0.8, 0.36, 3.467, 3.755, 4.14, 4.18, 30}},
        {"Шхуна", {0.8, 0.36, 3.467, 3.755, 4.14, 4.18, 20}},
        {"Люггер", {0.95, 0.24, 3.334, 3.676, 4.132, 4.0, 12}},
        {"Шлюп", {0.95, 0.24, 3.334, 3.676, 4.132, 4.0, 16}},
        {"Барк", {0.95, 0.24, 3.334, 3.676, 4.132, 4.0, 16}},
        {"Баркас", {1.3, 0.16, 2.95, 3.45, 3.95, 4.0, 8}},
    };
    ASSERT_EQ(std::size(rows), ShipTypeTable.size());
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const auto& row = rows[i];
        EXPECT_EQ(ShipTypeTable[i].Name, row.name) << i;  // the table's order
        ShipCoefficients c;
        EXPECT_TRUE(SelectShipType(row.name, c));
        EXPECT_EQ(c, row.expected) << row.name;
        // Picking the same type again stores the same values.
        EXPECT_TRUE(SelectShipType(row.name, c));
        EXPECT_EQ(c, row.expected) << row.name;
    }
}

TEST(ShipTypes, NearMissesLeaveTheRecordAsItWas)
{
    ShipCoefficients c;
    EXPECT_EQ(c, ShipCoefficients{});
    ASSERT_TRUE(SelectShipType("Фрегат", c));
    const ShipCoefficients frigate = c;
    for (const char* miss : {"фрегат", "ФРЕГАТ", "Фрегат ", " Фрегат", "Тип корабля", "", "Т  Галлеон", "ТГаллеон"}) {
        EXPECT_FALSE(SelectShipType(miss, c)) << miss;
        EXPECT_EQ(c, frigate) << miss;
    }
}
