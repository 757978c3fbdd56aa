// SPDX-License-Identifier: GPL-3.0-or-later
#include "board/board.h"
#include "test_support.h"

#include <QTest>

using namespace knight;
using namespace knight::test;
using namespace Qt::StringLiterals;

namespace {

Board createdBoard()
{
    Board board;
    board.setVisible(0, true);
    board.updateBoard(BoardUpdateKind::Create);
    return board;
}

QStringList numbersFrom(int first)
{
    QStringList items;
    for (int n = 0; n < squareCount; ++n)
        items.append(QString::number(first + n));
    return items;
}

} // namespace

class BoardTest : public QObject
{
    Q_OBJECT

private slots:
    void namesAndRows();
    void createPlacesTheSquaresFromTheTemplate();
    void createPaintsTheChequer();
    void createKeepsASpareHiddenElement();
    void createRunsOnce();
    void resetClearsEverythingTheWalkLeft();
    void restoreColorsKeepsTheVisitedSquares();
    void showTourWritesCaptionAndToolTip();
    void otherKindsChangeNothing();
    void onlyChangedSquaresAreReported();
    void everyShapeFillsTheDesignedPlace();
};

void BoardTest::namesAndRows()
{
    QCOMPARE(chessName(0), u"a1"_s);
    QCOMPARE(chessName(7), u"h1"_s);
    QCOMPARE(chessName(56), u"a8"_s);
    QCOMPARE(chessName(63), u"h8"_s);
    QCOMPARE(chessName(27), u"d4"_s);
    QCOMPARE(chessName(64), QString());
    for (int n = 0; n < squareCount; ++n)
        QCOMPARE(squareNamed(chessName(n)), n);
    QCOMPARE(squareNamed(u"i1"), -1);
    QCOMPARE(squareNamed(u"a9"), -1);
    QCOMPARE(squareNamed(u"a0"), -1);
    QCOMPARE(squareNamed(u"A1"), -1);
    QCOMPARE(squareNamed(u"a10"), -1);
}

void BoardTest::createPlacesTheSquaresFromTheTemplate()
{
    const Board board = createdBoard();
    QCOMPARE(board.square(0).rect, (TwipsRect{1080, 3960, 495, 495}));
    QCOMPARE(board.square(7).rect, (TwipsRect{4545, 3960, 495, 495}));
    QCOMPARE(board.square(56).rect, (TwipsRect{1080, 495, 495, 495}));
    QCOMPARE(board.square(63).rect, (TwipsRect{4545, 495, 495, 495}));
    // Edge to edge: each square starts where its left and lower neighbours end.
    for (int n = 0; n < squareCount; ++n) {
        const TwipsRect rect = board.square(n).rect;
        if (squareColumn(n) > 0)
            QCOMPARE(rect.left, board.square(n - 1).rect.left + 495);
        if (squareRow(n) > 0)
            QCOMPARE(rect.top + 495, board.square(n - 8).rect.top);
    }
}

void BoardTest::createPaintsTheChequer()
{
    const Board board = createdBoard();
    for (const int n : {0, 9, 63, 18, 54})
        QCOMPARE(board.square(n).backColor, darkColor);
    for (const int n : {1, 8, 56, 7, 62})
        QCOMPARE(board.square(n).backColor, lightColor);
    QVERIFY(isEmptyChequer(board));
    for (int n = 0; n < squareCount; ++n)
        QVERIFY(board.square(n).visible);
}

void BoardTest::createKeepsASpareHiddenElement()
{
    Board board;
    QCOMPARE(board.elementCount(), 1);
    QVERIFY(!board.square(0).visible);
    board.setVisible(0, true);
    board.updateBoard(BoardUpdateKind::Create);
    QCOMPARE(board.elementCount(), 65);
    const Square &spare = board.square(Board::spareElement);
    QVERIFY(!spare.visible);
    QVERIFY(spare.caption.isEmpty());
    QCOMPARE(spare.rect, templateSquareRect);

    board.updateBoard(BoardUpdateKind::ShowTour, numbersFrom(1));
    board.updateBoard(BoardUpdateKind::RestoreColors);
    board.updateBoard(BoardUpdateKind::Reset);
    QVERIFY(!board.square(Board::spareElement).visible);
    QVERIFY(board.square(Board::spareElement).caption.isEmpty());
}

void BoardTest::createRunsOnce()
{
    Board board = createdBoard();
    board.setCaption(5, u"3"_s);
    board.setBackColor(5, visitedColor);
    const auto before = snapshot(board);
    board.updateBoard(BoardUpdateKind::Create);
    QCOMPARE(board.elementCount(), 65);
    QVERIFY(snapshot(board) == before);

    // Before the squares exist, the other kinds have nothing to work on.
    Board fresh;
    fresh.updateBoard(BoardUpdateKind::Reset);
    fresh.updateBoard(BoardUpdateKind::ShowTour, numbersFrom(1));
    QCOMPARE(fresh.elementCount(), 1);
}

void BoardTest::resetClearsEverythingTheWalkLeft()
{
    Board board = createdBoard();
    board.updateBoard(BoardUpdateKind::ShowTour, numbersFrom(1));
    board.setBackColor(3, visitedColor);
    board.setBackColor(4, reachableColor);
    board.setBackColor(63, visitedColor);
    board.updateBoard(BoardUpdateKind::Reset);
    QVERIFY(isEmptyChequer(board));
}

void BoardTest::restoreColorsKeepsTheVisitedSquares()
{
    Board board = createdBoard();
    for (const int n : {0, 10, 27}) {
        board.setCaption(n, QString::number(n + 1));
        board.setBackColor(n, visitedColor);
    }
    for (const int n : {17, 44, 63, 7})
        board.setBackColor(n, reachableColor);
    board.setCaption(44, u"9"_s); // a caption on a hint is kept as well

    board.updateBoard(BoardUpdateKind::RestoreColors);
    QCOMPARE(squaresIn(board, visitedColor), u"a1 c2 d4"_s);
    QCOMPARE(squaresIn(board, reachableColor), QString());
    for (int n = 0; n < squareCount; ++n) {
        if (n != 0 && n != 10 && n != 27)
            QCOMPARE(board.square(n).backColor, baseColor(n));
    }
    QCOMPARE(board.square(0).caption, u"1"_s);
    QCOMPARE(board.square(10).caption, u"11"_s);
    QCOMPARE(board.square(27).caption, u"28"_s);
    QCOMPARE(board.square(44).caption, u"9"_s);
}

void BoardTest::showTourWritesCaptionAndToolTip()
{
    Board board = createdBoard();
    board.setBackColor(12, reachableColor);
    const QStringList items = numbersFrom(1);
    board.updateBoard(BoardUpdateKind::ShowTour, items);
    for (int n = 0; n < squareCount; ++n) {
        QCOMPARE(board.square(n).caption, items[n]);
        QCOMPARE(board.square(n).toolTip, items[n]);
        if (n != 12)
            QCOMPARE(board.square(n).backColor, baseColor(n));
    }
    QCOMPARE(board.square(12).backColor, reachableColor); // colours are left as they are

    // Items are written as they stand, without conversion.
    QStringList odd = items;
    odd[5] = u" 07"_s;
    board.updateBoard(BoardUpdateKind::ShowTour, odd);
    QCOMPARE(board.square(5).caption, u" 07"_s);
}

void BoardTest::otherKindsChangeNothing()
{
    Board board = createdBoard();
    board.updateBoard(BoardUpdateKind::ShowTour, numbersFrom(1));
    board.setBackColor(20, visitedColor);
    board.setBackColor(21, reachableColor);
    board.takeChanges();
    const auto before = snapshot(board);
    for (const int kind : {-1, 4, 5, 100, 32767})
        board.updateBoard(BoardUpdateKind(kind));
    QVERIFY(snapshot(board) == before);
    QVERIFY(board.takeChanges().none());
}

void BoardTest::onlyChangedSquaresAreReported()
{
    Board board = createdBoard();
    QCOMPARE(board.takeChanges().count(), std::size_t(65));
    QVERIFY(board.takeChanges().none());

    board.updateBoard(BoardUpdateKind::Reset); // already empty and chequered
    QVERIFY(board.takeChanges().none());

    board.setBackColor(9, visitedColor);
    board.setBackColor(9, visitedColor);
    board.setCaption(9, u"1"_s);
    board.setBackColor(18, reachableColor);
    board.setCaption(20, u"7"_s); // a caption alone
    const Board::Changes changes = board.takeChanges();
    QCOMPARE(changes.count(), std::size_t(3));
    QVERIFY(changes.test(9) && changes.test(18) && changes.test(20));
}

// A board of another shape keeps the designed board's place: its squares of one size, edge to
// edge, as large as its longer side lets them be in whole pixels, the board centred; the rest
// hidden. Back on 8 x 8 every square is where it was made.
void BoardTest::everyShapeFillsTheDesignedPlace()
{
    Board board = createdBoard();
    const Board designed = createdBoard();
    constexpr int place = 8 * 495, pixel = 15, top = 495, left = 1080;
    for (const BoardShape shape : offeredShapes) {
        board.setShape(shape);
        QCOMPARE(board.shape(), shape);
        const int side = board.square(0).rect.width;
        const QString name = u"%1 x %2"_s.arg(shape.files).arg(shape.ranks);
        QVERIFY2(side % pixel == 0 && std::max(shape.files, shape.ranks) * side > place - std::max(shape.files, shape.ranks) * pixel, qPrintable(name));
        const TwipsRect a1 = board.square(0).rect;
        const int width = shape.files * side, height = shape.ranks * side;
        // Centred to a pixel, a1 at the bottom left.
        QVERIFY2(std::abs(2 * (a1.left - left) + width - place) <= 2 * pixel, qPrintable(name));
        QVERIFY2(std::abs(2 * (a1.top + side - height - top) + height - place) <= 2 * pixel, qPrintable(name));
        for (int n = 0; n < squareCount; ++n) {
            const Square &square = board.square(n);
            QCOMPARE(square.visible, squareColumn(n) < shape.files && squareRow(n) < shape.ranks);
            QCOMPARE(square.rect, (TwipsRect{a1.left + side * squareColumn(n), a1.top - side * squareRow(n), side, side}));
        }
        QVERIFY(!board.square(Board::spareElement).visible);
    }
    QCOMPARE(snapshot(board), snapshot(designed));
    for (int n = 0; n < Board::elementLimit; ++n)
        QCOMPARE(board.square(n).rect, designed.square(n).rect);
}

QTEST_GUILESS_MAIN(BoardTest)
#include "board_test.moc"
