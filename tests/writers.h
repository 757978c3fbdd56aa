// SPDX-License-Identifier: GPL-3.0-or-later
// Other programs storing attempts at the same time as the test: copies of the test program
// itself, started with "--write-attempts" (writerMain is all such a copy does).
#pragma once

#include "results/results_store.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTest>
#include <QUuid>

#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

namespace knight::test {

inline const QDateTime writtenFrom(QDate(2026, 12, 10), QTime(9, 15), Qt::UTC);

// The i-th attempt a writer stores: pupil `prefix` + i, every field following from i.
inline Attempt writtenAttempt(const QString &prefix, int i)
{
    return {prefix + QString::number(i), i % 20 + 1, i % 3 == 0 ? Outcome::Solved : Outcome::Abandoned, 60 + i, i % 4,
            i % 2, 0, writtenFrom.addSecs(i * 60), unsigned(i % 32), QUuid::createUuid().toString(QUuid::WithoutBraces)};
}

// In the copy: `count` attempts (0: until it is killed), "stored" said after each; the first
// problem is said and ends it with status 1. Nothing when the program was not started as a copy.
inline std::optional<int> writerMain(int argc, char **argv)
{
    if (argc != 5 || qstrcmp(argv[1], "--write-attempts") != 0)
        return std::nullopt;
    ResultsStore store(QString::fromLocal8Bit(argv[2]));
    const int count = std::atoi(argv[3]);
    for (int i = 0; count == 0 || i < count; ++i) {
        if (const QString problem = store.record(writtenAttempt(QString::fromLocal8Bit(argv[4]), i)); !problem.isNull()) {
            std::printf("%s\n", qPrintable(problem));
            return 1;
        }
        std::printf("stored\n");
        std::fflush(stdout);
    }
    return 0;
}

inline std::unique_ptr<QProcess> startWriter(const QString &store, int count, const QString &prefix)
{
    auto writer = std::make_unique<QProcess>();
    writer->start(QCoreApplication::applicationFilePath(),
                  {QStringLiteral("--write-attempts"), store, QString::number(count), prefix});
    return writer;
}

// `programs` writers of `each` attempts, the p-th naming its pupils `prefix` with p in it (%1).
inline std::vector<std::unique_ptr<QProcess>> startWriters(const QString &store, int programs, int each, const QString &prefix)
{
    std::vector<std::unique_ptr<QProcess>> running;
    for (int p = 0; p < programs; ++p)
        running.push_back(startWriter(store, each, prefix.arg(p)));
    return running;
}

// Every writer ended well, or the test fails with the last thing the first failing one said.
inline void waitForWriters(const std::vector<std::unique_ptr<QProcess>> &running, int milliseconds)
{
    for (const auto &writer : running) {
        QVERIFY(writer->waitForFinished(milliseconds));
        QVERIFY2(writer->exitStatus() == QProcess::NormalExit && writer->exitCode() == 0,
                 writer->readAllStandardOutput().trimmed().split('\n').constLast().constData());
    }
}

} // namespace knight::test
