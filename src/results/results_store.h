// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "language/language.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <memory>
#include <optional>

class QSqlError;
#include <utility>
#include <vector>

#include <sys/types.h>

namespace knight {

// How an attempt at a task ended.
enum class Outcome { Solved, Completed, Abandoned };

// The help an attempt used, as bits: what a teacher needs to tell a fair solve from a copied one.
enum class Help : unsigned { Hints = 1, Verdict = 2, Completion = 4, Counts = 8, ShownTour = 16 };
inline constexpr unsigned helpKinds = 5;

// One attempt at a task: a row of the class's results.
struct Attempt {
    QString pupil;
    int task = 0; // numbered from 1, as the list shows it
    Outcome outcome = Outcome::Abandoned;
    int seconds = 0;
    int takeBacks = 0;
    int hints = 0;
    int verdicts = 0;
    QDateTime finished;
    unsigned help = 0; // Help bits
    // Made when the attempt began (a UUID): stored once, however often it is delivered.
    QString id{};

    void use(Help kind) { help |= unsigned(kind); }

    friend bool operator==(const Attempt &, const Attempt &) = default;
};

// What was read of the results: the attempts in the order they were stored, or the reason.
struct ResultsReading {
    std::vector<Attempt> attempts;
    QString problem;
};

// The class's results in an SQLite database. Each attempt is one row, written in a
// transaction, so that a crash or a kill never leaves half of one. Nothing is made before the
// first attempt is stored: a first start finds no database.
class ServerStore;

// Or, given a postgresql:// address, the results of a whole computer room on a server, with
// what cannot reach it waiting in a queue on this computer.
class ResultsStore
{
public:
    // A file's path or a server's address.
    explicit ResultsStore(QString location = defaultPath());
    ~ResultsStore();
    ResultsStore(const ResultsStore &) = delete;
    ResultsStore &operator=(const ResultsStore &) = delete;

    static QString defaultPath();
    // The store the program uses: --store when given, else the user's settings, else the
    // system-wide ones (an administrator's for a whole room), else the file on this computer.
    static QString locationInUse(const QString &given = {});
    static constexpr char settingsKey[] = "store";
    // The file, or for a server the queue's base beside the default file.
    const QString &path() const { return path_; }
    ServerStore *server() const { return server_.get(); }
    // What the store is, for a person: the file or the address without its password.
    QString shownLocation() const;
    // How long a write waits for another program's lock before the attempt waits instead.
    void setBusyWait(int milliseconds) { busyWait_ = milliseconds; }

    // Null on success, else the reason (locked, read-only, not a database, ...); added says
    // whether it is new (an attempt with the id of one stored is not stored again).
    QString record(const Attempt &attempt, bool *added = nullptr);
    using Reading = ResultsReading;
    Reading read();
    // The pupil's best time at each task solved, in seconds (-1: not solved); on a server, read
    // without the right to see the table.
    std::vector<int> bestTimes(const QString &pupil, std::size_t tasks, QString *problem = nullptr);

    // The attempts waiting beside the store, oldest first, then this one (if any): each stored,
    // or kept waiting when it cannot be now. Nothing is dropped: a failure to keep one is the
    // problem said.
    struct Delivery {
        QString problem;   // null when everything was stored
        int delivered = 0; // of those that waited
        int waiting = 0;   // still waiting after it
    };
    Delivery deliver(const std::optional<Attempt> &attempt = std::nullopt);

private:
    QString open(bool create);
    QString makeSchema();
    QString causeOf(const QSqlError &error) const;
    // Which file a name stands for: its device and inode, none when there is no file.
    static std::optional<std::pair<dev_t, ino_t>> identityOf(const QString &path);

    QString path_;
    QString connection_;
    bool opened_ = false;
    bool schemaMade_ = false;
    int busyWait_;
    std::optional<std::pair<dev_t, ino_t>> identity_;
    std::unique_ptr<ServerStore> server_;
    QString addressProblem_; // an address given that is none: every attempt waits, said so
};

// The attempts as CSV for a gradebook, as the language's spreadsheets read it: UTF-8 with a
// byte order mark, ";" in Bulgarian and "," in English, quotes where needed, numbers plain,
// times in seconds and as h:mm:ss, dates as YYYY-MM-DD HH:MM.
QByteArray resultsCsv(const std::vector<Attempt> &attempts, Language language);
QChar csvSeparator(Language language);
// The CSV's columns, in the language in use.
QStringList csvHeader();
// The columns of the results' table.
QStringList resultsHeader();
// "1:01:05" for 3665 seconds.
QString hoursMinutesSeconds(int seconds);
// A pupil's name as the results keep it: control characters (a pasted escape sequence, a tab)
// taken out, runs of spaces made one.
QString pupilName(const QString &typed);
// A name as long as fits a column: the rest elided ("Александра Кон…"), the whole in a tooltip.
inline constexpr qsizetype shownNameLength = 40;
QString shownName(const QString &name);

// "1:05" for 65 seconds.
QString minutesAndSeconds(int seconds);
// "да", "с помощника", "не" in the language in use.
QString outcomeText(Outcome outcome);
// The help used, named ("подсказки, брой продължения"), or "—" for none.
QString helpText(unsigned help);

} // namespace knight
