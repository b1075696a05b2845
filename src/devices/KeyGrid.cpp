#include "devices/KeyGrid.h"

#include <array>

namespace devices {

namespace {

using Column = std::array<std::uint8_t, kGridRows>;

constexpr std::array<Column, kGridColumns> kGrid = {{
    {170, 120, 121, 122, 123, 124}, {170, 0, 42, 63, 84, 105},    {101, 22, 43, 64, 102, 106},
    {1, 23, 44, 65, 85, 20},        {2, 24, 45, 66, 86, 107},     {3, 25, 46, 67, 87, 126},
    {4, 26, 47, 68, 88, 127},       {18, 27, 48, 69, 89, 108},    {5, 28, 49, 70, 90, 128},
    {6, 29, 50, 71, 91, 129},       {7, 30, 51, 72, 92, 109},     {8, 31, 52, 73, 93, 125},
    {9, 32, 53, 74, 94, 110},       {10, 33, 54, 62, 95, 112},    {11, 34, 55, 75, 96, 113},
    {12, 21, 56, 37, 58, 114},      {13, 35, 103, 82, 19, 115},   {14, 36, 57, 83, 100, 111},
    {15, 79, 80, 17, 81, 130},      {170, 38, 59, 76, 97, 116},   {170, 39, 60, 77, 98, 104},
    {170, 40, 61, 78, 99, 117},     {170, 41, 16, 119, 118, 131},
}};

using Ring = std::array<std::uint8_t, kRingSlots>;
constexpr std::uint8_t X = kNoGridKey;

constexpr std::array<Ring, kRingCount> kRings = {{
    {70, X, X, X, X, X, X, X, X, X, X, X},
    {69, 49, 50, 71, 91, 90, X, X, X, X, X, X},
    {28, 48, 68, 89, 108, 92, 72, 51, 30, 29, X, X},
    {27, 47, 67, 88, 109, 93, 73, 52, 31, 29, X, X},
    {26, 46, 66, 87, 110, 94, 74, 53, 32, X, X, X},
    {25, 45, 65, 86, 112, 95, 95, 33, 54, X, X, X},
    {24, 44, 64, 85, 107, 113, 75, X, X, X, X, X},
    {23, 43, 106, 114, 96, 55, 34, X, X, X, X, X},
    {22, 42, 63, 84, 115, 58, 37, 56, 21, X, X, X},
    {0, X, X, X, X, X, 105, X, X, X, X, X},
    {},
    {},
}};

} // namespace

std::uint8_t GridKey(std::size_t column, std::size_t row) {
    if (column >= kGridColumns || row >= kGridRows)
        return kNoGridKey;
    return kGrid[column][row];
}

std::uint8_t RingKey(std::size_t ring, std::size_t slot) {
    if (ring >= kRingCount || slot >= kRingSlots)
        return kNoGridKey;
    return kRings[ring][slot];
}

} // namespace devices
