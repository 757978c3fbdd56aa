// SPDX-License-Identifier: GPL-3.0-or-later
// The lesson's tasks: every one can be solved as it is set, and a list that is not one is
// refused at its line.
#include "lesson/lesson_state.h"
#include "tasks/task_list.h"
#include "tours/knight_form.h"
#include "task_tours.h"

#include <QTest>

#include <set>

using namespace knight;
using namespace knight::test;
using namespace Qt::StringLiterals;

class TasksTest : public QObject
{
    Q_OBJECT

private slots:
    void everyTaskHasATourThatObeysIt();
    void aListThatIsNotOneIsRefusedAtItsLine_data();
    void aListThatIsNotOneIsRefusedAtItsLine();
    void theLessonIsInOneModeAndOneTransitionAtATime();
};

// The board's show or gallop stands over the activity; a transition begun inside another one
// neither owns nor ends it.
void TasksTest::theLessonIsInOneModeAndOneTransitionAtATime()
{
    LessonState lesson;
    KnightForm walk;
    walk.Form_Load();
    QCOMPARE(lesson.mode(walk), LessonMode::FreePlay);
    {
        const LessonState::Transition outer(lesson);
        QVERIFY(outer.owns() && lesson.changing());
        lesson.enter(Activity::Task, 6);
        {
            const LessonState::Transition inner(lesson);
            QVERIFY(!inner.owns());
        }
        QVERIFY(lesson.changing());
    }
    QVERIFY(!lesson.changing());
    QCOMPARE(lesson.task(), 6);
    QCOMPARE(lesson.mode(walk), LessonMode::Task);
    walk.Command1_Click(int(Command::Show));
    QCOMPARE(lesson.mode(walk), LessonMode::Showing);
    walk.Command1_Click(int(Command::Gallop));
    QCOMPARE(lesson.mode(walk), LessonMode::Galloping);
    walk.pauseGallop(true);
    QCOMPARE(lesson.mode(walk), LessonMode::Paused);
    const LessonState::Transition leaving(lesson);
    lesson.enter(Activity::Puzzle, 3);
    QCOMPARE(lesson.task(), -1);
}

void TasksTest::everyTaskHasATourThatObeysIt()
{
    const std::vector<Task> &tasks = lessonTasks();
    QCOMPARE(tasks.size(), std::size_t(20));
    std::set<QString> titles;
    int squaresBefore = 0;
    for (std::size_t i = 0; i < tasks.size(); ++i) {
        const Task &task = tasks[i];
        const QString name = u"task %1: "_s.arg(i + 1) + taskTitle(task);
        // From easy to hard: never a smaller board after a larger one; each told apart by its title.
        QVERIFY2(task.shape.count() >= squaresBefore, qPrintable(name));
        squaresBefore = task.shape.count();
        QVERIFY2(titles.insert(taskTitle(task)).second, qPrintable(name));
        const std::vector<int> tour = TaskTourSearch(task).tour();
        QVERIFY2(int(tour.size()) == task.shape.count(), qPrintable(name));
        QVERIFY2(task.start < 0 || tour.front() == task.start, qPrintable(name));
        QVERIFY2(std::equal(task.beginning.begin(), task.beginning.end(), tour.begin()), qPrintable(name));
    }
    // The hardest comes last: a closed tour from a corner of the full board, no help at all.
    QCOMPARE(taskTitle(tasks.back()), u"Дъска 8 × 8, от a1, затворена обиколка, без помощ"_s);
    QCOMPARE(taskTitle(tasks[4]), u"Дъска 3 × 7, от a1, пълна обиколка, без „Може ли още?“ и „Довърши обиколката“"_s);
    QCOMPARE(taskTitle(tasks[15]), u"Дъска 8 × 8, с дадено начало a1 b3 c1, пълна обиколка"_s);
}

void TasksTest::aListThatIsNotOneIsRefusedAtItsLine_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("a task") << "5x5 c3 closed greens,hints 1:30 c3 d5"_ba << true;
    QTest::newRow("no help, any start") << "8x8 any open none 30:00"_ba << true;
    QTest::newRow("a board not offered") << "4x4 any open none 1:00"_ba << false;
    QTest::newRow("a start off the board") << "3x4 d1 open none 1:00"_ba << false;
    QTest::newRow("a goal unknown") << "3x4 any round none 1:00"_ba << false;
    QTest::newRow("an aid unknown") << "3x4 any open greens,luck 1:00"_ba << false;
    QTest::newRow("seconds past 59") << "3x4 any open none 1:60"_ba << false;
    QTest::newRow("no time") << "3x4 any open none 0:00"_ba << false;
    QTest::newRow("one digit of seconds") << "3x4 any open none 1:5"_ba << false;
    QTest::newRow("a beginning not of knight's moves") << "8x8 any open none 1:00 a1 a2"_ba << false;
    QTest::newRow("a square given twice") << "8x8 any open none 1:00 a1 b3 a1"_ba << false;
    QTest::newRow("a beginning off the start") << "8x8 a1 open none 1:00 b3 a1"_ba << false;
    QTest::newRow("too few fields") << "8x8 any open none"_ba << false;
}

void TasksTest::aListThatIsNotOneIsRefusedAtItsLine()
{
    QFETCH(QByteArray, line);
    QFETCH(bool, accepted);
    const TaskListReading reading = readTaskList("# a comment\n\n3x4 any open none 1:00  # a task\n" + line + "\n");
    QCOMPARE(reading.badLine, accepted ? 0 : 4);
    QCOMPARE(reading.tasks.size(), accepted ? std::size_t(2) : std::size_t(0));
}

QTEST_GUILESS_MAIN(TasksTest)
#include "tasks_test.moc"
