// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "language/language.h"

#include <QString>
#include <QtGlobal>

namespace knight {

// Why no window could be opened, as one line for the terminal: the platform Qt tried
// ("xcb", "wayland", ...), and the display it was given (-display, or else DISPLAY or
// WAYLAND_DISPLAY), in the language of the catalogues given.
QString displayFailure(const QString &platform, const QString &display, const Translations &translations);

// Why no window could be opened when Qt has no plugin for the platform at all: the display
// may work, the program is incomplete.
QString pluginMissing(const QString &platform, const Translations &translations);

// Passes a message on to the handler Qt had before, or prints it as Qt's own handler would.
void passOnMessage(QtMessageHandler previous, QtMsgType type, const QMessageLogContext &context,
                   const QString &message);

// While it lives, a platform that cannot start (no display, a refused connection, no
// compositor) ends the program with that one line and exit status 1 instead of Qt's abort.
// It opens no connection of its own: Qt's one connection is the only client it makes.
class PlatformStartGuard
{
public:
    PlatformStartGuard(const QString &platformOption, const QString &displayOption, const Translations &translations);
    ~PlatformStartGuard();
    PlatformStartGuard(const PlatformStartGuard &) = delete;
    PlatformStartGuard &operator=(const PlatformStartGuard &) = delete;
};

} // namespace knight
