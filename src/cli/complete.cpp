// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/command_line.h"
#include "notation/walk_notation.h"
#include "solver/tour_solver.h"
#include "solver/verdict_text.h"

#include <QFile>

#include <cstdio>

namespace knight {

namespace {

constexpr std::chrono::seconds commandLineBound{5};

void printLine(std::FILE *stream, const QString &line)
{
    std::fprintf(stream, "%s\n", line.toUtf8().constData());
}

} // namespace

int runComplete(const QString &source)
{
    QFile file;
    const bool standardInput = source == QLatin1StringView("-");
    const bool opened = standardInput ? file.open(stdin, QIODevice::ReadOnly)
                                      : (file.setFileName(source), file.open(QIODevice::ReadOnly));
    const QString name = standardInput ? QStringLiteral("стандартният вход") : source;
    if (!opened) {
        printLine(stderr, QStringLiteral("%1: %2: %3").arg(QLatin1StringView(programName), name, file.errorString()));
        return exitUsage;
    }
    const WalkReading reading = readWalk(file.read(walkFileLimit + 1));
    if (!reading.ok()) {
        printLine(stderr, QStringLiteral("%1: %2: %3").arg(QLatin1StringView(programName), name, reading.error->message()));
        return exitUsage;
    }
    TourSolver solver;
    const TourSolver::Verdict verdict = solver.solve(reading.squares, commandLineBound);
    switch (verdict.answer) {
    case TourSolver::Answer::Yes:
        printLine(stdout, walkText(SquareList(verdict.tour.begin(), verdict.tour.end())));
        return exitOk;
    case TourSolver::Answer::No:
        printLine(stdout, verdictText(solver, verdict));
        return exitNoTour;
    case TourSolver::Answer::Undecided:
        break;
    }
    printLine(stdout, verdictText(solver, verdict));
    return exitUndecided;
}

} // namespace knight
