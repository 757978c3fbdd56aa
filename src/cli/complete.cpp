// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/command_line.h"
#include "cli/walk_source.h"
#include "files/file_io.h"
#include "solver/tour_solver.h"
#include "solver/verdict_text.h"

#include <QCoreApplication>

#include <csignal>
#include <unistd.h>

namespace knight {

// The texts of this file, in the language in use.
class CompleteText
{
    Q_DECLARE_TR_FUNCTIONS(CompleteText)
};

namespace {

int answerStatus(TourSolver::Answer answer)
{
    switch (answer) {
    case TourSolver::Answer::Yes:
        return exitOk;
    case TourSolver::Answer::No:
        return exitNoTour;
    case TourSolver::Answer::Undecided:
        break;
    }
    return exitUndecided;
}

} // namespace

int runComplete(const QString &source, std::chrono::milliseconds bound, bool closed)
{
    const std::optional<SquareList> walk = readWalkSource(source);
    if (!walk)
        return exitUsage;
    TourSolver solver;
    const TourSolver::Verdict verdict = solver.solve(*walk, bound, closed ? TourSolver::Goal::Closed : TourSolver::Goal::Open);
    const QString line = verdict.answer == TourSolver::Answer::Yes
                             ? walkText(SquareList(verdict.tour.begin(), verdict.tour.end()))
                             : verdictText(solver, verdict);
    // A closed pipe or a full disk is reported, not a signal that ends the program unheard.
    std::signal(SIGPIPE, SIG_IGN);
    if (const QString problem = writeDescriptor(STDOUT_FILENO, (line + u'\n').toUtf8()); !problem.isNull())
        return refuseInput(CompleteText::tr("в стандартния изход не може да се пише: %1").arg(problem));
    return answerStatus(verdict.answer);
}

} // namespace knight
