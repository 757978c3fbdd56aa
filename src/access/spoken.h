// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tours/knight_form.h"

#include <QString>

namespace knight {

// What a square means at the moment, beyond its number.
enum class SquareCondition { Plain, PossibleMove, Knight, Galloped };

SquareCondition squareCondition(const KnightForm &form, int n);

// The square's name for assistive technology: "Поле d4", "Поле d4, ход 5",
// "Поле f5, възможен ход", "Поле d4, ход 5, тук е конят".
QString spokenSquareName(int n, const QString &caption, SquareCondition condition);

// Whether the walk has a next move: some square is green while no gallop runs.
bool hasPossibleMove(const KnightForm &form);

// What a screen reader says after the walk changed from historyBefore moves to the present
// one: the move, a dead end, a full tour, or a take-back; empty when the walk did not change.
QString walkAnnouncement(const KnightForm &form, qsizetype historyBefore);

} // namespace knight
