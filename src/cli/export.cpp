// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/command_line.h"
#include "cli/walk_source.h"
#include "picture/export.h"
#include "tours/knight_form.h"

#include <QCoreApplication>
#include <QFont>

#include <algorithm>

namespace knight {

// The texts of this file, in the language in use.
class CliExportText
{
    Q_DECLARE_TR_FUNCTIONS(CliExportText)
};

int runExport(const CommandLine &commandLine)
{
    // The state the window would be in, reached through its own handlers.
    KnightForm form;
    form.Form_Load();
    if (!commandLine.tourKind.isEmpty()) {
        const auto kind = std::find(tourKindCaptions.begin(), tourKindCaptions.end(),
                                    commandLine.tourKind.toStdString());
        if (kind == tourKindCaptions.end())
            return refuseInput(CliExportText::tr("няма вид обиколка „%1“").arg(commandLine.tourKind));
        form.Option1_Click(int(kind - tourKindCaptions.begin()));
        form.Command1_Click(int(Command::Show));
    } else if (!commandLine.walkSource.isEmpty()) {
        const std::optional<SquareList> walk = readWalkSource(commandLine.walkSource);
        if (!walk)
            return exitUsage;
        for (const int n : *walk)
            form.Label2_Click(n);
    }
    // The window's typeface; Liberation Serif stands in for it on Debian.
    const QFont font(QStringLiteral("Times New Roman"));
    const QString problem = exportDiagram(commandLine.exportFile, diagramOf(form, commandLine.path), font);
    return problem.isEmpty() ? exitOk : refuseInput(problem);
}

} // namespace knight
