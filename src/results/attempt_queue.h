// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "results/results_store.h"

#include <QString>

#include <vector>

namespace knight {

// Attempts that could not be stored yet (a store locked, read-only, gone), kept beside it in a
// small file of their own, written durably, until they are: nothing a pupil finished is lost
// because the store was busy at that moment.
class AttemptQueue
{
public:
    // The queue of the store at storePath.
    explicit AttemptQueue(const QString &storePath);
    const QString &path() const { return path_; }

    struct Reading {
        std::vector<Attempt> attempts; // oldest first
        QString problem;               // the file is there but cannot be read
    };
    Reading read() const;
    // The attempts that still wait, the rest delivered: the file holds these alone (none: no
    // file). Null on success, else the reason; on a failure the file is left as it was.
    QString keep(const std::vector<Attempt> &waiting);

private:
    QString path_;
};

// One line of the queue and back (JSON, so that any name is kept whole).
QByteArray queuedLine(const Attempt &attempt);
std::optional<Attempt> attemptOfLine(QByteArrayView line);

} // namespace knight
