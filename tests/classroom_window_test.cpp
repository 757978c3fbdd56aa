// SPDX-License-Identifier: GPL-3.0-or-later
// The classroom through the real window: the gallop paused, stepped and paced by the teacher,
// each step heard, and what is chosen remembered for the next start.
#include "app/announcer.h"
#include "app/gallop_control.h"
#include "app/mainwindow.h"
#include "test_support.h"
#include "window_support.h"

#include <QAction>
#include <QElapsedTimer>
#include <QMenu>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace knight;
using namespace knight::test;
using namespace Qt::StringLiterals;

namespace {

struct ShownWindow {
    MainWindow window;
    ShownWindow()
    {
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }
};

QString green(const MainWindow &window)
{
    return squaresIn(window.form().board(), reachableColor);
}

} // namespace

class ClassroomWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void theTeacherPausesAndStepsTheGallop();
    void thePaceIsTheTeachersChoice();
    void choicesAreRememberedNotImposed();
};

void ClassroomWindowTest::theTeacherPausesAndStepsTheGallop()
{
    ShownWindow shown;
    MainWindow &window = shown.window;
    for (const ActionId id : {ActionId::PauseGallop, ActionId::NextStep, ActionId::PreviousStep})
        QVERIFY(!window.action(id)->isEnabled());
    window.Command1_Click(int(Command::Show));
    window.Command1_Click(int(Command::Gallop));
    QVERIFY(window.action(ActionId::PauseGallop)->isEnabled());
    QVERIFY(!window.action(ActionId::NextStep)->isEnabled());

    QTest::keyClick(&window, Qt::Key_F8);
    QVERIFY(window.form().gallopPaused());
    QVERIFY(window.action(ActionId::PauseGallop)->isChecked());
    // Held still by the clock, even at the quickest pace.
    window.gallop()->setTempo(500);
    const QString still = green(window);
    QTest::qWait(1500);
    QCOMPARE(green(window), still);
    QCOMPARE(window.form().gallopStep(), 0);

    // Forward twice and back once, by the keys; each step heard with its square.
    QTest::keyClick(&window, Qt::Key_F9);
    QTest::keyClick(&window, Qt::Key_F9);
    QCOMPARE(window.form().gallopStep(), 2);
    const QStringList order = tourInStepOrder(0);
    QCOMPARE(window.announcer()->lastAnnouncement(), u"Галоп: ход 2, %1."_s.arg(order.at(1)));
    QVERIFY(green(window).contains(order.at(1)));
    QTest::keyClick(&window, Qt::Key_F9, Qt::ShiftModifier);
    QCOMPARE(window.form().gallopStep(), 1);
    QVERIFY(!green(window).contains(order.at(1)));
    QCOMPARE(window.announcer()->lastAnnouncement(), u"Галоп: ход 1, %1."_s.arg(order.at(0)));

    // Resumed, it goes on by itself; stepped past the end by hand, it ends as it always does.
    QTest::keyClick(&window, Qt::Key_F8);
    QVERIFY(!window.action(ActionId::PauseGallop)->isChecked());
    QTRY_COMPARE_WITH_TIMEOUT(window.form().gallopStep(), 2, 1500);
    QTest::keyClick(&window, Qt::Key_F8);
    while (window.form().gallopOn())
        window.action(ActionId::NextStep)->trigger();
    QVERIFY(isEmptyChequer(window.form().board()));
    QVERIFY(!window.action(ActionId::PauseGallop)->isChecked());
    QCOMPARE(window.announcer()->lastAnnouncement(), u"Галопът свърши."_s);
}

void ClassroomWindowTest::thePaceIsTheTeachersChoice()
{
    ShownWindow shown;
    MainWindow &window = shown.window;
    // Untouched, the designed pace.
    QCOMPARE(window.form().timer().interval(), 2000);
    QMenu *tempos = window.action(ActionId::Tempo)->menu();
    QVERIFY(tempos && window.contextMenu()->actions().contains(window.action(ActionId::Tempo)));
    QStringList texts;
    for (QAction *choice : tempos->actions())
        texts.append(choice->text() + (choice->isChecked() ? u"*"_s : QString()));
    QCOMPARE(texts, (QStringList{u"0,5 с"_s, u"1 с"_s, u"2 с*"_s, u"3 с"_s, u"5 с"_s}));

    tempos->actions().at(0)->trigger();
    QCOMPARE(window.form().timer().interval(), 500);
    window.Command1_Click(int(Command::Show));
    QElapsedTimer clock;
    window.Command1_Click(int(Command::Gallop));
    clock.start();
    QTRY_COMPARE_WITH_TIMEOUT(window.form().gallopStep(), 2, 3000);
    QVERIFY2(clock.elapsed() >= 900 && clock.elapsed() < 1800, qPrintable(QString::number(clock.elapsed())));
    // Ctrl+T goes round the paces.
    QTest::keyClick(&window, Qt::Key_T, Qt::ControlModifier);
    QCOMPARE(window.form().timer().interval(), 1000);
    QVERIFY(tempos->actions().at(1)->isChecked());
}

void ClassroomWindowTest::choicesAreRememberedNotImposed()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(u"settings.ini"_s);
    const auto store = [&file] { return std::make_unique<QSettings>(file, QSettings::IniFormat); };
    {
        MainWindow first;
        first.preferences().useStore(store());
        first.restorePreferences();
        QCOMPARE(first.form().timer().interval(), 2000); // nothing stored: as designed
        first.gallop()->setTempo(3000);
    }
    MainWindow next;
    next.preferences().useStore(store());
    next.restorePreferences();
    QCOMPARE(next.form().timer().interval(), 3000);
    QCOMPARE(next.gallop()->tempo(), 3000);
    // A window given no store remembers nothing.
    MainWindow plain;
    plain.restorePreferences();
    QCOMPARE(plain.form().timer().interval(), 2000);
}

QTEST_MAIN(ClassroomWindowTest)
#include "classroom_window_test.moc"
