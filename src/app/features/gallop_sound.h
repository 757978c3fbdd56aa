// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sound/sound_module.h"

#include <QObject>

#include <memory>
#include <optional>

namespace knight {

class FormView;

// The gallop's beat for pupils on a floor board: a click on each step and a chime at its end,
// off until it is switched on.
class GallopSound : public QObject
{
    Q_OBJECT

public:
    GallopSound(FormView &view, QObject *parent);
    ~GallopSound() override;

    void setOn(bool on);
    bool isOn() const { return on_; }
    // The one that sounds; made when the sound is first needed, unless one is given.
    void setPlayer(std::unique_ptr<BeatPlayer> player);
    // What the program's own player sounds with: the sound module as it loads at the first
    // beat, unless one is given (a test's: one that did not load, or a maker whose players it
    // can watch on the sound's thread).
    void useModule(const SoundModule &module) { module_ = module; }
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
    // The program's own player, from the sound module: the first beat loads it.
    std::unique_ptr<BeatPlayer> makePlayer();

    FormView &view_;
    std::unique_ptr<BeatPlayer> player_;
    std::optional<SoundModule> module_;
    bool on_ = false;
};

} // namespace knight
