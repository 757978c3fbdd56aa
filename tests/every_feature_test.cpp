// SPDX-License-Identifier: GPL-3.0-or-later
// One seeded run through everything a user reaches in the window, in random order: squares,
// buttons, every action of the table (dialogs answered as they open), tasks started, solved,
// given up and played under another pupil's name, puzzles, shown tours and gallops, the
// projector view, zoom and full screen, the language, walk files and the walk left last time.
// After every event the lesson must be in one mode, every action enabled by its rule, every
// message box must say something, and every stored attempt must be fair to its task.
#include "app/features/assistant.h"
#include "app/features/class_view.h"
#include "app/features/form_zoom.h"
#include "app/features/guide_window.h"
#include "app/features/language_menu.h"
#include "app/features/practice_aids.h"
#include "app/features/puzzle_play.h"
#include "app/features/task_play.h"
#include "app/features/walk_autosave.h"
#include "app/features/walk_files.h"
#include "app/form/command_button.h"
#include "app/projector/projector.h"
#include "app/projector/projector_window.h"
#include "app/projector/status_lines.h"
#include "language/language.h"
#include "notation/walk_notation.h"
#include "random_events.h"
#include "task_tours.h"
#include "window_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QRandomGenerator>
#include <QTest>
#include <QTimer>

#include <bitset>
#include <map>
#include <set>

using namespace knight;
using namespace knight::test;
using namespace Qt::StringLiterals;

namespace {

// What an attempt may have used: the help its task allows, and a tour seen before it began.
unsigned fairHelp(const Task &task)
{
    unsigned help = unsigned(Help::ShownTour);
    const std::pair<Aid, Help> kinds[] = {{Aid::Hints, Help::Hints}, {Aid::Verdict, Help::Verdict},
                                          {Aid::Completion, Help::Completion}, {Aid::Counts, Help::Counts}};
    for (const auto &[aid, kind] : kinds)
        help |= task.allows(aid) ? unsigned(kind) : 0u;
    return help;
}

class FeatureRun
{
public:
    FeatureRun(quint64 seed, const QString &folder)
        : random_(seed)
        , folder_(folder)
    {
        // The walk an earlier start left, to be offered once.
        QFile left(folder + u"/last-walk.txt"_s);
        if (left.open(QIODevice::WriteOnly))
            left.write(writeWalk(squares(u"a1 b3 c5"_s), BoardShape{}));
        left.close();
        window_.languageMenu()->useTranslations(&translations_);
        window_.autosave()->useFolder(folder);
        window_.tasks()->useStore(std::make_unique<ResultsStore>(folder + u"/results.sqlite"_s));
        window_.show();
        answerDialogs();
    }

    const std::bitset<actionCount> &reached() const { return reached_; }
    const std::map<QString, int> &keysIn() const { return keysIn_; }

    // One random event; what it broke, or nothing.
    QString step()
    {
        event_ = QString();
        int kind = random_.bounded(100);
        // A tour on show or a gallop is mostly watched and steered, now and then left by a click.
        if (kind < 40 && !window_.form().walking() && random_.bounded(5) != 0)
            kind = 40 + random_.bounded(40);
        // A paused gallop is mostly stepped through, as a teacher does to explain it.
        if (window_.form().gallopPaused() && random_.bounded(3) != 0)
            kind = 40;
        if (kind < 40)
            clickSquare();
        else if (kind < 62)
            triggerAction();
        else if (kind < 70)
            clickButton();
        else if (kind < 80)
            tick();
        else if (kind < 85)
            startTask();
        else if (kind < 88)
            giveUp();
        else if (kind < 91)
            solveTask();
        else if (kind < 93)
            changePupil();
        else if (kind < 96)
            walkFile();
        else
            chooseBoard();
        // What the event posted (a change of language) arrives, as it would before the next one.
        QCoreApplication::processEvents();
        return broken();
    }

    const QString &lastEvent() const { return event_; }

private:
    // Whatever a dialog asks is answered as soon as it is open; each box must say something.
    void answerDialogs()
    {
        auto *answer = new QTimer(&window_);
        answer->setInterval(1);
        QObject::connect(answer, &QTimer::timeout, &window_, [this] {
            QWidget *modal = QApplication::activeModalWidget();
            if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                if (box->text().isEmpty())
                    problem_ = u"a message box without text"_s;
            }
            if (auto *dialog = qobject_cast<QDialog *>(modal))
                dialog->reject();
        });
        answer->start();
    }

    void clickSquare()
    {
        const KnightForm &form = window_.form();
        std::vector<int> green;
        for (int n = 0; n < squareCount; ++n) {
            if (form.shape().contains(n) && form.board().square(n).backColor == reachableColor)
                green.push_back(n);
        }
        int n = int(random_.bounded(squareCount));
        if (!green.empty() && random_.bounded(10) < 8)
            n = green[random_.bounded(int(green.size()))];
        event_ = u"square %1"_s.arg(chessName(n));
        if (form.shape().contains(n))
            QTest::mouseClick(window_.square(n), Qt::LeftButton);
        else
            window_.Label2_Click(n);
    }

    void triggerAction()
    {
        // Mostly one of those that can act now, as a user picks from what is offered; a tour on
        // show or a gallop is steered by its own.
        const bool watching = !window_.form().walking() && random_.bounded(2) == 0;
        const auto steers = [](ActionId id) {
            return id <= ActionId::Sound || id == ActionId::Redo || id == ActionId::MoveBack;
        };
        std::vector<const ActionEntry *> offered;
        for (const ActionEntry &entry : actionTable()) {
            if ((window_.action(entry.id)->isEnabled() || random_.bounded(3) == 0) && (!watching || steers(entry.id)))
                offered.push_back(&entry);
        }
        if (offered.empty())
            return;
        const ActionEntry *picked = offered[random_.bounded(int(offered.size()))];
        // One that can act and was never used comes first; otherwise, half the time, the enabled
        // one used least so far: no action waits for luck (or a fast machine) to be reached.
        const auto unused = std::find_if(offered.begin(), offered.end(), [this](const ActionEntry *entry) {
            return window_.action(entry->id)->isEnabled() && uses_[std::size_t(entry->id)] == 0;
        });
        if (unused != offered.end()) {
            picked = *unused;
        } else if (random_.bounded(2) == 0) {
            for (const ActionEntry *entry : offered) {
                if (window_.action(entry->id)->isEnabled() && uses_[std::size_t(entry->id)] < uses_[std::size_t(picked->id)])
                    picked = entry;
            }
        }
        const ActionEntry &entry = *picked;
        QAction *action = window_.action(entry.id);
        event_ = u"action %1"_s.arg(action->text());
        if (entry.id == ActionId::Quit && random_.bounded(4) != 0)
            return; // a quit now and then: the window shown again after it
        if (!action->isEnabled())
            return;
        reached_.set(std::size_t(entry.id));
        ++uses_[std::size_t(entry.id)];
        // A third of the time by its key, in the window that has the focus: full screen, the
        // projector view, a task; the key reaches the action once in every mode.
        QWidget *active = QApplication::activeWindow();
        if (!action->shortcut().isEmpty() && random_.bounded(3) == 0 && active
            && (active == &window_ || active == window_.projector()->view())) {
            int triggered = 0;
            const QMetaObject::Connection counting = QObject::connect(action, &QAction::triggered, [&] { ++triggered; });
            const char *mode = active != &window_ ? "the projector view" : window_.tasks()->isOn() ? "a task"
                               : window_.zoom()->isFullScreen() ? "full screen" : "the window";
            ++keysIn_[mode];
            event_ = u"key %1 in %2"_s.arg(action->shortcut().toString(), QLatin1StringView(mode));
            QTest::keySequence(active, action->shortcut());
            QObject::disconnect(counting);
            if (triggered != 1)
                problem_ = u"%1 reached its action %2 times"_s.arg(event_).arg(triggered);
        } else {
            action->trigger();
        }
        if (entry.id == ActionId::Quit)
            window_.show();
        // The guide and the class's table are windows of their own: closed again, as a pupil would.
        if (window_.guide())
            window_.guide()->close();
        if (auto *view = window_.findChild<ClassView *>())
            view->close();
    }

    void clickButton()
    {
        const int i = random_.bounded(commandCount);
        event_ = u"button %1"_s.arg(window_.command(i)->text());
        QTest::mouseClick(window_.command(i), Qt::LeftButton);
    }

    void tick()
    {
        event_ = u"tick"_s;
        if (window_.form().timer().isActive())
            window_.Timer1_Timer();
    }

    void startTask()
    {
        if (window_.puzzle()->isOn())
            window_.action(ActionId::Puzzle)->trigger();
        const int task = random_.bounded(int(lessonTasks().size()));
        event_ = u"task %1"_s.arg(task + 1);
        if (window_.tasks()->pupil().isEmpty())
            changePupil();
        window_.tasks()->start(task);
    }

    // The task on, from its beginning, played to its end with a tour of its own.
    void solveTask()
    {
        event_ = u"solve"_s;
        if (!window_.tasks()->isOn())
            return;
        const int task = window_.tasks()->index();
        const Task &chosen = lessonTasks()[std::size_t(task)];
        window_.tasks()->start(task);
        const std::vector<int> &tour = taskTour(task);
        for (std::size_t i = chosen.beginning.size(); i < tour.size(); ++i)
            window_.Label2_Click(tour[i]);
    }

    void giveUp()
    {
        event_ = u"give up"_s;
        if (window_.tasks()->isOn())
            window_.action(ActionId::Tasks)->trigger();
    }

    void changePupil()
    {
        const QString names[] = {u"Ана"_s, u"Борис"_s, u"Виктория Петрова"_s, u"Ivan"_s};
        const QString &name = names[random_.bounded(4)];
        event_ = u"pupil %1"_s.arg(name);
        window_.tasks()->setPupil(name);
        pupils_.insert(name);
    }

    void walkFile()
    {
        const QString path = folder_ + u"/walk.txt"_s;
        if (random_.bounded(2) == 0 && !window_.form().history().isEmpty()) {
            event_ = u"save walk"_s;
            window_.walkFiles()->saveTo(path);
        } else if (QFile::exists(path)) {
            event_ = u"open walk"_s;
            window_.walkFiles()->openFile(path);
        }
    }

    void chooseBoard()
    {
        const int i = random_.bounded(int(offeredShapes.size()));
        event_ = u"board %1 x %2"_s.arg(offeredShapes[std::size_t(i)].files).arg(offeredShapes[std::size_t(i)].ranks);
        window_.setBoardShape(offeredShapes[std::size_t(i)]);
    }

    QString broken()
    {
        if (!problem_.isEmpty())
            return std::exchange(problem_, QString());
        const KnightForm &form = window_.form();
        const TaskPlay &tasks = *window_.tasks();
        // One mode: a task is the pupil's own walk; a puzzle waits under a tour shown, its
        // numbers hidden; never both.
        if (tasks.isOn() && window_.puzzle()->isOn())
            return u"a task and a puzzle at once"_s;
        if (tasks.isOn() && !form.walking())
            return u"a task over a shown tour"_s;
        const LessonMode mode = window_.lessonMode();
        const bool watching = mode == LessonMode::Showing || mode == LessonMode::Galloping || mode == LessonMode::Paused;
        if (watching == form.walking() || (mode == LessonMode::Task) != tasks.isOn()
            || (mode == LessonMode::Puzzle) != (window_.puzzle()->isOn() && form.walking())
            || (mode == LessonMode::Paused) != form.gallopPaused())
            return u"the lesson's mode %1"_s.arg(int(mode));
        for (int n = 0; n < squareCount && !form.walking(); ++n) {
            if (window_.square(n)->clue() != 0)
                return u"a puzzle's number over a shown tour"_s;
        }
        // Hidden greens are not told by their onward counts either.
        for (int n = 0; n < squareCount && window_.action(ActionId::NoGreens)->isChecked(); ++n) {
            if (window_.square(n)->count() >= 0)
                return u"an onward count over a hidden green"_s;
        }
        if (window_.action(ActionId::Tasks)->isChecked() != tasks.isOn())
            return u"the tick of Tasks"_s;
        if (window_.action(ActionId::Puzzle)->isChecked() != window_.puzzle()->isOn())
            return u"the tick of Puzzle"_s;
        if (window_.action(ActionId::Projector)->isChecked() != window_.projector()->isOn())
            return u"the tick of the projector view"_s;
        if (window_.action(ActionId::FullScreen)->isChecked() != window_.zoom()->isFullScreen())
            return u"the tick of full screen"_s;
        if (tasks.isOn()) {
            if (tasks.index() < 0 || std::size_t(tasks.index()) >= lessonTasks().size())
                return u"task %1 is on"_s.arg(tasks.index());
            const Task &task = tasks.task();
            if (form.shape() != task.shape || window_.aids()->greensHidden() == task.allows(Aid::Greens)
                || window_.assistant()->closedGoal() != task.closed
                || (window_.aids()->countsShown() && !task.allows(Aid::Counts)))
                return u"task %1 is not on its board with its aids"_s.arg(tasks.index() + 1);
            // The view names the task in the language in use.
            const QString named = QCoreApplication::translate("ProjectorText", "Задача %1").arg(tasks.index() + 1);
            if (window_.projector()->isOn() && !window_.projector()->view()->status()->text().split(u'\n').contains(named))
                return u"the projector view does not name task %1: %2"_s.arg(tasks.index() + 1).arg(
                    window_.projector()->view()->status()->text());
        }
        for (const ActionEntry &entry : actionTable()) {
            const QAction *action = window_.action(entry.id);
            if (entry.aid && tasks.isOn() && !tasks.task().allows(*entry.aid)
                && (action->isEnabled() || action->toolTip() == action->text()))
                return u"%1 open in task %2"_s.arg(action->text()).arg(tasks.index() + 1);
        }
        for (const auto &[command, id] : {std::pair{Command::Show, ActionId::Show}, std::pair{Command::Gallop, ActionId::Gallop}}) {
            if (window_.command(int(command))->isEnabled() != window_.action(id)->isEnabled())
                return u"button %1 and its action differ"_s.arg(int(command));
        }
        if (window_.action(ActionId::Redo)->isEnabled() != form.canRedo())
            return u"redo"_s;
        if (window_.zoom()->isFullScreen()
            && (window_.action(ActionId::ZoomIn)->isEnabled() || window_.action(ActionId::ZoomOut)->isEnabled()))
            return u"zoom keys in full screen"_s;
        return storedFairly();
    }

    // Every attempt stored: a task of the list, a pupil of the run, help its task allows, and
    // "with the assistant" only after the assistant's completion.
    QString storedFairly()
    {
        if (++sinceRead_ < 25)
            return {};
        sinceRead_ = 0;
        const ResultsStore::Reading reading = window_.tasks()->store().read();
        if (!reading.problem.isNull())
            return reading.problem;
        if (reading.attempts.size() < stored_)
            return u"attempts lost"_s;
        stored_ = reading.attempts.size();
        for (const Attempt &attempt : reading.attempts) {
            if (attempt.task < 1 || std::size_t(attempt.task) > lessonTasks().size() || !pupils_.contains(attempt.pupil))
                return u"an attempt of task %1 by '%2'"_s.arg(attempt.task).arg(attempt.pupil);
            const Task &task = lessonTasks()[std::size_t(attempt.task - 1)];
            if ((attempt.help & ~fairHelp(task)) != 0)
                return u"task %1 stored with help %2 it does not allow"_s.arg(attempt.task).arg(attempt.help);
            if ((attempt.outcome == Outcome::Completed) != bool(attempt.help & unsigned(Help::Completion))
                && attempt.outcome != Outcome::Abandoned)
                return u"task %1 stored as %2 with help %3"_s.arg(attempt.task).arg(int(attempt.outcome)).arg(attempt.help);
        }
        return {};
    }

    QRandomGenerator random_;
    QString folder_;
    Translations translations_;
    MainWindow window_;
    QString event_;
    QString problem_;
    std::bitset<actionCount> reached_;
    std::map<QString, int> keysIn_; // keys pressed, by the mode they were pressed in
    std::array<int, actionCount> uses_{};
    std::set<QString> pupils_;
    std::size_t stored_ = 0;
    int sinceRead_ = 0;
};

} // namespace

class EveryFeatureTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The offscreen platform says so at every full screen and raise: noise here.
        static const QtMessageHandler passOn = qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext &context, const QString &text) {
                if (!text.startsWith(u"This plugin does not support"_s))
                    passOn(type, context, text);
            });
        qputenv("XDG_DATA_HOME", QFile::encodeName(data_.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(data_.path()));
    }

    // Events from KNIGHT_FEATURE_EVENTS (3,000 unless given), seeded by KNIGHT_RANDOM_SEED.
    void aRandomRunThroughEveryFeature()
    {
        bool given = false;
        const qint64 count = qEnvironmentVariable("KNIGHT_FEATURE_EVENTS").toLongLong(&given);
        const qint64 events = given && count > 0 ? count : 3000;
        const quint64 seed = model::eventSeed();
        QTemporaryDir folder;
        FeatureRun run(seed, folder.path());
        QElapsedTimer clock;
        clock.start();
        QStringList recent;
        for (qint64 i = 0; i < events; ++i) {
            const QString broken = run.step();
            if (qEnvironmentVariableIsSet("KNIGHT_FEATURE_TRACE"))
                std::fprintf(stderr, "%s\n", qPrintable(run.lastEvent()));
            recent.append(run.lastEvent());
            if (recent.size() > 30)
                recent.removeFirst();
            if (!broken.isEmpty())
                QFAIL(qPrintable(u"seed %1 (KNIGHT_RANDOM_SEED), event %2: %3\nlast events: %4"_s.arg(seed).arg(i).arg(
                    broken, recent.join(u", "_s))));
        }
        const qint64 ms = std::max<qint64>(1, clock.elapsed());
        qInfo("%lld events from seed %llu in %lld ms: %lld events a second", events, seed, ms, events * 1000 / ms);
        // Every action of the table was used at least once, while it could act.
        QStringList never;
        for (const ActionEntry &entry : actionTable()) {
            if (!run.reached().test(std::size_t(entry.id)))
                never << actionText(entry);
        }
        QVERIFY2(never.isEmpty(), qPrintable(u"never reached: "_s + never.join(u", "_s)));
        // Keys were pressed in every mode, not only in the plain window.
        QCOMPARE(run.keysIn().size(), std::size_t(4));
    }

private:
    QTemporaryDir data_;
};

QTEST_MAIN(EveryFeatureTest)
#include "every_feature_test.moc"
