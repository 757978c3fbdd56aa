// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/walk_source.h"

#include "cli/command_line.h"
#include "files/file_io.h"
#include "files/file_names.h"

#include <QCoreApplication>

#include <cstdio>
#include <unistd.h>

namespace knight {

// The texts of this file, in the language in use.
class WalkSourceText
{
    Q_DECLARE_TR_FUNCTIONS(WalkSourceText)
};

void printError(const QString &line)
{
    // Whatever the user typed or a file held may be in the line: no control character
    // reaches the terminal as it is.
    std::fputs((shownText(line) + u'\n').toUtf8().constData(), stderr);
    std::fflush(stderr);
}

int refuseInput(const QString &problem)
{
    printError(QStringLiteral("%1: %2").arg(QLatin1StringView(programName), problem));
    return exitUsage;
}

std::optional<SquareList> readWalkSource(const QString &source)
{
    const bool standardInput = source == QLatin1StringView("-");
    // One byte past the limit is enough to know that it is too large.
    const FileReading file = standardInput
                                 ? readDescriptor(STDIN_FILENO, walkFileLimit + 1)
                                 : readFile(source, walkFileLimit + 1, ReadableFiles::RegularOrPipe);
    // Quoted as the window quotes file names, and shown safely on a terminal.
    const QString name = standardInput ? WalkSourceText::tr("стандартният вход")
                                       : WalkSourceText::tr("файлът „%1“").arg(shownText(source));
    if (!file.ok()) {
        refuseInput(WalkSourceText::tr("%1 не може да се прочете: %2").arg(name, file.problem));
        return std::nullopt;
    }
    WalkReading reading = readWalk(file.bytes);
    if (!reading.ok()) {
        refuseInput(QStringLiteral("%1: %2").arg(name, reading.error->message()));
        return std::nullopt;
    }
    if (reading.shape != BoardShape{}) {
        refuseInput(WalkSourceText::tr("%1: разходката е на дъска %2 × %3, а от командния ред се четат само разходки на 8 × 8")
                        .arg(name)
                        .arg(reading.shape.files)
                        .arg(reading.shape.ranks));
        return std::nullopt;
    }
    return std::move(reading.squares);
}

} // namespace knight
