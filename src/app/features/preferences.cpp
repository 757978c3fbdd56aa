// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/features/preferences.h"

#include "files/file_io.h"
#include "files/file_names.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace knight {

// The texts of this file, in the language in use.
class PreferencesText
{
    Q_DECLARE_TR_FUNCTIONS(PreferencesText)
};

Preferences::Preferences() = default;
Preferences::~Preferences() = default;

QString Preferences::userFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/kon-obikolka/knight-tour.conf");
}

std::unique_ptr<QSettings> Preferences::openStore(const QString &path)
{
    if (!refusedForReading(path, fileLimit).isNull())
        return nullptr;
    return std::make_unique<QSettings>(path, QSettings::IniFormat);
}

QString Preferences::refusal(const QString &path)
{
    const QString refused = refusedForReading(path, fileLimit);
    if (refused.isNull())
        return {};
    return PreferencesText::tr("Настройките от „%1“ не са прочетени: %2. Програмата започва както при първото "
                               "стартиране и няма да ги променя.")
        .arg(shownText(QDir::toNativeSeparators(path)), refused);
}

void Preferences::useStore(std::unique_ptr<QSettings> store)
{
    store_ = std::move(store);
}

QVariant Preferences::value(const QString &key, const QVariant &fallback) const
{
    return store_ ? store_->value(key, fallback) : fallback;
}

bool Preferences::flag(const QString &key) const
{
    const QVariant stored = value(key, QVariant());
    return stored.typeId() == QMetaType::Bool ? stored.toBool() : stored.toString() == QLatin1StringView("true");
}

void Preferences::setValue(const QString &key, const QVariant &value)
{
    if (!store_ || restoring_ || (store_->contains(key) && store_->value(key).toString() == value.toString()))
        return;
    store_->setValue(key, value);
    // Qt flushes the file before it takes its name; the name is the folder's to flush.
    store_->sync();
    if ((store_->status() == QSettings::NoError && syncFolderOf(store_->fileName()).isNull()) || failureReported_)
        return;
    failureReported_ = true;
    if (report_) {
        report_(PreferencesText::tr("Изборът не може да бъде запомнен: настройките в „%1“ не могат да се запишат "
                              "(файлът или папката са само за четене, или дискът е пълен).")
                    .arg(shownText(QDir::toNativeSeparators(store_->fileName()))));
    }
}

} // namespace knight
