// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "notation/walk_notation.h"

#include <QString>

#include <optional>

namespace knight {

// Writes a line on standard error with its control characters escaped.
void printError(const QString &line);

// Writes "knight-tour: problem" as one line on standard error and gives the status for bad
// input.
int refuseInput(const QString &problem);

// The walk in a file, or on standard input for "-"; when it cannot be read or is no walk,
// the one line that says so is written and nothing is returned.
std::optional<SquareList> readWalkSource(const QString &source);

} // namespace knight
