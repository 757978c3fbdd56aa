// SPDX-License-Identifier: GPL-3.0-or-later
// The walk reader and writer: what it accepts, what it refuses and where, and a fuzz run that
// checks every answer against the rules written out again here.
#include "notation/walk_notation.h"
#include "test_support.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>

#include <set>

using namespace knight;
using namespace knight::test;
using namespace Qt::StringLiterals;

namespace {

SquareList listOf(const QString &names)
{
    const std::vector<int> found = squares(names);
    return SquareList(found.begin(), found.end());
}

// The rules, independently: a square's file and rank differ by one and two.
bool legalWalk(const SquareList &walk)
{
    std::set<int> seen;
    for (std::size_t i = 0; i < walk.size(); ++i) {
        if (walk[i] < 0 || walk[i] > 63 || !seen.insert(walk[i]).second)
            return false;
        if (i > 0) {
            const int dx = std::abs(walk[i] % 8 - walk[i - 1] % 8);
            const int dy = std::abs(walk[i] / 8 - walk[i - 1] / 8);
            if (dx * dy != 2)
                return false;
        }
    }
    return !walk.empty() && walk.size() <= 64;
}

// Lines and their lengths in characters, to check that an error points inside the input.
bool positionInside(const QByteArray &bytes, const NotationError &error)
{
    const QStringList lines = QString::fromUtf8(bytes).split(QRegularExpression(u"\r\n|\r|\n"_s));
    if (error.line < 1 || error.line > lines.size() || error.column < 1)
        return false;
    return error.column <= lines.at(error.line - 1).toUcs4().size() + 1;
}

QByteArray randomWalk(QRandomGenerator &random)
{
    SquareList walk{int(random.bounded(64))};
    const int length = int(random.bounded(1, 65));
    while (int(walk.size()) < length) {
        SquareList next;
        for (int n = 0; n < 64; ++n) {
            if (isKnightMove(walk.back(), n) && std::find(walk.begin(), walk.end(), n) == walk.end())
                next.push_back(n);
        }
        if (next.empty())
            break;
        walk.push_back(next[random.bounded(int(next.size()))]);
    }
    return writeWalk(walk, {});
}

QByteArray mutate(QByteArray bytes, QRandomGenerator &random)
{
    if (bytes.isEmpty())
        return bytes;
    const qsizetype at = random.bounded(int(bytes.size()));
    switch (random.bounded(9)) {
    case 0:
        return bytes.left(at); // cut
    case 1:
        return bytes.insert(at, bytes.mid(at, random.bounded(1, 6))); // duplicated
    case 2: {
        const qsizetype other = random.bounded(int(bytes.size()));
        std::swap(bytes[at], bytes[other]); // swapped
        return bytes;
    }
    case 3:
        bytes[at] = char(bytes[at] ^ (1 << random.bounded(8))); // a bit flipped
        return bytes;
    case 4:
        return bytes.insert(at, '\0');
    case 5:
        return bytes.insert(at, "\xC3\x28"); // invalid UTF-8
    case 6:
        return bytes.repeated(int(random.bounded(2, 200))); // huge
    case 7:
        return bytes.insert(at, "\xD0\xB0"); // а
    default:
        return bytes.replace(' ', random.bounded(2) ? ",\r\n" : " ; ");
    }
}

} // namespace

class NotationTest : public QObject
{
    Q_OBJECT

private slots:
    void readsWhatTeachersWrite_data();
    void readsWhatTeachersWrite();
    void refusals_data();
    void refusals();
    void writesEightToALine();
    void fuzz();
};

void NotationTest::readsWhatTeachersWrite_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("walk");
    QTest::addColumn<QString>("board");
    QTest::newRow("spaces") << "a1 b3 c1"_ba << u"a1 b3 c1"_s << u"8x8"_s;
    QTest::newRow("one square") << "d4"_ba << u"d4"_s << u"8x8"_s;
    QTest::newRow("commas and semicolons") << "a1,b3;c1 ,  e2"_ba << u"a1 b3 c1 e2"_s << u"8x8"_s;
    QTest::newRow("line breaks of every kind") << "a1\r\nb3\nc1\re2\n"_ba << u"a1 b3 c1 e2"_s << u"8x8"_s;
    QTest::newRow("byte-order mark and comments") << "\xEF\xBB\xBF# урок 3\n  # бележка\na1 b3\n#c1\n"_ba
                                                  << u"a1 b3"_s << u"8x8"_s;
    QTest::newRow("upper case and tabs") << "A1\tB3\tC1"_ba << u"a1 b3 c1"_s << u"8x8"_s;
    QTest::newRow("Cyrillic look-alikes") << u"а1 b3 с1 е2"_s.toUtf8() << u"a1 b3 c1 e2"_s << u"8x8"_s;
    QTest::newRow("capital Cyrillic look-alikes") << u"А1 B3 С1 Е2"_s.toUtf8() << u"a1 b3 c1 e2"_s << u"8x8"_s;
    QTest::newRow("a board of 5 x 5 named first") << "# урок 4\n5x5\na1 b3 c5"_ba << u"a1 b3 c5"_s << u"5x5"_s;
    QTest::newRow("3 x 4, on one line") << "3x4 a1 c2"_ba << u"a1 c2"_s << u"3x4"_s;
}

void NotationTest::readsWhatTeachersWrite()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, walk);
    QFETCH(QString, board);
    const WalkReading reading = readWalk(bytes);
    QVERIFY2(reading.ok(), qPrintable(reading.error ? reading.error->message() : QString()));
    QCOMPARE(reading.squares, listOf(walk));
    QCOMPARE(u"%1x%2"_s.arg(reading.shape.files).arg(reading.shape.ranks), board);
}

void NotationTest::refusals_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    QTest::newRow("not a square") << "a1 b3\nc1 z9"_ba << u"ред 2, колона 4, „z9“: това не е поле"_s;
    QTest::newRow("not a knight's move") << "a1 b2"_ba << u"ред 1, колона 4, „b2“: не е ход на коня от a1"_s;
    QTest::newRow("a square twice") << "a1 b3 a1"_ba << u"ред 1, колона 7, „a1“: полето вече е посетено"_s;
    QTest::newRow("nothing") << ""_ba << u"ред 1, колона 1: няма нито едно поле"_s;
    QTest::newRow("only comments") << "# a1\n"_ba << u"ред 2, колона 1: няма нито едно поле"_s;
    QTest::newRow("NUL byte") << QByteArray("a1 b3\0", 6) << u"ред 1, колона 6: това не е текст: нулев байт"_s;
    QTest::newRow("invalid UTF-8") << "a1\n\xFF"_ba << u"ред 2, колона 1: това не е текст в UTF-8"_s;
    // "a" as an overlong two-byte sequence is no letter, however it decodes.
    QTest::newRow("overlong UTF-8") << "b3 \xC1\xA1""1"_ba << u"ред 1, колона 4: това не е текст в UTF-8"_s;
    QTest::newRow("other Cyrillic letters") << u"а1 б3"_s.toUtf8() << u"ред 1, колона 4, „б3“: това не е поле"_s;
    QTest::newRow("too large") << QByteArray(walkFileLimit + 1, ' ') << u"ред 1, колона 1: текстът е над 64 KiB"_s;
    QTest::newRow("a hash inside a line") << "a1 #b3"_ba << u"ред 1, колона 4, „#b3“: това не е поле"_s;
    QTest::newRow("off the board named") << "5x5 a1 b3 d4 f5"_ba << u"ред 1, колона 14, „f5“: полето не е на дъската 5 × 5"_s;
    QTest::newRow("a board not offered") << "4x4\na1"_ba << u"ред 1, колона 1, „4x4“: няма такава дъска"_s;
    QTest::newRow("a board after a square") << "a1 5x5"_ba << u"ред 1, колона 4, „5x5“: това не е поле"_s;
    QTest::newRow("two boards") << "5x5 6x6 a1"_ba << u"ред 1, колона 5, „6x6“: това не е поле"_s;
}

void NotationTest::refusals()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    const WalkReading reading = readWalk(bytes);
    QVERIFY(!reading.ok());
    QVERIFY(reading.squares.empty());
    QCOMPARE(reading.error->message(), message);
}

void NotationTest::writesEightToALine()
{
    // Sixty-five squares: the 65th is refused.
    QByteArray tour = writeWalk(listOf(u"a1 b3 c1 a2 c3 b1 a3 b5 a7 c8 e7 g8 h6 g4 h2 f1"_s), {});
    QCOMPARE(tour, "# Кон на шахматна дъска: разходка по 16 полета\n"
                   "a1 b3 c1 a2 c3 b1 a3 b5\n"
                   "a7 c8 e7 g8 h6 g4 h2 f1\n"_ba);
    QByteArray full = "a1 b3 c1 a2 c3 b1 a3 b5 a7 c8 e7 g8 h6 g4 h2 f1 d2 b1"_ba;
    QCOMPARE(readWalk(full).error->reason, u"полето вече е посетено"_s);
    // Another board is named on a line of its own, and read back.
    const QByteArray small = writeWalk(listOf(u"a1 c2"_s), {3, 4});
    QCOMPARE(small, "# Кон на шахматна дъска: разходка по 2 полета\n3x4\na1 c2\n"_ba);
    QCOMPARE(readWalk(small).shape, (BoardShape{3, 4}));
}

void NotationTest::fuzz()
{
    const int count = qEnvironmentVariableIntValue("KNIGHT_FUZZ_INPUTS") > 0
                          ? qEnvironmentVariableIntValue("KNIGHT_FUZZ_INPUTS")
                          : 100000;
    const quint32 seed = quint32(qEnvironmentVariableIntValue("KNIGHT_RANDOM_SEED")) + 11;
    QRandomGenerator random(seed);
    int accepted = 0;
    for (int i = 0; i < count; ++i) {
        QByteArray bytes;
        if (i % 4 == 0) {
            bytes.resize(random.bounded(0, 64));
            for (char &b : bytes)
                b = char(random.bounded(256));
        } else {
            bytes = randomWalk(random);
            for (int m = random.bounded(0, 3); m > 0; --m)
                bytes = mutate(bytes, random);
        }
        const WalkReading reading = readWalk(bytes);
        if (reading.ok()) {
            ++accepted;
            QVERIFY2(legalWalk(reading.squares), qPrintable(u"input %1: %2"_s.arg(i).arg(QString::fromLatin1(bytes.toHex()))));
            const WalkReading again = readWalk(writeWalk(reading.squares, reading.shape));
            QVERIFY(again.ok());
            QCOMPARE(again.squares, reading.squares);
            QCOMPARE(again.shape, reading.shape);
        } else {
            QVERIFY(reading.squares.empty());
            QVERIFY2(bytes.size() > walkFileLimit || positionInside(bytes, *reading.error),
                     qPrintable(u"input %1 (%2): %3"_s.arg(i).arg(QString::fromLatin1(bytes.toHex()), reading.error->message())));
        }
    }
    // Both answers were given often.
    QVERIFY(accepted > count / 4);
    QVERIFY(accepted < count);
}

QTEST_GUILESS_MAIN(NotationTest)
#include "notation_test.moc"
