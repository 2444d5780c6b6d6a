#pragma once
// The 24 ship types and their reference coefficients.

#include <array>
#include <cstdint>
#include <string_view>

namespace kvorn {

struct ShipCoefficients {
    double ShipDivisor = 0;
    double CannonFactor = 0;
    double Caliber12 = 0;
    double Caliber16 = 0;
    double Caliber24 = 0;
    double Caliber32 = 0;
    std::int32_t CannonCount = 0;

    friend bool operator==(const ShipCoefficients&, const ShipCoefficients&) = default;
};

struct ShipType {
    std::string_view Name;  // UTF-8, exactly as the selector lists it
    ShipCoefficients Coefficients;
};

inline constexpr std::size_t ShipTypeCount = 24;
extern const std::array<ShipType, ShipTypeCount> ShipTypeTable;

// The selector's initial text; deliberately not one of the ship types.
inline constexpr std::string_view PlaceholderText = "Тип корабля";

// Overwrites `coefficients` with the row whose name equals `name` exactly
// (byte for byte, no trimming, case-sensitive); leaves it untouched when no
// row matches. Returns whether a row matched.
bool SelectShipType(std::string_view name, ShipCoefficients& coefficients);

// The row named `name`, or nullptr.
const ShipType* FindShipType(std::string_view name);

}  // namespace kvorn
