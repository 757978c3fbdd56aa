// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>

namespace knight {

struct KnightMove {
    int rowChange;
    int columnChange;
};

// The eight moves in the order they are tried.
inline constexpr std::array<KnightMove, 8> knightMoves{{
    {-1, -2}, {-1, +2}, {-2, -1}, {-2, +1}, {+1, -2}, {+1, +2}, {+2, -1}, {+2, +1},
}};

} // namespace knight
