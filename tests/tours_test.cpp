// SPDX-License-Identifier: GPL-3.0-or-later
#include "reference_model.h"
#include "test_support.h"
#include "tours/catalogue.h"
#include "tours/found_tour.h"
#include "tours/knight_form.h"
#include "tours/texts.h"

#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>

using namespace knight;
using namespace knight::test;
using namespace Qt::StringLiterals;

namespace {

enum Button { Show = 0, Gallop = 1, Clear = 2, MoveBack = 3 };

using Form = TestForm;

// The square that carries a step number.
int squareNumbered(const Form &form, int step)
{
    for (int n = 0; n < squareCount; ++n) {
        if (form.board().square(n).caption == QString::number(step))
            return n;
    }
    return -1;
}

void verifyIdle(const Form &form)
{
    QVERIFY(isEmptyChequer(form.board()));
    QVERIFY(form.isEnabled(Command::Show));
    QVERIFY(!form.isEnabled(Command::Gallop));
    QVERIFY(!form.timer().isActive());
    QCOMPARE(form.moveCount(), 0);
    QVERIFY(form.history().isEmpty());
}

void verifyNumbers(const Form &form, int kind)
{
    const QStringList items = storedTourItems(kind);
    for (int n = 0; n < squareCount; ++n) {
        QCOMPARE(form.board().square(n).caption, items[n]);
        QCOMPARE(form.board().square(n).toolTip, items[n]);
    }
}

void verifyShown(const Form &form, int kind)
{
    verifyNumbers(form, kind);
    QVERIFY(!form.isEnabled(Command::Show));
    QVERIFY(form.isEnabled(Command::Gallop));
    QVERIFY(form.history().isEmpty());
}

} // namespace

class ToursTest : public QObject
{
    Q_OBJECT

private slots:
    void startState();
    void showRightAfterStartUpShowsKindOne();
    void showWipesAWalk();
    void disabledButtonsDeliverNothing();
    void galloping();
    void aPausedGallopStepsBothWaysAsItsTicksWould();
    void spareElementStaysOutOfTheGallop();
    void gallopTimerIsTheRealOne();
    void clearingStopsTheGallop_data();
    void clearingStopsTheGallop();
    void walkAndTakeBackAreLockedWhileShown();
    void optionsWriteTheirDescription_data();
    void optionsWriteTheirDescription();
    void optionEndsWhateverIsOnTheBoard();
    void everyKindShowsAndGallopsToItsEnd();
    void everyBoardShowsATourFromWhereTheWalkBegan();
};

void ToursTest::startState()
{
    Form form;
    verifyIdle(form);
    QCOMPARE(form.problemIndex(), 0);
    QVERIFY(form.isEnabled(Command::Clear));
    QVERIFY(form.isEnabled(Command::MoveBack));
    QCOMPARE(form.text(), introductionText());
    QCOMPARE(form.board().elementCount(), 65);
}

void ToursTest::showRightAfterStartUpShowsKindOne()
{
    Form form;
    form.Command1_Click(Show);
    verifyShown(form, 0);
    QVERIFY(!form.timer().isActive());
    for (int n = 0; n < squareCount; ++n)
        QCOMPARE(form.board().square(n).backColor, baseColor(n));
}

void ToursTest::showWipesAWalk()
{
    Form form;
    form.play(u"a1 b3 c1"_s);
    form.Command1_Click(Show);
    verifyShown(form, 0);
    QCOMPARE(form.green(), QString());
    QCOMPARE(squaresIn(form.board(), visitedColor), QString());
    QCOMPARE(form.moveCount(), 3); // kept, although the history is gone
}

void ToursTest::disabledButtonsDeliverNothing()
{
    Form form;
    form.Command1_Click(Gallop);
    verifyIdle(form);

    form.Command1_Click(Show);
    const auto shown = snapshot(form.board());
    form.Command1_Click(Show); // disabled now
    QVERIFY(snapshot(form.board()) == shown);

    form.Command1_Click(Gallop);
    const int step = form.gallopStep();
    form.Command1_Click(Gallop); // disabled while galloping
    QCOMPARE(form.gallopStep(), step);
    QCOMPARE(form.green(), u"a1"_s);

    for (const int index : {-1, 4, 100})
        form.Command1_Click(index);
    QCOMPARE(form.green(), u"a1"_s);
}

// Random pauses, resumes, steps by hand and ticks over every kind: the green squares are always
// the start and those numbered up to the step, nothing moves while paused but by hand, and a
// step past the last square ends the gallop as a tick does.
void ToursTest::aPausedGallopStepsBothWaysAsItsTicksWould()
{
    QRandomGenerator random(20);
    for (int kind = 0; kind < tourKindCount; ++kind) {
        Form form;
        form.Option1_Click(kind);
        form.Command1_Click(Show);
        form.Command1_Click(Gallop);
        const QString start = form.green();
        int step = 0;
        while (form.gallopOn()) {
            switch (random.bounded(6)) {
            case 0:
                form.pauseGallop(!form.gallopPaused());
                QCOMPARE(form.timer().isActive(), !form.gallopPaused());
                break;
            case 1:
            case 2:
                if (form.gallopPaused() || form.timer().isActive())
                    ++step;
                form.gallopPaused() ? form.stepGallop() : form.Timer1_Timer();
                break;
            case 3:
            case 4:
                if (form.gallopPaused() && step > 0)
                    --step;
                form.stepGallopBack();
                break;
            case 5: // a click is ignored, paused or not
                form.Label2_Click(int(random.bounded(squareCount)));
                QVERIFY(form.history().isEmpty());
                break;
            }
            if (step > squareCount)
                break;
            QCOMPARE(form.gallopStep(), step);
            QStringList expected{start};
            for (int n = 0; n < squareCount; ++n) {
                const int number = form.board().square(n).caption.toInt();
                if (number >= 1 && number <= step && chessName(n) != start)
                    expected.append(chessName(n));
            }
            QStringList green = form.green().split(u' ');
            expected.sort();
            green.sort();
            QCOMPARE(green, expected);
        }
        verifyIdle(form);
        QVERIFY(!form.gallopPaused());
    }
    // Clearing while paused ends the pause too.
    Form form;
    form.Command1_Click(Show);
    form.Command1_Click(Gallop);
    form.pauseGallop(true);
    form.Command1_Click(Clear);
    verifyIdle(form);
    QVERIFY(!form.gallopOn());
    form.play(u"a1 b3"_s);
    QCOMPARE(form.history().size(), 2);
}

void ToursTest::galloping()
{
    Form form;
    form.Option1_Click(2);
    form.Command1_Click(Show);
    form.Command1_Click(Gallop);

    // The start square turns green at once, before any tick.
    QCOMPARE(form.green(), u"b6"_s);
    QCOMPARE(form.gallopStep(), 0);
    QVERIFY(form.timer().isActive());
    QVERIFY(!form.isEnabled(Command::Show));
    QVERIFY(!form.isEnabled(Command::Gallop));

    form.ticks(1); // repaints the start square
    QCOMPARE(form.green(), u"b6"_s);
    for (int k = 2; k <= 64; ++k) {
        form.Timer1_Timer();
        QCOMPARE(form.gallopStep(), k);
        const int newest = squareNumbered(form, k);
        QCOMPARE(form.board().square(newest).backColor, reachableColor);
        // Exactly the squares numbered 1..k are green.
        int green = 0;
        for (int n = 0; n < squareCount; ++n) {
            const bool painted = form.board().square(n).backColor == reachableColor;
            QCOMPARE(painted, form.board().square(n).caption.toInt() <= k);
            green += painted;
        }
        QCOMPARE(green, k);
    }
    verifyNumbers(form, 2);
    QVERIFY(!form.isEnabled(Command::Show));
    QVERIFY(!form.isEnabled(Command::Gallop));
    QVERIFY(form.timer().isActive());

    form.Timer1_Timer(); // the 65th tick ends the gallop
    verifyIdle(form);
    QCOMPARE(form.problemIndex(), 2);
}

void ToursTest::spareElementStaysOutOfTheGallop()
{
    // The spare element's caption is empty, so it never matches a step from 1 up.
    Form form;
    form.Command1_Click(Show);
    form.Command1_Click(Gallop);
    form.ticks(64);
    QVERIFY(!form.board().square(Board::spareElement).visible);
    QVERIFY(form.board().square(Board::spareElement).backColor != reachableColor);
}

void ToursTest::gallopTimerIsTheRealOne()
{
    Form form;
    QCOMPARE(form.timer().interval(), 2000);
    QVERIFY(!form.timer().isSingleShot());
    QVERIFY(!form.timer().isActive());
    form.Command1_Click(Show);
    QVERIFY(!form.timer().isActive());
    form.Command1_Click(Gallop);
    QVERIFY(form.timer().isActive());

    // A real tick, fired by the timer itself, reaches the handler through its signal.
    QSignalSpy spy(&form.timer(), &QTimer::timeout);
    QObject::connect(&form.timer(), &QTimer::timeout, &form.timer(), [&form] { form.Timer1_Timer(); });
    form.timer().setInterval(1);
    QVERIFY(spy.wait(1000));
    QVERIFY(form.gallopStep() >= 1);
}

void ToursTest::clearingStopsTheGallop_data()
{
    QTest::addColumn<int>("ticks");
    QTest::addColumn<int>("option"); // -1: "Чисти"
    QTest::newRow("Чисти at once") << 0 << -1;
    QTest::newRow("Чисти after ten ticks") << 10 << -1;
    QTest::newRow("Чисти after 64 ticks") << 64 << -1;
    QTest::newRow("option after five ticks") << 5 << 7;
    QTest::newRow("same option again") << 5 << 0;
    QTest::newRow("65 ticks") << 65 << -2;
}

void ToursTest::clearingStopsTheGallop()
{
    QFETCH(int, ticks);
    QFETCH(int, option);
    Form form;
    form.Command1_Click(Show);
    form.Command1_Click(Gallop);
    form.ticks(ticks);
    if (option == -1)
        form.Command1_Click(Clear);
    else if (option >= 0)
        form.Option1_Click(option);
    verifyIdle(form);

    // No tick arrives after a clear, however long we wait.
    QSignalSpy spy(&form.timer(), &QTimer::timeout);
    QTest::qWait(50);
    QCOMPARE(spy.count(), 0);

    // A new walk starts at move 1.
    form.play(u"e4"_s);
    QCOMPARE(form.board().square(28).caption, u"1"_s);
}

void ToursTest::walkAndTakeBackAreLockedWhileShown()
{
    Form form;
    form.Command1_Click(Show);
    auto before = snapshot(form.board());
    form.Command1_Click(MoveBack);
    for (int n = 0; n < squareCount; ++n)
        form.Label2_Click(n);
    QVERIFY(snapshot(form.board()) == before);

    form.Command1_Click(Gallop);
    form.ticks(3);
    before = snapshot(form.board());
    form.Command1_Click(MoveBack);
    for (int n = 0; n < squareCount; ++n)
        form.Label2_Click(n); // even the green squares
    QVERIFY(snapshot(form.board()) == before);
    QCOMPARE(form.moveCount(), 0);
}

void ToursTest::optionsWriteTheirDescription_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("text");
    QTest::newRow("4") << 3 << u"Аналогично\r\n"_s;
    QTest::newRow("5a") << 11 << u"Аналогично\r\n"_s;
    QTest::newRow("?") << 12 << u"Описаният вариант\r\n"_s;
}

void ToursTest::optionsWriteTheirDescription()
{
    QFETCH(int, kind);
    QFETCH(QString, text);
    Form form;
    const int revision = form.textRevision();
    form.Option1_Click(kind);
    QCOMPARE(form.text(), text);
    QCOMPARE(form.problemIndex(), kind);
    QVERIFY(form.textRevision() != revision);
}

void ToursTest::optionEndsWhateverIsOnTheBoard()
{
    Form form;
    form.play(u"a1 b3 c1"_s);
    form.Option1_Click(5);
    verifyIdle(form);
    form.Command1_Click(MoveBack);
    verifyIdle(form);

    form.Command1_Click(Show);
    verifyShown(form, 5);
    form.Option1_Click(8);
    verifyIdle(form);
    form.Command1_Click(Show);
    verifyShown(form, 8);
}

void ToursTest::everyKindShowsAndGallopsToItsEnd()
{
    for (int kind = 0; kind < tourKindCount; ++kind) {
        Form form;
        form.Option1_Click(kind);
        form.Command1_Click(Show);
        verifyShown(form, kind);
        form.Command1_Click(Gallop);
        const int start = squareNumbered(form, 1);
        QCOMPARE(form.green(), chessName(start));
        form.ticks(64);
        QCOMPARE(form.green().split(u' ').size(), 64);
        form.ticks(1);
        verifyIdle(form);
    }
}

// On every board offered, "Покажи" after a walk begun on any square shows a tour of that
// board, from that square when one starts there (the model checks it with a search of its own).
void ToursTest::everyBoardShowsATourFromWhereTheWalkBegan()
{
    for (const BoardShape shape : offeredShapes) {
        for (int first = -1; first < squareCount; ++first) { // off the board: as before a walk
            model::ReferenceModel model;
            model.setShape(shape.files, shape.ranks);
            model.clickSquare(first);
            model.clickButton(int(Command::Show));
            const QStringList tour = foundTourItems(shape, first);
            QVERIFY2(model.takeTour(tour), qPrintable(u"%1 x %2 from %3: %4"_s.arg(shape.files).arg(shape.ranks).arg(first).arg(tour.join(u' '))));
        }
    }
}

QTEST_GUILESS_MAIN(ToursTest)
#include "tours_test.moc"
