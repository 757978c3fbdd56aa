// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/features/form_zoom.h"

#include "app/form/controls.h"
#include "app/form/form_view.h"
#include "app/form/placement.h"

#include <QAction>
#include <QScreen>
#include <QShortcut>
#include <QWidget>

#include <algorithm>

namespace knight {

namespace {

const QString percentKey = QStringLiteral("view/zoom");
const QString fullScreenKey = QStringLiteral("view/fullScreen");

// A usual title bar and borders, counted before the window manager has framed the window (as a
// remembered zoom is restored): a size that fits only without them would be cut off.
constexpr QSize unframedAllowance{8, 40};

QSize formSize(double scale)
{
    return {controls::twipsToPixels(controls::formWidth, scale), controls::twipsToPixels(controls::formHeight, scale)};
}

} // namespace

FormZoom::FormZoom(FormView &view, QWidget *window)
    : QObject(window)
    , view_(view)
    , window_(window)
    , escape_(new QShortcut(QKeySequence(Qt::Key_Escape), window))
{
    escape_->setEnabled(false);
    connect(escape_, &QShortcut::activated, this, [this] { setFullScreen(false); });
}

bool FormZoom::fits(int percent) const
{
    const QScreen *screen = window_->screen();
    if (!screen)
        return percent == steps.front();
    const QSize needed = formSize(percent / 100.0) + frameSize();
    const QSize room = screen->availableGeometry().size();
    return percent == steps.front() || (needed.width() <= room.width() && needed.height() <= room.height());
}

QSize FormZoom::frameSize() const
{
    // Once shown, the frame stays as it is now.
    if (window_->isVisible())
        return window_->frameGeometry().size() - window_->size();
    return unframedAllowance;
}

bool FormZoom::setPercent(int percent)
{
    if (std::find(steps.begin(), steps.end(), percent) == steps.end() || !fits(percent))
        return false;
    percent_ = percent;
    if (!fullScreen_) {
        view_.setFormLayout({percent / 100.0, {}});
        // Still on the screen: the top-left corner moves only as far as it must.
        if (const QScreen *screen = window_->screen())
            window_->move(keptOnScreen(screen->availableGeometry(), window_->frameGeometry()));
    }
    remember();
    return true;
}

bool FormZoom::canZoomIn() const
{
    return !fullScreen_ && std::any_of(steps.begin(), steps.end(), [this](int step) { return step > percent_ && fits(step); });
}

void FormZoom::zoomIn()
{
    if (fullScreen_)
        return;
    for (const int step : steps) {
        if (step > percent_ && setPercent(step))
            return;
    }
}

void FormZoom::zoomOut()
{
    if (fullScreen_)
        return;
    for (auto step = steps.rbegin(); step != steps.rend(); ++step) {
        if (*step < percent_ && setPercent(*step))
            return;
    }
}

void FormZoom::zoomNormal()
{
    setFullScreen(false);
    setPercent(steps.front());
}

void FormZoom::setFullScreen(bool on)
{
    if (on == fullScreen_)
        return;
    fullScreen_ = on;
    escape_->setEnabled(on);
    view_.action(ActionId::FullScreen)->setChecked(on);
    if (on) {
        placed_ = window_->geometry().topLeft();
        window_->setMinimumSize(0, 0);
        window_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        window_->showFullScreen();
        windowResized();
    } else {
        window_->showNormal();
        view_.setFormLayout({percent_ / 100.0, {}});
        // Back where it was, its title bar on the screen. Placed by the inside: the frame full
        // screen took away is not yet back.
        window_->setGeometry(QRect(placed_, window_->size()));
    }
    remember();
}

void FormZoom::windowResized()
{
    if (!fullScreen_)
        return;
    const QSize designed = formSize(1);
    const QSize room = window_->size();
    const double scale = std::min(double(room.width()) / designed.width(), double(room.height()) / designed.height());
    const QSize scaled = formSize(scale);
    view_.setFormLayout({scale, QPoint((room.width() - scaled.width()) / 2, (room.height() - scaled.height()) / 2)});
}

void FormZoom::remember()
{
    view_.updateActions();
    view_.preferences().setValue(percentKey, percent_);
    view_.preferences().setValue(fullScreenKey, fullScreen_);
}

void FormZoom::restorePreferences()
{
    const int percent = view_.preferences().value(percentKey, steps.front()).toInt();
    const bool fullScreen = view_.preferences().flag(fullScreenKey);
    setPercent(percent);
    setFullScreen(fullScreen);
}

} // namespace knight
