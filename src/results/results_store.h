// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "language/language.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>
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

    void use(Help kind) { help |= unsigned(kind); }

    friend bool operator==(const Attempt &, const Attempt &) = default;
};

// The class's results in an SQLite database. Each attempt is one row, written in a
// transaction, so that a crash or a kill never leaves half of one. Nothing is made before the
// first attempt is stored: a first start finds no database.
class ResultsStore
{
public:
    explicit ResultsStore(QString path = defaultPath());
    ~ResultsStore();
    ResultsStore(const ResultsStore &) = delete;
    ResultsStore &operator=(const ResultsStore &) = delete;

    static QString defaultPath();
    const QString &path() const { return path_; }

    // Null on success, else the Bulgarian reason (locked, read-only, not a database, ...).
    QString record(const Attempt &attempt);
    struct Reading {
        std::vector<Attempt> attempts; // in the order they were stored
        QString problem;
    };
    Reading read();

private:
    QString open(bool create);
    QString makeSchema();
    // Which file a name stands for: its device and inode, none when there is no file.
    static std::optional<std::pair<dev_t, ino_t>> identityOf(const QString &path);

    QString path_;
    QString connection_;
    bool opened_ = false;
    bool schemaMade_ = false;
    std::optional<std::pair<dev_t, ino_t>> identity_;
};

// The attempts as CSV for a gradebook (UTF-8 with a byte order mark, commas, quotes where
// needed), its header, outcomes, times and dates in the language given.
QByteArray resultsCsv(const std::vector<Attempt> &attempts, Language language);
// The columns of the results, as the table and the CSV name them.
QStringList resultsHeader();
// "1:05" for 65 seconds.
QString minutesAndSeconds(int seconds);
// "да", "с помощника", "не" in the language in use.
QString outcomeText(Outcome outcome);
// The help used, named ("подсказки, брой продължения"), or "—" for none.
QString helpText(unsigned help);

} // namespace knight
