// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QVariant>

#include <memory>

class QSettings;

namespace knight {

// What the program remembers between starts: the gallop's pace and sound, the zoom and full
// screen. Nothing is read or written until a store is given (the program gives the user's
// settings, tests give none or their own), so every test begins as designed; and a first start
// finds nothing stored.
class Preferences
{
public:
    Preferences();
    ~Preferences();

    void useStore(std::unique_ptr<QSettings> store);
    QVariant value(const QString &key, const QVariant &fallback) const;
    void setValue(const QString &key, const QVariant &value);

private:
    std::unique_ptr<QSettings> store_;
};

} // namespace knight
