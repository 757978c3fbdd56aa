// SPDX-License-Identifier: GPL-3.0-or-later
// The sound module: the two sounds the build made, played through the system's default output.
// A missing device leaves them silent.
#include "sound/sound_module.h"

#include <QSoundEffect>
#include <QUrl>

namespace {

class SoundEffectPlayer : public knight::BeatPlayer
{
public:
    SoundEffectPlayer()
    {
        click_.setSource(QUrl(QStringLiteral("qrc:/sounds/click.wav")));
        end_.setSource(QUrl(QStringLiteral("qrc:/sounds/end.wav")));
    }

    void play(knight::Beat beat) override
    {
        QSoundEffect &effect = beat == knight::Beat::Step ? click_ : end_;
        if (effect.status() != QSoundEffect::Error)
            effect.play();
    }

private:
    QSoundEffect click_;
    QSoundEffect end_;
};

} // namespace

extern "C" Q_DECL_EXPORT knight::BeatPlayer *knight_make_beat_player()
{
    return new SoundEffectPlayer;
}
