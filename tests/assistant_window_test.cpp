// SPDX-License-Identifier: GPL-3.0-or-later
// The tour assistant through the window: the hint changes nothing, completion plays ordinary
// moves, and the messages come when asked and go at the next action.
#include "app/form/announcer.h"
#include "app/form/mainwindow.h"
#include "app/features/assistant.h"
#include "app/features/practice_aids.h"
#include "app/form/square_label.h"
#include "notation/walk_notation.h"
#include "test_support.h"
#include "window_support.h"

#include <QAction>
#include <QLabel>
#include <QApplication>
#include <QTest>

using namespace knight;
using namespace knight::test;
using namespace Qt::StringLiterals;

namespace {

} // namespace

class AssistantWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void hintMarksAGreenSquareAndChangesNothing();
    void hintAndVerdictSayWhyNot();
    void completionPlaysOrdinaryMoves();
    void completionStartsOnTheCursor_data();
    void completionStartsOnTheCursor();
    void endMessagesOnlyWhenAsked();
    void notOverAShownTour();
    void aSmallerBoardKeepsEveryAidOnIt();
};

void AssistantWindowTest::hintMarksAGreenSquareAndChangesNothing()
{
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    clickSquares(window, u"a1 b3 c5"_s);
    const auto before = snapshot(window.form().board());
    window.action(ActionId::Hint)->trigger();
    QVERIFY(snapshot(window.form().board()) == before);
    const int hint = window.assistant()->hintSquare();
    QVERIFY(isSquare(hint));
    QCOMPARE(window.form().board().square(hint).backColor, reachableColor);
    QVERIFY(window.square(hint)->isHintShown());
    // Drawn as a yellow frame; the middle keeps the square's colour.
    const QImage image = window.grab().toImage();
    const QPoint corner = window.square(hint)->geometry().topLeft();
    QCOMPARE(image.pixelColor(corner + QPoint(2, 12)), QColor(255, 255, 0));
    QCOMPARE(image.pixelColor(corner + QPoint(10, 10)), QColor(0, 200, 0));
    // Played, the hint still leads to a full tour; the mark is gone at this next action.
    clickSquares(window, chessName(hint));
    QVERIFY(!window.square(hint)->isHintShown());
    window.action(ActionId::Verdict)->trigger();
    QVERIFY2(message(window).startsWith(u"Да"_s), qPrintable(message(window)));
    // The mark also goes by itself.
    window.action(ActionId::Hint)->trigger();
    const int second = window.assistant()->hintSquare();
    QVERIFY(window.square(second)->isHintShown());
    QTRY_VERIFY_WITH_TIMEOUT(!window.square(second)->isHintShown(), 4000);
}

void AssistantWindowTest::hintAndVerdictSayWhyNot()
{
    MainWindow window;
    // a1 is left with no way in: b3 and c2 are taken and the knight is elsewhere.
    clickSquares(window, u"b3 d4 c2 e3"_s);
    QCOMPARE(window.form().history().size(), 4);
    const auto before = snapshot(window.form().board());
    window.action(ActionId::Verdict)->trigger();
    QCOMPARE(message(window), u"Не: конят вече не може да стигне до полето a1: и двата му съседа са заети."_s);
    window.action(ActionId::Hint)->trigger();
    QVERIFY(message(window).contains(u"a1"_s));
    QCOMPARE(window.assistant()->hintSquare(), -1);
    QVERIFY(snapshot(window.form().board()) == before);
    // Gone at the next action, whatever it is.
    window.Command1_Click(int(Command::MoveBack));
    QVERIFY(message(window).isEmpty());
}

void AssistantWindowTest::completionPlaysOrdinaryMoves()
{
    MainWindow window;
    clickSquares(window, u"a1 b3"_s);
    window.action(ActionId::Complete)->trigger();
    QCOMPARE(window.form().history().size(), 64);
    QCOMPARE(window.square(squareNamed(u"b3"))->caption(), u"2"_s);
    SquareList tour;
    for (const QString &item : window.form().history())
        tour.push_back(item.toInt());
    QVERIFY(readWalk(writeWalk(tour, {})).ok()); // a legal tour, read back by the walk reader
    QVERIFY(message(window).startsWith(u"Пълна обиколка"_s));
    QCOMPARE(message(window).contains(u"затворена"_s), isKnightMove(tour.back(), tour.front()));
    QVERIFY(!window.action(ActionId::Complete)->isEnabled());

    // Taken back one by one, down to the pupil's own two moves.
    for (int i = 0; i < 62; ++i)
        window.action(ActionId::MoveBack)->trigger();
    MainWindow clicked;
    clickSquares(clicked, u"a1 b3"_s);
    QVERIFY(snapshot(window.form().board()) == snapshot(clicked.form().board()));

    // Before the first move the tour starts on the cursor's square.
    MainWindow fresh;
    fresh.action(ActionId::Complete)->trigger();
    QCOMPARE(fresh.form().history().first(), u"0"_s);
    QCOMPARE(fresh.form().history().size(), 64);
}

void AssistantWindowTest::completionStartsOnTheCursor_data()
{
    QTest::addColumn<QString>("cursor");
    QTest::addColumn<QList<int>>("keys");
    QTest::newRow("d4") << u"d4"_s << QList<int>{Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Up, Qt::Key_Up, Qt::Key_Up};
    QTest::newRow("h8") << u"h8"_s << QList<int>(7, Qt::Key_Right) + QList<int>(7, Qt::Key_Up);
    QTest::newRow("b1") << u"b1"_s << QList<int>{Qt::Key_Right};
}

// Before the first move the tour starts where the keyboard's cursor is; once it is whole,
// only what can still act is enabled, and the screen reader hears that it is whole.
void AssistantWindowTest::completionStartsOnTheCursor()
{
    QFETCH(QString, cursor);
    QFETCH(QList<int>, keys);
    MainWindow window;
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.action(ActionId::Board)->trigger();
    for (const int key : keys)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    QCOMPARE(window.cursorSquare(), squareNamed(cursor));
    window.action(ActionId::Complete)->trigger();
    QCOMPARE(window.form().history().size(), 64);
    QCOMPARE(window.form().history().first(), QString::number(squareNamed(cursor)));
    for (const ActionId id : {ActionId::Hint, ActionId::Complete})
        QVERIFY(!window.action(id)->isEnabled());
    for (const ActionId id : {ActionId::Verdict, ActionId::MoveBack, ActionId::Clear, ActionId::SaveWalk, ActionId::CopyWalk})
        QVERIFY(window.action(id)->isEnabled());
    QVERIFY(window.announcer()->lastAnnouncement().startsWith(u"Пълна обиколка"_s));
    // Asked again, the verdict says the same.
    window.action(ActionId::Verdict)->trigger();
    QVERIFY(window.announcer()->lastAnnouncement().startsWith(u"Пълна обиколка"_s));
}

void AssistantWindowTest::endMessagesOnlyWhenAsked()
{
    MainWindow window;
    QVERIFY(!window.action(ActionId::EndMessages)->isChecked());
    clickSquares(window, u"b3 c5 e6 d4 c2 a1"_s); // a dead end
    QVERIFY(message(window).isEmpty());
    window.Command1_Click(int(Command::MoveBack));
    window.action(ActionId::EndMessages)->trigger();
    QVERIFY(window.action(ActionId::EndMessages)->isChecked());
    clickSquares(window, u"a1"_s);
    QVERIFY(message(window).startsWith(u"Задънена улица"_s));
    clickSquares(window, u"h8"_s); // ignored, but a click all the same
    QVERIFY(message(window).isEmpty());
}

void AssistantWindowTest::notOverAShownTour()
{
    MainWindow window;
    window.Command1_Click(int(Command::Show));
    for (const ActionId id : {ActionId::Hint, ActionId::Verdict, ActionId::Complete})
        QVERIFY(!window.action(id)->isEnabled());
    window.assistant()->completeTour();
    QVERIFY(window.form().history().isEmpty());
    window.Command1_Click(int(Command::Clear));
    QVERIFY(window.action(ActionId::Complete)->isEnabled());
}

// On 5 x 5 the verdict, the keys, the hint, the counts and the completion keep to the board.
void AssistantWindowTest::aSmallerBoardKeepsEveryAidOnIt()
{
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.setBoardShape({5, 5});
    window.action(ActionId::Verdict)->trigger();
    // Tours start on the 13 squares of a1's colour: a walk alternates colours.
    QCOMPARE(message(window), u"Да, но не от всяко поле: пълна обиколка на тази дъска може да започне от 13 от 25 полета."_s);
    // The arrows stop at the board's edge; a square off it is typed in vain.
    window.square(0)->setFocus();
    for (const auto &[key, stop] : {std::pair{Qt::Key_Right, u"e1"_s}, std::pair{Qt::Key_Up, u"e5"_s}}) {
        for (int i = 0; i < 5; ++i)
            QTest::keyClick(window.focusWidget(), key);
        QCOMPARE(window.cursorSquare(), squareNamed(stop));
    }
    QTest::keyClicks(&window, u"f6"_s);
    QVERIFY(window.form().history().isEmpty());
    QCOMPARE(window.cursorSquare(), squareNamed(u"e5"_s));
    QTest::keyClicks(&window, u"c3"_s);
    QCOMPARE(window.form().walkSquares(), squares(u"c3"_s));

    window.action(ActionId::Hint)->trigger();
    QVERIFY(window.form().shape().contains(window.assistant()->hintSquare()));
    window.action(ActionId::Counts)->trigger();
    for (int n = 0; n < squareCount; ++n) {
        // The onward moves counted here, on the 5 x 5 board, from each green square.
        int onward = 0;
        for (int m = 0; m < squareCount; ++m)
            onward += window.form().shape().contains(m) && isKnightMove(n, m) && window.form().board().square(m).caption.isEmpty();
        QCOMPARE(window.aids()->countFor(n), window.form().board().square(n).backColor == reachableColor ? onward : -1);
    }
    window.action(ActionId::Complete)->trigger();
    const std::vector<int> tour = window.form().walkSquares();
    QCOMPARE(tour.size(), std::size_t(25));
    for (std::size_t i = 0; i < tour.size(); ++i)
        QVERIFY(window.form().shape().contains(tour[i]) && (i == 0 || isKnightMove(tour[i - 1], tour[i])));
    QVERIFY2(message(window).startsWith(u"Пълна обиколка: конят обходи всичките 25 полета"_s), qPrintable(message(window)));
}

QTEST_MAIN(AssistantWindowTest)
#include "assistant_window_test.moc"
