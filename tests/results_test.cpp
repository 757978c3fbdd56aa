// SPDX-License-Identifier: GPL-3.0-or-later
// The class's results: stored and read back whole, written as CSV a spreadsheet reads back,
// refused stores reported and left as they were, and a writer killed at any moment leaving
// only whole rows.
#include "cli/command_line.h"
#include "results/class_table.h"
#include "results/results_store.h"
#include "tasks/task_list.h"
#include "writers.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <array>
#include <memory>
#include <set>

#include <csignal>
#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>
#include <sys/stat.h>

using namespace knight;
using namespace Qt::StringLiterals;

namespace {

const QDateTime when = test::writtenFrom;

std::vector<Attempt> sample()
{
    return {{u"Мария Петрова"_s, 1, Outcome::Solved, 65, 2, 1, 0, when},
            {u"Ivan, \"the quick\"\nsecond line"_s, 16, Outcome::Completed, 600, 0, 3, 2, when.addDays(1)},
            {u"=HYPERLINK(\"x\")"_s, 20, Outcome::Abandoned, 1805, 11, 0, 0, when.addSecs(7)}};
}

// How many descriptors of this process hold the file.
int descriptorsOn(const QString &path)
{
    int count = 0;
    for (const QFileInfo &fd : QDir(u"/proc/self/fd"_s).entryInfoList(QDir::Files | QDir::System))
        count += fd.symLinkTarget() == QFileInfo(path).canonicalFilePath();
    return count;
}

// RFC 4180 read back, independently of the writer, with the separator a spreadsheet of the
// language takes.
QList<QStringList> csvRows(QByteArray bytes, QChar separator = u';')
{
    QList<QStringList> rows{{}};
    const QString text = QString::fromUtf8(bytes.mid(3));
    QString field;
    bool quoted = false;
    const auto next = [&text](qsizetype i) { return i + 1 < text.size() ? text[i + 1] : QChar(); };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted && c == u'"' && next(i) == u'"')
            field += c, ++i;
        else if (c == u'"')
            quoted = !quoted;
        else if (!quoted && c == separator)
            rows.last() << field, field.clear();
        else if (!quoted && c == u'\r' && next(i) == u'\n')
            rows.last() << field, field.clear(), rows << QStringList{}, ++i;
        else
            field += c;
    }
    rows.removeLast();
    return rows;
}

} // namespace

class ResultsTest : public QObject
{
    Q_OBJECT

private slots:
    void attemptsComeBackAsStoredAndAsCsv();
    void aStoreThatCannotBeWrittenIsReportedAndLeftAsItWas_data();
    void aStoreThatCannotBeWrittenIsReportedAndLeftAsItWas();
    void concurrentWritersLoseNothing();
    void whatCannotBeStoredWaitsAndArrivesOnce();
    void aWriterKilledAtAnyMomentLeavesWholeRows();
    void theCommandLineWritesTheResults();
    void theStoreInUseIsTheOneNamedFirst_data();
    void theStoreInUseIsTheOneNamedFirst();
    void theClassTableIsEveryPupilByEveryTask();
};

void ResultsTest::attemptsComeBackAsStoredAndAsCsv()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"class/results.sqlite"_s);
    ResultsStore store(path);
    // Nothing is made before the first attempt.
    QVERIFY(store.read().attempts.empty());
    QVERIFY(store.read().problem.isNull());
    QVERIFY(!QFile::exists(path));
    for (const Attempt &attempt : sample())
        QVERIFY(store.record(attempt).isNull());
    QCOMPARE(ResultsStore(path).read().attempts, sample());
    // A store gone leaves its file closed.
    const auto opened = [&path] { return descriptorsOn(path); };
    QCOMPARE(opened(), 1);
    {
        ResultsStore other(path);
        QCOMPARE(other.read().attempts.size(), sample().size());
        QCOMPARE(opened(), 2);
    }
    QCOMPARE(opened(), 1);

    // Read as each language's spreadsheet reads it: its separator, plain whole numbers, a time
    // in seconds and as h:mm:ss, a date and time; the task whole.
    for (const auto &[language, separator] : {std::pair{Language::Bulgarian, u';'}, std::pair{Language::English, u','}}) {
        const QByteArray bytes = resultsCsv(sample(), language);
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        const QList<QStringList> rows = csvRows(bytes, QChar(separator));
        QCOMPARE(rows.size(), 4);
        QCOMPARE(rows[0], csvHeader());
        for (qsizetype r = 1; r < rows.size(); ++r) {
            const Attempt a = sample()[std::size_t(r - 1)];
            const QStringList &row = rows[r];
            QCOMPARE(row.size(), csvHeader().size());
            const Task &task = lessonTasks()[std::size_t(a.task - 1)];
            bool numbers[6] = {};
            QCOMPARE((std::array{row[1].toInt(&numbers[0]), row[5].toInt(&numbers[1]), row[7].toInt(&numbers[2]),
                                 row[9].toInt(&numbers[3]), row[10].toInt(&numbers[4]), row[11].toInt(&numbers[5])}),
                     (std::array{a.task, a.seconds, int(task.target.count()), a.takeBacks, a.hints, a.verdicts}));
            QVERIFY(std::ranges::all_of(numbers, [](bool ok) { return ok; }));
            const QTime time = QTime::fromString(row[6].rightJustified(8, u'0'), u"HH:mm:ss"_s);
            QCOMPARE(QTime(0, 0).secsTo(time), a.seconds);
            QCOMPARE(row[2], u"%1 × %2"_s.arg(task.shape.files).arg(task.shape.ranks));
            const QDateTime local = a.finished.toLocalTime();
            QCOMPARE(QDateTime::fromString(row[13], u"yyyy-MM-dd HH:mm"_s),
                     QDateTime(local.date(), QTime(local.time().hour(), local.time().minute())));
            QCOMPARE(row[8], a.outcome == Outcome::Solved && a.seconds <= task.target.count() ? u"да"_s : u"не"_s);
        }
        QCOMPARE(rows[1][0], u"Мария Петрова"_s);
        QCOMPARE(rows[2][0], pupilName(sample()[1].pupil)); // a line break in a name is no part of it
        QCOMPARE(rows[2][4], u"с помощника"_s);
        // A name a spreadsheet would run as a formula stays text.
        QCOMPARE(rows[3][0], u"'=HYPERLINK(\"x\")"_s);
        QCOMPARE(rows[3].mid(4, 3), (QStringList{u"не"_s, u"1805"_s, u"0:30:05"_s}));
    }
    // A name with control characters, pasted or typed: none reaches a terminal or a spreadsheet;
    // a long one is elided where it is shown.
    QCOMPARE(pupilName(u"\x1b[31mАна\tП\u0085 \r\n"_s), u"[31mАна П"_s);
    Attempt pasted = sample()[0];
    pasted.pupil = u"\tАна"_s;
    QCOMPARE(csvRows(resultsCsv({pasted}, Language::Bulgarian))[1][0], u"Ана"_s);
    const QString longName(150, u'я');
    QCOMPARE(shownName(longName).size(), shownNameLength);
    QVERIFY(shownName(longName).endsWith(QChar(0x2026)) && shownName(u"Ана"_s) == u"Ана"_s);
}

void ResultsTest::aStoreThatCannotBeWrittenIsReportedAndLeftAsItWas_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("said");
    QTest::newRow("not a database") << u"corrupt"_s << u"повреден"_s;
    QTest::newRow("held by another program") << u"locked"_s << u"заета"_s;
    QTest::newRow("a read-only file") << u"read-only"_s << u"само за четене"_s;
    QTest::newRow("past the file-size limit") << u"size limit"_s << u"твърде голям"_s;
    QTest::newRow("a FIFO") << u"fifo"_s << u""_s;
    QTest::newRow("a folder") << u"folder"_s << u""_s;
    QTest::newRow("a link to nothing") << u"dangling"_s << u"сочи към файл, който го няма"_s;
}

void ResultsTest::aStoreThatCannotBeWrittenIsReportedAndLeftAsItWas()
{
    QFETCH(QString, fault);
    QFETCH(QString, said);
    if (::geteuid() == 0 && fault == u"read-only")
        QSKIP("root writes read-only files");
    QTemporaryDir dir;
    const QString path = dir.filePath(u"results.sqlite"_s);
    QVERIFY(ResultsStore(path).record(sample()[0]).isNull());
    QSqlDatabase holder = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"holder"_s);
    holder.setDatabaseName(path);
    QVERIFY(holder.open());
    if (fault == u"corrupt") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(4096, 'x'));
    } else if (fault == u"locked") {
        QVERIFY(QSqlQuery(holder).exec(u"BEGIN EXCLUSIVE"_s));
    } else if (fault == u"read-only") {
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner));
    } else if (fault == u"size limit") {
        // The program ignores the signal at start, so that a write past the limit fails instead.
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{rlim_t(QFileInfo(path).size()), RLIM_INFINITY};
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    } else if (fault == u"dangling") {
        QVERIFY(QFile::remove(path));
        QVERIFY(QFile::link(dir.filePath(u"gone.sqlite"_s), path));
    } else {
        QVERIFY(QFile::remove(path));
        QVERIFY(fault == u"fifo" ? ::mkfifo(QFile::encodeName(path).constData(), 0644) == 0 : QDir().mkdir(path));
    }
    const QByteArray before = fault == u"corrupt" ? QByteArray(4096, 'x') : QByteArray();
    ResultsStore store(path);
    QElapsedTimer clock;
    clock.start();
    Attempt large = sample()[1];
    large.pupil = QString(20000, u'я');
    const QString problem = store.record(large);
    const rlimit unlimited{RLIM_INFINITY, RLIM_INFINITY};
    QCOMPARE(::setrlimit(RLIMIT_FSIZE, &unlimited), 0);
    QVERIFY2(!problem.isNull() && problem.contains(said), qPrintable(problem));
    // What was stored before is still there, whole.
    if (fault == u"size limit")
        QCOMPARE(store.read().attempts, std::vector<Attempt>{sample()[0]});
    else
        QVERIFY2(!store.read().problem.isNull(), qPrintable(fault));
    // Nothing waits for ever: a lock is waited for its few seconds, the rest refused at once.
    QVERIFY(clock.elapsed() < (fault == u"locked" ? 30000 : 3000));
    if (fault == u"corrupt") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
    }
    if (fault == u"locked") {
        // Once the other program lets go, the same store goes on.
        QVERIFY(QSqlQuery(holder).exec(u"ROLLBACK"_s));
        QVERIFY(store.record(sample()[1]).isNull());
        QCOMPARE(store.read().attempts.size(), std::size_t(2));
    }
    holder.close();
    holder = {};
    QSqlDatabase::removeDatabase(u"holder"_s);
}

// A computer room's programs finishing at the same moment: every attempt stored, once, and a
// lock held for a moment by another program waited for, not refused.
void ResultsTest::concurrentWritersLoseNothing()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"results.sqlite"_s);
    QVERIFY(ResultsStore(path).record(sample()[0]).isNull());
    QSqlDatabase holder = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"holder"_s);
    holder.setDatabaseName(path);
    QVERIFY(holder.open() && QSqlQuery(holder).exec(u"BEGIN EXCLUSIVE"_s));
    constexpr int writers = 8, each = 500;
    const auto running = test::startWriters(path, writers, each, u"w%1 pupil "_s);
    QTest::qWait(300);
    QVERIFY(QSqlQuery(holder).exec(u"COMMIT"_s));
    holder.close();
    holder = {};
    QSqlDatabase::removeDatabase(u"holder"_s);
    test::waitForWriters(running, 120000);
    if (QTest::currentTestFailed())
        return;
    std::set<QString> pupils;
    for (const Attempt &row : ResultsStore(path).read().attempts)
        pupils.insert(row.pupil);
    QCOMPARE(ResultsStore(path).read().attempts.size(), std::size_t(writers * each + 1));
    QCOMPARE(pupils.size(), std::size_t(writers * each + 1));
}

// A lock held longer than any wait, a store that is a folder for a while, a queue that is a
// FIFO, a store of the first version: every attempt is stored once, in order, or waits and says so.
void ResultsTest::whatCannotBeStoredWaitsAndArrivesOnce()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"results.sqlite"_s);
    ResultsStore store(path);
    store.setBusyWait(50);
    std::vector<Attempt> attempts = sample();
    for (std::size_t i = 0; i < attempts.size(); ++i)
        attempts[i].id = u"id-%1"_s.arg(i);
    QVERIFY(store.record(attempts[0]).isNull());
    QSqlDatabase holder = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"holder"_s);
    holder.setDatabaseName(path);
    QVERIFY(holder.open() && QSqlQuery(holder).exec(u"BEGIN EXCLUSIVE"_s));
    for (const int waiting : {1, 2}) {
        const ResultsStore::Delivery delivery = store.deliver(attempts[std::size_t(waiting)]);
        QVERIFY(delivery.problem.contains(u"заета"_s));
        QCOMPARE((std::pair{delivery.delivered, delivery.waiting}), (std::pair{0, waiting}));
    }
    QVERIFY(QSqlQuery(holder).exec(u"ROLLBACK"_s));
    holder.close();
    holder = {};
    QSqlDatabase::removeDatabase(u"holder"_s);
    // The next start delivers them, once: a second delivery adds nothing.
    ResultsStore next(path);
    const ResultsStore::Delivery delivered = next.deliver();
    QVERIFY(delivered.problem.isNull());
    QCOMPARE((std::pair{delivered.delivered, delivered.waiting}), (std::pair{2, 0}));
    QVERIFY(next.record(attempts[1]).isNull());
    QCOMPARE(next.read().attempts, attempts);
    QVERIFY(!QFile::exists(path + u".waiting"_s));

    // A queue that is a FIFO is not read (it would hang) and not replaced; the attempt goes
    // straight to the store and the queue is named.
    QVERIFY(::mkfifo(QFile::encodeName(path + u".waiting"_s).constData(), 0644) == 0);
    Attempt another = attempts[0];
    another.id = u"id-fifo"_s;
    const ResultsStore::Delivery beside = next.deliver(another);
    QVERIFY2(beside.problem.contains(u".waiting"_s), qPrintable(beside.problem));
    QCOMPARE(next.read().attempts.size(), attempts.size() + 1);
    QVERIFY(QFileInfo(path + u".waiting"_s).isFile() == false);

    // A store of the first version, without help or ids: read as none used, and brought up to date.
    const QString old = dir.filePath(u"old.sqlite"_s);
    {
        QSqlDatabase made = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"old"_s);
        made.setDatabaseName(old);
        QVERIFY(made.open());
        QSqlQuery query(made);
        QVERIFY(query.exec(u"CREATE TABLE attempts (id INTEGER PRIMARY KEY, pupil TEXT NOT NULL, task INTEGER NOT NULL, "
                           "outcome INTEGER NOT NULL, seconds INTEGER NOT NULL, take_backs INTEGER NOT NULL, "
                           "hints INTEGER NOT NULL, verdicts INTEGER NOT NULL, finished TEXT NOT NULL)"_s));
        QVERIFY(query.exec(u"INSERT INTO attempts VALUES (1, 'Ана', 2, 0, 61, 0, 0, 0, '2026-12-10T10:00:00Z')"_s));
        made.close();
    }
    QSqlDatabase::removeDatabase(u"old"_s);
    ResultsStore upgraded(old);
    QCOMPARE(upgraded.read().attempts.size(), std::size_t(1));
    QCOMPARE(upgraded.read().attempts[0].help, 0u);
    QVERIFY(upgraded.record(attempts[2]).isNull());
    QCOMPARE(upgraded.read().attempts.back(), attempts[2]);
    // A table of that name that another program made is said as such, and left alone.
    const QString foreign = dir.filePath(u"foreign.sqlite"_s);
    {
        QSqlDatabase made = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"foreign"_s);
        made.setDatabaseName(foreign);
        QVERIFY(made.open());
        QVERIFY(QSqlQuery(made).exec(u"CREATE TABLE attempts (x TEXT)"_s));
        made.close();
    }
    QSqlDatabase::removeDatabase(u"foreign"_s);
    ResultsStore refusing(foreign);
    QCOMPARE(refusing.record(attempts[0]), u"файлът е база данни на друга програма"_s);
    QCOMPARE(descriptorsOn(foreign), 0); // not held after it was refused
}

void ResultsTest::aWriterKilledAtAnyMomentLeavesWholeRows()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"results.sqlite"_s);
    for (const int delay : {0, 13, 29, 41, 57}) {
        const auto writer = test::startWriter(path, 0, u"pupil "_s);
        QVERIFY(writer->waitForReadyRead(20000));
        QTest::qWait(delay);
        ::kill(pid_t(writer->processId()), SIGKILL);
        QVERIFY(writer->waitForFinished());
        QCOMPARE(writer->exitStatus(), QProcess::CrashExit);
    }
    QSqlDatabase check = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"check"_s);
    check.setDatabaseName(path);
    QVERIFY(check.open());
    QSqlQuery query(check);
    QVERIFY(query.exec(u"PRAGMA integrity_check"_s) && query.next());
    QCOMPARE(query.value(0).toString(), u"ok"_s);
    check.close();
    check = {};
    QSqlDatabase::removeDatabase(u"check"_s);
    const std::vector<Attempt> rows = ResultsStore(path).read().attempts;
    QVERIFY(rows.size() >= 5);
    for (const Attempt &row : rows) {
        Attempt expected = test::writtenAttempt(u"pupil "_s, row.pupil.mid(6).toInt());
        expected.id = row.id;
        QCOMPARE(row, expected);
    }
}

void ResultsTest::theCommandLineWritesTheResults()
{
    QTemporaryDir dir;
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir.path()));
    const QString csv = dir.filePath(u"out.csv"_s);
    // No results yet: the header alone.
    QCOMPARE(runResults(csv), exitOk);
    QFile written(csv);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(csvRows(written.readAll()), (QList<QStringList>{csvHeader()}));
    written.close();
    ResultsStore store;
    QVERIFY(store.path().startsWith(dir.path()));
    for (const Attempt &attempt : sample())
        QVERIFY(store.record(attempt).isNull());
    QCOMPARE(runResults(csv), exitOk);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(csvRows(written.readAll()), csvRows(resultsCsv(sample(), Language::Bulgarian)));
    // A folder that is not there, or a database that is not one: said, status 1, nothing written.
    QCOMPARE(runResults(dir.filePath(u"missing/out.csv"_s)), 1);
    QFile damaged(store.path());
    QVERIFY(damaged.open(QIODevice::WriteOnly));
    damaged.write(QByteArray(2048, 'x'));
    damaged.close();
    QCOMPARE(runResults(dir.filePath(u"other.csv"_s)), 1);
    QVERIFY(!QFile::exists(dir.filePath(u"other.csv"_s)));
    // The file deleted while the store is open: the next attempt starts a new one.
    QVERIFY(QFile::remove(store.path()));
    QVERIFY(store.record(sample()[0]).isNull());
    QCOMPARE(ResultsStore().read().attempts, std::vector<Attempt>{sample()[0]});
    // Standard output that nobody reads any more: said, status 1, no signal ends the program.
    int ends[2];
    QVERIFY(::pipe(ends) == 0);
    ::close(ends[0]);
    const int kept = ::dup(STDOUT_FILENO);
    ::dup2(ends[1], STDOUT_FILENO);
    ::close(ends[1]);
    const int status = runResults(u"-"_s);
    ::dup2(kept, STDOUT_FILENO);
    ::close(kept);
    QCOMPARE(status, 1);
}

// --store, then the user's settings, then the first system-wide folder that names one; a
// settings file that is not a regular file is passed over, never waited on.
void ResultsTest::theStoreInUseIsTheOneNamedFirst_data()
{
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("expected");
    const QString a = u"postgresql://a@s/k"_s, b = u"postgresql://b@s/k"_s, c = u"/srv/c.sqlite"_s;
    QTest::newRow("nothing") << QString() << QString() << QString() << QString() << ResultsStore::defaultPath();
    QTest::newRow("the room's") << QString() << QString() << QString() << a << a;
    QTest::newRow("the first folder's") << QString() << QString() << b << a << b;
    QTest::newRow("the user's") << QString() << c << b << a << c;
    QTest::newRow("given") << a << c << b << QString() << a;
    QTest::newRow("a FIFO passed over") << QString() << u"fifo"_s << QString() << a << a;
    QTest::newRow("an empty value") << QString() << u"  "_s << QString() << a << a;
}

void ResultsTest::theStoreInUseIsTheOneNamedFirst()
{
    QFETCH(QString, given);
    QFETCH(QString, user);
    QFETCH(QString, first);
    QFETCH(QString, second);
    QTemporaryDir dir;
    const QStringList folders{dir.filePath(u"user"_s), dir.filePath(u"first"_s), dir.filePath(u"second"_s)};
    for (int i = 0; i < 3; ++i) {
        const QString written = std::array{user, first, second}[std::size_t(i)];
        QVERIFY(QDir().mkpath(folders[i] + u"/kon-obikolka"_s));
        const QString file = folders[i] + u"/kon-obikolka/knight-tour.conf"_s;
        if (written == u"fifo")
            QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
        else if (!written.isNull())
            QSettings(file, QSettings::IniFormat).setValue(QLatin1String(ResultsStore::settingsKey), written);
    }
    const QByteArray home = qgetenv("XDG_CONFIG_HOME"), dirs = qgetenv("XDG_CONFIG_DIRS");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(folders[0]));
    qputenv("XDG_CONFIG_DIRS", QFile::encodeName(folders[1] + u':' + folders[2]));
    const QString found = ResultsStore::locationInUse(given);
    qputenv("XDG_CONFIG_HOME", home);
    qputenv("XDG_CONFIG_DIRS", dirs);
    QTEST(found, "expected");
}

// The class's table against a count of its own: a pupil's row for every name (control
// characters taken out), a cell's best solve, its attempts and all the help they used.
void ResultsTest::theClassTableIsEveryPupilByEveryTask()
{
    std::vector<Attempt> attempts;
    for (int i = 0; i < 300; ++i)
        attempts.push_back({u"ученик\t%1"_s.arg(i % 7), i % 23, Outcome(i % 3), 1000 - i, 0, 0, 0, when, unsigned(i % 32) * unsigned(i % 5 == 0)});
    const ClassTable table = classTable(attempts, 20);
    QCOMPARE(table.pupils.size(), 7);
    QVERIFY(std::is_sorted(table.pupils.begin(), table.pupils.end()));
    for (qsizetype p = 0; p < table.pupils.size(); ++p) {
        for (int task = 1; task <= 20; ++task) {
            ClassCell expected;
            for (const Attempt &a : attempts) {
                if (pupilName(a.pupil) != table.pupils[p] || a.task != task)
                    continue;
                ++expected.attempts;
                expected.help |= a.help;
                if (a.outcome == Outcome::Solved && (expected.best < 0 || a.seconds < expected.best))
                    expected.best = a.seconds;
            }
            const ClassCell &cell = table.cells[std::size_t(p)][std::size_t(task - 1)];
            QCOMPARE(cell, expected);
            const QString text = classCellText(cell);
            QCOMPARE(text.isEmpty(), cell.attempts == 0);
            QCOMPARE(text.endsWith(u" *"_s), cell.best >= 0 && cell.help != 0);
            QCOMPARE(text == outcomeText(Outcome::Abandoned), cell.attempts > 0 && cell.best < 0);
        }
    }
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (const std::optional<int> written = test::writerMain(argc, argv))
        return *written;
    ResultsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "results_test.moc"
