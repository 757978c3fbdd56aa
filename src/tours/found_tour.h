// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "board/squares.h"

#include <QStringList>

namespace knight {

// An open tour of a board as list items, as the stored tours are: item n is the step at which
// the tour visits square n, as text, and empty off the board. It starts on first when a tour
// can start there, else on the first square from a1 onwards that one can start on; empty
// when no square has one.
QStringList foundTourItems(BoardShape shape, int first);

} // namespace knight
