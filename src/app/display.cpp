// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/display.h"

#include <QByteArray>
#include <QList>
#include <QtGlobal>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

namespace knight {

namespace {

const QString advice = QStringLiteral(
    "Run it on a desktop, or without one under a virtual display: xvfb-run -a ./scripts/run");

// Whether a local X server listens for display ":N"; other forms are left to Qt.
bool xServerListens(const QByteArray &display)
{
    if (!display.startsWith(':'))
        return true;
    const QByteArray number = display.mid(1).split('.').value(0);
    const QByteArray path = "/tmp/.X11-unix/X" + number;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0)
        return false;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.constData(), sizeof(address.sun_path) - 1);
    const bool listens = ::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof(address)) == 0;
    ::close(fd);
    return listens;
}

} // namespace

QString displayProblem()
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    const bool wantsX = platform.isEmpty() || platform.startsWith("xcb");
    if (!wantsX)
        return {};
    if (platform.isEmpty() && qEnvironmentVariableIsSet("WAYLAND_DISPLAY"))
        return {};
    const QByteArray display = qgetenv("DISPLAY");
    if (display.isEmpty())
        return QStringLiteral("No display: DISPLAY is not set. ") + advice;
    if (!xServerListens(display))
        return QStringLiteral("No display: nothing answers on DISPLAY=%1. ")
                   .arg(QString::fromLocal8Bit(display))
            + advice;
    return {};
}

} // namespace knight
