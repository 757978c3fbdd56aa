// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Qt sends accessibility events only while a screen reader listens; tests switch the
// platform's accessibility on as a screen reader would.
#include <QtGui/private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

namespace knight::test {

inline bool switchAccessibilityOn(bool on = true)
{
    QPlatformAccessibility *accessibility = QGuiApplicationPrivate::platformIntegration()->accessibility();
    if (!accessibility)
        return false;
    accessibility->setActive(on);
    return true;
}

} // namespace knight::test
