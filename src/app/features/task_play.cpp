// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/features/task_play.h"

#include "app/features/assistant.h"
#include "app/features/gallop_sound.h"
#include "app/features/practice_aids.h"
#include "app/features/task_dialog.h"
#include "app/form/form_view.h"
#include "notation/walk_notation.h"

#include <QAction>
#include <QInputDialog>
#include <QTimer>
#include <QUuid>

namespace knight {

TaskPlay::TaskPlay(FormView &view, Assistant &assistant, PracticeAids &aids, GallopSound &sound, QWidget *window)
    : QObject(window)
    , view_(view)
    , assistant_(assistant)
    , aids_(aids)
    , sound_(sound)
    , window_(window)
    , store_(std::make_unique<ResultsStore>())
    , ticker_(new QTimer(this))
    , tourSeen_(lessonTasks().size(), false)
{
    ticker_->setInterval(1000);
    connect(ticker_, &QTimer::timeout, this, &TaskPlay::showStanding);
    // What an earlier start could not store goes in once the program is up.
    QTimer::singleShot(0, this, &TaskPlay::deliverWaiting);
}

TaskPlay::~TaskPlay() = default;

// A program closed in the middle of a task leaves that attempt abandoned.
void TaskPlay::windowClosing()
{
    if (!isOn() || finished_ || moves_ <= qsizetype(task().beginning.size()))
        return;
    // No window is left to say it in: the terminal or the session's log hears of it.
    if (const ResultsStore::Delivery delivery = store_->deliver(ended(Outcome::Abandoned)); !delivery.problem.isNull())
        qWarning("%s", qPrintable(notStoredText(delivery)));
}

bool TaskPlay::isOn() const
{
    return view_.lesson().activity() == Activity::Task;
}

int TaskPlay::index() const
{
    return view_.lesson().task();
}

void TaskPlay::setOn(bool on)
{
    if (!on) {
        // Given up: how far the attempt got is said with where it went.
        const bool attempted = isOn() && !finished_ && moves_ > qsizetype(task().beginning.size());
        const QString given = attempted ? tr("Задача %1 е оставена и записана като нерешена: обходени %2 от %3 полета.")
                                              .arg(index() + 1)
                                              .arg(moves_)
                                              .arg(view_.form().shape().count())
                                        : QString();
        const QString note = leave();
        if (attempted)
            view_.showMessage(given + note);
        return;
    }
    view_.action(ActionId::Tasks)->setChecked(false);
    if (!askPupil(false))
        return;
    if (const std::optional<int> chosen = TaskDialog::choose(*this, window_))
        start(*chosen);
}

bool TaskPlay::askPupil(bool always)
{
    if (!pupil_.isEmpty() && !always)
        return true;
    bool given = false;
    const QString name = QInputDialog::getText(window_, tr("Задачи"), tr("Име на ученика:"), QLineEdit::Normal, pupil_, &given);
    if (given && !name.simplified().isEmpty())
        setPupil(name);
    else if (given && pupil_.isEmpty())
        view_.showMessage(tr("Задачата не започва без име на ученика: опитите се записват под него."));
    return !pupil_.isEmpty();
}

std::vector<int> TaskPlay::bestTimes(QString *problem)
{
    return store_->bestTimes(pupil_, lessonTasks().size(), problem);
}

// One transition, in the order a teacher sees it: what is on is left, the board and the aids
// set, the beginning given, the clock started, the title said. The form's updates on the way
// are the task's own, not the pupil's.
void TaskPlay::start(int index)
{
    if (index < 0 || std::size_t(index) >= lessonTasks().size())
        return;
    const LessonState::Transition transition(view_.lesson());
    // Leave what is on: a task, or a tour shown or galloped.
    if (isOn())
        leave();
    else {
        freeGreensHidden_ = aids_.greensHidden();
        freeCountsShown_ = aids_.countsShown();
        freeClosed_ = assistant_.closedGoal();
    }
    if (view_.form().canClear())
        view_.Command1_Click(int(Command::Clear));
    // Set the board and the aids.
    view_.lesson().enter(Activity::Task, index);
    view_.action(ActionId::Tasks)->setChecked(true);
    view_.setBoardShape(task().shape);
    aids_.setGreensHidden(!task().allows(Aid::Greens));
    if (!task().allows(Aid::Counts))
        aids_.setCountsShown(false);
    assistant_.setClosedGoal(task().closed);
    // Give the beginning, start the clock.
    if (!task().beginning.empty())
        view_.replaceWalk(task().beginning);
    beginAttempt();
    moves_ = view_.form().history().size();
    view_.updateActions();
    view_.showMessage(tr("Задача %1: %2. Целево време %3.")
                          .arg(index + 1)
                          .arg(taskTitle(task()))
                          .arg(targetText(task().target)));
    ticker_->start();
    showStanding();
}

void TaskPlay::showStanding()
{
    if (!isOn()) {
        assistant_.setStandingLine({});
        return;
    }
    // Stopped at the time stored once the task is solved.
    const int seconds = finished_ ? attempt_.seconds : int(clock_.elapsed() / 1000);
    assistant_.setStandingLine(tr("%1 · задача %2 · %3").arg(shownName(pupil_)).arg(index() + 1).arg(minutesAndSeconds(seconds)));
}

void TaskPlay::beginAttempt()
{
    attempt_ = {};
    attempt_.pupil = pupil_;
    attempt_.task = index() + 1;
    attempt_.id = QUuid::createUuid().toString(QUuid::WithoutBraces);
    // A tour of this board seen whole since the last attempt at this task is this attempt's help.
    if (tourSeen_[std::size_t(index())])
        attempt_.use(Help::ShownTour);
    tourSeen_[std::size_t(index())] = false;
    completed_ = finished_ = false;
    moves_ = 0;
    clock_.start();
}

QString TaskPlay::leave()
{
    if (!isOn())
        return {};
    const LessonState::Transition transition(view_.lesson());
    QString note;
    if (!finished_ && moves_ > qsizetype(task().beginning.size()))
        note = store(Outcome::Abandoned);
    last_ = index();
    lastSolved_ = finished_ && !completed_;
    view_.lesson().enter(Activity::FreePlay);
    ticker_->stop();
    showStanding();
    view_.action(ActionId::Tasks)->setChecked(false);
    restoreFreePlay();
    return note;
}

int TaskPlay::suggested() const
{
    if (isOn())
        return index();
    return std::min(last_ + int(lastSolved_), int(lessonTasks().size()) - 1);
}

void TaskPlay::restoreFreePlay()
{
    aids_.setGreensHidden(freeGreensHidden_);
    aids_.setCountsShown(freeCountsShown_);
    assistant_.setClosedGoal(freeClosed_);
    view_.updateActions();
}

int TaskPlay::startSquare() const
{
    return isOn() && view_.form().walking() && view_.form().history().isEmpty() ? task().start : -1;
}

bool TaskPlay::refuses(int n)
{
    const KnightForm &form = view_.form();
    if (startSquare() < 0 || n == startSquare() || !form.shape().contains(n))
        return false;
    view_.showMessage(tr("Задачата започва от %1.").arg(chessName(task().start)));
    return true;
}

void TaskPlay::noteHelp(ActionId id)
{
    if (id == ActionId::Hint) {
        ++attempt_.hints;
        attempt_.use(Help::Hints);
    } else if (id == ActionId::Verdict) {
        ++attempt_.verdicts;
        attempt_.use(Help::Verdict);
    } else if (id == ActionId::Complete) {
        completed_ = true;
        attempt_.use(Help::Completion);
    }
}

QString TaskPlay::refusal(Aid aid) const
{
    return allows(aid) ? QString() : tr("Задача %1 не позволява тази помощ.").arg(index() + 1);
}

void TaskPlay::noteTourSeen()
{
    const KnightForm &form = view_.form();
    if (form.walking() || form.tourItems().isEmpty())
        return;
    for (std::size_t i = 0; i < lessonTasks().size(); ++i)
        tourSeen_[i] = tourSeen_[i] || lessonTasks()[i].shape == form.shape();
}

void TaskPlay::followForm()
{
    if (view_.lesson().changing())
        return;
    const KnightForm &form = view_.form();
    const qsizetype moves = form.history().size();
    noteTourSeen();
    if (!isOn()) {
        // Free play: the pupil's own full tour is celebrated when the end messages are on.
        if (moves == form.shape().count() && moves_ < moves && !completed_ && form.walking()
            && view_.action(ActionId::EndMessages)->isChecked())
            sound_.chime();
        if (moves == 0)
            completed_ = false;
        moves_ = moves;
        return;
    }
    // A walk shown, galloped or brought in whole is not the pupil's attempt.
    if (!form.walking() || (moves > moves_ + 1 && !giving_)) {
        const QString note = leave();
        view_.showMessage(tr("Разходката не е от задачата, затова задачата е оставена.") + note);
        return;
    }
    if (moves == 0 && finished_)
        beginAttempt();
    // The given beginning stays: after a clearing, or a move taken back into it, it is given again.
    if (moves < qsizetype(task().beginning.size()) && !giving_) {
        giving_ = true;
        view_.replaceWalk(task().beginning);
        giving_ = false;
        return;
    }
    if (aids_.countsShown())
        attempt_.use(Help::Counts);
    const bool grew = moves > moves_;
    moves_ = moves;
    if (grew && moves == form.shape().count() && !finished_)
        finish();
}

void TaskPlay::finish()
{
    const QStringList walk = view_.form().history();
    if (task().closed && !isKnightMove(walk.last().toInt(), walk.first().toInt())) {
        view_.showMessage(tr("Всички полета са обходени, но обиколката не е затворена: от %1 няма ход до %2. "
                             "Върнете няколко хода и опитайте по друг начин.")
                              .arg(chessName(walk.last().toInt()), chessName(walk.first().toInt())));
        return;
    }
    finished_ = true;
    const QString note = store(completed_ ? Outcome::Completed : Outcome::Solved);
    showStanding();
    if (completed_) {
        view_.showMessage(tr("Задача %1 е довършена от помощника. Опитайте я сами!").arg(index() + 1) + note);
        return;
    }
    const int target = int(task().target.count());
    const QString said = (attempt_.seconds <= target ? tr("Браво! Задача %1 е решена за %2, в целевото време %3.")
                                                     : tr("Браво! Задача %1 е решена за %2 (целевото време е %3)."))
                             .arg(index() + 1)
                             .arg(minutesAndSeconds(attempt_.seconds), minutesAndSeconds(target));
    view_.showMessage((pupil_.isEmpty() ? said : pupil_ + QStringLiteral(": ") + said) + note);
    sound_.chime();
}

Attempt TaskPlay::ended(Outcome outcome)
{
    attempt_.outcome = outcome;
    attempt_.seconds = int(clock_.elapsed() / 1000);
    attempt_.finished = QDateTime::currentDateTime();
    return attempt_;
}

QString TaskPlay::waitingText(int waiting) const
{
    if (store_->server())
        return tr("Резултати, които чакат сървъра: %n. Изпращат се, щом той отговори.", "", waiting);
    return tr("Чакащи резултати на този компютър: %n. Записват се, щом базата данни ги приеме.", "", waiting);
}

QString TaskPlay::notStoredText(const ResultsStore::Delivery &delivery) const
{
    return tr("Резултатът не е записан в базата данни: %1.").arg(delivery.problem) + QLatin1Char(' ')
         + waitingText(delivery.waiting);
}

QString TaskPlay::store(Outcome outcome)
{
    return said(store_->deliver(ended(outcome)));
}

void TaskPlay::deliverWaiting()
{
    if (const QString note = said(store_->deliver()); !note.isEmpty())
        view_.showMessage(note.trimmed());
}

// A store that fails is said in a box when it starts failing, and in the message line after
// every attempt while it does; what waits is counted, and what arrives later is said too.
QString TaskPlay::said(const ResultsStore::Delivery &delivery)
{
    if (delivery.problem.isNull()) {
        storeFailing_ = false;
        return delivery.delivered == 0 ? QString()
                                       : QLatin1Char(' ') + tr("Записани са и чакащите резултати: %n.", "", delivery.delivered);
    }
    if (!storeFailing_) {
        storeFailing_ = true;
        view_.showProblem(notStoredText(delivery));
    }
    return QLatin1Char(' ') + waitingText(delivery.waiting);
}

} // namespace knight
