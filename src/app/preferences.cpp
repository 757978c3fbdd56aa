// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/preferences.h"

#include <QSettings>

namespace knight {

Preferences::Preferences() = default;
Preferences::~Preferences() = default;

void Preferences::useStore(std::unique_ptr<QSettings> store)
{
    store_ = std::move(store);
}

QVariant Preferences::value(const QString &key, const QVariant &fallback) const
{
    return store_ ? store_->value(key, fallback) : fallback;
}

void Preferences::setValue(const QString &key, const QVariant &value)
{
    if (store_)
        store_->setValue(key, value);
}

} // namespace knight
