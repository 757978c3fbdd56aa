// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/features/gallop_sound.h"

#include "app/features/assistant.h"
#include "app/form/form_view.h"

#include <QAction>
#include <QThread>
#include <QTimer>

#include <atomic>

namespace knight {

namespace {

const QString soundKey = QStringLiteral("gallop/sound");

// The sounds played on a thread of their own: a sound server that hangs (one that accepts
// the connection and never answers) holds that thread, never the window's. A beat that is not
// played within the bound makes the sound unavailable for the rest of the session; beats that
// come while one is still playing are dropped, so the gallop keeps its pace.
class ThreadedPlayer : public QObject, public BeatPlayer
{
public:
    static constexpr int bound = 1500; // milliseconds

    ThreadedPlayer(MakeBeatPlayer make, std::function<void()> unavailable)
        : make_(make)
        , unavailable_(std::move(unavailable))
    {
        worker_->moveToThread(thread_);
        QObject::connect(thread_, &QThread::finished, worker_, &QObject::deleteLater);
        thread_->start();
    }

    ~ThreadedPlayer() override
    {
        thread_->quit();
        // A thread still held by the sound server is left to end with the process: waiting
        // for it would hang the window's close.
        if (thread_->wait(300))
            delete thread_;
    }

    void play(Beat beat) override
    {
        if (givenUp_ || busy_->load())
            return;
        busy_->store(true);
        const int sent = ++sent_;
        QTimer::singleShot(bound, this, [this, sent] {
            // Still this beat, unplayed: no later one was sent while it was.
            if (busy_->load() && sent == sent_) {
                givenUp_ = true;
                unavailable_();
            }
        });
        QMetaObject::invokeMethod(worker_, [worker = worker_, make = make_, busy = busy_, beat] {
            if (!worker->effects)
                worker->effects.reset(make());
            if (worker->effects)
                worker->effects->play(beat);
            busy->store(false);
        }, Qt::QueuedConnection);
    }

    bool isHeld() const override { return givenUp_ && busy_->load(); }

private:
    struct Worker : QObject {
        std::unique_ptr<BeatPlayer> effects;
    };

    MakeBeatPlayer make_;
    std::function<void()> unavailable_;
    QThread *thread_ = new QThread;
    Worker *worker_ = new Worker;
    std::shared_ptr<std::atomic<bool>> busy_ = std::make_shared<std::atomic<bool>>(false);
    int sent_ = 0;
    bool givenUp_ = false;
};

// Without its module the sound stays silent; the teacher was told once.
struct SilentPlayer : BeatPlayer {
    void play(Beat) override {}
};

} // namespace

GallopSound::GallopSound(FormView &view, QObject *parent)
    : QObject(parent)
    , view_(view)
{
}

GallopSound::~GallopSound() = default;

void GallopSound::setOn(bool on)
{
    on_ = on;
    if (QAction *action = view_.action(ActionId::Sound))
        action->setChecked(on);
    view_.preferences().setValue(soundKey, on);
}

void GallopSound::setPlayer(std::unique_ptr<BeatPlayer> player)
{
    player_ = std::move(player);
}

void GallopSound::stepped()
{
    play(view_.form().gallopOn() ? Beat::Step : Beat::End);
}

void GallopSound::chime()
{
    play(Beat::End);
}

void GallopSound::play(Beat beat)
{
    if (!on_)
        return;
    if (!player_)
        player_ = makePlayer();
    player_->play(beat);
}

std::unique_ptr<BeatPlayer> GallopSound::makePlayer()
{
    if (!module_)
        module_ = loadSoundModule();
    if (!module_->make) {
        view_.showMessage(tr("Звукът не е достъпен: модулът му не се зарежда (%1).").arg(module_->problem));
        return std::make_unique<SilentPlayer>();
    }
    return std::make_unique<ThreadedPlayer>(module_->make, [this] {
        view_.showMessage(tr("Звукът не е достъпен: звуковата система не отговаря."));
    });
}

void GallopSound::restorePreferences()
{
    setOn(view_.preferences().flag(soundKey));
}

} // namespace knight

#if defined(__SANITIZE_ADDRESS__)
// A sound thread that a sound server holds is left to end with the process, by design (see
// ThreadedPlayer); what it and its queued beats hold is not a leak of ours.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:knight-sound.so\nleak:libQt6Multimedia\nleak:ThreadedPlayer\n";
}
#endif
