// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/form/actions.h"
#include "results/results_store.h"
#include "tasks/task_list.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <memory>

class QTimer;
class QWidget;

namespace knight {

class Assistant;
class FormView;
class GallopSound;
class PracticeAids;

// The lesson's set tasks, off until chosen: the task sets the board and the aids, gives its
// beginning, keeps the pupil to its start square, and explains a closed tour that does not
// close. Its end is celebrated and stored with the score (time, moves taken back, hints and
// verdicts); a tour the assistant completed counts as not solved by the pupil. Leaving a task
// returns to free play with the aids as they were.
class TaskPlay : public QObject
{
    Q_OBJECT

public:
    TaskPlay(FormView &view, Assistant &assistant, PracticeAids &aids, GallopSound &sound, QWidget *window);
    ~TaskPlay() override;
    // The window goes: the attempt in progress is stored as abandoned.
    void windowClosing();
    // The attempts an earlier start or an earlier failure left waiting, stored if they can be.
    void deliverWaiting();

    // The menu's option: on, the list to choose from (the pupil's name asked first in a
    // session); off, free play.
    void setOn(bool on);
    bool isOn() const;
    // Task index (counted from 0) on a cleared board of its size; an attempt begins.
    void start(int index);
    // Back to free play; an attempt with moves of the pupil's stored as not solved. What the
    // store said of it, or nothing.
    QString leave();
    int index() const;
    // Where the list opens: the task on, else the one after the last one solved, else the last
    // one left (the first at the start).
    int suggested() const;
    bool allows(Aid aid) const { return !isOn() || task().allows(aid); }

    const QString &pupil() const { return pupil_; }
    void setPupil(const QString &pupil) { pupil_ = pupilName(pupil); }
    // The pupil's name, asked when none was given in this session; false when none is given.
    bool askPupil(bool always);
    // The pupil's best time at each task, in seconds (-1: not solved yet, or not known when
    // the store cannot be read: then why, in problem).
    std::vector<int> bestTimes(QString *problem);
    ResultsStore &store() { return *store_; }
    void useStore(std::unique_ptr<ResultsStore> store) { store_ = std::move(store); }

    // Before a click on square n: whether the task refuses the move, said why.
    bool refuses(int n);
    // The square the task on begins from, while no move is made yet; -1 for none.
    int startSquare() const;
    // The help the attempt used.
    void noteHelp(ActionId id);
    // Why the task on does not allow the aid; null when it does.
    QString refusal(Aid aid) const;
    void noteTakeBack() { ++attempt_.takeBacks; }
    // After each change of the form: the beginning given again after a clearing, the end
    // recognised and stored, a walk brought in from elsewhere ending the task.
    void followForm();

    // The task on; only while one is.
    const Task &task() const { return lessonTasks()[std::size_t(index())]; }

private:
    void beginAttempt();
    void finish();
    Attempt ended(Outcome outcome);
    // What the message says of the store after it: empty when all is well.
    QString store(Outcome outcome);
    QString said(const ResultsStore::Delivery &delivery);
    QString waitingText(int waiting) const;
    QString notStoredText(const ResultsStore::Delivery &delivery) const;
    void restoreFreePlay();
    // Who plays which task, and for how long: in the message line whenever no message shows.
    void showStanding();
    // A tour shown or galloped whole on a task's board is help for that task's next attempt.
    void noteTourSeen();

    FormView &view_;
    Assistant &assistant_;
    PracticeAids &aids_;
    GallopSound &sound_;
    QWidget *window_;
    std::unique_ptr<ResultsStore> store_;
    QString pupil_;
    Attempt attempt_;
    QElapsedTimer clock_;
    QTimer *ticker_; // the standing line's clock, while a task is on
    bool completed_ = false; // the assistant finished the walk
    bool finished_ = false;
    bool giving_ = false;    // the task plays its beginning
    qsizetype moves_ = 0;    // the walk's length when last seen
    std::vector<bool> tourSeen_; // by task
    bool storeFailing_ = false;
    int last_ = 0;            // the task left last
    bool lastSolved_ = false; // and whether the pupil solved it
    // Free play's aids, given back when the task is left.
    bool freeGreensHidden_ = false;
    bool freeCountsShown_ = false;
    bool freeClosed_ = false;
};

} // namespace knight
