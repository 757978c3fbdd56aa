// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/command_line.h"
#include "cli/walk_source.h"
#include "files/file_names.h"
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

namespace {

// The kinds there are, and a hint when the kind was typed in Cyrillic ("8а" for "8a").
QString unknownKind(const QString &given)
{
    QStringList kinds;
    for (const auto &caption : tourKindCaptions)
        kinds.append(QString::fromLatin1(caption.data(), qsizetype(caption.size())));
    QString latin = given;
    latin.replace(u'а', u'a');
    const QString hint = kinds.contains(latin) && latin != given
                             ? CliExportText::tr(" (с латинско „a“: %1)").arg(latin)
                             : QString();
    return CliExportText::tr("няма вид обиколка „%1“%2; видовете са %3; вижте %4 --help")
        .arg(shownText(given), hint, kinds.join(u", "), QLatin1StringView(programName));
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
            return refuseInput(unknownKind(commandLine.tourKind));
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
