#include <gtest/gtest.h>

#include <set>
#include <string>

#include "ship_types.h"

using namespace kvorn;

TEST(ShipTypes, SelectionCopiesTheWholeRow)
{
    const struct {
        const char* name;
        ShipCoefficients expected;
    } rows[] = {
        {"Корвет", {0.75, 0.64, 3.5125, 3.7825, 4.1425, 4.18, 32}},
        {"Баркас", {1.3, 0.16, 2.95, 3.45, 3.95, 4.0, 8}},
        {"Мановар", {0.7, 2.24, 3.557, 3.809, 4.145, 4.18, 102}},
        {"Пес войны", {0.7, 0.64, 3.5125, 3.7825, 4.1425, 4.18, 40}},
        {"Т Галлеон", {0.7, 2.24, 3.557, 3.809, 4.145, 4.18, 36}},
        {"Синяя птица", {0.77, 0.36, 3.467, 3.755, 4.14, 4.18, 22}},
        {"Бригантина", {0.79, 0.36, 3.467, 3.755, 4.14, 4.18, 16}},
        {"Каравелла", {0.8, 0.36, 3.467, 3.755, 4.14, 4.18, 30}},
        {"Люггер", {0.95, 0.24, 3.334, 3.676, 4.132, 4.0, 12}},
        {"Шлюп", {0.95, 0.24, 3.334, 3.676, 4.132, 4.0, 16}},
    };
    for (const auto& row : rows) {
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

TEST(ShipTypes, TableHoldsTwentyFourDistinctNamesInOrder)
{
    std::set<std::string_view> names;
    for (const ShipType& row : ShipTypeTable)
        names.insert(row.Name);
    EXPECT_EQ(names.size(), 24u);
    EXPECT_EQ(ShipTypeTable.front().Name, "Мановар");
    EXPECT_EQ(ShipTypeTable[7].Name, "\xD0\xA2 \xD0\x93\xD0\xB0\xD0\xBB\xD0\xBB\xD0\xB5\xD0\xBE\xD0\xBD");  // "Т Галлеон"
    EXPECT_EQ(ShipTypeTable.back().Name, "Баркас");
    EXPECT_EQ(names.count(PlaceholderText), 0u);
    for (std::size_t i = 0; i < 20; ++i)
        EXPECT_EQ(ShipTypeTable[i].Coefficients.Caliber32, 4.18) << i;
    for (std::size_t i = 20; i < 24; ++i)
        EXPECT_EQ(ShipTypeTable[i].Coefficients.Caliber32, 4.0) << i;
}
