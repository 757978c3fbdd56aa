// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/file_io.h"

#include "files/file_names.h"
#include "files/system_error.h"

#include <QCoreApplication>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <vector>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace knight {

// The texts of this file, in the language in use.
class FileText
{
    Q_DECLARE_TR_FUNCTIONS(FileText)
};

namespace {

// Why a file of this type is not read or replaced; null for a regular file.
QString refusedType(mode_t mode, bool pipeAllowed)
{
    if (S_ISREG(mode) || (pipeAllowed && S_ISFIFO(mode)))
        return {};
    if (S_ISDIR(mode))
        return FileText::tr("това е папка");
    if (S_ISFIFO(mode))
        return FileText::tr("това е канал (FIFO), а не обикновен файл");
    if (S_ISSOCK(mode))
        return FileText::tr("това е гнездо (socket), а не обикновен файл");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return FileText::tr("това е устройство, а не обикновен файл");
    return FileText::tr("това не е обикновен файл");
}

FileReading failedReading(QString problem)
{
    return FileReading{{}, std::move(problem)};
}

// Waits until a descriptor that someone left non-blocking has something to read.
bool waitForInput(int descriptor)
{
    pollfd wanted{descriptor, POLLIN, 0};
    while (poll(&wanted, 1, -1) < 0) {
        if (errno != EINTR)
            return false;
    }
    return true;
}

mode_t newFileMode()
{
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

QByteArray folderOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    return slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

// Makes the folder's new entry durable: a rename is only in the folder's own blocks.
QString syncFolder(const QByteArray &folder)
{
    const int descriptor = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0)
        return systemErrorText(errno);
    const int synced = ::fsync(descriptor);
    const int error = errno;
    ::close(descriptor);
    // Some filesystems cannot sync a folder at all; what they hold is then as durable as it gets.
    return synced == 0 || error == EINVAL || error == EROFS ? QString() : systemErrorText(error);
}

} // namespace

QString syncFolderOf(const QString &name)
{
    return syncFolder(folderOf(encodeFileName(name)));
}

void ignoreFileSizeSignal()
{
    static const bool ignored = [] {
        std::signal(SIGXFSZ, SIG_IGN);
        return true;
    }();
    Q_UNUSED(ignored);
}

FileReading readDescriptor(int descriptor, qsizetype limit)
{
    QByteArray bytes;
    constexpr qsizetype chunk = 16 * 1024;
    while (bytes.size() < limit) {
        const qsizetype wanted = std::min(chunk, limit - bytes.size());
        const qsizetype start = bytes.size();
        bytes.resize(start + wanted);
        const ssize_t got = ::read(descriptor, bytes.data() + start, size_t(wanted));
        if (got < 0) {
            bytes.resize(start);
            if (errno == EINTR || ((errno == EAGAIN || errno == EWOULDBLOCK) && waitForInput(descriptor)))
                continue;
            return failedReading(systemErrorText(errno));
        }
        bytes.resize(start + got);
        if (got == 0)
            break;
    }
    return FileReading{bytes, {}};
}

FileReading readFile(const QString &name, qsizetype limit, ReadableFiles readable)
{
    const QByteArray path = encodeFileName(name);
    const bool pipeAllowed = readable == ReadableFiles::RegularOrPipe;
    struct stat status {};
    if (::stat(path.constData(), &status) != 0)
        return failedReading(systemErrorText(errno));
    if (QString refused = refusedType(status.st_mode, pipeAllowed); !refused.isNull())
        return failedReading(refused);
    // Non-blocking, so that a file swapped for a FIFO after the look cannot hold the open.
    int descriptor = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        return failedReading(systemErrorText(errno));
    FileReading reading;
    if (::fstat(descriptor, &status) != 0) {
        reading = failedReading(systemErrorText(errno));
    } else if (QString refused = refusedType(status.st_mode, pipeAllowed); !refused.isNull()) {
        reading = failedReading(refused);
    } else {
        if (S_ISFIFO(status.st_mode)) {
            // A FIFO with no writer yet reads as empty: open it again, waiting for one.
            ::close(descriptor);
            descriptor = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
            if (descriptor < 0)
                return failedReading(systemErrorText(errno));
        } else if (::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK) != 0) {
            reading = failedReading(systemErrorText(errno));
        }
        if (reading.ok())
            reading = readDescriptor(descriptor, limit);
    }
    ::close(descriptor);
    return reading;
}

QString refusedForReading(const QString &name, qsizetype limit)
{
    struct stat status {};
    if (::stat(encodeFileName(name).constData(), &status) != 0)
        return errno == ENOENT ? QString() : systemErrorText(errno);
    if (QString refused = refusedType(status.st_mode, false); !refused.isNull())
        return refused;
    if (status.st_size > limit)
        return FileText::tr("файлът е по-голям от %1 KiB").arg(limit / 1024);
    return {};
}

QString writeDescriptor(int descriptor, QByteArrayView bytes)
{
    ignoreFileSizeSignal();
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(descriptor, bytes.data() + done, size_t(bytes.size() - done));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return systemErrorText(errno);
        }
        done += written;
    }
    return {};
}

namespace {

// A file written beside its target under a temporary name, flushed, waiting to take the name.
struct StagedFile {
    QByteArray temporary;
    QByteArray target;
};

QString stageFile(const QString &name, QByteArrayView bytes, StagedFile *staged)
{
    QByteArray target = encodeFileName(name);
    struct stat status {};
    bool exists = false;
    if (::lstat(target.constData(), &status) == 0) {
        if (S_ISLNK(status.st_mode)) {
            // The link stays; the file it points to is replaced.
            char *resolved = ::realpath(target.constData(), nullptr);
            if (!resolved)
                return systemErrorText(errno);
            target = resolved;
            std::free(resolved);
            if (::stat(target.constData(), &status) != 0)
                return systemErrorText(errno);
        }
        if (QString refused = refusedType(status.st_mode, false); !refused.isNull())
            return refused;
        exists = true;
    } else if (errno != ENOENT) {
        return systemErrorText(errno);
    }

    const qsizetype slash = target.lastIndexOf('/');
    QByteArray temporary = folderOf(target) + "/." + target.mid(slash + 1) + ".XXXXXX";
    const int descriptor = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (descriptor < 0)
        return systemErrorText(errno);
    const auto fail = [&](int error, bool open) {
        if (open)
            ::close(descriptor);
        ::unlink(temporary.constData());
        return systemErrorText(error);
    };
    if (::fchmod(descriptor, exists ? status.st_mode & 07777 : newFileMode()) != 0)
        return fail(errno, true);
    if (QString problem = writeDescriptor(descriptor, bytes); !problem.isNull()) {
        ::close(descriptor);
        ::unlink(temporary.constData());
        return problem;
    }
    if (::fsync(descriptor) != 0)
        return fail(errno, true);
    if (::close(descriptor) != 0)
        return fail(errno, false);
    *staged = {temporary, target};
    return {};
}

} // namespace

QString writeFileAtomically(const QString &name, QByteArrayView bytes)
{
    return writeFilesAtomically({{name, bytes}});
}

QString writeFilesAtomically(std::initializer_list<std::pair<QString, QByteArrayView>> files)
{
    // Every file written and flushed before any takes its name: a failure leaves all the old ones.
    std::vector<StagedFile> staged;
    for (const auto &[name, bytes] : files) {
        if (QString problem = stageFile(name, bytes, &staged.emplace_back()); !problem.isNull()) {
            staged.pop_back();
            for (const StagedFile &file : staged)
                ::unlink(file.temporary.constData());
            return problem;
        }
    }
    for (std::size_t i = 0; i < staged.size(); ++i) {
        if (::rename(staged[i].temporary.constData(), staged[i].target.constData()) != 0) {
            const int error = errno;
            for (std::size_t j = i; j < staged.size(); ++j)
                ::unlink(staged[j].temporary.constData());
            return systemErrorText(error);
        }
    }
    for (const StagedFile &file : staged) {
        if (QString problem = syncFolder(folderOf(file.target)); !problem.isNull())
            return problem;
    }
    return {};
}

} // namespace knight
