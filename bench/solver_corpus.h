// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "solver/tour_solver.h"

#include <string>
#include <vector>

namespace knight::bench {

using Walk = std::vector<int>;

// Half random legal play, half play that follows Warnsdorff's rule four times in five; each
// walk stops at a length drawn from 1 to 63, or earlier where it gets stuck.
std::vector<Walk> seededCorpus(const TourSolver &solver);

// The positions kept in a file: one walk a line in chess notation, '#' starts a comment.
std::vector<Walk> readCorpus(const std::string &path);

// Hill-climbs on the positions the solver searches, half the climbs for an open tour and half
// for a closed one, from random and Warnsdorff walks, seeded: each candidate plays the last few
// moves of the best walk of its climb otherwise, keeps a prefix of it and plays on from there,
// or is the best walk mirrored or turned.
// Writes the positions kept in the file and the hardest found, each with its eight board
// symmetries and its counts, in the file format above.
void huntHardPositions(int candidates, const std::string &keptPath, std::FILE *out);

} // namespace knight::bench
