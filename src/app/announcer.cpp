// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/announcer.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace knight {

namespace {

class AnnouncerAccessible : public QAccessibleWidget
{
public:
    explicit AnnouncerAccessible(Announcer *announcer)
        : QAccessibleWidget(announcer, QAccessible::StatusBar)
    {
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name)
            return static_cast<const Announcer *>(widget())->lastAnnouncement();
        return QAccessibleWidget::text(kind);
    }
};

QAccessibleInterface *announcerAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1StringView(Announcer::staticMetaObject.className()))
        return new AnnouncerAccessible(static_cast<Announcer *>(object));
    return nullptr;
}

} // namespace

Announcer::Announcer(QWidget *parent)
    : QWidget(parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(announcerAccessible);
        return true;
    }();
    Q_UNUSED(installed);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(0, 0, 1, 1);
}

void Announcer::announce(const QString &text)
{
    if (text.isEmpty())
        return;
    text_ = text;
    if (QAccessible::isActive()) {
        QAccessibleEvent changed(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&changed);
        QAccessibleEvent alert(this, QAccessible::Alert);
        QAccessible::updateAccessibility(&alert);
    }
}

} // namespace knight
