// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form/termination.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QWidget>

#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace knight {

namespace {

// The handler only writes a byte; the event loop does the rest.
int terminationPipe[2] = {-1, -1};

void noteTermination(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(terminationPipe[1], &byte, 1);
}

} // namespace

void closeOnTermination(QWidget &window)
{
    if (terminationPipe[0] < 0 && ::pipe2(terminationPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    auto *notifier = new QSocketNotifier(terminationPipe[0], QSocketNotifier::Read, &window);
    QObject::connect(notifier, &QSocketNotifier::activated, &window, [&window] {
        char byte = 0;
        while (::read(terminationPipe[0], &byte, 1) > 0) {
        }
        window.close();
        // A dialog may be open: its loop ends too.
        QCoreApplication::quit();
    });
    struct sigaction action {};
    action.sa_handler = noteTermination;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGHUP, &action, nullptr);
}

} // namespace knight
