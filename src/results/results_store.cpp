// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/results_store.h"

#include "files/file_io.h"
#include "results/attempt_queue.h"
#include "results/server_store.h"
#include "tasks/task_list.h"

#include <QCoreApplication>
#include <QStringList>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
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
                        "finished TEXT NOT NULL, help INTEGER NOT NULL DEFAULT 0, uid TEXT)";
// The columns of the first version, which every later one keeps.
constexpr auto firstColumns = "SELECT pupil, task, outcome, seconds, take_backs, hints, verdicts, finished "
                              "FROM attempts LIMIT 0";
// What later versions added to a store made before them; an older row used no help that is known.
constexpr std::pair<const char *, const char *> addedColumns[] = {
    {"help", "ALTER TABLE attempts ADD COLUMN help INTEGER NOT NULL DEFAULT 0"},
    {"uid", "ALTER TABLE attempts ADD COLUMN uid TEXT"},
};
constexpr int schemaVersion = 2;
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

ResultsStore::ResultsStore(QString location)
    : path_(std::move(location))
    , busyWait_(busyMilliseconds)
{
    static std::atomic<int> made{0};
    connection_ = QStringLiteral("results-%1").arg(made++);
    if (isServerAddress(path_)) {
        if (std::optional<ServerAddress> address = serverAddress(path_, &addressProblem_))
            server_ = std::make_unique<ServerStore>(*address);
        // What waits for the server waits beside the results of this computer.
        path_ = QFileInfo(defaultPath()).absolutePath() + QStringLiteral("/server");
    }
}

QString ResultsStore::locationInUse(const QString &given)
{
    if (!given.isEmpty())
        return given;
    // The user's file first, then each system-wide folder (XDG_CONFIG_DIRS, /etc/xdg).
    for (const QString &folder : QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation)) {
        const QString file = folder + QStringLiteral("/kon-obikolka/knight-tour.conf");
        if (!QFileInfo(file).isFile() || !refusedForReading(file, sizeLimit).isNull())
            continue;
        if (const QString value = QSettings(file, QSettings::IniFormat).value(QLatin1String(settingsKey)).toString();
            !value.trimmed().isEmpty())
            return value.trimmed();
    }
    return defaultPath();
}

QString ResultsStore::shownLocation() const
{
    if (server_)
        return server_->address().uri();
    return addressProblem_.isNull() ? path_ : addressProblem_;
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

// What SQLite says, named by its real cause where the file and its folder tell more: SQLite
// calls a store "read-only" when its folder is, or when the file went away under it.
QString ResultsStore::causeOf(const QSqlError &error) const
{
    const QString problem = problemOf(error);
    if (problem != problemOf(QSqlError(QString(), QStringLiteral("readonly"))))
        return problem;
    if (identityOf(path_) != identity_)
        return ResultsText::tr("файлът с резултатите беше изтрит или заменен, докато се записваше");
    if (const QFileInfo folder(QFileInfo(path_).absolutePath()); !folder.isWritable())
        return ResultsText::tr("в папката %1 не може да се пише").arg(folder.filePath());
    return problem;
}

// A regular file only: SQLite would wait for ever on a FIFO, and a device is not a database.
QString ResultsStore::open(bool create)
{
    if (const QFileInfo link(path_); link.isSymLink() && !link.exists())
        return ResultsText::tr("връзката %1 сочи към файл, който го няма").arg(path_);
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
    database.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyWait_));
    if (!database.open())
        return problemOf(database.lastError());
    opened_ = true;
    schemaMade_ = false;
    identity_ = identityOf(path_);
    return {};
}

// The table made, and brought up to date, outside any attempt's transaction; its version kept
// in the file (user_version).
QString ResultsStore::makeSchema()
{
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    if (!query.exec(QLatin1String(schema)))
        return problemOf(query.lastError());
    // A table of that name made by another program is not ours to write into.
    if (!query.exec(QLatin1String(firstColumns)))
        return query.lastError().databaseText().contains(QLatin1String("no such column"))
                   ? ResultsText::tr("файлът е база данни на друга програма")
                   : problemOf(query.lastError());
    for (const auto &[column, adding] : addedColumns) {
        if (!query.exec(QStringLiteral("SELECT %1 FROM attempts LIMIT 0").arg(QLatin1String(column)))
            && !query.exec(QLatin1String(adding)) && !query.lastError().databaseText().contains(QLatin1String("duplicate column")))
            return problemOf(query.lastError());
    }
    if (!query.exec(QStringLiteral("CREATE UNIQUE INDEX IF NOT EXISTS attempts_uid ON attempts(uid)"))
        || !query.exec(QStringLiteral("PRAGMA user_version = %1").arg(schemaVersion)))
        return problemOf(query.lastError());
    schemaMade_ = true;
    return {};
}

QString ResultsStore::record(const Attempt &attempt, bool *added)
{
    if (server_)
        return server_->record(attempt, added);
    if (!addressProblem_.isNull())
        return addressProblem_;
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
        return causeOf(error);
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
    // An attempt delivered again (its first delivery said to fail after all) is stored once.
    query.prepare(QStringLiteral("INSERT INTO attempts (pupil, task, outcome, seconds, take_backs, hints, verdicts, "
                                 "finished, help, uid) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?) ON CONFLICT(uid) DO NOTHING"));
    // A pupil without a name is an empty name, never NULL.
    for (const QVariant &value : {QVariant(attempt.pupil.isNull() ? QStringLiteral("") : attempt.pupil), QVariant(attempt.task), QVariant(int(attempt.outcome)),
                                  QVariant(attempt.seconds), QVariant(attempt.takeBacks), QVariant(attempt.hints),
                                  QVariant(attempt.verdicts),
                                  QVariant(attempt.finished.toUTC().toString(Qt::ISODate)), QVariant(attempt.help),
                                  attempt.id.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(attempt.id)})
        query.addBindValue(value);
    if (!query.exec())
        return fail(query.lastError());
    const bool inserted = query.numRowsAffected() > 0;
    if (!query.exec(QStringLiteral("COMMIT")))
        return fail(query.lastError());
    identity_ = identityOf(path_);
    if (added)
        *added = inserted;
    return {};
}

ResultsStore::Delivery ResultsStore::deliver(const std::optional<Attempt> &attempt)
{
    AttemptQueue queue(path_);
    const AttemptQueue::Reading waiting = queue.read();
    Delivery delivery;
    // A queue that cannot be read is left as it is for a person to look at; this attempt goes
    // straight to the store.
    if (!waiting.problem.isNull()) {
        const QString stored = attempt ? record(*attempt) : QString();
        delivery.problem = ResultsText::tr("чакащите резултати в %1 не могат да бъдат прочетени: %2")
                               .arg(queue.path(), waiting.problem);
        if (!stored.isNull())
            delivery.problem = stored + QStringLiteral("; ") + delivery.problem;
        return delivery;
    }
    std::vector<Attempt> left;
    std::vector<Attempt> all = waiting.attempts;
    if (attempt)
        all.push_back(*attempt);
    for (std::size_t i = 0; i < all.size(); ++i) {
        // Once the store refuses one, the rest wait too, in their order.
        if (!delivery.problem.isNull() || !(delivery.problem = record(all[i])).isNull())
            left.push_back(all[i]);
        else if (i < waiting.attempts.size())
            ++delivery.delivered;
    }
    if (left.size() != waiting.attempts.size() || delivery.delivered > 0) {
        // A server's queue may be the first thing this computer keeps.
        QDir().mkpath(QFileInfo(queue.path()).absolutePath());
        if (const QString kept = queue.keep(left); !kept.isNull())
            delivery.problem = ResultsText::tr("%1; не може да бъде запазен и на този компютър: %2")
                                   .arg(delivery.problem.isNull() ? ResultsText::tr("опашката не може да бъде записана") : delivery.problem, kept);
    }
    delivery.waiting = int(left.size());
    return delivery;
}

ResultsStore::Reading ResultsStore::read()
{
    Reading reading;
    if (server_)
        return server_->read();
    if (!addressProblem_.isNull()) {
        reading.problem = addressProblem_;
        return reading;
    }
    if (QString problem = open(false); !problem.isNull()) {
        reading.problem = problem;
        return reading;
    }
    if (!opened_)
        return reading;
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    const auto select = [&query](const char *added) {
        return query.exec(QStringLiteral("SELECT pupil, task, outcome, seconds, take_backs, hints, verdicts, finished, %1 "
                                         "FROM attempts ORDER BY id").arg(QLatin1String(added)));
    };
    // A store from before the help and the ids were kept reads as one where none was used.
    if (!select("help, uid")
        && (!query.lastError().databaseText().contains(QLatin1String("no such column")) || !select("0, NULL"))) {
        // An empty file is an empty database: nothing stored yet.
        if (!query.lastError().databaseText().contains(QLatin1String("no such table")))
            reading.problem = problemOf(query.lastError());
        return reading;
    }
    while (query.next()) {
        Attempt attempt{query.value(0).toString(), query.value(1).toInt(),
                        Outcome(std::clamp(query.value(2).toInt(), 0, int(Outcome::Abandoned))),
                        query.value(3).toInt(), query.value(4).toInt(), query.value(5).toInt(), query.value(6).toInt(),
                        QDateTime::fromString(query.value(7).toString(), Qt::ISODate), query.value(8).toUInt(),
                        query.value(9).toString()};
        reading.attempts.push_back(attempt);
    }
    if (query.lastError().isValid())
        reading.problem = problemOf(query.lastError());
    return reading;
}

std::vector<int> ResultsStore::bestTimes(const QString &pupil, std::size_t tasks, QString *problem)
{
    std::vector<int> best(tasks, -1);
    QString unread;
    if (server_) {
        for (const auto &[task, seconds] : server_->bestTimes(pupil, &unread).value_or(std::map<int, int>{})) {
            if (task >= 1 && std::size_t(task) <= tasks)
                best[std::size_t(task - 1)] = seconds;
        }
    } else {
        const ResultsReading reading = read();
        unread = reading.problem;
        for (const Attempt &attempt : reading.attempts) {
            const std::size_t i = std::size_t(attempt.task - 1);
            if (attempt.pupil == pupil && attempt.outcome == Outcome::Solved && i < best.size()
                && (best[i] < 0 || attempt.seconds < best[i]))
                best[i] = attempt.seconds;
        }
    }
    if (problem)
        *problem = unread;
    return best;
}

QStringList resultsHeader()
{
    return {ResultsText::tr("Ученик"),         ResultsText::tr("Задача"),    ResultsText::tr("Решена"),
            ResultsText::tr("Време"),          ResultsText::tr("Върнати ходове"), ResultsText::tr("Подсказки"),
            ResultsText::tr("Проверки"),       ResultsText::tr("Дата и час"), ResultsText::tr("Помощ")};
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

QString pupilName(const QString &typed)
{
    QString name;
    name.reserve(typed.size());
    for (const QChar c : typed)
        name += c.category() == QChar::Other_Control ? QChar(u' ') : c;
    return name.simplified();
}

QString shownName(const QString &name)
{
    return name.size() <= shownNameLength ? name : name.left(shownNameLength - 1) + QChar(0x2026);
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
QString csvField(QString field, QChar separator)
{
    if (!field.isEmpty() && QStringLiteral("=+-@\t\r").contains(field.front()))
        field.prepend(QLatin1Char('\''));
    if (field.contains(separator) || field.contains(QLatin1Char('"')) || field.contains(QLatin1Char('\n'))
        || field.contains(QLatin1Char('\r')) || field.startsWith(QLatin1Char(' ')))
        return QLatin1Char('"') + field.replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
    return field;
}

} // namespace

QChar csvSeparator(Language language)
{
    // A Bulgarian spreadsheet takes the comma for the decimal sign and splits on semicolons.
    return language == Language::Bulgarian ? QLatin1Char(';') : QLatin1Char(',');
}

QStringList csvHeader()
{
    return {ResultsText::tr("Ученик"),           ResultsText::tr("Задача"),          ResultsText::tr("Дъска"),
            ResultsText::tr("Цел"),              ResultsText::tr("Решена"),          ResultsText::tr("Време в секунди"),
            ResultsText::tr("Време"),            ResultsText::tr("Целево време в секунди"),
            ResultsText::tr("В целевото време"), ResultsText::tr("Върнати ходове"),  ResultsText::tr("Подсказки"),
            ResultsText::tr("Проверки"),         ResultsText::tr("Помощ"),           ResultsText::tr("Дата и час"),
            ResultsText::tr("Номер на опита")};
}

QString hoursMinutesSeconds(int seconds)
{
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

// Numbers plain, times in seconds and as h:mm:ss, the date as every spreadsheet reads one; the
// task with its board, goal and target, so that a row reads without the list beside it.
QByteArray resultsCsv(const std::vector<Attempt> &attempts, Language language)
{
    const QChar separator = csvSeparator(language);
    const auto row = [separator](const QStringList &fields) {
        QStringList quoted;
        for (const QString &field : fields)
            quoted << csvField(field, separator);
        return quoted.join(separator);
    };
    QStringList lines{row(csvHeader())};
    for (const Attempt &attempt : attempts) {
        const bool known = attempt.task >= 1 && std::size_t(attempt.task) <= lessonTasks().size();
        const Task task = known ? lessonTasks()[std::size_t(attempt.task - 1)] : Task{};
        const int target = int(task.target.count());
        lines << row({pupilName(attempt.pupil), QString::number(attempt.task),
                      known ? QStringLiteral("%1 × %2").arg(task.shape.files).arg(task.shape.ranks) : QString(),
                      known ? (task.closed ? ResultsText::tr("затворена") : ResultsText::tr("отворена")) : QString(),
                      outcomeText(attempt.outcome), QString::number(attempt.seconds), hoursMinutesSeconds(attempt.seconds),
                      known ? QString::number(target) : QString(),
                      attempt.outcome == Outcome::Solved && known && attempt.seconds <= target ? ResultsText::tr("да")
                                                                                               : ResultsText::tr("не"),
                      QString::number(attempt.takeBacks), QString::number(attempt.hints),
                      QString::number(attempt.verdicts), helpText(attempt.help),
                      attempt.finished.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")), attempt.id});
    }
    return "\xEF\xBB\xBF" + lines.join(QStringLiteral("\r\n")).toUtf8() + "\r\n";
}

} // namespace knight
