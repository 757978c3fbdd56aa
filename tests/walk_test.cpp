// SPDX-License-Identifier: GPL-3.0-or-later
#include "test_support.h"
#include "tours/catalogue.h"
#include "tours/knight_form.h"
#include "walk/walk.h"

#include <QRandomGenerator>

#include <optional>
#include <tuple>
#include <QTest>

using namespace knight;
using namespace knight::test;
using namespace Qt::StringLiterals;

namespace {

// A walk on a created board, as the window has it after start-up.
class LoadedWalk : public Walk
{
public:
    LoadedWalk()
    {
        writableBoard().setVisible(0, true);
        writableBoard().updateBoard(BoardUpdateKind::Create);
        setEnabled(Command::Gallop, false);
    }

    void play(const QString &names)
    {
        for (const int n : squares(names))
            Label2_Click(n);
    }

    void showNumbers(const QStringList &items)
    {
        writableBoard().updateBoard(BoardUpdateKind::ShowTour, items);
        list2().clear();
    }

    QString hints() const { return squaresIn(board(), reachableColor); }
    QString visited() const { return squaresIn(board(), visitedColor); }
};

// Everything a click could change.
struct State {
    std::vector<SquareView> board;
    QStringList history;
    int moveCount;
    std::array<bool, 4> enabled;
    bool timer;

    friend bool operator==(const State &, const State &) = default;
};

State stateOf(const Walk &walk)
{
    return {snapshot(walk.board()), walk.history(), walk.moveCount(),
            {walk.isEnabled(Command::Show), walk.isEnabled(Command::Gallop),
             walk.isEnabled(Command::Clear), walk.isEnabled(Command::MoveBack)},
            walk.timer().isActive()};
}

QString captionsInOrder(const Walk &walk)
{
    QStringList parts;
    for (const QString &item : walk.history())
        parts.append(walk.board().square(item.toInt()).caption);
    return parts.join(u' ');
}

} // namespace

class WalkTest : public QObject
{
    Q_OBJECT

private slots:
    void redoAgreesWithAPlainModel();
    void everyWipeCanBeMendedOnce_data();
    void everyWipeCanBeMendedOnce();
    void hints_data();
    void hints();
    void firstClickStartsAnywhere();
    void clicksOnHintsContinueTheWalk();
    void ignoredClicksChangeNothing_data();
    void ignoredClicksChangeNothing();
    void oldHintsGoBackToTheirBoardColour();
    void placeKnightKeepsAnExistingCaption();
    void deadEndShowsNoHints();
    void takeBackNeedsTwoMoves();
    void takeBackOfTheSecondMove();
    void takeBackKeepsTheWalkVisited();
    void takeBackThenContinue();
    void takeBackEqualsReplay();
    void clearFromEveryState();
    void completeTour();
};

void WalkTest::hints_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("targets");
    QTest::newRow("a1") << u"a1"_s << u"c2 b3"_s;
    QTest::newRow("h1") << u"h1"_s << u"f2 g3"_s;
    QTest::newRow("a8") << u"a8"_s << u"b6 c7"_s;
    QTest::newRow("h8") << u"h8"_s << u"g6 f7"_s;
    QTest::newRow("d4") << u"d4"_s << u"c2 e2 b3 f3 b5 f5 c6 e6"_s;
    QTest::newRow("b2") << u"b2"_s << u"d1 d3 a4 c4"_s;
    QTest::newRow("g7") << u"g7"_s << u"f5 h5 e6 e8"_s;
}

void WalkTest::hints()
{
    QFETCH(QString, from);
    QFETCH(QString, targets);
    LoadedWalk walk;
    walk.play(from);
    QCOMPARE(walk.hints(), targets);
    QCOMPARE(walk.visited(), from);
}

void WalkTest::firstClickStartsAnywhere()
{
    for (int n = 0; n < squareCount; ++n) {
        LoadedWalk walk;
        walk.Label2_Click(n);
        QCOMPARE(walk.board().square(n).caption, u"1"_s);
        QCOMPARE(walk.board().square(n).backColor, visitedColor);
        QVERIFY(walk.board().square(n).toolTip.isEmpty());
        QCOMPARE(walk.moveCount(), 1);
        QCOMPARE(walk.history(), QStringList{QString::number(n)});
    }
}

void WalkTest::clicksOnHintsContinueTheWalk()
{
    LoadedWalk walk;
    walk.play(u"a1 b3 c1 e2"_s);
    QCOMPARE(walk.moveCount(), 4);
    QCOMPARE(walk.history(), (QStringList{u"0"_s, u"17"_s, u"2"_s, u"12"_s}));
    QCOMPARE(captionsInOrder(walk), u"1 2 3 4"_s);
    QCOMPARE(walk.visited(), u"a1 c1 e2 b3"_s);
    // From e2: c1 is visited and keeps its colour; the rest are hints.
    QCOMPARE(walk.hints(), u"g1 c3 g3 d4 f4"_s);
    QCOMPARE(walk.board().square(2).caption, u"3"_s);
}

void WalkTest::ignoredClicksChangeNothing_data()
{
    QTest::addColumn<QString>("walk");
    QTest::addColumn<QString>("click");
    QTest::addColumn<bool>("timer");
    QTest::addColumn<bool>("shown");
    QTest::newRow("board colour during a walk") << u"a1"_s << u"a3"_s << false << false;
    QTest::newRow("far square during a walk") << u"a1 b3"_s << u"h8"_s << false << false;
    QTest::newRow("current square") << u"a1 b3"_s << u"b3"_s << false << false;
    QTest::newRow("earlier square") << u"a1 b3 c1"_s << u"a1"_s << false << false;
    QTest::newRow("visited square that is a knight's move away") << u"a1 b3 c1"_s << u"b3"_s << false << false;
    QTest::newRow("hint while the gallop runs") << u"a1"_s << u"c2"_s << true << false;
    QTest::newRow("empty board while the gallop runs") << QString() << u"d4"_s << true << false;
    QTest::newRow("shown tour, no walk") << QString() << u"d4"_s << false << true;
    QTest::newRow("shown tour after a walk") << u"a1 c2"_s << u"b4"_s << false << true;
}

void WalkTest::ignoredClicksChangeNothing()
{
    QFETCH(QString, walk);
    QFETCH(QString, click);
    QFETCH(bool, timer);
    QFETCH(bool, shown);
    // The states as the window reaches them: "Покажи", then "Галоп".
    KnightForm form;
    form.Form_Load();
    for (const int n : squares(walk))
        form.Label2_Click(n);
    if (shown || timer)
        form.Command1_Click(int(Command::Show));
    if (timer)
        form.Command1_Click(int(Command::Gallop));
    QCOMPARE(form.timer().isActive(), timer);
    const State before = stateOf(form);
    form.Label2_Click(squares(click).front());
    QVERIFY(stateOf(form) == before);
}

void WalkTest::oldHintsGoBackToTheirBoardColour()
{
    LoadedWalk walk;
    walk.play(u"d4"_s);
    walk.play(u"f5"_s);
    // c2, e2, b3, b5 and c6 were hints of d4 and are no targets of f5.
    for (const int n : squares(u"c2 e2 b3 b5 c6"_s))
        QCOMPARE(walk.board().square(n).backColor, baseColor(n));
    QCOMPARE(walk.hints(), u"e3 g3 h4 d6 h6 e7 g7"_s);
}

void WalkTest::placeKnightKeepsAnExistingCaption()
{
    // A shown tour keeps its numbers: a click on b1, which shows 10, is no move.
    KnightForm shown;
    shown.Form_Load();
    shown.Command1_Click(int(Command::Show));
    shown.Label2_Click(1);
    QCOMPARE(shown.board().square(1).caption, u"10"_s);
    QCOMPARE(shown.board().square(1).backColor, baseColor(1));
    QVERIFY(shown.history().isEmpty());

    // A hint that the knight lands on ends visited.
    LoadedWalk hinted;
    hinted.play(u"a1"_s);
    hinted.placeKnight(squareNamed(u"c2"));
    QCOMPARE(hinted.board().square(10).backColor, visitedColor);
    QCOMPARE(hinted.board().square(10).caption, u"2"_s);
}

void WalkTest::deadEndShowsNoHints()
{
    // h1's targets are f2 and g3: visit both, come back to h1 last.
    LoadedWalk walk;
    walk.play(u"g3 e4 f2 h1"_s);
    QCOMPARE(walk.hints(), QString());
    QCOMPARE(walk.moveCount(), 4);
    const State before = stateOf(walk);
    for (int n = 0; n < squareCount; ++n)
        walk.Label2_Click(n);
    QVERIFY(stateOf(walk) == before);
}

void WalkTest::takeBackNeedsTwoMoves()
{
    LoadedWalk empty;
    State before = stateOf(empty);
    empty.undoMove();
    QVERIFY(stateOf(empty) == before);

    LoadedWalk one;
    one.play(u"d4"_s);
    before = stateOf(one);
    one.undoMove();
    one.undoMove();
    QVERIFY(stateOf(one) == before);
    QCOMPARE(one.board().square(27).caption, u"1"_s);
    QCOMPARE(one.hints(), u"c2 e2 b3 f3 b5 f5 c6 e6"_s);
}

void WalkTest::takeBackOfTheSecondMove()
{
    LoadedWalk walk;
    walk.play(u"a1 c2"_s);
    walk.undoMove();
    QCOMPARE(walk.moveCount(), 1);
    QCOMPARE(walk.history(), QStringList{u"0"_s});
    QCOMPARE(walk.visited(), u"a1"_s);
    QCOMPARE(walk.board().square(0).caption, u"1"_s);
    QVERIFY(walk.board().square(10).caption.isEmpty());
    QCOMPARE(walk.hints(), u"c2 b3"_s);
}

void WalkTest::takeBackKeepsTheWalkVisited()
{
    // Taking e3 back leaves c2 newest; of its targets a1, a3, b4, d4, e1 and e3, the
    // squares a1 and d4 belong to the walk and must stay visited.
    LoadedWalk walk;
    walk.play(u"d4 b3 a1 c2 e3"_s);
    walk.undoMove();
    QCOMPARE(walk.moveCount(), 4);
    QCOMPARE(walk.visited(), u"a1 c2 b3 d4"_s);
    QCOMPARE(captionsInOrder(walk), u"1 2 3 4"_s);
    QCOMPARE(walk.hints(), u"e1 a3 e3 b4"_s);
    QVERIFY(walk.board().square(squareNamed(u"e3")).caption.isEmpty());
    for (int n = 0; n < squareCount; ++n)
        QVERIFY(walk.board().square(n).toolTip.isEmpty());
}

void WalkTest::takeBackThenContinue()
{
    LoadedWalk walk;
    walk.play(u"a1 b3 c1 e2 g1"_s);
    walk.undoMove();
    walk.undoMove();
    QCOMPARE(walk.moveCount(), 3);
    walk.play(u"a2"_s);
    QCOMPARE(walk.moveCount(), 4);
    QCOMPARE(walk.board().square(squareNamed(u"a2")).caption, u"4"_s);
    QCOMPARE(walk.history().last(), QString::number(squareNamed(u"a2")));
    QCOMPARE(captionsInOrder(walk), u"1 2 3 4"_s);
}

// After every take-back the board is the one reached by clicking the remaining moves.
void WalkTest::takeBackEqualsReplay()
{
    QRandomGenerator random(20261208);
    for (int round = 0; round < 300; ++round) {
        LoadedWalk walk;
        walk.Label2_Click(int(random.bounded(squareCount)));
        const int length = 2 + int(random.bounded(62));
        while (walk.moveCount() < length) {
            QList<int> hints;
            for (int n = 0; n < squareCount; ++n) {
                if (walk.board().square(n).backColor == reachableColor)
                    hints.append(n);
            }
            if (hints.isEmpty())
                break;
            walk.Label2_Click(hints[int(random.bounded(qsizetype(hints.size())))]);
        }
        while (walk.history().size() > 1) {
            walk.undoMove();
            LoadedWalk replay;
            for (const QString &item : walk.history())
                replay.Label2_Click(item.toInt());
            QCOMPARE(replay.history(), walk.history());
            QVERIFY2(stateOf(replay) == stateOf(walk),
                     qPrintable(u"round %1 after taking back to %2 moves"_s.arg(round).arg(walk.moveCount())));
        }
    }
}

void WalkTest::clearFromEveryState()
{
    const auto checkCleared = [](const Walk &walk) {
        QVERIFY(isEmptyChequer(walk.board()));
        QCOMPARE(walk.moveCount(), 0);
        QVERIFY(walk.history().isEmpty());
        QVERIFY(walk.isEnabled(Command::Show));
        QVERIFY(!walk.isEnabled(Command::Gallop));
        QVERIFY(!walk.timer().isActive());
    };

    LoadedWalk fresh;
    fresh.clearAll();
    checkCleared(fresh);

    LoadedWalk walking;
    walking.play(u"a1 b3 c1 e2"_s);
    walking.clearAll();
    checkCleared(walking);
    walking.play(u"h8"_s); // a new walk starts at move 1 anywhere
    QCOMPARE(walking.board().square(63).caption, u"1"_s);

    LoadedWalk deadEnd;
    deadEnd.play(u"g3 e4 f2 h1"_s);
    deadEnd.clearAll();
    checkCleared(deadEnd);

    KnightForm galloping;
    galloping.Form_Load();
    galloping.Label2_Click(0);
    galloping.Option1_Click(3);
    galloping.Command1_Click(int(Command::Show));
    galloping.Command1_Click(int(Command::Gallop));
    galloping.Timer1_Timer();
    QVERIFY(galloping.timer().isActive());
    galloping.Command1_Click(int(Command::Clear));
    checkCleared(galloping);
}

void WalkTest::completeTour()
{
    LoadedWalk walk;
    const QStringList route = tourInStepOrder(0);
    walk.play(route.join(u' '));
    QCOMPARE(walk.moveCount(), 64);
    QCOMPARE(walk.history().size(), 64);
    QCOMPARE(walk.hints(), QString());
    for (int step = 1; step <= 64; ++step) {
        const int n = squareNamed(route[step - 1]);
        QCOMPARE(walk.history()[step - 1], QString::number(n));
        QCOMPARE(walk.board().square(n).caption, QString::number(step));
        QCOMPARE(walk.board().square(n).backColor, visitedColor);
    }
    const State before = stateOf(walk);
    for (int n = 0; n < squareCount; ++n)
        walk.Label2_Click(n);
    QVERIFY(stateOf(walk) == before);
}

// Random moves, take-backs, redos, clears and restores against a model written from the rules:
// a list of moves and a stack of the moves taken back, which any move of the user's own or a
// clearing forgets; and the walk a clearing took away with its stack, which the next move or
// take-back forgets and a restore brings back, board and all, once.
void WalkTest::redoAgreesWithAPlainModel()
{
    QRandomGenerator random(21);
    for (int round = 0; round < 300; ++round) {
        LoadedWalk walk;
        std::vector<int> moves;
        std::vector<int> takenBack;
        std::optional<std::pair<std::vector<int>, std::vector<int>>> kept;
        for (int event = 0; event < 80; ++event) {
            const int kind = int(random.bounded(11));
            if (kind < 5) { // a click anywhere
                const int n = int(random.bounded(squareCount));
                const bool legal = moves.empty()
                                   || (std::abs(squareRow(n) - squareRow(moves.back())) * std::abs(squareColumn(n) - squareColumn(moves.back())) == 2 && std::find(moves.begin(), moves.end(), n) == moves.end());
                walk.Label2_Click(n);
                if (legal) {
                    moves.push_back(n);
                    takenBack.clear();
                    kept.reset();
                }
            } else if (kind < 7) {
                walk.undoMove();
                if (moves.size() >= 2) {
                    takenBack.push_back(moves.back());
                    moves.pop_back();
                    kept.reset();
                }
            } else if (kind < 9) {
                walk.redoMove();
                if (!takenBack.empty()) {
                    moves.push_back(takenBack.back());
                    takenBack.pop_back();
                    kept.reset();
                }
            } else if (kind < 10) {
                walk.clearAll();
                if (!moves.empty())
                    kept.emplace(moves, takenBack);
                moves.clear();
                takenBack.clear();
            } else {
                walk.restoreWalk();
                if (kept) {
                    std::tie(moves, takenBack) = *kept;
                    kept.reset();
                    LoadedWalk replayed;
                    for (const int n : moves)
                        replayed.Label2_Click(n);
                    QVERIFY(snapshot(walk.board()) == snapshot(replayed.board()));
                    QCOMPARE(walk.moveCount(), replayed.moveCount());
                }
            }
            QCOMPARE(walk.walkSquares(), moves);
            QCOMPARE(walk.canRedo(), !takenBack.empty());
            QCOMPARE(walk.canRestoreWalk(), kept.has_value());
            for (std::size_t i = 0; i < moves.size(); ++i)
                QCOMPARE(walk.board().square(moves[i]).caption, QString::number(i + 1));
        }
    }
}

void WalkTest::everyWipeCanBeMendedOnce_data()
{
    QTest::addColumn<int>("wipe");
    QTest::newRow("Чисти") << 0;
    QTest::newRow("another kind") << 1;
    QTest::newRow("Покажи") << 2;
    QTest::newRow("a walk read in") << 3;
    QTest::newRow("Покажи, then the gallop to its end") << 4;
    QTest::newRow("another board") << 5;
}

void WalkTest::everyWipeCanBeMendedOnce()
{
    QFETCH(int, wipe);
    KnightForm form;
    form.Form_Load();
    for (const int n : squares(u"a1 b3 c5 d7 f8 h7"_s))
        form.Label2_Click(n);
    form.undoMove();
    form.undoMove();
    QVERIFY(!form.canRestoreWalk());
    const auto before = snapshot(form.board());
    const QStringList history = form.history();
    const int moveCount = form.moveCount();

    switch (wipe) {
    case 0: form.Command1_Click(int(Command::Clear)); break;
    case 1: form.Option1_Click(5); break;
    case 2: form.Command1_Click(int(Command::Show)); break;
    case 3: form.replaceWalk(squares(u"h8 g6"_s)); break;
    case 4:
        form.Command1_Click(int(Command::Show));
        form.Command1_Click(int(Command::Gallop));
        QVERIFY(!form.canRestoreWalk()); // not while the gallop runs
        while (form.gallopOn())
            form.Timer1_Timer();
        break;
    case 5:
        form.setShape({5, 5});
        form.Label2_Click(squareNamed(u"f6"_s)); // off this board: no move
        QCOMPARE(form.shape(), (BoardShape{5, 5}));
        break;
    }
    QVERIFY(form.history() != history);
    QVERIFY(form.canRestoreWalk());
    form.restoreWalk();
    QCOMPARE(form.history(), history);
    QCOMPARE(form.moveCount(), moveCount);
    QVERIFY(snapshot(form.board()) == before);
    QCOMPARE(form.shape(), BoardShape{}); // on its own board
    QVERIFY(form.isEnabled(Command::Show) && !form.isEnabled(Command::Gallop));
    QVERIFY(!form.canRestoreWalk()); // once
    // The moves taken back before come again, newest first.
    form.redoMove();
    form.redoMove();
    QCOMPARE(form.history().size(), 6);
    QCOMPARE(form.history().last(), QString::number(squareNamed(u"h7"_s)));

    // A move of the user's own forgets a wiped walk.
    form.Command1_Click(int(Command::Clear));
    form.Label2_Click(squareNamed(u"e4"_s));
    QVERIFY(!form.canRestoreWalk());
    form.restoreWalk();
    QCOMPARE(form.history(), QStringList{QString::number(squareNamed(u"e4"_s))});
}

QTEST_GUILESS_MAIN(WalkTest)
#include "walk_test.moc"
