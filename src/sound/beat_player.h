// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace knight {

enum class Beat { Step, End };

// What sounds a beat. The program's own plays the sounds the build made, from the sound
// module; a test gives one that only counts.
class BeatPlayer
{
public:
    virtual ~BeatPlayer() = default;
    virtual void play(Beat beat) = 0;
    // Still waiting for the sound system past every bound: the process must not wait for it.
    virtual bool isHeld() const { return false; }
};

} // namespace knight
