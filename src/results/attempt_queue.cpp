// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/attempt_queue.h"

#include "files/file_io.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

namespace knight {

namespace {

// Far more than a lesson could leave waiting: a larger file is not ours.
constexpr qsizetype queueLimit = qsizetype(16) << 20;

} // namespace

QByteArray queuedLine(const Attempt &attempt)
{
    const QJsonObject object{{QStringLiteral("id"), attempt.id},
                             {QStringLiteral("pupil"), attempt.pupil},
                             {QStringLiteral("task"), attempt.task},
                             {QStringLiteral("outcome"), int(attempt.outcome)},
                             {QStringLiteral("seconds"), attempt.seconds},
                             {QStringLiteral("take_backs"), attempt.takeBacks},
                             {QStringLiteral("hints"), attempt.hints},
                             {QStringLiteral("verdicts"), attempt.verdicts},
                             {QStringLiteral("finished"), attempt.finished.toUTC().toString(Qt::ISODate)},
                             {QStringLiteral("help"), qint64(attempt.help)}};
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

std::optional<Attempt> attemptOfLine(QByteArrayView line)
{
    const QJsonDocument document = QJsonDocument::fromJson(line.toByteArray());
    if (!document.isObject())
        return std::nullopt;
    const QJsonObject o = document.object();
    const int outcome = o.value(QStringLiteral("outcome")).toInt(-1);
    const int task = o.value(QStringLiteral("task")).toInt();
    if (outcome < 0 || outcome > int(Outcome::Abandoned) || task < 1)
        return std::nullopt;
    Attempt attempt{o.value(QStringLiteral("pupil")).toString(), task, Outcome(outcome),
                    o.value(QStringLiteral("seconds")).toInt(), o.value(QStringLiteral("take_backs")).toInt(),
                    o.value(QStringLiteral("hints")).toInt(), o.value(QStringLiteral("verdicts")).toInt(),
                    QDateTime::fromString(o.value(QStringLiteral("finished")).toString(), Qt::ISODate),
                    unsigned(o.value(QStringLiteral("help")).toInteger()), o.value(QStringLiteral("id")).toString()};
    return attempt;
}

AttemptQueue::AttemptQueue(const QString &storePath)
    : path_(storePath + QStringLiteral(".waiting"))
{
}

AttemptQueue::Reading AttemptQueue::read() const
{
    Reading reading;
    if (!QFile::exists(path_))
        return reading;
    const FileReading file = readFile(path_, queueLimit, ReadableFiles::Regular);
    if (!file.ok()) {
        reading.problem = file.problem;
        return reading;
    }
    // A line that is not an attempt is left out, not the ones around it.
    for (const QByteArray &line : file.bytes.split('\n')) {
        if (const std::optional<Attempt> attempt = attemptOfLine(line))
            reading.attempts.push_back(*attempt);
    }
    return reading;
}

QString AttemptQueue::keep(const std::vector<Attempt> &waiting)
{
    if (waiting.empty())
        return QFile::exists(path_) && !QFile::remove(path_) ? QFile(path_).errorString() : QString();
    QByteArray bytes;
    for (const Attempt &attempt : waiting)
        bytes += queuedLine(attempt) + '\n';
    return writeFileAtomically(path_, bytes);
}

} // namespace knight
