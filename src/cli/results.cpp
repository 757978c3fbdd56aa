// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/command_line.h"
#include "cli/walk_source.h"
#include "files/file_io.h"
#include "results/results_store.h"

#include <QCoreApplication>

#include <csignal>
#include <unistd.h>

namespace knight {

class ResultsCliText
{
    Q_DECLARE_TR_FUNCTIONS(ResultsCliText)
};

namespace {

int fail(const QString &problem)
{
    printError(QStringLiteral("%1: %2").arg(QLatin1StringView(programName), problem));
    return exitNoTour;
}

} // namespace

int runResults(const QString &file)
{
    ResultsStore store;
    const ResultsStore::Reading reading = store.read();
    if (!reading.problem.isNull())
        return fail(ResultsCliText::tr("резултатите не могат да бъдат прочетени: %1").arg(reading.problem));
    const QByteArray csv = resultsCsv(reading.attempts, languageInUse());
    if (file == u"-") {
        std::signal(SIGPIPE, SIG_IGN);
        if (const QString problem = writeDescriptor(STDOUT_FILENO, csv); !problem.isNull())
            return fail(ResultsCliText::tr("в стандартния изход не може да се пише: %1").arg(problem));
        return exitOk;
    }
    if (const QString problem = writeFileAtomically(file, csv); !problem.isNull())
        return fail(ResultsCliText::tr("%1 не е записан: %2").arg(file, problem));
    return exitOk;
}

} // namespace knight
