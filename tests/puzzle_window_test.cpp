// SPDX-License-Identifier: GPL-3.0-or-later
// A puzzle on the board through the real window: its numbers, the moves it refuses, the
// assistant that follows it, the celebration, and worksheets written from the window.
#include "app/features/gallop_sound.h"
#include "app/features/preferences.h"
#include "app/features/puzzle_play.h"
#include "app/features/worksheet_dialog.h"
#include "fault_support.h"
#include "window_support.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QLayout>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <set>

using namespace knight;
using namespace knight::test;
using namespace Qt::StringLiterals;

namespace {

struct CountingPlayer : BeatPlayer {
    std::vector<Beat> *heard;
    explicit CountingPlayer(std::vector<Beat> *list) : heard(list) {}
    void play(Beat beat) override { heard->push_back(beat); }
};

const Puzzle &knownPuzzle()
{
    static const Puzzle puzzle = *generatePuzzle(8, 8, Level::Medium, 21);
    return puzzle;
}

// The numbers the squares show, as the puzzle gives them for the squares not yet walked.
std::vector<int> shownClues(const MainWindow &window)
{
    std::vector<int> clues;
    for (int n = 0; n < squareCount; ++n)
        clues.push_back(window.square(n)->clue());
    return clues;
}

std::vector<int> expectedClues(const Puzzle &puzzle, const std::vector<int> &walk)
{
    std::vector<int> clues = puzzle.given;
    for (const int n : walk)
        clues[std::size_t(n)] = 0;
    return clues;
}

} // namespace

class PuzzleWindowTest : public QObject
{
    Q_OBJECT

private slots:
    // The menu's option makes a puzzle of its own; off again, its numbers go and the walk
    // stays.
    void theOptionStartsAndLeavesAPuzzle()
    {
        ShownWindow shown;
        MainWindow &window = shown.window;
        QVERIFY(!window.puzzle()->isOn());
        QCOMPARE(shownClues(window), std::vector<int>(64, 0));
        clickSquares(window, u"a1 b3"_s);
        window.action(ActionId::Puzzle)->trigger();
        QVERIFY(window.puzzle()->isOn());
        QVERIFY(window.form().history().isEmpty()); // a cleared board
        const Puzzle &puzzle = *window.puzzle()->puzzle();
        QCOMPARE(puzzle.givenCount(), givenTarget(Level::Medium, 64));
        QCOMPARE(shownClues(window), puzzle.given);
        QVERIFY(message(window).contains(u"Пъзел"_s));
        const int first = squareOfStep(puzzle, 1);
        QVERIFY(window.square(first)->accessibleSquareName().endsWith(u"дадено число 1"_s));
        window.Label2_Click(first);
        window.action(ActionId::Puzzle)->trigger();
        QVERIFY(!window.puzzle()->isOn());
        QVERIFY(!window.action(ActionId::Puzzle)->isChecked());
        QCOMPARE(shownClues(window), std::vector<int>(64, 0));
        QCOMPARE(window.form().history().size(), 1);
    }

    // Every click the walk would play is taken exactly when it agrees with the numbers; a
    // refused one says why and changes nothing. The walk follows the solution, trying every
    // other square on the way.
    void movesThatBreakTheNumbersAreRefused()
    {
        ShownWindow shown;
        MainWindow &window = shown.window;
        window.puzzle()->start(knownPuzzle());
        const Puzzle &puzzle = knownPuzzle();
        std::vector<int> walk;
        for (const int next : puzzle.solution) {
            const int step = int(walk.size()) + 1;
            for (int n = 0; n < squareCount; ++n) {
                const bool playable = walk.empty() || (isKnightMove(walk.back(), n)
                                                       && std::find(walk.begin(), walk.end(), n) == walk.end());
                if (!playable || n == next)
                    continue;
                const int given = puzzle.given[std::size_t(n)];
                const bool stepGivenElsewhere = std::count(puzzle.given.begin(), puzzle.given.end(), step) > 0;
                if (given == step || (given == 0 && !stepGivenElsewhere))
                    continue; // a move the numbers allow, even if it leads nowhere
                window.Label2_Click(n);
                QCOMPARE(window.form().walkSquares(), walk);
                const QString said = message(window);
                QVERIFY2(said.startsWith(u"Не може: "_s), qPrintable(said));
                QVERIFY2(said.contains(chessName(given != 0 ? n : squareOfStep(puzzle, step))), qPrintable(said));
            }
            window.Label2_Click(next);
            walk.push_back(next);
            QCOMPARE(window.form().walkSquares(), walk);
            QCOMPARE(shownClues(window), expectedClues(puzzle, walk));
        }
        QVERIFY(message(window).startsWith(u"Браво! Пъзелът е решен"_s));
    }

    // Hint, verdict and completion aim at the tour the numbers allow; a finished puzzle is
    // said, with the chime when the sound is on, and completion is not the pupil's.
    void theAssistantFollowsTheNumbers()
    {
        ShownWindow shown;
        MainWindow &window = shown.window;
        std::vector<Beat> heard;
        window.sound()->setPlayer(std::make_unique<CountingPlayer>(&heard));
        window.sound()->setOn(true);
        const Puzzle &puzzle = knownPuzzle();
        window.puzzle()->start(puzzle);
        window.action(ActionId::Hint)->trigger();
        QCOMPARE(window.assistant()->hintSquare(), puzzle.solution[0]);
        window.Label2_Click(puzzle.solution[0]);
        window.action(ActionId::Hint)->trigger();
        QCOMPARE(window.assistant()->hintSquare(), puzzle.solution[1]);
        window.action(ActionId::Verdict)->trigger();
        QVERIFY2(message(window).startsWith(u"Да: "_s) && message(window).contains(u"дадено число"_s),
                 qPrintable(message(window)));
        // A move the numbers allow that is not the solution's, at the first step that has one:
        // the one solution is lost.
        const auto astrayAt = [&puzzle](std::size_t k) {
            for (int n = 0; n < squareCount; ++n) {
                const auto walked = puzzle.solution.begin() + std::ptrdiff_t(k);
                if (isKnightMove(puzzle.solution[k - 1], n) && n != puzzle.solution[k]
                    && std::find(puzzle.solution.begin(), walked, n) == walked
                    && conflictOf(puzzle, int(k) + 1, n) == ClueConflict::None)
                    return n;
            }
            return -1;
        };
        std::size_t k = 1;
        for (; k + 1 < puzzle.solution.size() && astrayAt(k) < 0; ++k)
            window.Label2_Click(puzzle.solution[k]);
        QVERIFY(astrayAt(k) >= 0);
        window.Label2_Click(astrayAt(k));
        window.action(ActionId::Verdict)->trigger();
        QVERIFY2(message(window).contains(u"дадените числа"_s), qPrintable(message(window)));
        window.action(ActionId::Hint)->trigger();
        QCOMPARE(window.assistant()->hintSquare(), -1);
        window.action(ActionId::MoveBack)->trigger();
        window.action(ActionId::Complete)->trigger();
        QCOMPARE(window.form().walkSquares(), puzzle.solution);
        QVERIFY2(message(window).contains(u"помощника"_s), qPrintable(message(window)));
        QCOMPARE(heard, std::vector<Beat>{Beat::End});
        // Cleared, the same puzzle again; the pupil's own solution this time.
        window.action(ActionId::Clear)->trigger();
        QVERIFY(window.puzzle()->isOn());
        QCOMPARE(shownClues(window), puzzle.given);
        for (const int n : puzzle.solution)
            window.Label2_Click(n);
        QVERIFY(message(window).startsWith(u"Браво!"_s));
        QCOMPARE(heard.size(), std::size_t(2));
    }

    // The numbers belong to a walk: a shown tour hides them, clearing brings them back; a walk
    // brought back that breaks them ends the puzzle and says so.
    void aShownTourAndAWalkBroughtBack()
    {
        ShownWindow shown;
        MainWindow &window = shown.window;
        clickSquares(window, u"a1 b3 c5"_s);
        window.puzzle()->start(knownPuzzle());
        window.Command1_Click(int(Command::Show));
        QCOMPARE(shownClues(window), std::vector<int>(64, 0));
        QVERIFY(window.puzzle()->isOn());
        // A click on the shown tour is the tour's as ever: nothing refused, nothing said.
        window.Label2_Click(squareOfStep(knownPuzzle(), 1) == 0 ? 1 : 0);
        QCOMPARE(message(window), QString());
        window.Command1_Click(int(Command::Clear));
        QCOMPARE(shownClues(window), knownPuzzle().given);
        window.Label2_Click(squareOfStep(knownPuzzle(), 1));
        window.Command1_Click(int(Command::Clear));
        window.action(ActionId::MoveBack)->trigger(); // the walk of one move, which agrees
        QVERIFY(window.puzzle()->isOn());
        window.puzzle()->start(knownPuzzle());
        window.restoreWalk();
        QCOMPARE(window.form().history().size(), 1);
        // A walk read in whose first square is not the one given 1 breaks the numbers.
        const int other = squareOfStep(knownPuzzle(), 1) == 0 ? 1 : 0;
        QCOMPARE(knownPuzzle().given[std::size_t(other)], 0);
        window.replaceWalk({other});
        QVERIFY(!window.puzzle()->isOn());
        QVERIFY(message(window).contains(u"пъзелът приключи"_s));
        QCOMPARE(shownClues(window), std::vector<int>(64, 0));
    }

    // The whole way from the menu: the dialog answered, the file chosen, the sheet written and
    // said; every choice of the dialog in its own place.
    void worksheetFromTheMenu()
    {
        ShownWindow shown;
        MainWindow &window = shown.window;
        QTemporaryDir dir;
        const QString file = dir.filePath(u"работен-лист.pdf"_s); // the name the dialog offers
        bool laidOut = false;
        // Each modal window in turn, as a user answers it.
        std::function<void()> answer = [&] {
            QWidget *modal = QApplication::activeModalWidget();
            if (auto *dialog = qobject_cast<WorksheetDialog *>(modal)) {
                const QList<QWidget *> fields{dialog->boardBox(), dialog->levelBox(), dialog->countBox(),
                                              dialog->closedBox()};
                laidOut = std::all_of(fields.begin(), fields.end(), [&](QWidget *a) {
                    return dialog->layout()->indexOf(a) >= 0 && a->isVisible()
                           && std::none_of(fields.begin(), fields.end(), [a](QWidget *b) {
                               return a != b && a->geometry().intersects(b->geometry());
                           });
                });
                dialog->boardBox()->setCurrentText(u"5 × 5"_s);
                dialog->accept();
            } else if (auto *files = qobject_cast<QFileDialog *>(modal)) {
                files->setDirectory(dir.path());
                QMetaObject::invokeMethod(files, "accept");
                return;
            }
            QTimer::singleShot(50, answer);
        };
        QTimer::singleShot(50, answer);
        window.action(ActionId::Worksheet)->trigger();
        QVERIFY(laidOut);
        QVERIFY(contents(file).startsWith("%PDF"));
        QVERIFY(contents(worksheetKeyPath(file)).startsWith("%PDF"));
        QVERIFY2(message(window).startsWith(u"Записани са пъзели: 1 в „работен-лист.pdf“, отговорите – в "
                                            "„работен-лист-отговори.pdf“. Същите пъзели дава серия "_s),
                 qPrintable(message(window)));
    }

    // The dialog's choices, and the worksheet written from the window; a failed write is told
    // and the old file stays.
    void worksheetsFromTheWindow()
    {
        ShownWindow shown;
        QTemporaryDir dir;
        Preferences remembered;
        remembered.useStore(Preferences::openStore(dir.filePath(u"settings.conf"_s)));
        // A first lesson's sheet: the smallest board, easy, one puzzle, new puzzles.
        WorksheetDialog dialog(&shown.window, &remembered);
        QCOMPARE(std::tuple(dialog.boardBox()->currentText(), dialog.levelBox()->currentIndex(), dialog.countBox()->value()),
                 std::tuple(u"3 × 4"_s, int(Level::Easy), 1));
        QVERIFY(!dialog.closedBox()->isEnabled()); // 3 x 4: no closed tours
        std::set<std::uint64_t> seeds; // drawn anew each time, short enough to copy
        for (int i = 0; i < 5; ++i)
            seeds.insert(dialog.request().seed);
        QVERIFY(seeds.size() > 1 && *seeds.rbegin() < 1000000);
        dialog.boardBox()->setCurrentText(u"8 × 8"_s);
        QVERIFY(dialog.closedBox()->isEnabled());
        dialog.closedBox()->setChecked(true);
        dialog.boardBox()->setCurrentIndex(0);
        QVERIFY(!dialog.closedBox()->isChecked());
        dialog.boardBox()->setCurrentText(u"6 × 6"_s);
        dialog.closedBox()->setChecked(true);
        dialog.levelBox()->setCurrentIndex(2);
        dialog.countBox()->setValue(3);
        dialog.seedBox()->setText(u"4711"_s);
        const WorksheetRequest request = dialog.request();
        QCOMPARE(std::tuple(request.files, request.ranks, request.level, request.count, request.closed, request.seed),
                 std::tuple(6, 6, Level::Hard, 3, true, std::uint64_t(4711)));
        // The choice is there the next time, the seed new again.
        dialog.remember(remembered);
        const WorksheetDialog again(&shown.window, &remembered);
        QCOMPARE(std::tuple(again.boardBox()->currentText(), again.levelBox()->currentIndex(), again.countBox()->value(),
                            again.closedBox()->isChecked(), again.seedBox()->text()),
                 std::tuple(u"6 × 6"_s, int(Level::Hard), 3, true, QString()));
        const QString file = dir.filePath(u"лист.pdf"_s);
        bool cancelled = true;
        QCOMPARE(makeWorksheet(&shown.window, request, file, &cancelled), QString());
        QVERIFY(!cancelled);
        QVERIFY(contents(file).startsWith("%PDF"));
        static const QRegularExpression page(uR"(/Type\s*/Page\b)"_s);
        QCOMPARE(QString::fromLatin1(contents(file)).count(page), 3);
        QCOMPARE(QString::fromLatin1(contents(worksheetKeyPath(file))).count(page), 1);
        // A board without a tour of the kind asked for: said, and nothing written.
        const QString none = dir.filePath(u"none.pdf"_s);
        QVERIFY(!makeWorksheet(&shown.window, {5, 5, Level::Easy, 1, 1, true}, none).isEmpty());
        QVERIFY(!QFileInfo::exists(none));
        writeFile(file, "old");
        {
            const FileSizeLimit limit(1024);
            QVERIFY(makeWorksheet(&shown.window, request, file).contains(u"не може да се запише"_s));
        }
        QCOMPARE(contents(file), QByteArray("old"));
        QVERIFY(!makeWorksheet(&shown.window, request, dir.filePath(u"лист.png"_s)).isEmpty());
        // What the window says: how many, where the answers are, the seed; fewer than asked, why.
        const WorksheetRequest many{3, 4, Level::Hard, 200, 7, false};
        QCOMPARE(WorksheetDialog::madeText(many, file, 200), u"Записани са пъзели: 200 в „лист.pdf“, отговорите – в "
                                                              "„лист-отговори.pdf“. Същите пъзели дава серия 7."_s);
        QCOMPARE(WorksheetDialog::madeText(many, file, 38), u"Записани са пъзели: 38 в „лист.pdf“, отговорите – в "
                                                             "„лист-отговори.pdf“. Същите пъзели дава серия 7. Дъската "
                                                             "няма повече различни пъзели от това ниво."_s);
    }
};

QTEST_MAIN(PuzzleWindowTest)
#include "puzzle_window_test.moc"
