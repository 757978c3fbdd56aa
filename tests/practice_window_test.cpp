// SPDX-License-Identifier: GPL-3.0-or-later
// Practice aids through the real window: redo, a board without green squares, Warnsdorff's
// counts, closed tours and the help an end message counts.
#include "app/form/announcer.h"
#include "app/features/assistant.h"
#include "app/form/mainwindow.h"
#include "app/features/practice_aids.h"
#include "app/form/square_label.h"
#include "notation/walk_notation.h"
#include "test_support.h"
#include "window_support.h"

#include <QAction>
#include <QLabel>
#include <QTest>

using namespace knight;
using namespace knight::test;
using namespace Qt::StringLiterals;

namespace {

// The squares the widgets show green, whatever the board holds.
QString shownGreen(const MainWindow &window)
{
    QStringList green;
    for (int n = 0; n < squareCount; ++n) {
        if (window.square(n)->backColor() == QColor(0, 200, 0))
            green.append(chessName(n));
    }
    return green.join(u' ');
}

// Free squares a knight's move away, counted plainly from the captions.
int freeNeighbours(const MainWindow &window, int n)
{
    int free = 0;
    for (int m = 0; m < squareCount; ++m) {
        const int rows = std::abs(squareRow(m) - squareRow(n));
        const int columns = std::abs(squareColumn(m) - squareColumn(n));
        free += rows * columns == 2 && window.form().board().square(m).caption.isEmpty();
    }
    return free;
}

} // namespace

class PracticeWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void redoByKeys();
    void withoutGreenSquaresAClickSaysWhy();
    void warnsdorffsCountsOnTheGreenSquares();
    void closedToursAreAimedAt();
    void theEndMessageCountsTheHelp();
};

void PracticeWindowTest::redoByKeys()
{
    ShownWindow shown;
    MainWindow &window = shown.window;
    clickSquares(window, u"a1 b3 c5 d7"_s);
    QVERIFY(!window.action(ActionId::Redo)->isEnabled());
    QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(window.action(ActionId::Redo)->isEnabled());
    QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(window.form().history().last(), QString::number(squareNamed(u"c5")));
    QCOMPARE(window.announcer()->lastAnnouncement(), u"Ход 3: c5."_s);
    QTest::keyClick(&window, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(window.form().history().size(), 4);
    QVERIFY(!window.action(ActionId::Redo)->isEnabled());
    // A move of one's own forgets what was taken back.
    QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
    clickSquares(window, u"e6"_s);
    QVERIFY(!window.action(ActionId::Redo)->isEnabled());
}

void PracticeWindowTest::withoutGreenSquaresAClickSaysWhy()
{
    ShownWindow shown;
    MainWindow &window = shown.window;
    QVERIFY(!window.action(ActionId::NoGreens)->isChecked());
    clickSquares(window, u"a1 b3"_s);
    const QString greens = shownGreen(window);
    QVERIFY(!greens.isEmpty());
    QTest::keyClick(&window, Qt::Key_G, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(window.aids()->greensHidden());
    QCOMPARE(shownGreen(window), QString());
    QCOMPARE(squaresIn(window.form().board(), reachableColor), greens); // the rules are unchanged
    // Nor does a screen reader hear which squares are possible moves.
    for (int n = 0; n < squareCount; ++n)
        QVERIFY(!window.square(n)->accessibleSquareName().contains(u"възможен ход"_s));
    clickSquares(window, u"a1"_s);
    QCOMPARE(message(window), u"Полето a1 вече е посетено."_s);
    QCOMPARE(window.announcer()->lastAnnouncement(), message(window));
    clickSquares(window, u"e5"_s);
    QCOMPARE(message(window), u"Конят не може да скочи от b3 на e5."_s);
    clickSquares(window, u"c5"_s); // a move, played as ever
    QCOMPARE(window.form().history().size(), 3);
    QVERIFY(message(window).isEmpty());
    QCOMPARE(shownGreen(window), QString());
    // The gallop's green squares are its own.
    window.Command1_Click(int(Command::Show));
    window.Command1_Click(int(Command::Gallop));
    QVERIFY(!shownGreen(window).isEmpty());
    window.Command1_Click(int(Command::Clear));
    clickSquares(window, u"d4"_s);
    window.action(ActionId::NoGreens)->trigger();
    QCOMPARE(shownGreen(window), squaresIn(window.form().board(), reachableColor));
}

void PracticeWindowTest::warnsdorffsCountsOnTheGreenSquares()
{
    ShownWindow shown;
    MainWindow &window = shown.window;
    QTest::keyClick(&window, Qt::Key_N, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(window.aids()->countsShown());
    for (const QString &square : u"b1 c3 e4 f6 h5 g3 e2 c1"_s.split(u' ')) {
        clickSquares(window, square);
        for (int n = 0; n < squareCount; ++n) {
            const bool green = window.form().board().square(n).backColor == reachableColor;
            QCOMPARE(window.square(n)->count(), green ? freeNeighbours(window, n) : -1);
        }
    }
    // Heard too, with the square's name.
    QCOMPARE(window.square(squareNamed(u"b3"))->accessibleSquareName(),
             u"Поле b3, възможен ход, продължения: %1"_s.arg(freeNeighbours(window, squareNamed(u"b3"))));
    // Small in a corner: the square's middle keeps its green.
    const int green = squareNamed(u"b3");
    QVERIFY(window.square(green)->count() >= 0);
    const QImage image = window.square(green)->grab().toImage();
    QCOMPARE(image.pixelColor(image.rect().center()), QColor(0, 200, 0));
    window.action(ActionId::Counts)->trigger();
    for (int n = 0; n < squareCount; ++n)
        QCOMPARE(window.square(n)->count(), -1);
}

void PracticeWindowTest::closedToursAreAimedAt()
{
    MainWindow window;
    QVERIFY(!window.action(ActionId::ClosedTour)->isChecked());
    window.action(ActionId::ClosedTour)->trigger();
    QVERIFY(window.assistant()->closedGoal());
    clickSquares(window, u"a1 b3"_s);
    window.action(ActionId::Complete)->trigger();
    QCOMPARE(window.form().history().size(), 64);
    SquareList tour;
    for (const QString &item : window.form().history())
        tour.push_back(item.toInt());
    QVERIFY(isKnightMove(tour.back(), tour.front()));
    QVERIFY(message(window).contains(u"затворена"_s));
    // Both squares next to a1 are taken: nothing is left to come back from.
    window.Command1_Click(int(Command::Clear));
    clickSquares(window, u"a1 b3 d4 c2"_s);
    window.action(ActionId::Verdict)->trigger();
    QCOMPARE(message(window), u"Не: до първото поле a1 вече не води нито едно свободно поле, така че обиколката "
                              u"не може да се затвори – конят няма откъде да се върне."_s);
    window.action(ActionId::ClosedTour)->trigger();
    window.action(ActionId::Verdict)->trigger();
    QVERIFY(message(window).startsWith(u"Да"_s));
}

void PracticeWindowTest::theEndMessageCountsTheHelp()
{
    MainWindow window;
    window.action(ActionId::EndMessages)->trigger();
    clickSquares(window, u"b3 c5 e6 d4"_s);
    window.action(ActionId::Hint)->trigger();
    QVERIFY(window.assistant()->hintSquare() >= 0);
    window.Command1_Click(int(Command::MoveBack));
    clickSquares(window, u"d4 c2 a1"_s); // a dead end
    QVERIFY2(message(window).startsWith(u"Задънена улица"_s), qPrintable(message(window)));
    QVERIFY2(message(window).endsWith(u"Използвани подсказки: 1, върнати ходове: 1."_s), qPrintable(message(window)));
    // A new walk counts afresh.
    window.Command1_Click(int(Command::Clear));
    clickSquares(window, u"b3 c5 e6 d4 c2 a1"_s);
    QVERIFY(message(window).endsWith(u"Използвани подсказки: 0, върнати ходове: 0."_s));
}

QTEST_MAIN(PracticeWindowTest)
#include "practice_window_test.moc"
