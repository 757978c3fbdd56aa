// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <initializer_list>
#include <utility>

namespace knight {

// What may be read by name: the window reads regular files only, since opening a FIFO or a
// device could wait for ever; the command line also takes a pipe (bash's <(...) passes one).
enum class ReadableFiles { Regular, RegularOrPipe };

// Bytes read, or why they could not be; problem is a Bulgarian phrase, empty on success.
struct FileReading {
    QByteArray bytes;
    QString problem;

    bool ok() const { return problem.isNull(); }
};

// Reads to the end, blocking, but never more than limit bytes: a source larger than that
// gives exactly limit bytes, so one byte past a format's limit shows that it is too large.
FileReading readFile(const QString &name, qsizetype limit, ReadableFiles readable);
FileReading readDescriptor(int descriptor, qsizetype limit);

// Why a file is not one to read whole at once: not a regular file, or larger than limit;
// null when it is, or when there is none (nothing to read is no problem).
QString refusedForReading(const QString &name, qsizetype limit);

// Replaces a regular file (through a symbolic link, the file it points to; the link stays)
// or makes a new one, atomically: the bytes go to a temporary file beside it, are flushed to
// the disk and only then take its name, so that on any failure the old file is left as it
// was. Devices, FIFOs, sockets and folders are refused before anything is written. Returns
// the Bulgarian reason of a failure, or a null string.
QString writeFileAtomically(const QString &name, QByteArrayView bytes);
// Several files so: each written and flushed beside its name before any takes it, so that a
// failure to write one leaves every old file as it was (worksheets and their answer key).
QString writeFilesAtomically(std::initializer_list<std::pair<QString, QByteArrayView>> files);

// Makes a file's new name durable by flushing the folder that holds it (after a library wrote
// it whole and gave it its name). The reason of a failure, or a null string.
QString syncFolderOf(const QString &name);

// A write past the file-size limit (ulimit -f) fails with EFBIG and is reported, instead of
// the signal ending the program; every write below makes sure of it, and main at start.
void ignoreFileSizeSignal();

// Writes all the bytes to a descriptor (standard output); the reason of a failure or null.
QString writeDescriptor(int descriptor, QByteArrayView bytes);

} // namespace knight
