// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form/announcer.h"

#include "app/form/accessible_factory.h"

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

} // namespace

Announcer::Announcer(QWidget *parent)
    : QWidget(parent)
{
    installAccessibleInterface<Announcer, AnnouncerAccessible>();
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
