// SPDX-License-Identifier: GPL-3.0-or-later
// Tasks through the real window: chosen in their list, played by clicks with their rules,
// celebrated and stored, left for free play; a store that fails is said once, and a program
// killed in the middle of a task leaves the finished ones stored.
#include "app/features/class_view.h"
#include "app/features/gallop_sound.h"
#include "app/features/practice_aids.h"
#include "app/features/results_dialog.h"
#include "app/features/task_dialog.h"
#include "app/features/task_play.h"
#include "app/projector/projector.h"
#include "app/projector/projector_window.h"
#include "app/projector/status_lines.h"
#include "app/form/command_button.h"
#include "app/form/square_label.h"
#include "app/form/termination.h"
#include "language/language.h"
#include "task_tours.h"
#include "window_support.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QPushButton>
#include <QMessageBox>
#include <QTableView>
#include <QTableWidget>
#include <QProcess>
#include <QScrollBar>
#include <QTimer>
#include <QTreeWidget>

#include <csignal>
#include <map>
#include <iostream>

using namespace knight;
using namespace knight::test;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(knight::Aid)
Q_DECLARE_METATYPE(knight::Outcome)

namespace {

struct CountingPlayer : BeatPlayer {
    int *chimes;
    explicit CountingPlayer(int *count) : chimes(count) {}
    void play(Beat beat) override { *chimes += beat == Beat::End; }
};

// Chooses the task in the list when it opens, after reading the best time shown for it; the
// list must show every task whole.
QString chooseInTheList(MainWindow &window, int index)
{
    QString best;
    bool whole = false;
    QTimer::singleShot(0, &window, [&best, &whole, index] {
        auto *dialog = qobject_cast<TaskDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        whole = !dialog->list()->verticalScrollBar()->isVisible() && !dialog->list()->horizontalScrollBar()->isVisible();
        dialog->list()->setCurrentItem(dialog->list()->topLevelItem(index));
        best = dialog->list()->currentItem()->text(3);
        dialog->accept();
    });
    window.action(ActionId::Tasks)->trigger();
    return whole ? best : u"not whole"_s;
}

void play(MainWindow &window, const std::vector<int> &squares)
{
    for (const int n : squares)
        QTest::mouseClick(window.square(n), Qt::LeftButton);
}

// The pupil's own moves of a tour of the task, after its beginning (its first square too when
// there is none), from the skip-th on.
void playOwnMoves(MainWindow &window, int task, int count, int skip = 0)
{
    const std::vector<int> &tour = taskTour(task);
    const std::size_t given = lessonTasks()[std::size_t(task)].beginning.size();
    const std::size_t from = given == 0 && skip == 0 ? 0 : std::max<std::size_t>(given, 1) + std::size_t(skip);
    const std::size_t to = std::max<std::size_t>(given, 1) + std::size_t(skip + count);
    for (std::size_t i = from; i < to; ++i)
        QTest::mouseClick(window.square(tour[i]), Qt::LeftButton);
}

std::vector<Attempt> stored(MainWindow &window)
{
    return window.tasks()->store().read().attempts;
}

} // namespace

class TaskWindowTest : public QObject
{
    Q_OBJECT

    QTemporaryDir data_;

private slots:
    void initTestCase() { qputenv("XDG_DATA_HOME", QFile::encodeName(data_.path())); }
    void init() { QFile::remove(ResultsStore::defaultPath()); }

    // Chosen in the list, played with a take-back and a hint, celebrated with the chime and
    // stored with its score; the list then shows the best time.
    void aTaskIsPlayedAndStoredWithItsScore()
    {
        ShownWindow shown;
        MainWindow &window = shown.window;
        int chimes = 0;
        window.sound()->setPlayer(std::make_unique<CountingPlayer>(&chimes));
        window.sound()->setOn(true);
        window.tasks()->setPupil(u"  Мария   Петрова "_s);
        QCOMPARE(chooseInTheList(window, 0), u"—"_s);
        QCOMPARE(window.form().shape(), (BoardShape{3, 4}));
        QVERIFY(message(window).startsWith(u"Задача 1: Дъска 3 × 4"_s));
        // The projector view names the task in its status.
        window.action(ActionId::Projector)->trigger();
        QCOMPARE(window.projector()->view()->status()->text(), u"Ход 0 от 12\nЗадача 1"_s);
        window.action(ActionId::Projector)->trigger();
        const std::vector<int> tour = TaskTourSearch(lessonTasks()[0]).tour();
        play(window, {tour.begin(), tour.begin() + 3});
        window.Command1_Click(int(Command::MoveBack));
        window.action(ActionId::Hint)->trigger();
        QCOMPARE(window.assistant()->hintSquare(), tour[2]);
        QVERIFY(stored(window).empty());
        play(window, {tour.begin() + 2, tour.end()});
        QVERIFY2(message(window).startsWith(u"Мария Петрова: Браво! Задача 1 е решена за 0:0"_s), qPrintable(message(window)));
        QCOMPARE(chimes, 1);
        const std::vector<Attempt> rows = stored(window);
        QCOMPARE(rows.size(), std::size_t(1));
        QCOMPARE(rows[0].pupil, u"Мария Петрова"_s);
        QCOMPARE((std::array{rows[0].task, int(rows[0].outcome), rows[0].takeBacks, rows[0].hints, rows[0].verdicts}),
                 (std::array{1, int(Outcome::Solved), 1, 1, 0}));
        // "Чисти" starts the task again; left, and the list shows the time just made.
        window.Command1_Click(int(Command::Clear));
        QVERIFY(window.tasks()->isOn());
        window.action(ActionId::Tasks)->trigger();
        QVERIFY(!window.tasks()->isOn());
        QVERIFY(chooseInTheList(window, 0).startsWith(u"0:0"_s));
        QCOMPARE(stored(window).size(), std::size_t(1));
        {
            // Another pupil: the name changes, and the best times with it.
            TaskDialog list(*window.tasks(), &window);
            QTimer::singleShot(0, &window, [] {
                if (auto *asked = qobject_cast<QInputDialog *>(QApplication::activeModalWidget())) {
                    asked->setTextValue(u"Петър"_s);
                    asked->accept();
                }
            });
            list.findChild<QDialogButtonBox *>()->buttons().constLast()->click();
            QCOMPARE(window.tasks()->pupil(), u"Петър"_s);
            QCOMPARE(list.findChild<QLabel *>()->text(), u"Ученик: Петър"_s);
            QCOMPARE(list.list()->topLevelItem(0)->text(3), u"—"_s);
            // Still on the task chosen before, each task numbered as its messages number it.
            QCOMPARE(list.list()->currentItem(), list.list()->topLevelItem(0));
            QCOMPARE(list.list()->topLevelItemCount(), int(lessonTasks().size()));
            QCOMPARE(list.list()->topLevelItem(19)->text(0), u"20"_s);
            QCOMPARE(list.list()->topLevelItem(19)->text(1), taskTitle(lessonTasks()[19]));
        }
        // Every column whole, without scrolling across, in either language's words.
        for (const Language language : languages) {
            Translations translations;
            translations.use(language);
            TaskDialog list(*window.tasks(), &window);
            list.show();
            QVERIFY(QTest::qWaitForWindowExposed(&list));
            QVERIFY(!list.list()->horizontalScrollBar()->isVisible());
            // A task is chosen with Enter on it as with the button.
            list.list()->setCurrentItem(list.list()->topLevelItem(2));
            QTest::keyClick(list.list(), Qt::Key_Return);
            QCOMPARE(list.result(), int(QDialog::Accepted));
        }
        window.action(ActionId::Tasks)->trigger();

        // In free play the pupil's own tour is celebrated when the end messages are on, and
        // one the assistant completed is not.
        window.action(ActionId::EndMessages)->trigger();
        for (const bool completed : {false, true}) {
            window.Command1_Click(int(Command::Clear));
            play(window, {tour.begin(), tour.end() - (completed ? 3 : 0)});
            if (completed)
                window.action(ActionId::Complete)->trigger();
            QVERIFY(message(window).startsWith(u"Пълна обиколка"_s));
            QCOMPARE(chimes, 2);
        }
        QCOMPARE(stored(window).size(), std::size_t(1));
    }

    // After a solve the list opens at the next task; one given up is said, with how far it got,
    // and the list opens at it again.
    void theListFollowsThePupil()
    {
        ShownWindow shown;
        MainWindow &window = shown.window;
        window.tasks()->setPupil(u"Вяра"_s);
        const auto opensAt = [&window] { return TaskDialog(*window.tasks(), &window).list()->currentIndex().row(); };
        QCOMPARE(opensAt(), 0);
        chooseInTheList(window, 0);
        playOwnMoves(window, 0, lessonTasks()[0].shape.count() - 1);
        QCOMPARE(stored(window).size(), std::size_t(1));
        QCOMPARE(opensAt(), 0);
        window.action(ActionId::Tasks)->trigger();
        QCOMPARE(opensAt(), 1);
        chooseInTheList(window, 1);
        // Its start square ringed and named so, in the window and the projector view, until
        // the first move.
        const auto ringed = [&window] {
            std::vector<int> squares;
            for (int n = 0; n < squareCount; ++n) {
                if (window.square(n)->isStartShown() && window.square(n)->accessibleSquareName().endsWith(u", начало на задачата"_s))
                    squares.push_back(n);
            }
            window.action(ActionId::Projector)->trigger();
            squares.push_back(window.projector()->view()->diagram().start);
            window.action(ActionId::Projector)->trigger();
            return squares;
        };
        QCOMPARE(ringed(), (std::vector{lessonTasks()[1].start, lessonTasks()[1].start}));
        playOwnMoves(window, 1, 3);
        QCOMPARE(ringed(), std::vector{-1});
        // Who plays which task, and for how long, stands in the message line between messages.
        QVERIFY(window.assistant()->standingLine().startsWith(u"Вяра · задача 2 · 0:0"_s));
        QCOMPARE(message(window), window.assistant()->standingLine());
        const QString before = message(window);
        QTRY_VERIFY_WITH_TIMEOUT(message(window) != before, 2500);
        QVERIFY(message(window).startsWith(u"Вяра · задача 2 · 0:0"_s));
        window.action(ActionId::Projector)->trigger();
        QCOMPARE(window.projector()->view()->message()->text(), message(window));
        window.action(ActionId::Projector)->trigger();
        window.action(ActionId::Tasks)->trigger();
        QCOMPARE(message(window), u"Задача 2 е оставена и записана като нерешена: обходени %1 от %2 полета."_s
                                      .arg(std::max<std::size_t>(lessonTasks()[1].beginning.size(), 1) + 3)
                                      .arg(lessonTasks()[1].shape.count()));
        QCOMPARE(stored(window).back().outcome, Outcome::Abandoned);
        QCOMPARE(opensAt(), 1);
        // Left without a move of the pupil's, nothing is stored and nothing said of it.
        chooseInTheList(window, 2);
        window.action(ActionId::Tasks)->trigger();
        QCOMPARE(message(window), QString());
        QCOMPARE(stored(window).size(), std::size_t(2));
        QCOMPARE(opensAt(), 2);
    }

    // Each task allows only its aids and keeps its start, its goal and its beginning; leaving
    // gives free play back as it was, and an attempt with moves is stored as abandoned.
    void aTaskKeepsItsRulesUntilItIsLeft()
    {
        ShownWindow shown;
        MainWindow &window = shown.window;
        window.tasks()->setPupil(u"Иван"_s);
        window.action(ActionId::Counts)->trigger();
        const std::array kept{ActionId::NoGreens, ActionId::ClosedTour, ActionId::BoardSize, ActionId::Puzzle};
        struct Row {
            int task;
            std::array<bool, 3> aids; // hint, verdict, completion
            bool greensHidden;
        };
        for (const Row row : {Row{1, {true, true, false}, false}, Row{12, {false, false, false}, false},
                              Row{8, {false, false, false}, true}, Row{15, {true, true, true}, false}}) {
            window.tasks()->start(row.task);
            const Task &task = lessonTasks()[std::size_t(row.task)];
            window.updateActions();
            const QString name = taskTitle(task);
            QCOMPARE(window.form().shape(), task.shape);
            QCOMPARE(window.aids()->greensHidden(), row.greensHidden);
            QCOMPARE(window.assistant()->closedGoal(), task.closed);
            for (const ActionId id : kept)
                QVERIFY2(!window.action(id)->isEnabled(), qPrintable(name));
            const std::array helpers{ActionId::Hint, ActionId::Verdict, ActionId::Complete};
            for (std::size_t i = 0; i < helpers.size(); ++i)
                QVERIFY2(window.action(helpers[i])->isEnabled() == row.aids[i], qPrintable(name));
            if (task.start >= 0) {
                // A first move elsewhere is refused, with the reason.
                const int elsewhere = task.start == 0 ? 1 : 0;
                window.Label2_Click(elsewhere);
                QVERIFY(window.form().history().isEmpty());
                QCOMPARE(message(window), u"Задачата започва от %1."_s.arg(chessName(task.start)));
            }
            if (!task.beginning.empty()) {
                // The given beginning stays through a take-back and a clearing.
                QCOMPARE(window.form().walkSquares(), task.beginning);
                window.Command1_Click(int(Command::MoveBack));
                QCOMPARE(window.form().walkSquares(), task.beginning);
                window.Command1_Click(int(Command::Clear));
                QCOMPARE(window.form().walkSquares(), task.beginning);
            }
        }
        // The last task had moves only of its own beginning: leaving it stores nothing.
        QVERIFY(stored(window).empty());
        window.tasks()->start(1);
        window.Label2_Click(squareNamed(u"a1"));
        window.action(ActionId::Tasks)->trigger();
        QVERIFY(!window.tasks()->isOn());
        QCOMPARE(stored(window).size(), std::size_t(1));
        QCOMPARE(stored(window)[0].outcome, Outcome::Abandoned);
        window.updateActions();
        QVERIFY(!window.aids()->greensHidden());
        QVERIFY(!window.assistant()->closedGoal());
        QVERIFY(window.action(ActionId::Counts)->isChecked());
        // All but the puzzle, which is for 8 x 8 only.
        for (const ActionId id : {ActionId::NoGreens, ActionId::ClosedTour, ActionId::BoardSize})
            QVERIFY(window.action(id)->isEnabled());
        // A window closed in the middle of a task leaves it abandoned.
        {
            MainWindow closed;
            closed.tasks()->start(1);
            closed.Label2_Click(squareNamed(u"a1"));
        }
        QCOMPARE(ResultsStore().read().attempts.size(), std::size_t(2));
        QCOMPARE(ResultsStore().read().attempts.back().task, 2);
    }

    // A closed task whose walk does not close is explained and not stored; completion is
    // stored as the assistant's; a walk brought in from elsewhere ends the task.
    void theEndOfATaskIsJudgedByItsRules()
    {
        ShownWindow shown;
        MainWindow &window = shown.window;
        window.tasks()->start(10); // 6 x 6, closed, from any square
        Task open = lessonTasks()[10];
        open.closed = false;
        open.start = squareNamed(u"a1");
        const std::vector<int> tour = TaskTourSearch(open).tour();
        QCOMPARE(tour.size(), std::size_t(36));
        QVERIFY(!knightApart(tour.front(), tour.back()));
        play(window, tour);
        QVERIFY2(message(window).contains(u"не е затворена: от %1 няма ход до a1"_s.arg(chessName(tour.back()))),
                 qPrintable(message(window)));
        QVERIFY(stored(window).empty());
        // Asked, the assistant says what the walk is; that is no verdict of the score's.
        window.action(ActionId::Verdict)->trigger();
        QVERIFY(message(window).startsWith(u"Пълна обиколка: конят обходи всичките 36 полета. Обиколката е отворена"_s));

        window.tasks()->start(15); // 8 x 8 from a given beginning, completion allowed
        window.action(ActionId::Complete)->trigger();
        QCOMPARE(window.form().history().size(), 64);
        QCOMPARE(message(window), u"Задача 16 е довършена от помощника. Опитайте я сами!"_s);
        // The closed task, left for this one, was stored as abandoned.
        QCOMPARE(stored(window).size(), std::size_t(2));
        QCOMPARE(stored(window)[0].outcome, Outcome::Abandoned);
        QCOMPARE(stored(window)[0].verdicts, 0);
        QCOMPARE(stored(window)[1].outcome, Outcome::Completed);

        window.Command1_Click(int(Command::Clear));
        window.replaceWalk(squares(u"a1 b3 c1 d3 e1"_s));
        QVERIFY(!window.tasks()->isOn());
        QCOMPARE(message(window), u"Разходката не е от задачата, затова задачата е оставена."_s);
        QCOMPARE(stored(window).size(), std::size_t(2)); // the new attempt had only the given beginning
    }

    // A task chosen over a tour shown, galloped or paused starts whole: left what was on, its
    // board, its title, on; the tour seen is the help of the task's next attempt.
    void aTaskStartsWholeOverAShownTour_data()
    {
        QTest::addColumn<int>("task");
        QTest::addColumn<QString>("walk");
        QTest::addColumn<QList<ActionId>>("then");
        QTest::newRow("5 x 5 from c3, shown, task 7 again") << 6 << u"c3"_s << QList{ActionId::Show};
        QTest::newRow("tour 1 on 8 x 8, an 8 x 8 task") << 17 << QString() << QList{ActionId::Show};
        QTest::newRow("8 x 8, galloping") << 16 << QString() << QList{ActionId::Show, ActionId::Gallop};
        QTest::newRow("8 x 8, paused") << 19 << QString() << QList{ActionId::Show, ActionId::Gallop, ActionId::PauseGallop};
    }

    void aTaskStartsWholeOverAShownTour()
    {
        QFETCH(int, task);
        QFETCH(QString, walk);
        QFETCH(QList<ActionId>, then);
        ShownWindow shown;
        MainWindow &window = shown.window;
        window.tasks()->setPupil(u"Ива"_s);
        const Task &chosen = lessonTasks()[std::size_t(task)];
        // The task once, so that it is left for the tour: Show is free play's then.
        window.tasks()->start(task);
        window.action(ActionId::Tasks)->trigger();
        window.setBoardShape(chosen.shape);
        play(window, squares(walk));
        for (const ActionId id : then)
            window.action(id)->trigger();
        QVERIFY(!window.form().walking());
        for (const unsigned help : {unsigned(Help::ShownTour), 0u}) {
            window.tasks()->start(task);
            QVERIFY(window.tasks()->isOn());
            QCOMPARE(window.tasks()->index(), task);
            QVERIFY(window.action(ActionId::Tasks)->isChecked());
            QCOMPARE(window.form().shape(), chosen.shape);
            QVERIFY(window.form().walking() && !window.form().timer().isActive());
            QCOMPARE(window.form().walkSquares(), chosen.beginning);
            const auto target = chosen.target.count();
            QCOMPARE(message(window), u"Задача %1: %2. Целево време %3 мин%4."_s.arg(task + 1).arg(
                                          taskTitle(chosen), QString::number(target / 60),
                                          target % 60 == 0 ? QString() : u" %1 с"_s.arg(target % 60)));
            playOwnMoves(window, task, 1);
            window.action(ActionId::Tasks)->trigger();
            // Seen once, told once: the attempt after it saw no tour.
            QCOMPARE(stored(window).back().help, help);
        }
        QCOMPARE(stored(window).size(), std::size_t(2));
    }

    // Each aid: where the task allows it, used and stored as used; where it does not, disabled
    // in the menu, the keys and the buttons (the projector view's are the same actions), with
    // the reason.
    void everyAidIsTheTasks_data()
    {
        QTest::addColumn<ActionId>("action");
        QTest::addColumn<Aid>("aid");
        QTest::addColumn<unsigned>("help");
        QTest::newRow("hint") << ActionId::Hint << Aid::Hints << unsigned(Help::Hints);
        QTest::newRow("verdict") << ActionId::Verdict << Aid::Verdict << unsigned(Help::Verdict);
        QTest::newRow("completion") << ActionId::Complete << Aid::Completion << unsigned(Help::Completion);
        QTest::newRow("counts") << ActionId::Counts << Aid::Counts << unsigned(Help::Counts);
        QTest::newRow("show") << ActionId::Show << Aid::Completion << unsigned(Help::ShownTour);
        QTest::newRow("gallop") << ActionId::Gallop << Aid::Completion << unsigned(Help::ShownTour);
    }

    void everyAidIsTheTasks()
    {
        QFETCH(ActionId, action);
        QFETCH(Aid, aid);
        QFETCH(unsigned, help);
        ShownWindow shown;
        MainWindow &window = shown.window;
        const bool showsTour = action == ActionId::Show || action == ActionId::Gallop;
        QAction *entry = window.action(action);
        for (int task = 0; task < int(lessonTasks().size()); ++task) {
            const Task &chosen = lessonTasks()[std::size_t(task)];
            const QString name = taskTitle(chosen);
            window.tasks()->start(task);
            playOwnMoves(window, task, 1);
            const bool allowed = chosen.allows(aid);
            QCOMPARE(entry->toolTip(), allowed ? entry->text() : u"Задача %1 не позволява тази помощ."_s.arg(task + 1));
            if (!allowed) {
                QVERIFY2(!entry->isEnabled(), qPrintable(name));
                if (showsTour) {
                    CommandButton *button = window.command(action == ActionId::Show ? 0 : 1);
                    QVERIFY(!button->isEnabled());
                    QCOMPARE(button->toolTip(), entry->toolTip());
                    QTest::keyClick(&window, Qt::Key_F5);
                    window.Command1_Click(int(Command::Show));
                    QVERIFY2(window.form().walking() && window.tasks()->isOn(), qPrintable(name));
                }
                window.action(ActionId::Tasks)->trigger();
                continue;
            }
            if (showsTour) {
                // The tour shown leaves the task; it counts against the task's next attempt.
                QVERIFY(window.command(0)->isEnabled());
                window.action(ActionId::Show)->trigger();
                QVERIFY(!window.tasks()->isOn());
                entry->trigger();
                window.tasks()->start(task);
                playOwnMoves(window, task, 1);
            } else {
                QVERIFY2(entry->isEnabled(), qPrintable(name));
                entry->trigger();
                if (action == ActionId::Counts)
                    playOwnMoves(window, task, 2, 1);
            }
            const std::size_t before = stored(window).size();
            if (window.tasks()->isOn())
                window.action(ActionId::Tasks)->trigger();
            const std::vector<Attempt> rows = stored(window);
            QVERIFY2(rows.size() == before + (action != ActionId::Complete), qPrintable(name));
            QVERIFY2(rows.back().help == help, qPrintable(u"%1: %2"_s.arg(name).arg(rows.back().help)));
        }
        // The results name it.
        ResultsDialog dialog(window.tasks()->store(), &window);
        QCOMPARE(dialog.table()->model()->headerData(8, Qt::Horizontal).toString(), u"Помощ"_s);
        QStringList shownHelp;
        for (int row = 0; row < dialog.table()->model()->rowCount(); ++row)
            shownHelp << dialog.table()->model()->index(row, 8).data().toString();
        QVERIFY(shownHelp.contains(helpText(help)));
    }

    // A store that cannot be written is said when it starts failing, and after every attempt
    // while it does; what it could not take waits beside it and arrives, in order and once,
    // with the next attempt it takes.
    void aFailingStoreIsSaidAndNothingIsLost()
    {
        MainWindow window;
        const QString path = data_.filePath(u"folder.sqlite"_s);
        QVERIFY(QDir().mkpath(path));
        window.tasks()->useStore(std::make_unique<ResultsStore>(path));
        window.tasks()->setPupil(u"Ана"_s);
        const std::vector<int> tour = TaskTourSearch(lessonTasks()[0]).tour();
        for (int attempt = 1; attempt <= 3; ++attempt) {
            if (attempt == 3)
                QVERIFY(QDir(path).removeRecursively());
            window.tasks()->start(0);
            play(window, tour);
            QVERIFY(message(window).startsWith(u"Ана: Браво! Задача 1"_s));
            QVERIFY2(message(window).endsWith(attempt < 3 ? u"Чакащи резултати на този компютър: %1. Записват се, щом базата данни ги приеме."_s.arg(attempt)
                                                          : u"Записани са и чакащите резултати: 2."_s),
                     qPrintable(message(window)));
        }
        QCOMPARE(window.findChildren<QMessageBox *>().size(), 1);
        QVERIFY(window.findChildren<QMessageBox *>()[0]->text().startsWith(u"Резултатът не е записан в базата данни: това е папка."_s));
        const std::vector<Attempt> rows = stored(window);
        QCOMPARE(rows.size(), std::size_t(3));
        QVERIFY(rows[0].id != rows[1].id && rows[1].id != rows[2].id && rows[0].finished <= rows[2].finished);
        QVERIFY(!QFile::exists(path + u".waiting"_s));
        // Delivered again, an attempt is stored once.
        QVERIFY(window.tasks()->store().record(rows[1]).isNull());
        QCOMPARE(stored(window).size(), std::size_t(3));
    }

    // "Резултати": every attempt, sorted by a column's values, filtered by pupil and task, and
    // written out as the table shows them; a store that cannot be read is said in it.
    void theResultsSortFilterAndExport()
    {
        MainWindow window;
        QVERIFY(ResultsDialog(window.tasks()->store(), &window).findChild<QLabel *>()->text().startsWith(u"Още няма резултати"_s));
        const QDateTime day(QDate(2026, 12, 10), QTime(10, 0), Qt::UTC);
        const std::vector<Attempt> attempts{{u"Ана"_s, 3, Outcome::Solved, 95, 1, 0, 0, day},
                                            {u"Борис"_s, 3, Outcome::Abandoned, 600, 4, 2, 1, day.addSecs(60)},
                                            {u"Ана"_s, 1, Outcome::Solved, 30, 0, 0, 0, day.addSecs(120)},
                                            {u"Ана"_s, 3, Outcome::Solved, 9, 0, 1, 0, day.addSecs(180)},
                                            {u"Zoe"_s, 2, Outcome::Solved, 50, 0, 0, 0, day.addSecs(-60)},
                                            {u"Éva"_s, 2, Outcome::Solved, 40, 0, 0, 0, day.addSecs(-120)}};
        for (const Attempt &attempt : attempts)
            QVERIFY(window.tasks()->store().record(attempt).isNull());
        // The menu's entry opens it; the rest is checked on a dialog of the test's own.
        bool opened = false;
        QTimer::singleShot(0, &window, [&opened] {
            if (auto *shown = qobject_cast<ResultsDialog *>(QApplication::activeModalWidget())) {
                opened = shown->table()->model()->rowCount() == 6;
                shown->reject();
            }
        });
        window.action(ActionId::Results)->trigger();
        QVERIFY(opened);

        ResultsDialog dialog(window.tasks()->store(), &window);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        // Every column whole, and room for a dozen rows; the filters as wide as their texts.
        QCOMPARE(dialog.pupilFilter()->width(), dialog.pupilFilter()->sizeHint().width());
        QVERIFY(!dialog.table()->horizontalScrollBar()->isVisible());
        QVERIFY(dialog.table()->viewport()->height() >= 12 * dialog.table()->rowHeight(0));
        QAbstractItemModel *table = dialog.table()->model();
        // The pupils in the order of the program's language, not of their code points.
        QStringList filtered;
        for (int i = 0; i < dialog.pupilFilter()->count(); ++i)
            filtered << dialog.pupilFilter()->itemText(i);
        QCOMPARE(filtered, (QStringList{u"Всички ученици"_s, u"Ана"_s, u"Борис"_s, u"Éva"_s, u"Zoe"_s}));
        QCOMPARE(table->rowCount(), 6);
        QCOMPARE(table->index(0, 0).data().toString(), u"Ана"_s); // the newest first
        // Dates as the program's language writes them, whatever the system's.
        QCOMPARE(table->index(0, 7).data().toString(),
                 languageLocale(Language::Bulgarian).toString(attempts[3].finished.toLocalTime(), QLocale::ShortFormat));
        dialog.pupilFilter()->setCurrentIndex(dialog.pupilFilter()->findText(u"Ана"_s));
        dialog.taskFilter()->setCurrentIndex(3);
        dialog.table()->sortByColumn(3, Qt::AscendingOrder); // by time, as numbers: 0:09 before 1:35
        QCOMPARE(table->rowCount(), 2);
        QCOMPARE(table->index(0, 3).data().toString(), u"0:09"_s);
        QCOMPARE(table->index(1, 3).data().toString(), u"1:35"_s);
        const QString csv = data_.filePath(u"ana.csv"_s);
        QVERIFY(dialog.exportTo(csv).isNull());
        QFile written(csv);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), resultsCsv({attempts[3], attempts[0]}, Language::Bulgarian));

        // "Затвори" closes it.
        dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Close)->click();
        QVERIFY(!dialog.isVisible());

        QFile damaged(window.tasks()->store().path());
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write(QByteArray(2048, 'x'));
        damaged.close();
        ResultsStore reopened(damaged.fileName());
        const ResultsDialog unreadable(reopened, &window);
        QVERIFY(unreadable.findChild<QLabel *>()->text().contains(u"повреден"_s));
        QCOMPARE(unreadable.table()->model()->rowCount(), 0);
        // The task list too says why it shows no best time.
        window.tasks()->useStore(std::make_unique<ResultsStore>(damaged.fileName()));
        const TaskDialog list(*window.tasks(), &window);
        const QList<QLabel *> notes = list.findChildren<QLabel *>();
        QVERIFY(std::any_of(notes.begin(), notes.end(), [](const QLabel *note) {
            return !note->isHidden() && note->text().startsWith(u"Най-добрите времена не могат да се прочетат: "_s)
                && note->text().contains(u"повреден"_s);
        }));
    }

    // "Класът" on this computer's file: another program's attempt shows within a few seconds,
    // and a class of a few pupils is seen whole, with room for a scroll bar across.
    void theClassTableFollowsTheFile()
    {
        ShownWindow shown;
        MainWindow &window = shown.window;
        ResultsStore other;
        QVERIFY(other.record({u"Ана"_s, 1, Outcome::Solved, 75, 0, 0, 0, QDateTime::currentDateTime()}).isNull());
        for (int i = 0; i < 10; ++i)
            QVERIFY(other.record({u"Ученик %1"_s.arg(i), 3, Outcome::Abandoned, 75, 0, 0, 0, QDateTime::currentDateTime()}).isNull());
        window.action(ActionId::ClassTable)->trigger();
        ClassView *view = window.findChild<ClassView *>();
        QVERIFY(view && QTest::qWaitForWindowExposed(view));
        QCOMPARE(view->table()->item(0, 0)->text(), u"1:15"_s);
        QVERIFY(other.record({u"Борис"_s, 2, Outcome::Solved, 61, 0, 0, 0, QDateTime::currentDateTime()}).isNull());
        QTRY_COMPARE_WITH_TIMEOUT(view->shown().pupils.size(), 12, 5000);
        QCOMPARE(view->table()->item(int(view->shown().pupils.indexOf(u"Борис"_s)), 1)->text(), u"1:01"_s);
        view->resize(view->sizeHint());
        QTRY_COMPARE(view->table()->verticalScrollBar()->maximum(), 0);
        view->close();
    }

    // Killed in the middle of a task, the program leaves what it finished stored, whole; ended
    // as a session's logout ends it (SIGTERM), it stores the attempt in progress too.
    void aProgramKilledMidTaskKeepsWhatItFinished_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addColumn<QList<Outcome>>("outcomes");
        QTest::newRow("SIGKILL") << SIGKILL << QList{Outcome::Solved};
        QTest::newRow("SIGTERM") << SIGTERM << QList{Outcome::Solved, Outcome::Abandoned};
    }

    void aProgramKilledMidTaskKeepsWhatItFinished()
    {
        QFETCH(int, signal);
        QFETCH(QList<Outcome>, outcomes);
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"KNIGHT_TASK_CHILD"_s, u"1"_s);
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(child.waitForReadyRead(20000));
        QCOMPARE(child.readLine().trimmed(), "playing");
        ::kill(pid_t(child.processId()), signal);
        QVERIFY(child.waitForFinished());
        QCOMPARE(child.exitStatus(), signal == SIGTERM ? QProcess::NormalExit : QProcess::CrashExit);
        QList<Outcome> stored;
        for (const Attempt &row : ResultsStore().read().attempts) {
            QCOMPARE(row.pupil, u"Вера"_s);
            stored << row.outcome;
        }
        QCOMPARE(stored, outcomes);
    }
};

// The child: solves the first task, starts the third, plays two moves and waits to be killed.
int playUntilKilled()
{
    MainWindow window;
    window.show();
    window.tasks()->setPupil(u"Вера"_s);
    window.tasks()->start(0);
    play(window, TaskTourSearch(lessonTasks()[0]).tour());
    window.tasks()->start(2);
    const std::vector<int> tour = TaskTourSearch(lessonTasks()[2]).tour();
    play(window, {tour.begin(), tour.begin() + 2});
    closeOnTermination(window);
    std::cout << "playing" << std::endl;
    return QApplication::exec();
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (qEnvironmentVariableIsSet("KNIGHT_TASK_CHILD"))
        return playUntilKilled();
    TaskWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "task_window_test.moc"
