// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace knight {

// A colour as red, green and blue; squares are told apart by exact equality.
struct Color {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    friend constexpr bool operator==(Color, Color) = default;
};

inline constexpr Color lightColor{250, 250, 250};
inline constexpr Color darkColor{101, 54, 0};
inline constexpr Color visitedColor{0, 255, 255};
inline constexpr Color reachableColor{0, 200, 0};

} // namespace knight
