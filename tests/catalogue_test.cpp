// SPDX-License-Identifier: GPL-3.0-or-later
#include "test_support.h"
#include "tours/catalogue.h"

#include <QTest>

#include <cstdlib>
#include <functional>

using namespace knight;
using namespace knight::test;
using namespace Qt::StringLiterals;

namespace {

struct Expected {
    const char *start;
    const char *end;
    bool closed;
};

// Start and end squares of each kind's tour, and whether it closes.
constexpr std::array<Expected, tourKindCount> expected{{
    {"a1", "b3", true},  {"d4", "d5", false}, {"b6", "c6", false}, {"b6", "d5", true},
    {"b3", "d4", true},  {"b4", "e6", false}, {"d4", "g4", false}, {"d4", "g8", false},
    {"e5", "b1", false}, {"e5", "b5", false}, {"g5", "d3", false}, {"g6", "e5", true},
    {"a1", "d3", false},
}};

bool knightApart(int a, int b)
{
    const int rows = std::abs(squareRow(a) - squareRow(b));
    const int columns = std::abs(squareColumn(a) - squareColumn(b));
    return rows * columns == 2;
}

// The step of each square, by square index.
std::array<int, squareCount> steps(int kind)
{
    std::array<int, squareCount> result{};
    for (int n = 0; n < squareCount; ++n)
        result[std::size_t(n)] = tourStep(storedTours[std::size_t(kind)], n);
    return result;
}

// The square that a tour visits at each step, by step - 1; -1 where no square has that step.
std::array<int, squareCount> route(int kind)
{
    std::array<int, squareCount> squares;
    squares.fill(-1);
    const auto byStep = steps(kind);
    for (int n = 0; n < squareCount; ++n) {
        const int step = byStep[std::size_t(n)];
        if (step >= 1 && step <= squareCount)
            squares[std::size_t(step - 1)] = n;
    }
    return squares;
}

int mirroredTopToBottom(int n) { return squareAt(7 - squareRow(n), squareColumn(n)); }
int mirroredLeftToRight(int n) { return squareAt(squareRow(n), 7 - squareColumn(n)); }
int turnedHalfRound(int n) { return squareCount - 1 - n; }

// kind `image` shows at square t(n) the step that kind `original` shows at square n,
// changed by `step`.
bool relates(int original, int image, const std::function<int(int)> &t,
             const std::function<int(int)> &step = [](int s) { return s; })
{
    const auto a = steps(original);
    const auto b = steps(image);
    for (int n = 0; n < squareCount; ++n) {
        if (b[std::size_t(t(n))] != step(a[std::size_t(n)]))
            return false;
    }
    return true;
}

} // namespace

class CatalogueTest : public QObject
{
    Q_OBJECT

private slots:
    void everyStepOnce_data();
    void everyStepOnce();
    void everyStepIsAKnightsMove_data() { everyStepOnce_data(); }
    void everyStepIsAKnightsMove();
    void startEndAndClosure_data() { everyStepOnce_data(); }
    void startEndAndClosure();
    void relationsBetweenKinds();
    void listItemsArePlainNumbers();
    void stepOrderInChessNames();
};

void CatalogueTest::everyStepOnce_data()
{
    QTest::addColumn<int>("kind");
    for (int kind = 0; kind < tourKindCount; ++kind)
        QTest::addRow("kind %d", kind) << kind;
}

void CatalogueTest::everyStepOnce()
{
    QFETCH(int, kind);
    const auto squares = route(kind);
    for (int step = 1; step <= squareCount; ++step)
        QVERIFY2(squares[std::size_t(step - 1)] >= 0, qPrintable(u"no square has step %1"_s.arg(step)));
}

void CatalogueTest::everyStepIsAKnightsMove()
{
    QFETCH(int, kind);
    const auto squares = route(kind);
    for (int step = 1; step < squareCount; ++step) {
        QVERIFY2(knightApart(squares[std::size_t(step - 1)], squares[std::size_t(step)]),
                 qPrintable(u"steps %1 and %2"_s.arg(step).arg(step + 1)));
    }
}

void CatalogueTest::startEndAndClosure()
{
    QFETCH(int, kind);
    const auto squares = route(kind);
    const Expected &tour = expected[std::size_t(kind)];
    QCOMPARE(chessName(squares.front()), QString::fromLatin1(tour.start));
    QCOMPARE(chessName(squares.back()), QString::fromLatin1(tour.end));
    QCOMPARE(knightApart(squares.front(), squares.back()), tour.closed);
}

void CatalogueTest::relationsBetweenKinds()
{
    const auto identity = [](int n) { return n; };
    // "5" is "1" started on its last square.
    QVERIFY(relates(0, 4, identity, [](int s) { return s % 64 + 1; }));
    QVERIFY(relates(3, 4, mirroredTopToBottom));
    QVERIFY(relates(3, 11, mirroredLeftToRight));
    QVERIFY(relates(4, 11, turnedHalfRound));
    // "1" turned half round is itself, 32 steps on.
    QVERIFY(relates(0, 0, turnedHalfRound, [](int s) { return (s + 31) % 64 + 1; }));
    QVERIFY(relates(7, 8, turnedHalfRound));
    QVERIFY(relates(6, 9, turnedHalfRound));
    QVERIFY(relates(5, 10, turnedHalfRound));
    // "2", "3" and "?" stand on their own.
    for (const int kind : {1, 2, 12}) {
        for (int other = 0; other < tourKindCount; ++other) {
            if (other == kind)
                continue;
            for (const auto &t : {std::function<int(int)>(identity),
                                  std::function<int(int)>(mirroredTopToBottom),
                                  std::function<int(int)>(mirroredLeftToRight),
                                  std::function<int(int)>(turnedHalfRound)})
                QVERIFY(!relates(other, kind, t));
        }
    }
}

void CatalogueTest::listItemsArePlainNumbers()
{
    for (int kind = 0; kind < tourKindCount; ++kind) {
        const QStringList items = storedTourItems(kind);
        QCOMPARE(items.size(), 64);
        QCOMPARE(items.count(u"1"_s), 1);
        QCOMPARE(items.count(u"64"_s), 1);
        for (const QString &item : items)
            QVERIFY(!item.startsWith(u'0') && item.toInt() >= 1 && item.toInt() <= 64);
    }
    const QStringList classic = storedTourItems(0);
    QCOMPARE(classic[0], u"1"_s);
    QCOMPARE(classic[17], u"64"_s);
    QCOMPARE(classic[31], u"5"_s); // h4
    QCOMPARE(classic[63], u"33"_s);
}

void CatalogueTest::stepOrderInChessNames()
{
    const QString described = tourInStepOrder(12).join(u',');
    QVERIFY(described.startsWith(u"a1,b3,c1,e2"_s));
    QVERIFY(described.endsWith(u"e5,d3"_s));
    QCOMPARE(tourInStepOrder(0).first(), u"a1"_s);
    QCOMPARE(tourInStepOrder(0).last(), u"b3"_s);
}

QTEST_GUILESS_MAIN(CatalogueTest)
#include "catalogue_test.moc"
