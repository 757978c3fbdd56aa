// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/server_store.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QUrlQuery>
#include <QUuid>
#include <QVariant>

#include <array>
#include <span>
#include <atomic>

namespace knight {

namespace {

struct ServerText {
    Q_DECLARE_TR_FUNCTIONS(ServerText)
};

// A room's server that does not answer is waited for this long, then the attempt waits.
constexpr int connectSeconds = 5;

// The versions of the server's schema, in order; each is applied once, in one transaction.
// Version 1: the attempts, a pupil's best times without the right to read the table, a note
// to the class's table at every attempt stored (the task alone: whoever listens learns no
// names), and the pupils' role that may do just that.
constexpr std::array<const char *, 11> firstVersion{{
    "CREATE TABLE IF NOT EXISTS attempts (id bigint GENERATED ALWAYS AS IDENTITY PRIMARY KEY, "
    "pupil text NOT NULL, task integer NOT NULL, outcome integer NOT NULL, seconds integer NOT NULL, "
    "take_backs integer NOT NULL, hints integer NOT NULL, verdicts integer NOT NULL, "
    "finished timestamptz NOT NULL, help integer NOT NULL DEFAULT 0, uid uuid NOT NULL UNIQUE)",
    "CREATE OR REPLACE FUNCTION best_times(who text) RETURNS TABLE(task integer, seconds integer) "
    "LANGUAGE sql STABLE SECURITY DEFINER SET search_path = public, pg_temp AS "
    "$$ SELECT a.task, min(a.seconds) FROM attempts a WHERE a.pupil = who AND a.outcome = 0 GROUP BY a.task $$",
    "CREATE OR REPLACE FUNCTION attempt_stored() RETURNS trigger LANGUAGE plpgsql AS "
    "$$ BEGIN PERFORM pg_notify('{notification}', NEW.task::text); RETURN NULL; END $$",
    "CREATE OR REPLACE TRIGGER attempts_stored AFTER INSERT ON attempts FOR EACH ROW EXECUTE FUNCTION attempt_stored()",
    "DO $$ BEGIN IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = '{pupils}') THEN "
    "CREATE ROLE {pupils} NOLOGIN; END IF; END $$",
    "REVOKE ALL ON attempts FROM PUBLIC",
    "REVOKE ALL ON FUNCTION best_times(text) FROM PUBLIC",
    "REVOKE ALL ON knight_store FROM PUBLIC",
    "GRANT INSERT ON attempts TO {pupils}",
    "GRANT EXECUTE ON FUNCTION best_times(text) TO {pupils}",
    "GRANT USAGE ON SCHEMA public TO {pupils}",
}};
constexpr std::array versions{std::span<const char *const>(firstVersion)};

// A statement with the names the program listens for and grants to put in.
QString statementOf(const char *text)
{
    return QString::fromLatin1(text)
        .replace(QLatin1String("{notification}"), QLatin1String(ServerStore::notification))
        .replace(QLatin1String("{pupils}"), QLatin1String(ServerStore::pupilsRole));
}

// A password of letters and digits: nothing in it needs quoting in a URI or in SQL.
QString newPassword()
{
    constexpr std::string_view letters = "abcdefghijkmnopqrstuvwxyzABCDEFGHJKLMNPQRSTUVWXYZ23456789";
    QString password;
    for (int i = 0; i < 20; ++i)
        password += QLatin1Char(letters[QRandomGenerator::system()->bounded(int(letters.size()))]);
    return password;
}

} // namespace

bool isServerAddress(const QString &location)
{
    return location.startsWith(QLatin1String("postgresql://")) || location.startsWith(QLatin1String("postgres://"));
}

std::optional<ServerAddress> serverAddress(const QString &location, QString *problem)
{
    const auto refuse = [problem, &location](const QString &why) -> std::optional<ServerAddress> {
        if (problem)
            *problem = ServerText::tr("„%1“ не е адрес на сървър с резултати: %2").arg(location, why);
        return std::nullopt;
    };
    if (!isServerAddress(location))
        return refuse(ServerText::tr("адресът започва с postgresql://"));
    const QUrl url(location, QUrl::StrictMode);
    if (!url.isValid())
        return refuse(url.errorString());
    ServerAddress address;
    address.user = url.userName(QUrl::FullyDecoded);
    address.password = url.password(QUrl::FullyDecoded);
    address.host = url.host(QUrl::FullyDecoded);
    address.port = url.port(5432);
    address.database = url.path(QUrl::FullyDecoded).mid(1);
    for (const auto &[key, value] : QUrlQuery(url).queryItems(QUrl::FullyDecoded)) {
        // A folder for the host is the server's Unix socket there.
        if (key == QLatin1String("host"))
            address.host = value;
        else if (bool number = false; key == QLatin1String("port")) {
            address.port = value.toInt(&number);
            if (!number || address.port <= 0 || address.port > 65535)
                return refuse(ServerText::tr("портът „%1“ не е число от 1 до 65535").arg(value));
        }
        else if (key.contains(QLatin1Char('=')) || key.contains(QLatin1Char(' ')) || value.contains(QLatin1Char(' ')))
            return refuse(ServerText::tr("непозната настройка „%1“").arg(key));
        else
            address.options << key + QLatin1Char('=') + value;
    }
    if (address.database.isEmpty() || address.database.contains(QLatin1Char('/')))
        return refuse(ServerText::tr("липсва името на базата данни (…/ИМЕ)"));
    if (address.user.isEmpty())
        return refuse(ServerText::tr("липсва потребителят (postgresql://ПОТРЕБИТЕЛ@…)"));
    if (address.host.isEmpty())
        return refuse(ServerText::tr("липсва сървърът"));
    return address;
}

QString ServerAddress::uri(bool withPassword) const
{
    QUrl url;
    url.setScheme(QStringLiteral("postgresql"));
    url.setUserName(user);
    if (withPassword)
        url.setPassword(password);
    url.setPath(QLatin1Char('/') + database);
    QUrlQuery query;
    // A socket folder is no host name: it goes where libpq reads it too.
    if (host.startsWith(QLatin1Char('/'))) {
        query.addQueryItem(QStringLiteral("host"), host);
        query.addQueryItem(QStringLiteral("port"), QString::number(port));
    } else {
        url.setHost(host);
        url.setPort(port);
    }
    for (const QString &option : options)
        query.addQueryItem(option.section(QLatin1Char('='), 0, 0), option.section(QLatin1Char('='), 1));
    url.setQuery(query);
    return url.toString(QUrl::FullyEncoded);
}

ServerStore::ServerStore(ServerAddress address)
    : address_(std::move(address))
{
    static std::atomic<int> made{0};
    connection_ = QStringLiteral("server-%1").arg(made++);
}

ServerStore::~ServerStore()
{
    if (QSqlDatabase::contains(connection_)) {
        QSqlDatabase::database(connection_, false).close();
        QSqlDatabase::removeDatabase(connection_);
    }
}

// Each cause named, in words a teacher can act on.
QString ServerStore::problemOf(const QSqlError &error) const
{
    const QString code = error.nativeErrorCode();
    const QString text = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    const QString server = address_.host;
    if (code == QLatin1String("28P01") || code == QLatin1String("28000") || text.contains(QLatin1String("password authentication failed"))
        || text.contains(QLatin1String("no password supplied")))
        return ServerText::tr("сървърът %1 не прие потребителя %2 с тази парола").arg(server, address_.user);
    if (code == QLatin1String("3D000")
        || (text.contains(QLatin1String("does not exist")) && text.contains(QLatin1String("database"))))
        return ServerText::tr("на сървъра %1 няма база данни %2").arg(server, address_.database);
    if (code == QLatin1String("42501"))
        return ServerText::tr("потребителят %1 няма право на това на сървъра %2").arg(address_.user, server);
    if (code == QLatin1String("42P01") || code == QLatin1String("42883"))
        return ServerText::tr("базата данни %1 още не е подготвена: учителят да изпълни --init-store").arg(address_.database);
    if (text.contains(QLatin1String("could not translate host name")))
        return ServerText::tr("сървърът %1 не е намерен").arg(server);
    if (text.contains(QLatin1String("Connection refused")) || text.contains(QLatin1String("No such file or directory"))
        || text.contains(QLatin1String("timeout")) || text.contains(QLatin1String("closed the connection"))
        || text.contains(QLatin1String("terminating connection")) || text.contains(QLatin1String("no connection"))
        || text.contains(QLatin1String("shutting down")) || text.contains(QLatin1String("starting up")))
        return ServerText::tr("сървърът %1 не отговаря").arg(server);
    return ServerText::tr("грешка на сървъра %1 (%2)").arg(server, text.trimmed());
}

// A statement refused: its cause, the transaction (if any) undone and the connection closed,
// to be made anew by the next call.
QString ServerStore::failed(QSqlQuery &query, bool inTransaction)
{
    const QString problem = problemOf(query.lastError());
    if (inTransaction)
        query.exec(QStringLiteral("ROLLBACK"));
    query.clear();
    QSqlDatabase::database(connection_, false).close();
    opened_ = false;
    return problem;
}

QString ServerStore::open()
{
    if (opened_)
        return {};
    QSqlDatabase database = QSqlDatabase::contains(connection_) ? QSqlDatabase::database(connection_, false)
                                                                : QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connection_);
    if (!database.isValid())
        return ServerText::tr("няма драйвер за PostgreSQL (пакетът libqt6sql6-psql)");
    database.setHostName(address_.host);
    database.setPort(address_.port);
    database.setDatabaseName(address_.database);
    database.setUserName(address_.user);
    database.setPassword(address_.password);
    QStringList options = address_.options;
    if (options.filter(QStringLiteral("connect_timeout=")).isEmpty())
        options << QStringLiteral("connect_timeout=%1").arg(connectSeconds);
    database.setConnectOptions(options.join(QLatin1Char(';')));
    if (!database.open()) {
        const QString problem = problemOf(database.lastError());
        database.close();
        return problem;
    }
    // The server's notices ("already exists, skipping") are no news to a teacher.
    QSqlQuery(database).exec(QStringLiteral("SET client_min_messages TO warning"));
    opened_ = true;
    return {};
}

bool ServerStore::alive()
{
    if (!opened_)
        return false;
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    return query.exec(QStringLiteral("SELECT 1")) || (failed(query), false);
}

QString ServerStore::connection(QString *problem)
{
    *problem = open();
    return connection_;
}

QString ServerStore::record(const Attempt &attempt, bool *added)
{
    Attempt identified = attempt;
    if (identified.id.isEmpty())
        identified.id = QUuid::createUuid().toString(QUuid::WithoutBraces);
    const bool wasOpen = opened_;
    const QString problem = insert(identified, added);
    // A connection the server dropped since (restarted overnight) is made anew once, before
    // the attempt is said to wait.
    return problem.isNull() || !wasOpen ? problem : insert(identified, added);
}

QString ServerStore::insert(const Attempt &attempt, bool *added)
{
    if (QString problem = open(); !problem.isNull())
        return problem;
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    // Stored once however often it is delivered: its id is unique. (Naming the conflict would
    // need the right to read that column, which pupils do not have.)
    // The server prepares it: a table not made yet is said by the preparing.
    if (!query.prepare(QStringLiteral("INSERT INTO attempts (pupil, task, outcome, seconds, take_backs, hints, verdicts, "
                                      "finished, help, uid) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?) ON CONFLICT DO NOTHING"))) {
        return failed(query);
    }
    for (const QVariant &value : {QVariant(attempt.pupil.isNull() ? QStringLiteral("") : attempt.pupil), QVariant(attempt.task),
                                  QVariant(int(attempt.outcome)), QVariant(attempt.seconds), QVariant(attempt.takeBacks),
                                  QVariant(attempt.hints), QVariant(attempt.verdicts),
                                  QVariant(attempt.finished.toUTC().toString(Qt::ISODate)), QVariant(int(attempt.help)),
                                  QVariant(attempt.id)})
        query.addBindValue(value);
    if (!query.exec()) {
        return failed(query);
    }
    if (added)
        *added = query.numRowsAffected() > 0;
    return {};
}

ResultsReading ServerStore::read()
{
    ResultsReading reading;
    if (reading.problem = open(); !reading.problem.isNull())
        return reading;
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT pupil, task, outcome, seconds, take_backs, hints, verdicts, finished, help, uid "
                                   "FROM attempts ORDER BY id"))) {
        reading.problem = failed(query);
        return reading;
    }
    while (query.next()) {
        reading.attempts.push_back({query.value(0).toString(), query.value(1).toInt(),
                                    Outcome(std::clamp(query.value(2).toInt(), 0, int(Outcome::Abandoned))),
                                    query.value(3).toInt(), query.value(4).toInt(), query.value(5).toInt(),
                                    query.value(6).toInt(), query.value(7).toDateTime(), query.value(8).toUInt(),
                                    query.value(9).toString()});
    }
    return reading;
}

std::optional<std::map<int, int>> ServerStore::bestTimes(const QString &pupil, QString *problem)
{
    if (*problem = open(); !problem->isNull())
        return std::nullopt;
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    if (!query.prepare(QStringLiteral("SELECT task, seconds FROM best_times(?)")) || (query.addBindValue(pupil), !query.exec())) {
        *problem = failed(query);
        return std::nullopt;
    }
    std::map<int, int> best;
    while (query.next())
        best[query.value(0).toInt()] = query.value(1).toInt();
    return best;
}

QString ServerStore::initialise(QStringList *said)
{
    if (QString problem = open(); !problem.isNull())
        return problem;
    QSqlDatabase database = QSqlDatabase::database(connection_, false);
    QSqlQuery query(database);
    const auto fail = [this, &query] { return failed(query, true); };
    // One transaction: a second teacher running it at the same time waits, then finds it done.
    if (!query.exec(QStringLiteral("BEGIN")) || !query.exec(QStringLiteral("SELECT pg_advisory_xact_lock(4711)"))
        || !query.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS knight_store (version integer NOT NULL)"))
        || !query.exec(QStringLiteral("SELECT coalesce(max(version), 0) FROM knight_store")) || !query.next())
        return fail();
    const int found = query.value(0).toInt();
    for (int version = found + 1; version <= int(versions.size()); ++version) {
        QStringList statements;
        for (const char *statement : versions[std::size_t(version - 1)])
            statements << statementOf(statement);
        statements << QStringLiteral("DELETE FROM knight_store") << QStringLiteral("INSERT INTO knight_store VALUES (%1)").arg(version);
        for (const QString &statement : std::as_const(statements)) {
            if (!query.exec(statement))
                return fail();
        }
        said->append(ServerText::tr("Базата данни %1 е подготвена до версия %2.").arg(address_.database).arg(version));
    }
    if (found >= int(versions.size()))
        said->append(ServerText::tr("Базата данни %1 вече е подготвена (версия %2): нищо не е променено.")
                         .arg(address_.database)
                         .arg(found));
    // The pupils' login: made once; a second run leaves its password as it is.
    if (!query.exec(QStringLiteral("SELECT 1 FROM pg_roles WHERE rolname = '%1'").arg(QLatin1String(pupilLogin))))
        return fail();
    if (query.next()) {
        said->append(ServerText::tr("Ролята %1 вече съществува; паролата ѝ не е променена.").arg(QLatin1String(pupilLogin)));
    } else {
        const QString password = newPassword();
        if (!query.exec(QStringLiteral("CREATE ROLE %1 LOGIN PASSWORD '%2' IN ROLE %3")
                            .arg(QLatin1String(pupilLogin), password, QLatin1String(pupilsRole))))
            return fail();
        ServerAddress pupils = address_;
        pupils.user = QLatin1String(pupilLogin);
        pupils.password = password;
        said->append(ServerText::tr("Учениците влизат като %1 с парола %2. На всеки компютър в стаята сложете в "
                                    "/etc/xdg/kon-obikolka/knight-tour.conf реда:")
                         .arg(QLatin1String(pupilLogin), password));
        said->append(QStringLiteral("store=\"%1\"").arg(pupils.uri(true)));
    }
    if (!query.exec(QStringLiteral("COMMIT")))
        return fail();
    return {};
}

} // namespace knight
