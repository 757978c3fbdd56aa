// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sound/beat_player.h"

#include <QString>
#include <QStringList>

namespace knight {

// The sound's libraries (Qt Multimedia, the sound server's client and its codecs) are many and
// the sound is off until it is switched on, so they live in a module of their own, loaded at
// the first beat and never at start.
using MakeBeatPlayer = BeatPlayer *(*)();

struct SoundModule {
    MakeBeatPlayer make = nullptr; // null when no candidate loads
    QString problem;               // then why, for the teacher
};

// Where the module may be: installed beside the program's libraries, or in the build tree for
// a program run uninstalled, as the tests run it.
QStringList soundModuleCandidates();
// The first candidate that loads and has the player's maker.
SoundModule loadSoundModule(const QStringList &candidates = soundModuleCandidates());

} // namespace knight

// The maker the module exports, with C linkage so that it is found by name.
#define KNIGHT_SOUND_MAKER "knight_make_beat_player"
