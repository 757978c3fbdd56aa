// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/command_line.h"
#include "notation/walk_notation.h"
#include "picture/export.h"
#include "tours/knight_form.h"

#include <QFile>
#include <QFont>

#include <cstdio>

namespace knight {

namespace {

int refuse(const QString &problem)
{
    std::fprintf(stderr, "%s\n", QStringLiteral("%1: %2").arg(QLatin1StringView(programName), problem).toUtf8().constData());
    return exitUsage;
}

} // namespace

int runExport(const CommandLine &commandLine)
{
    // The state the window would be in, reached through its own handlers.
    KnightForm form;
    form.Form_Load();
    if (!commandLine.tourKind.isEmpty()) {
        const auto kind = std::find(tourKindCaptions.begin(), tourKindCaptions.end(),
                                    commandLine.tourKind.toStdString());
        if (kind == tourKindCaptions.end())
            return refuse(QStringLiteral("няма вид обиколка „%1“").arg(commandLine.tourKind));
        form.Option1_Click(int(kind - tourKindCaptions.begin()));
        form.Command1_Click(int(Command::Show));
    } else if (!commandLine.walkSource.isEmpty()) {
        QFile file(commandLine.walkSource);
        const bool opened = commandLine.walkSource == QLatin1StringView("-") ? file.open(stdin, QIODevice::ReadOnly)
                                                                              : file.open(QIODevice::ReadOnly);
        if (!opened)
            return refuse(QStringLiteral("%1: %2").arg(commandLine.walkSource, file.errorString()));
        const WalkReading reading = readWalk(file.read(walkFileLimit + 1));
        if (!reading.ok())
            return refuse(QStringLiteral("%1: %2").arg(commandLine.walkSource, reading.error->message()));
        for (const int n : reading.squares)
            form.Label2_Click(n);
    }
    // The window's typeface; Liberation Serif stands in for it on Debian.
    const QFont font(QStringLiteral("Times New Roman"));
    const QString problem = exportDiagram(commandLine.exportFile, diagramOf(form, commandLine.path), font);
    return problem.isEmpty() ? exitOk : refuse(problem);
}

} // namespace knight
