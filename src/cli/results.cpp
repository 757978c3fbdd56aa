// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/command_line.h"
#include "cli/walk_source.h"
#include "files/file_io.h"
#include "results/csv_import.h"
#include "results/results_store.h"
#include "results/server_store.h"

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

// Years of a computer's results are far smaller.
constexpr qsizetype importLimit = qsizetype(64) << 20;

} // namespace

int runResults(const QString &file, const QString &location)
{
    ResultsStore store(ResultsStore::locationInUse(location));
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

int runInitStore(const QString &location)
{
    const QString given = ResultsStore::locationInUse(location);
    QString problem;
    const std::optional<ServerAddress> address = serverAddress(given, &problem);
    if (!address) {
        printError(QStringLiteral("%1: %2").arg(QLatin1StringView(programName),
                                                isServerAddress(given) ? problem
                                                                       : ResultsCliText::tr("--init-store подготвя сървър: "
                                                                                            "дайте --store postgresql://…")));
        return exitUsage;
    }
    ServerStore server(*address);
    QStringList said;
    if (const QString refused = server.initialise(&said); !refused.isNull())
        return fail(ResultsCliText::tr("базата данни не е подготвена: %1").arg(refused));
    std::signal(SIGPIPE, SIG_IGN);
    if (const QString problem = writeDescriptor(STDOUT_FILENO, (said.join(u'\n') + u'\n').toUtf8()); !problem.isNull())
        return fail(ResultsCliText::tr("в стандартния изход не може да се пише: %1").arg(problem));
    return exitOk;
}

// Every row read before any is stored: a file with a bad row adds nothing.
int runImportResults(const QString &file, const QString &location)
{
    const FileReading reading = file == u"-" ? readDescriptor(STDIN_FILENO, importLimit)
                                             : readFile(file, importLimit, ReadableFiles::RegularOrPipe);
    if (!reading.ok())
        return fail(ResultsCliText::tr("%1 не може да бъде прочетен: %2").arg(file, reading.problem));
    const CsvImport csv = attemptsOfCsv(reading.bytes);
    if (!csv.problem.isNull())
        return fail(ResultsCliText::tr("%1 не е таблица с резултати: %2").arg(file, csv.problem));
    ResultsStore store(ResultsStore::locationInUse(location));
    int added = 0;
    for (std::size_t i = 0; i < csv.attempts.size(); ++i) {
        bool isNew = false;
        if (const QString problem = store.record(csv.attempts[i], &isNew); !problem.isNull())
            return fail(ResultsCliText::tr("опити: записани %1 от %2, после записът в %3 спря: %4; внесете файла "
                                           "отново, записаните няма да се повторят")
                            .arg(i)
                            .arg(csv.attempts.size())
                            .arg(store.shownLocation(), problem));
        added += int(isNew);
    }
    const QString line = ResultsCliText::tr("%1: нови опити: %2, вече записани: %3 (в %4)\n")
                             .arg(file)
                             .arg(added)
                             .arg(int(csv.attempts.size()) - added)
                             .arg(store.shownLocation());
    std::signal(SIGPIPE, SIG_IGN);
    if (const QString problem = writeDescriptor(STDOUT_FILENO, line.toUtf8()); !problem.isNull())
        return fail(ResultsCliText::tr("в стандартния изход не може да се пише: %1").arg(problem));
    return exitOk;
}

} // namespace knight
