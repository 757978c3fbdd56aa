// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

namespace knight {

// Keeps one file up to date from another thread, so that the flush to the disk never holds
// the caller: each write replaces the file atomically (see writeFileAtomically), and a write
// asked for while another is under way replaces any that waits, so only the newest is made.
// Destroyed, it finishes what waits first.
class BackgroundWriter
{
public:
    explicit BackgroundWriter(QString path);
    ~BackgroundWriter();
    BackgroundWriter(const BackgroundWriter &) = delete;
    BackgroundWriter &operator=(const BackgroundWriter &) = delete;

    // The file's next contents; none removes it.
    void write(std::optional<QByteArray> bytes);
    // Waits until every write asked for is made; the last write's failure, or null.
    QString waitUntilWritten();
    // The last write's failure, or null, without waiting.
    QString problem();

private:
    void run();

    const QString path_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::optional<std::optional<QByteArray>> waiting_; // the newest write not yet begun
    bool writing_ = false;
    bool stopping_ = false;
    QString problem_;
    std::thread thread_;
};

} // namespace knight
