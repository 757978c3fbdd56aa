// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/walk_source.h"

#include "cli/command_line.h"

#include <QFile>

#include <cstdio>

namespace knight {

int refuseInput(const QString &problem)
{
    const QString line = QStringLiteral("%1: %2\n").arg(QLatin1StringView(programName), problem);
    std::fputs(line.toUtf8().constData(), stderr);
    return exitUsage;
}

std::optional<SquareList> readWalkSource(const QString &source)
{
    QFile file;
    const bool standardInput = source == QLatin1StringView("-");
    const bool opened = standardInput ? file.open(stdin, QIODevice::ReadOnly)
                                      : (file.setFileName(source), file.open(QIODevice::ReadOnly));
    const QString name = standardInput ? QStringLiteral("стандартният вход") : source;
    if (!opened) {
        refuseInput(QStringLiteral("%1: %2").arg(name, file.errorString()));
        return std::nullopt;
    }
    // One byte past the limit is enough to know that it is too large.
    WalkReading reading = readWalk(file.read(walkFileLimit + 1));
    if (!reading.ok()) {
        refuseInput(QStringLiteral("%1: %2").arg(name, reading.error->message()));
        return std::nullopt;
    }
    return std::move(reading.squares);
}

} // namespace knight
