// SPDX-License-Identifier: GPL-3.0-or-later
// Faults a write can meet, made on purpose: a file-size limit and a full filesystem.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <sys/mount.h>
#include <sys/resource.h>

namespace knight::test {

// Files may grow to `bytes` only. The signal such a write raises is left as it is: the
// program's own writes must turn it into an error.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &old_);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &old_);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit old_{};
};

// A small tmpfs mounted on a temporary folder, filled up but for `room` bytes; only root
// with the right to mount gets one (mounted() tells).
class FullFilesystem {
public:
    explicit FullFilesystem(qsizetype room)
    {
        mounted_ = ::mount("tmpfs", qPrintable(dir_.path()), "tmpfs", 0, "size=256k") == 0;
        if (!mounted_)
            return;
        QFile filler(path(QStringLiteral("filler")));
        filler.open(QIODevice::WriteOnly);
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
        filler.close();
        filler.resize(filler.size() - room);
    }
    ~FullFilesystem()
    {
        if (mounted_)
            ::umount(qPrintable(dir_.path()));
    }
    FullFilesystem(const FullFilesystem &) = delete;
    FullFilesystem &operator=(const FullFilesystem &) = delete;

    bool mounted() const { return mounted_; }
    QString path(const QString &name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
    bool mounted_ = false;
};

inline QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(bytes);
}

// The folder's entries but the filler of a full filesystem: a failed write leaves nothing.
inline QStringList entriesOf(const QString &folder)
{
    QStringList entries = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    entries.removeAll(QStringLiteral("filler"));
    return entries;
}

} // namespace knight::test
