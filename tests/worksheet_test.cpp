// SPDX-License-Identifier: GPL-3.0-or-later
// Worksheets read back from the PDF as a reader would: the words and where they stand.
#include "worksheet/worksheet.h"

#include "fault_support.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <bit>
#include <functional>
#include <set>
#include <map>

using namespace knight;
using namespace knight::test;
using namespace Qt::StringLiterals;

namespace {

struct Word {
    QString text;
    QRectF box;
    QPointF centre() const { return box.center(); }
};
using Page = std::vector<Word>;

// The pages of a PDF, each as its words with their places, by pdftotext.
std::vector<Page> readBack(const QString &pdf)
{
    QProcess reader;
    reader.start(u"pdftotext"_s, {u"-bbox"_s, pdf, u"-"_s});
    if (!reader.waitForFinished(30000) || reader.exitCode() != 0)
        qFatal("pdftotext failed");
    const QString html = QString::fromUtf8(reader.readAllStandardOutput());
    std::vector<Page> pages;
    static const QRegularExpression tag(uR"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"_s);
    for (auto match = tag.globalMatch(html); match.hasNext();) {
        const auto m = match.next();
        if (m.captured(0) == u"<page ")
            pages.emplace_back();
        else
            pages.back().push_back({m.captured(5), QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                                                         QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()))});
    }
    return pages;
}

QString textOf(const Page &page)
{
    QStringList words;
    for (const Word &word : page)
        words.append(word.text);
    return words.join(u' ');
}

// The numbers on the one board of a puzzle page, by the square they stand on: the file letters
// below the board give the columns, the rank numbers left of it the rows.
std::vector<int> numbersOnBoard(const Page &page, int files, int ranks)
{
    std::vector<double> columns(std::size_t(files), -1);
    for (const Word &word : page) {
        if (word.text.size() == 1 && word.text[0] >= u'a' && word.text[0] < QChar(u'a' + files))
            columns[std::size_t(word.text[0].unicode() - u'a')] = word.centre().x();
    }
    const double step = columns[1] - columns[0];
    const double bottom = std::max_element(page.begin(), page.end(), [](const Word &a, const Word &b) {
                              return a.centre().y() < b.centre().y();
                          })->centre().y();
    std::vector<double> rows(std::size_t(ranks), -1);
    std::vector<Word> inside;
    for (const Word &word : page) {
        bool number = false;
        const int value = word.text.toInt(&number);
        // Below the task's sentence: within the board's height above the letters.
        if (!number || word.centre().y() < bottom - step * (ranks + 0.5))
            continue;
        if (word.centre().x() < columns[0] - step / 2)
            rows[std::size_t(value - 1)] = word.centre().y();
        else
            inside.push_back(word);
    }
    const auto nearest = [step](const std::vector<double> &lines, double at) {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (std::abs(lines[i] - at) < step / 4)
                return int(i);
        }
        return -1;
    };
    std::vector<int> numbers(std::size_t(files * ranks), 0);
    for (const Word &word : inside) {
        const int file = nearest(columns, word.centre().x());
        const int rank = nearest(rows, word.centre().y());
        if (file < 0 || rank < 0)
            qFatal("a number off the squares: %s", qPrintable(word.text));
        numbers[std::size_t(rank * files + file)] = word.text.toInt();
    }
    return numbers;
}

// The first word that reads text, top to bottom.
const Word &wordOf(const Page &page, const QString &text)
{
    const auto found = std::find_if(page.begin(), page.end(), [&text](const Word &word) { return word.text == text; });
    if (found == page.end())
        qFatal("no word %s", qPrintable(text));
    return *found;
}

// How many ways the puzzle fills in (at most 2), by trying every knight's move from 1 on.
int completions(const Puzzle &puzzle)
{
    const int count = puzzle.squareCount();
    std::vector<int> placed(std::size_t(count), 0);
    const auto reaches = [&puzzle](int a, int b) {
        const int df = std::abs(a % puzzle.files - b % puzzle.files), dr = std::abs(a / puzzle.files - b / puzzle.files);
        return df * dr == 2;
    };
    std::function<int(int, int)> walk = [&](int at, int step) -> int {
        if (step == count)
            return !puzzle.closed || reaches(at, int(std::find(placed.begin(), placed.end(), 1) - placed.begin()));
        int found = 0;
        for (int next = 0; next < count && found < 2; ++next) {
            const int given = puzzle.given[std::size_t(next)];
            if (placed[std::size_t(next)] || !reaches(at, next) || (given != 0 && given != step + 1))
                continue;
            if (given == 0 && std::find(puzzle.given.begin(), puzzle.given.end(), step + 1) != puzzle.given.end())
                continue;
            placed[std::size_t(next)] = step + 1;
            found += walk(next, step + 1);
            placed[std::size_t(next)] = 0;
        }
        return found;
    };
    const int first = int(std::find(puzzle.given.begin(), puzzle.given.end(), 1) - puzzle.given.begin());
    placed[std::size_t(first)] = 1;
    return walk(first, 1);
}

// Calls visit with every open tour of the board, square by square.
void forEachTour(int files, int ranks, const std::function<void(const std::vector<int> &)> &visit)
{
    std::vector<int> tour;
    std::vector<bool> used(std::size_t(files * ranks), false);
    std::function<void()> extend = [&] {
        if (int(tour.size()) == files * ranks)
            return visit(tour);
        for (int next = 0; next < files * ranks; ++next) {
            const int df = tour.empty() ? 1 : std::abs(next % files - tour.back() % files);
            const int dr = tour.empty() ? 2 : std::abs(next / files - tour.back() / files);
            if (used[std::size_t(next)] || df * dr != 2)
                continue;
            used[std::size_t(next)] = true;
            tour.push_back(next);
            extend();
            tour.pop_back();
            used[std::size_t(next)] = false;
        }
    };
    extend();
}

const QFont font(u"Times New Roman"_s);

} // namespace

class WorksheetTest : public QObject
{
    Q_OBJECT

private slots:
    // A page a puzzle with its numbers where they belong, then the key: every number of every
    // solution once, under its puzzle's number.
    void theSheetReadsBackAsItWasMade_data()
    {
        QTest::addColumn<int>("files");
        QTest::addColumn<int>("ranks");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("named"); // the board and level, as the page names them
        QTest::newRow("8x8, a page of the key and one more") << 8 << 8 << false << 7 << int(Level::Medium)
                                                             << u"8 × 8, средно"_s;
        QTest::newRow("6x6 closed") << 6 << 6 << true << 2 << int(Level::Hard) << u"6 × 6, трудно, затворени обиколки"_s;
        QTest::newRow("3x4, taller than wide") << 3 << 4 << false << 1 << int(Level::Easy) << u"3 × 4, лесно"_s;
        QTest::newRow("4x5") << 4 << 5 << false << 1 << int(Level::Easy) << u"4 × 5, лесно"_s;
    }
    void theSheetReadsBackAsItWasMade()
    {
        QFETCH(int, files);
        QFETCH(int, ranks);
        QFETCH(bool, closed);
        QFETCH(int, count);
        QFETCH(int, level);
        QFETCH(QString, named);
        const WorksheetRequest request{files, ranks, Level(level), count, 11, closed};
        const std::vector<Puzzle> puzzles = worksheetPuzzles(request);
        QCOMPARE(int(puzzles.size()), count);
        QTemporaryDir dir;
        const QString file = dir.filePath(u"лист.pdf"_s);
        QCOMPARE(writeWorksheet(file, request, puzzles, font, QPageSize(QPageSize::A4)), QString());
        // The answers are a file of their own, beside the sheets: printing the sheets prints no answer.
        QCOMPARE(worksheetKeyPath(file), dir.filePath(u"лист-отговори.pdf"_s));
        const std::vector<Page> pages = readBack(file);
        const std::vector<Page> keys = readBack(worksheetKeyPath(file));
        QCOMPARE(int(pages.size()), count);
        QCOMPARE(int(keys.size()), (count + 5) / 6);
        for (int i = 0; i < count; ++i) {
            const Page &page = pages[std::size_t(i)];
            const QString text = textOf(page);
            QVERIFY2(text.contains(u"пъзел %1"_s.arg(i + 1)) && text.contains(u"Име:"_s) && text.contains(u"Клас:"_s),
                     qPrintable(text));
            // The rule in words, the missing numbers, the drawing of the move, the set to make again.
            QVERIFY(text.contains(u"Впишете липсващите числа"_s) && text.contains(u"от 1 до %1"_s.arg(files * ranks)));
            QVERIFY(text.contains(u"● конят, ○ където стига"_s));
            QCOMPARE(text.contains(u"затворена"_s), closed);
            QVERIFY2(text.contains(u"%1, серия 11 — пъзел %2 от %3"_s.arg(named).arg(i + 1).arg(count)), qPrintable(text));
            // Title, name lines, task and board, each below the one before, none overlapping.
            const double taskEnd = wordOf(page, closed ? u"1."_s : u"рисунката."_s).box.bottom();
            // The top rank's digit: of the words that read so, the one farthest left.
            const Word &topRank = *std::min_element(page.begin(), page.end(), [ranks](const Word &a, const Word &b) {
                const auto left = [ranks](const Word &w) {
                    return w.text == QString::number(ranks) ? w.box.left() : 1e9;
                };
                return left(a) < left(b);
            });
            const double boardTop = topRank.box.top();
            QVERIFY(wordOf(page, u"серия"_s).box.bottom() <= wordOf(page, u"Обиколка"_s).box.top());
            QVERIFY(wordOf(page, u"Обиколка"_s).box.bottom() <= wordOf(page, u"Име:"_s).box.top());
            QVERIFY(wordOf(page, u"Име:"_s).box.bottom() <= wordOf(page, u"Впишете"_s).box.top());
            QVERIFY(taskEnd <= boardTop);
            QVERIFY(wordOf(page, u"където"_s).box.bottom() <= boardTop);
            QCOMPARE(numbersOnBoard(page, files, ranks), puzzles[std::size_t(i)].given);
        }
        for (int i = 0; i < count; ++i) {
            const QString key = textOf(keys[std::size_t(i / 6)]);
            QVERIFY2(key.contains(u"Отговори: %1, серия 11"_s.arg(named)) && key.contains(u"Пъзел %1"_s.arg(i + 1)),
                     qPrintable(key));
        }
        // Each number of each solution once, besides the rank numbers of each small board and
        // the heading's line.
        std::map<int, int> seen;
        for (const Page &key : keys) {
            const double heading = wordOf(key, u"Отговори:"_s).centre().y();
            for (const Word &word : key) {
                bool number = false;
                if (const int value = word.text.toInt(&number);
                    number && !word.text.contains(u' ') && std::abs(word.centre().y() - heading) > word.box.height())
                    ++seen[value];
            }
        }
        for (int n = 1; n <= files * ranks; ++n) {
            const int labels = n <= ranks ? 1 : 0;
            const int captions = n <= count ? 1 : 0; // "Пъзел n"
            QCOMPARE(seen[n], count * (1 + labels) + captions);
        }
    }

    // A4, or Letter where the measures are American: the page's size in points.
    void thePageSizeIsTheOneAskedFor()
    {
        const std::vector<Puzzle> puzzles = worksheetPuzzles({5, 5, Level::Easy, 1, 3, false});
        QTemporaryDir dir;
        for (const auto &[size, points] : {std::pair{QPageSize::A4, u"595"_s}, std::pair{QPageSize::Letter, u"612"_s}}) {
            const QString file = dir.filePath(u"page.pdf"_s);
            QCOMPARE(writeWorksheet(file, {5, 5, Level::Easy, 1, 3, false}, puzzles, font, QPageSize(size)), QString());
            QVERIFY(contents(file).contains(u"/MediaBox [0 0 %1"_s.arg(points).toLatin1()));
        }
    }

    void theSameRequestMakesTheSamePuzzles()
    {
        const WorksheetRequest request{6, 6, Level::Hard, 4, 77, false};
        const auto given = [](const WorksheetRequest &r) {
            std::vector<std::vector<int>> all;
            for (const Puzzle &puzzle : worksheetPuzzles(r))
                all.push_back(puzzle.given);
            return all;
        };
        const auto first = given(request);
        QCOMPARE(given(request), first);
        // Every puzzle of the sheet its own.
        for (std::size_t i = 1; i < first.size(); ++i)
            QVERIFY(first[i] != first[0]);
        WorksheetRequest other = request;
        other.seed = 78;
        QVERIFY(given(other) != first);
        QVERIFY(worksheetPuzzles({5, 5, Level::Easy, 2, 1, true}).empty());
    }

    // A set never repeats a puzzle, nor its image on the board turned or mirrored (the images
    // made here from coordinates), and each puzzle fills in one way only (counted here by a
    // plain search). A board with fewer different puzzles than asked gives fewer.
    void aSetNeverRepeatsAPuzzle_data()
    {
        QTest::addColumn<int>("files");
        QTest::addColumn<int>("ranks");
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("closed");
        QTest::newRow("3x4 easy") << 3 << 4 << int(Level::Easy) << 28 << false;
        QTest::newRow("3x4 hard, more than there are") << 3 << 4 << int(Level::Hard) << 200 << false;
        QTest::newRow("4x5 easy") << 4 << 5 << int(Level::Easy) << 12 << false;
        QTest::newRow("5x5 medium") << 5 << 5 << int(Level::Medium) << 8 << false;
        QTest::newRow("6x6 hard closed") << 6 << 6 << int(Level::Hard) << 4 << true;
    }
    void aSetNeverRepeatsAPuzzle()
    {
        QFETCH(int, files);
        QFETCH(int, ranks);
        QFETCH(int, level);
        QFETCH(int, count);
        QFETCH(bool, closed);
        const std::vector<Puzzle> puzzles = worksheetPuzzles({files, ranks, Level(level), count, 4711, closed});
        QVERIFY(!puzzles.empty() && int(puzzles.size()) <= count);
        const auto image = [files, ranks](const std::vector<int> &given, int turn) {
            std::vector<int> turned(given.size());
            for (int rank = 0; rank < ranks; ++rank) {
                for (int file = 0; file < files; ++file) {
                    const int f = turn & 1 ? files - 1 - file : file, r = turn & 2 ? ranks - 1 - rank : rank;
                    turned[std::size_t(turn & 4 ? f * files + r : r * files + f)] = given[std::size_t(rank * files + file)];
                }
            }
            return turned;
        };
        for (std::size_t i = 0; i < puzzles.size(); ++i) {
            for (std::size_t j = 0; j < i; ++j) {
                for (int turn = 0; turn < (files == ranks ? 8 : 4); ++turn)
                    QVERIFY2(image(puzzles[j].given, turn) != puzzles[i].given, qPrintable(u"%1 ~ %2"_s.arg(i).arg(j)));
            }
            if (files * ranks <= 25)
                QCOMPARE(completions(puzzles[i]), 1);
        }
        if (int(puzzles.size()) == count)
            return;
        // Fewer than asked: as many as there are. Every tour of the board with every choice of
        // the level's few numbers (the first and the last among them) that fills in one way
        // only, told apart up to turns and mirrors, here with no help from the program.
        const int target = givenTarget(Level(level), files * ranks);
        std::set<std::vector<int>> different;
        forEachTour(files, ranks, [&](const std::vector<int> &tour) {
            for (unsigned inner = 0; inner < 1u << (tour.size() - 2); ++inner) {
                if (std::popcount(inner) != target - 2)
                    continue;
                Puzzle puzzle{files, ranks, closed, std::vector<int>(tour.size(), 0), tour};
                for (std::size_t step = 0; step < tour.size(); ++step) {
                    if (step == 0 || step + 1 == tour.size() || (inner >> (step - 1) & 1))
                        puzzle.given[std::size_t(tour[step])] = int(step) + 1;
                }
                if (completions(puzzle) != 1)
                    continue;
                std::vector<int> least = puzzle.given;
                for (int turn = 1; turn < (files == ranks ? 8 : 4); ++turn)
                    least = std::min(least, image(puzzle.given, turn));
                different.insert(least);
            }
        });
        QCOMPARE(puzzles.size(), different.size());
    }

    // Nothing lost: a failed write says why, leaves the old file as it was and no part of a new
    // one behind.
    void aFailedWriteKeepsTheOldFile()
    {
        const WorksheetRequest request{8, 8, Level::Easy, 2, 5, false};
        const std::vector<Puzzle> puzzles = worksheetPuzzles(request);
        QTemporaryDir dir;
        const QString file = dir.filePath(u"sheet.pdf"_s);
        writeFile(file, "old sheet");
        writeFile(worksheetKeyPath(file), "old key");
        const qsizetype sheetBytes = worksheetPdf(request, puzzles, font, QPageSize(QPageSize::A4)).size();
        const qsizetype keyBytes = worksheetKeyPdf(request, puzzles, font, QPageSize(QPageSize::A4)).size();
        QVERIFY(keyBytes < sheetBytes);
        // Too large for the key, or for the sheets once the key is written: both stay old.
        for (const rlim_t room : {rlim_t(4096), rlim_t(keyBytes + sheetBytes) / 2}) {
            const FileSizeLimit limit(room);
            const QString problem = writeWorksheet(file, request, puzzles, font, QPageSize(QPageSize::A4));
            QVERIFY2(problem.contains(u"sheet.pdf"_s), qPrintable(problem));
        }
        QCOMPARE(contents(file), QByteArray("old sheet"));
        QCOMPARE(contents(worksheetKeyPath(file)), QByteArray("old key"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), (QStringList{u"sheet-отговори.pdf"_s, u"sheet.pdf"_s}));
        // A folder in the file's place, a folder that is not there, a name that is no PDF.
        QDir(dir.path()).mkdir(u"taken.pdf"_s);
        for (const QString &name : {dir.filePath(u"taken.pdf"_s), dir.filePath(u"missing/sheet.pdf"_s),
                                    dir.filePath(u"sheet.png"_s)}) {
            const QString problem = writeWorksheet(name, request, puzzles, font, QPageSize(QPageSize::A4));
            QVERIFY2(!problem.isEmpty(), qPrintable(name));
        }
        QVERIFY(QFileInfo(dir.filePath(u"taken.pdf"_s)).isDir());
        QVERIFY(!QFileInfo::exists(dir.filePath(u"sheet.png"_s)));
    }
};

QTEST_MAIN(WorksheetTest)
#include "worksheet_test.moc"
