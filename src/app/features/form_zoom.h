// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPoint>

#include <array>

class QShortcut;

namespace knight {

class FormView;

// The form for a projector: laid out again at a step of its designed size, every control and
// font scaled through the one twips-to-pixels conversion (crisp, not a stretched picture), or
// in full screen as large as fits, centred, the rest in the form's colour. A step that would
// not fit the screen is skipped.
class FormZoom : public QObject
{
    Q_OBJECT

public:
    static constexpr std::array<int, 6> steps{100, 125, 150, 200, 250, 300}; // per cent

    FormZoom(FormView &view, QWidget *window);

    int percent() const { return percent_; }
    bool isFullScreen() const { return fullScreen_; }
    // Each can act: a larger step that fits, a smaller one, or another look than the designed
    // window's. In full screen the size is the screen's, so the steps wait until it is left.
    bool canZoomIn() const;
    bool canZoomOut() const { return !fullScreen_ && percent_ > steps.front(); }
    bool canZoomNormal() const { return fullScreen_ || percent_ != steps.front(); }
    void zoomIn();
    void zoomOut();
    // The designed window: full screen left, the designed size.
    void zoomNormal();
    // A step of the list that fits the screen; any other is refused (false).
    bool setPercent(int percent);
    bool fits(int percent) const;
    void setFullScreen(bool on);

    // The window's size changed: in full screen the form follows it.
    void windowResized();
    void restorePreferences();

private:
    void remember();
    // The title bar and borders the window manager adds.
    QSize frameSize() const;

    FormView &view_;
    QWidget *window_;
    QShortcut *escape_;
    int percent_ = 100;
    bool fullScreen_ = false;
    QPoint placed_; // where the window's inside was before full screen
};

} // namespace knight
