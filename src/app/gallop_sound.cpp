// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gallop_sound.h"

#include "app/mainwindow.h"

#include <QAction>
#include <QSoundEffect>

namespace knight {

namespace {

const QString soundKey = QStringLiteral("gallop/sound");

// The two sounds the build made, played through the system's default output; a missing
// device leaves them silent.
class SoundEffectPlayer : public BeatPlayer
{
public:
    SoundEffectPlayer()
    {
        click_.setSource(QUrl(QStringLiteral("qrc:/sounds/click.wav")));
        end_.setSource(QUrl(QStringLiteral("qrc:/sounds/end.wav")));
    }

    void play(Beat beat) override
    {
        QSoundEffect &effect = beat == Beat::Step ? click_ : end_;
        if (effect.status() != QSoundEffect::Error)
            effect.play();
    }

private:
    QSoundEffect click_;
    QSoundEffect end_;
};

} // namespace

GallopSound::GallopSound(MainWindow *window)
    : QObject(window)
    , window_(window)
{
}

GallopSound::~GallopSound() = default;

void GallopSound::setOn(bool on)
{
    on_ = on;
    if (QAction *action = window_->action(ActionId::Sound))
        action->setChecked(on);
    window_->preferences().setValue(soundKey, on);
}

void GallopSound::setPlayer(std::unique_ptr<BeatPlayer> player)
{
    player_ = std::move(player);
}

void GallopSound::stepped()
{
    if (!on_)
        return;
    if (!player_)
        player_ = std::make_unique<SoundEffectPlayer>();
    player_->play(window_->form().gallopOn() ? Beat::Step : Beat::End);
}

void GallopSound::restorePreferences()
{
    setOn(window_->preferences().value(soundKey, false).toBool());
}

} // namespace knight
