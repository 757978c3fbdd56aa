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
    const std::vector<Puzzle> puzzles = worksheetPuzzles(request);
    // The window's typeface; Liberation Serif stands in for it on Debian.
    const QFont font(QStringLiteral("Times New Roman"));
    if (const QString problem = writeWorksheet(commandLine.worksheetFile, puzzles, font, defaultPageSize());
        !problem.isEmpty())
        return refuseInput(problem);
    // How to make the same sheets again.
    const QString line = CliWorksheetText::tr("„%1“: пъзели: %2; същите дава --seed %3")
                             .arg(shownText(commandLine.worksheetFile))
                             .arg(puzzles.size())
                             .arg(request.seed);
    std::signal(SIGPIPE, SIG_IGN);
    if (const QString problem = writeDescriptor(STDOUT_FILENO, (line + u'\n').toUtf8()); !problem.isNull())
        return refuseInput(CliWorksheetText::tr("в стандартния изход не може да се пише: %1").arg(problem));
    return exitOk;
}

} // namespace knight
