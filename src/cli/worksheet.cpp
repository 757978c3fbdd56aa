// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/command_line.h"
#include "cli/walk_source.h"
#include "files/file_io.h"
#include "files/file_names.h"
#include "picture/export.h"
#include "worksheet/worksheet.h"

#include <QCoreApplication>
#include <QRandomGenerator>

#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace knight {

// The texts of this file, in the language in use.
class CliWorksheetText
{
    Q_DECLARE_TR_FUNCTIONS(CliWorksheetText)
};

namespace {

// Short enough to copy from the terminal into the next command.
constexpr quint32 randomSeeds = 1000000;

} // namespace

int runWorksheet(const CommandLine &commandLine)
{
    WorksheetRequest request = commandLine.worksheet;
    if (!commandLine.seedGiven)
        request.seed = QRandomGenerator::system()->bounded(randomSeeds);
    // Told before the puzzles are made, which may take a while.
    if (const QString problem = worksheetNameProblem(commandLine.worksheetFile); !problem.isEmpty())
        return refuseInput(problem);
    // A person at a terminal sees the puzzles made; a script's log gets no counter.
    const bool progress = ::isatty(STDERR_FILENO) == 1;
    std::vector<Puzzle> puzzles;
    WorksheetMaker maker(request);
    while (std::optional<Puzzle> puzzle = maker.next()) {
        puzzles.push_back(std::move(*puzzle));
        if (progress)
            std::fprintf(stderr, "\r%s", qPrintable(CliWorksheetText::tr("Пъзели: %1 от %2").arg(puzzles.size()).arg(request.count)));
    }
    if (progress)
        std::fprintf(stderr, "\n");
    // The window's typeface; Liberation Serif stands in for it on Debian.
    const QFont font(QStringLiteral("Times New Roman"));
    if (const QString problem = writeWorksheet(commandLine.worksheetFile, request, puzzles, font, defaultPageSize());
        !problem.isEmpty())
        return refuseInput(problem);
    // Where the answers are, and how to make the same sheets again.
    QString line = CliWorksheetText::tr("„%1“: пъзели: %n; отговорите: „%2“; същите дава --seed %3", "", int(puzzles.size()))
                       .arg(shownText(commandLine.worksheetFile), shownText(worksheetKeyPath(commandLine.worksheetFile)))
                       .arg(request.seed);
    if (int(puzzles.size()) < request.count)
        line += u'\n' + CliWorksheetText::tr("Дъската няма повече различни пъзели от това ниво: поискани бяха %1.").arg(request.count);
    std::signal(SIGPIPE, SIG_IGN);
    // The sheets are written: that is the command's work done, whatever becomes of this line.
    if (const QString problem = writeDescriptor(STDOUT_FILENO, (line + u'\n').toUtf8()); !problem.isNull())
        printError(QStringLiteral("%1: %2").arg(QLatin1StringView(programName),
                                                CliWorksheetText::tr("в стандартния изход не може да се пише: %1").arg(problem)));
    return exitOk;
}

} // namespace knight
