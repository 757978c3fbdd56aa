// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/command_line.h"
#include "cli/walk_source.h"
#include "solver/tour_solver.h"
#include "solver/verdict_text.h"

#include <cstdio>

namespace knight {

namespace {

constexpr std::chrono::seconds commandLineBound{5};

void printLine(const QString &line)
{
    std::fprintf(stdout, "%s\n", line.toUtf8().constData());
}

} // namespace

int runComplete(const QString &source)
{
    const std::optional<SquareList> walk = readWalkSource(source);
    if (!walk)
        return exitUsage;
    TourSolver solver;
    const TourSolver::Verdict verdict = solver.solve(*walk, commandLineBound);
    switch (verdict.answer) {
    case TourSolver::Answer::Yes:
        printLine(walkText(SquareList(verdict.tour.begin(), verdict.tour.end())));
        return exitOk;
    case TourSolver::Answer::No:
        printLine(verdictText(solver, verdict));
        return exitNoTour;
    case TourSolver::Answer::Undecided:
        break;
    }
    printLine(verdictText(solver, verdict));
    return exitUndecided;
}

} // namespace knight
