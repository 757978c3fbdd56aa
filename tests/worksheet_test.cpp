// SPDX-License-Identifier: GPL-3.0-or-later
// Worksheets read back from the PDF as a reader would: the words and where they stand.
#include "worksheet/worksheet.h"

#include "fault_support.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

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
                                                             << u"8 × 8, среден"_s;
        QTest::newRow("6x6 closed") << 6 << 6 << true << 2 << int(Level::Hard) << u"6 × 6, труден"_s;
        QTest::newRow("3x4, taller than wide") << 3 << 4 << false << 1 << int(Level::Easy) << u"3 × 4, лесен"_s;
        QTest::newRow("4x5") << 4 << 5 << false << 1 << int(Level::Easy) << u"4 × 5, лесен"_s;
    }
    void theSheetReadsBackAsItWasMade()
    {
        QFETCH(int, files);
        QFETCH(int, ranks);
        QFETCH(bool, closed);
        QFETCH(int, count);
        QFETCH(int, level);
        QFETCH(QString, named);
        const std::vector<Puzzle> puzzles = worksheetPuzzles({files, ranks, Level(level), count, 11, closed});
        QCOMPARE(int(puzzles.size()), count);
        QTemporaryDir dir;
        const QString file = dir.filePath(u"лист.pdf"_s);
        QCOMPARE(writeWorksheet(file, puzzles, font, QPageSize(QPageSize::A4)), QString());
        const std::vector<Page> pages = readBack(file);
        QCOMPARE(int(pages.size()), count + (count + 5) / 6);
        for (int i = 0; i < count; ++i) {
            const Page &page = pages[std::size_t(i)];
            const QString text = textOf(page);
            QVERIFY2(text.contains(u"пъзел %1"_s.arg(i + 1)) && text.contains(u"Име:"_s) && text.contains(u"Клас:"_s),
                     qPrintable(text));
            QVERIFY(text.contains(u"от 1 до %1"_s.arg(files * ranks)));
            QCOMPARE(text.contains(u"затворена"_s), closed);
            QVERIFY2(text.contains(named), qPrintable(text));
            // Title, name lines, task and board, each below the one before, none overlapping.
            const double taskEnd = wordOf(page, u"друго."_s).box.bottom();
            // The top rank's digit: of the words that read so, the one farthest left.
            const Word &topRank = *std::min_element(page.begin(), page.end(), [ranks](const Word &a, const Word &b) {
                const auto left = [ranks](const Word &w) {
                    return w.text == QString::number(ranks) ? w.box.left() : 1e9;
                };
                return left(a) < left(b);
            });
            const double boardTop = topRank.box.top();
            QVERIFY(wordOf(page, u"Обиколка"_s).box.bottom() <= wordOf(page, u"Име:"_s).box.top());
            QVERIFY(wordOf(page, u"Име:"_s).box.bottom() <= wordOf(page, u"Впишете"_s).box.top());
            QVERIFY(taskEnd <= boardTop);
            QCOMPARE(numbersOnBoard(page, files, ranks), puzzles[std::size_t(i)].given);
        }
        for (int i = 0; i < count; ++i) {
            const Page &key = pages[std::size_t(count + i / 6)];
            QVERIFY(textOf(key).contains(u"Пъзел %1"_s.arg(i + 1)));
        }
        // Each number of each solution once, besides the rank numbers of each small board.
        std::map<int, int> seen;
        for (std::size_t p = std::size_t(count); p < pages.size(); ++p) {
            for (const Word &word : pages[p]) {
                bool number = false;
                if (const int value = word.text.toInt(&number); number && !word.text.contains(u' '))
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
            QCOMPARE(writeWorksheet(file, puzzles, font, QPageSize(size)), QString());
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

    // Nothing lost: a failed write says why, leaves the old file as it was and no part of a new
    // one behind.
    void aFailedWriteKeepsTheOldFile()
    {
        const std::vector<Puzzle> puzzles = worksheetPuzzles({8, 8, Level::Easy, 2, 5, false});
        QTemporaryDir dir;
        const QString file = dir.filePath(u"sheet.pdf"_s);
        writeFile(file, "old sheet");
        {
            const FileSizeLimit limit(4096);
            const QString problem = writeWorksheet(file, puzzles, font, QPageSize(QPageSize::A4));
            QVERIFY2(problem.contains(u"sheet.pdf"_s), qPrintable(problem));
        }
        QCOMPARE(contents(file), QByteArray("old sheet"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"sheet.pdf"_s});
        // A folder in the file's place, a folder that is not there, a name that is no PDF.
        QDir(dir.path()).mkdir(u"taken.pdf"_s);
        for (const QString &name : {dir.filePath(u"taken.pdf"_s), dir.filePath(u"missing/sheet.pdf"_s),
                                    dir.filePath(u"sheet.png"_s)}) {
            const QString problem = writeWorksheet(name, puzzles, font, QPageSize(QPageSize::A4));
            QVERIFY2(!problem.isEmpty(), qPrintable(name));
        }
        QVERIFY(QFileInfo(dir.filePath(u"taken.pdf"_s)).isDir());
        QVERIFY(!QFileInfo::exists(dir.filePath(u"sheet.png"_s)));
    }
};

QTEST_MAIN(WorksheetTest)
#include "worksheet_test.moc"
