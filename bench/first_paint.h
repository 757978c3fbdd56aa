// SPDX-License-Identifier: GPL-3.0-or-later
// What the two start-up programs share: quitting after the window's first paint, and the
// peak memory they print.
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

#include <sys/resource.h>

namespace knight::bench {

// Quits the application once the watched window has painted for the first time.
class FirstPaint : public QObject
{
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !painted_) {
            painted_ = true;
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool painted_ = false;
};

inline long peakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// The same offscreen screen for every measured start: a projector's, on which every zoom
// step fits.
inline void useMeasuredScreen()
{
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" KNIGHT_SOURCE_DIR "/tests/projector_screen.json");
}

} // namespace knight::bench
