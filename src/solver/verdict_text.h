// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "solver/tour_solver.h"

#include <QString>

namespace knight {

// "a1", "e5": the file's letter and the rank's number on the solver's board.
QString solverSquareName(const TourSolver &solver, int n);

// The verdict in words a pupil understands: yes, or no with its reason naming squares, or
// that the time ran out.
QString verdictText(const TourSolver &solver, const TourSolver::Verdict &verdict);

} // namespace knight
