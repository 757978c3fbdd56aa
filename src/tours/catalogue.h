// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "board/squares.h"
#include "tours/stored_tours.h"

#include <QString>
#include <QStringList>

#include <array>

namespace knight {

// The step at which a tour visits square n.
constexpr int tourStep(const TourGrid &grid, int n)
{
    return grid[std::size_t(boardSide - 1 - squareRow(n))][std::size_t(squareColumn(n))];
}

// The stored tour of a kind as list items: item n is the step number of square n as text.
QStringList storedTourItems(int kind);

// The squares of a kind's tour in step order, as chess names: "a1", "b3", ...
QStringList tourInStepOrder(int kind);

} // namespace knight
