// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QVariant>

#include <functional>
#include <memory>

class QSettings;

namespace knight {

// What the program remembers between starts: the gallop's pace and sound, the zoom, full
// screen and the language. Nothing is read or written until a store is given (the program
// gives the user's settings, tests give none or their own), so every test begins as designed;
// and a first start finds nothing stored.
class Preferences
{
public:
    // A settings file larger than this is not the program's: it is not read.
    static constexpr qsizetype fileLimit = 64 * 1024;

    Preferences();
    ~Preferences();

    // The user's settings file, where the program keeps them.
    static QString userFile();
    // The store of a settings file, or none when it is not a regular file of a sane size: a
    // FIFO would hang the start, a huge file every change. refusal says why, in the language
    // in use.
    static std::unique_ptr<QSettings> openStore(const QString &path);
    static QString refusal(const QString &path);

    void useStore(std::unique_ptr<QSettings> store);
    QVariant value(const QString &key, const QVariant &fallback) const;
    // Whether an option is on: only a stored "true" says so; "false", nothing or anything else
    // (sound=2, fullScreen=banana) leaves it off, as at a first start.
    bool flag(const QString &key) const;
    // Written at once, and only when it changes what is stored.
    void setValue(const QString &key, const QVariant &value);
    // While it lives, what is read is applied and not written back.
    class Restoring
    {
    public:
        explicit Restoring(Preferences &preferences) : preferences_(preferences) { preferences_.restoring_ = true; }
        ~Restoring() { preferences_.restoring_ = false; }
        Restoring(const Restoring &) = delete;
        Restoring &operator=(const Restoring &) = delete;

    private:
        Preferences &preferences_;
    };
    // Told once, the first time the store cannot be written.
    void onWriteFailure(std::function<void(const QString &)> report) { report_ = std::move(report); }

private:
    std::unique_ptr<QSettings> store_;
    std::function<void(const QString &)> report_;
    bool failureReported_ = false;
    bool restoring_ = false;
};

} // namespace knight
