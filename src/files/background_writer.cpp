// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/background_writer.h"

#include "files/file_io.h"
#include "files/file_names.h"
#include "files/system_error.h"

#include <cerrno>
#include <unistd.h>

namespace knight {

BackgroundWriter::BackgroundWriter(QString path)
    : path_(std::move(path))
    , thread_([this] { run(); })
{
}

BackgroundWriter::~BackgroundWriter()
{
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void BackgroundWriter::write(std::optional<QByteArray> bytes)
{
    {
        const std::lock_guard lock(mutex_);
        waiting_ = std::move(bytes);
    }
    changed_.notify_all();
}

QString BackgroundWriter::waitUntilWritten()
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !waiting_ && !writing_; });
    return problem_;
}

QString BackgroundWriter::problem()
{
    const std::lock_guard lock(mutex_);
    return problem_;
}

void BackgroundWriter::run()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return waiting_ || stopping_; });
        if (!waiting_)
            return;
        const std::optional<QByteArray> bytes = std::move(*waiting_);
        waiting_.reset();
        writing_ = true;
        lock.unlock();
        QString problem;
        if (bytes) {
            problem = writeFileAtomically(path_, *bytes);
        } else if (::unlink(encodeFileName(path_).constData()) != 0 && errno != ENOENT) {
            problem = systemErrorText(errno);
        }
        lock.lock();
        writing_ = false;
        problem_ = problem;
        changed_.notify_all();
    }
}

} // namespace knight
