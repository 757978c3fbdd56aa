// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <memory>

namespace knight {

class MainWindow;

enum class Beat { Step, End };

// What sounds a beat. The program's own plays the sounds the build made; a test gives one that
// only counts. Without a sound device nothing is heard and nothing is said.
class BeatPlayer
{
public:
    virtual ~BeatPlayer() = default;
    virtual void play(Beat beat) = 0;
    // Still waiting for the sound system past every bound: the process must not wait for it.
    virtual bool isHeld() const { return false; }
};

// The gallop's beat for pupils on a floor board: a click on each step and a chime at its end,
// off until it is switched on.
class GallopSound : public QObject
{
    Q_OBJECT

public:
    explicit GallopSound(MainWindow *window);
    ~GallopSound() override;

    void setOn(bool on);
    bool isOn() const { return on_; }
    // The one that sounds; made when the sound is first needed, unless one is given.
    void setPlayer(std::unique_ptr<BeatPlayer> player);
    // After each step of the gallop, by the timer or by hand.
    void stepped();
    // A solved puzzle's chime, when the sound is on.
    void chime();
    void restorePreferences();
    // Whether a sound system that never answered holds the sound's thread; the program then
    // ends without the clean-up that would wait for it.
    bool isHeld() const { return player_ && player_->isHeld(); }

private:
    void play(Beat beat);

    MainWindow *window_;
    std::unique_ptr<BeatPlayer> player_;
    bool on_ = false;
};

} // namespace knight
