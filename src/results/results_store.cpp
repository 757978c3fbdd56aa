// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/results_store.h"

#include "files/file_io.h"

#include <QCoreApplication>
#include <QStringList>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QVariant>

#include <array>
#include <atomic>

#include <sys/stat.h>

namespace knight {

namespace {

struct ResultsText {
    Q_DECLARE_TR_FUNCTIONS(ResultsText)
};

constexpr auto schema = "CREATE TABLE IF NOT EXISTS attempts (id INTEGER PRIMARY KEY, pupil TEXT NOT NULL, "
                        "task INTEGER NOT NULL, outcome INTEGER NOT NULL, seconds INTEGER NOT NULL, "
                        "take_backs INTEGER NOT NULL, hints INTEGER NOT NULL, verdicts INTEGER NOT NULL, "
                        "finished TEXT NOT NULL, help INTEGER NOT NULL DEFAULT 0)";
// A store made before the help was kept gets its column; an older row used none that is known.
constexpr auto helpColumn = "ALTER TABLE attempts ADD COLUMN help INTEGER NOT NULL DEFAULT 0";
// Several programs share one store in a computer room: a writer waits its turn this long.
constexpr int busyMilliseconds = 10000;

// Larger than any class's results could grow: a file past it is not ours.
constexpr qsizetype sizeLimit = qsizetype(1) << 30;

QString problemOf(const QSqlError &error)
{
    const QString text = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    if (text.contains(QLatin1String("locked")) || text.contains(QLatin1String("busy")))
        return ResultsText::tr("базата данни е заета от друга програма");
    if (text.contains(QLatin1String("readonly")) || text.contains(QLatin1String("read-only")))
        return ResultsText::tr("базата данни е само за четене");
    if (text.contains(QLatin1String("not a database")) || text.contains(QLatin1String("malformed")))
        return ResultsText::tr("файлът с резултатите е повреден");
    if (text.contains(QLatin1String("full")) || text.contains(QLatin1String("I/O")))
        return ResultsText::tr("файлът не може да бъде записан: дискът е пълен или файлът е твърде голям");
    return ResultsText::tr("грешка в базата данни (%1)").arg(text);
}

} // namespace

std::optional<std::pair<dev_t, ino_t>> ResultsStore::identityOf(const QString &path)
{
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return std::nullopt;
    return std::pair{status.st_dev, status.st_ino};
}

ResultsStore::ResultsStore(QString path)
    : path_(std::move(path))
{
    static std::atomic<int> made{0};
    connection_ = QStringLiteral("results-%1").arg(made++);
}

ResultsStore::~ResultsStore()
{
    if (QSqlDatabase::contains(connection_)) {
        QSqlDatabase::database(connection_, false).close();
        QSqlDatabase::removeDatabase(connection_);
    }
}

QString ResultsStore::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
           + QStringLiteral("/kon-obikolka/knight-tour/results.sqlite");
}

// A regular file only: SQLite would wait for ever on a FIFO, and a device is not a database.
QString ResultsStore::open(bool create)
{
    if (const QString refused = refusedForReading(path_, sizeLimit); !refused.isNull())
        return refused;
    // The file deleted or replaced since (a teacher starting a new year's results): what comes
    // now goes to the file of that name, not to the one that is gone.
    if (opened_ && identityOf(path_) == identity_)
        return {};
    if (opened_) {
        QSqlDatabase::database(connection_, false).close();
        opened_ = false;
    }
    if (!create && !QFileInfo::exists(path_))
        return {};
    if (create && !QDir().mkpath(QFileInfo(path_).absolutePath()))
        return ResultsText::tr("папката %1 не може да бъде създадена").arg(QFileInfo(path_).absolutePath());
    QSqlDatabase database = QSqlDatabase::contains(connection_) ? QSqlDatabase::database(connection_, false)
                                                                : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
    if (!database.isValid())
        return ResultsText::tr("няма драйвер за SQLite");
    database.setDatabaseName(path_);
    database.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyMilliseconds));
    if (!database.open())
        return problemOf(database.lastError());
    opened_ = true;
    schemaMade_ = false;
    identity_ = identityOf(path_);
    return {};
}

// The table made, and brought up to date, outside any attempt's transaction.
QString ResultsStore::makeSchema()
{
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    if (!query.exec(QLatin1String(schema)))
        return problemOf(query.lastError());
    if (!query.exec(QStringLiteral("SELECT help FROM attempts LIMIT 0")) && !query.exec(QLatin1String(helpColumn))
        && !query.lastError().databaseText().contains(QLatin1String("duplicate column")))
        return problemOf(query.lastError());
    schemaMade_ = true;
    return {};
}

QString ResultsStore::record(const Attempt &attempt)
{
    if (QString problem = open(true); !problem.isNull()) {
        opened_ = false;
        return problem;
    }
    QSqlDatabase database = QSqlDatabase::database(connection_, false);
    QSqlQuery query(database);
    const auto fail = [&](const QSqlError &error) {
        query.exec(QStringLiteral("ROLLBACK"));
        // Opened again next time: the file may have been mended or replaced meanwhile.
        database.close();
        opened_ = false;
        return problemOf(error);
    };
    if (!schemaMade_) {
        if (QString problem = makeSchema(); !problem.isNull()) {
            database.close();
            opened_ = false;
            return problem;
        }
    }
    // A writer from the first statement: a deferred transaction would take a read lock first,
    // and SQLite answers a reader that wants to write "busy" at once, without waiting.
    if (!query.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return fail(query.lastError());
    query.prepare(QStringLiteral("INSERT INTO attempts (pupil, task, outcome, seconds, take_backs, hints, verdicts, "
                                 "finished, help) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    // A pupil without a name is an empty name, never NULL.
    for (const QVariant &value : {QVariant(attempt.pupil.isNull() ? QStringLiteral("") : attempt.pupil), QVariant(attempt.task), QVariant(int(attempt.outcome)),
                                  QVariant(attempt.seconds), QVariant(attempt.takeBacks), QVariant(attempt.hints),
                                  QVariant(attempt.verdicts),
                                  QVariant(attempt.finished.toUTC().toString(Qt::ISODate)), QVariant(attempt.help)})
        query.addBindValue(value);
    if (!query.exec())
        return fail(query.lastError());
    if (!query.exec(QStringLiteral("COMMIT")))
        return fail(query.lastError());
    identity_ = identityOf(path_);
    return {};
}

ResultsStore::Reading ResultsStore::read()
{
    Reading reading;
    if (QString problem = open(false); !problem.isNull()) {
        reading.problem = problem;
        return reading;
    }
    if (!opened_)
        return reading;
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    const auto select = [&query](const char *help) {
        return query.exec(QStringLiteral("SELECT pupil, task, outcome, seconds, take_backs, hints, verdicts, finished, %1 "
                                         "FROM attempts ORDER BY id").arg(QLatin1String(help)));
    };
    // A store from before the help was kept reads as one where none was used.
    if (!select("help") && (!query.lastError().databaseText().contains(QLatin1String("no such column")) || !select("0"))) {
        // An empty file is an empty database: nothing stored yet.
        if (!query.lastError().databaseText().contains(QLatin1String("no such table")))
            reading.problem = problemOf(query.lastError());
        return reading;
    }
    while (query.next()) {
        Attempt attempt{query.value(0).toString(), query.value(1).toInt(),
                        Outcome(std::clamp(query.value(2).toInt(), 0, int(Outcome::Abandoned))),
                        query.value(3).toInt(), query.value(4).toInt(), query.value(5).toInt(), query.value(6).toInt(),
                        QDateTime::fromString(query.value(7).toString(), Qt::ISODate), query.value(8).toUInt()};
        reading.attempts.push_back(attempt);
    }
    if (query.lastError().isValid())
        reading.problem = problemOf(query.lastError());
    return reading;
}

QStringList resultsHeader()
{
    return {ResultsText::tr("Ученик"),         ResultsText::tr("Задача"),    ResultsText::tr("Решена"),
            ResultsText::tr("Време"),          ResultsText::tr("Върнати ходове"), ResultsText::tr("Подсказки"),
            ResultsText::tr("Проверки"),       ResultsText::tr("Дата"),      ResultsText::tr("Помощ")};
}

QString minutesAndSeconds(int seconds)
{
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString outcomeText(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Solved:
        return ResultsText::tr("да");
    case Outcome::Completed:
        return ResultsText::tr("с помощника");
    case Outcome::Abandoned:
        break;
    }
    return ResultsText::tr("не");
}

QString helpText(unsigned help)
{
    const std::array<QString, helpKinds> names{ResultsText::tr("подсказки"), ResultsText::tr("проверки"),
                                               ResultsText::tr("довършване"), ResultsText::tr("брой продължения"),
                                               ResultsText::tr("показана обиколка")};
    QStringList used;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (help & (1u << i))
            used << names[i];
    }
    return used.isEmpty() ? QStringLiteral("—") : used.join(QStringLiteral(", "));
}

namespace {

// A field as CSV has it; one that a spreadsheet would take for a formula is kept as text.
QString csvField(QString field)
{
    if (!field.isEmpty() && QStringLiteral("=+-@").contains(field.front()))
        field.prepend(QLatin1Char('\''));
    if (field.contains(QLatin1Char(',')) || field.contains(QLatin1Char('"')) || field.contains(QLatin1Char('\n'))
        || field.contains(QLatin1Char('\r')) || field.startsWith(QLatin1Char(' ')))
        return QLatin1Char('"') + field.replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
    return field;
}

} // namespace

QByteArray resultsCsv(const std::vector<Attempt> &attempts, Language language)
{
    const QLocale locale = languageLocale(language);
    QStringList lines{resultsHeader().join(QLatin1Char(','))};
    for (const Attempt &attempt : attempts) {
        lines << QStringList{csvField(attempt.pupil), locale.toString(attempt.task), csvField(outcomeText(attempt.outcome)),
                             minutesAndSeconds(attempt.seconds), locale.toString(attempt.takeBacks), locale.toString(attempt.hints),
                             locale.toString(attempt.verdicts),
                             csvField(locale.toString(attempt.finished.toLocalTime(), QLocale::ShortFormat)),
                             csvField(helpText(attempt.help))}
                     .join(QLatin1Char(','));
    }
    return "\xEF\xBB\xBF" + lines.join(QStringLiteral("\r\n")).toUtf8() + "\r\n";
}

} // namespace knight
