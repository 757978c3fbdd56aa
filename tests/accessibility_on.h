// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Qt sends accessibility events only while a screen reader listens; tests switch the
// platform's accessibility on as a screen reader would.
#include <QtGui/private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

#include <QAccessible>
#include <QStringList>

namespace knight::test {

inline bool switchAccessibilityOn(bool on = true)
{
    QPlatformAccessibility *accessibility = QGuiApplicationPrivate::platformIntegration()->accessibility();
    if (!accessibility)
        return false;
    accessibility->setActive(on);
    return true;
}

// The accessible events sent while it lives, as "type:name".
struct EventLog {
    static inline QStringList events;
    static void record(QAccessibleEvent *event)
    {
        QAccessibleInterface *iface = event->accessibleInterface();
        events.append(QStringLiteral("%1:%2").arg(int(event->type())).arg(iface ? iface->text(QAccessible::Name) : QString()));
    }
    EventLog()
    {
        events.clear();
        QAccessible::installUpdateHandler(record);
        switchAccessibilityOn(true);
    }
    ~EventLog()
    {
        switchAccessibilityOn(false);
        QAccessible::installUpdateHandler(nullptr);
    }
    static bool has(QAccessible::Event type, const QString &name)
    {
        return events.contains(QStringLiteral("%1:%2").arg(int(type)).arg(name));
    }
};

} // namespace knight::test
