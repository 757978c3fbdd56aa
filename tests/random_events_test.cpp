// SPDX-License-Identifier: GPL-3.0-or-later
// Drives long random event sequences through the program's handlers and compares everything it
// shows with the reference model after every event.
#include "random_events.h"
#include "test_support.h"
#include "tours/knight_form.h"
#include "tours/texts.h"

#include <QElapsedTimer>
#include <QTest>

#include <memory>

using namespace knight;
using namespace knight::model;
using namespace Qt::StringLiterals;

namespace {

using Form = test::TestForm;

void deliver(Form &form, const Event &event)
{
    switch (event.kind) {
    case Event::Square:
        form.Label2_Click(event.arg);
        break;
    case Event::Button:
        form.Command1_Click(event.arg);
        break;
    case Event::Option:
        form.Option1_Click(event.arg);
        break;
    case Event::Tick:
        // The timer ticks only while it runs.
        if (form.timer().isActive())
            form.Timer1_Timer();
        break;
    case Event::Shape:
        form.setShape(offeredShapes[std::size_t(event.arg)]);
        break;
    }
}

QString colorName(Color c)
{
    return u"(%1,%2,%3)"_s.arg(c.red).arg(c.green).arg(c.blue);
}

// The first difference between the program and the model, or an empty text.
QString difference(const Form &form, const ReferenceModel &model)
{
    const auto expected = model.board();
    for (int n = 0; n < 64; ++n) {
        const Square &square = form.board().square(n);
        const SquareState &want = expected[std::size_t(n)];
        if (square.caption != want.caption || square.toolTip != want.toolTip || square.backColor != want.color)
            return u"square %1: caption '%2' tooltip '%3' colour %4, expected '%5' '%6' %7"_s.arg(n)
                .arg(square.caption, square.toolTip, colorName(square.backColor), want.caption,
                     want.toolTip, colorName(want.color));
    }
    const Square &spare = form.board().square(Board::spareElement);
    if (spare.visible || !spare.caption.isEmpty())
        return u"the spare element shows"_s;
    if (form.history() != model.history())
        return u"history %1, expected %2"_s.arg(form.history().join(u' '), model.history().join(u' '));
    if (form.moveCount() != model.moveCount())
        return u"moveCount %1, expected %2"_s.arg(form.moveCount()).arg(model.moveCount());
    if (form.problemIndex() != model.problemIndex())
        return u"problemIndex %1, expected %2"_s.arg(form.problemIndex()).arg(model.problemIndex());
    if (form.gallopStep() != model.gallopStep())
        return u"gallopStep %1, expected %2"_s.arg(form.gallopStep()).arg(model.gallopStep());
    for (int i = 0; i < 4; ++i) {
        if (form.isEnabled(Command(i)) != model.enabled()[std::size_t(i)])
            return u"button %1 enabled %2"_s.arg(i).arg(form.isEnabled(Command(i)));
    }
    if (form.timer().isActive() != model.timerRuns())
        return u"timer active %1"_s.arg(form.timer().isActive());
    const QString text = model.describedKind() ? joinLines(descriptionLines(*model.describedKind()))
                                               : introductionText();
    if (form.text() != text)
        return u"text box"_s;
    // Outside a demonstration the counter is the length of the history.
    if (model.mode() == Mode::Walking && form.moveCount() != form.history().size())
        return u"moveCount differs from the history"_s;
    return {};
}

// One event to both; on a board other than 8 x 8 the model takes a shown tour once it has
// checked it.
QString play(Form &form, ReferenceModel &model, const Event &event)
{
    deliver(form, event);
    apply(model, event);
    if (model.wantsTour() && !model.takeTour(form.tourItems()))
        return u"the tour shown is not one of the board from the right square: %1"_s.arg(form.tourItems().join(u' '));
    return difference(form, model);
}

std::optional<QString> firstFailure(const std::vector<Event> &events)
{
    Form form;
    ReferenceModel model;
    for (const Event &event : events) {
        if (QString diff = play(form, model, event); !diff.isEmpty())
            return diff;
    }
    return std::nullopt;
}

} // namespace

class RandomEventsTest : public QObject
{
    Q_OBJECT

private slots:
    void modelAgreesOnKnownSequences();
    void randomEvents();
    void randomEventsOnEveryBoard();

private:
    void run(qint64 count, bool shapes);
};

// The model itself is checked on a few sequences with known outcomes.
void RandomEventsTest::modelAgreesOnKnownSequences()
{
    const auto square = [](const char *name) {
        return Event{Event::Square, (name[1] - '1') * 8 + (name[0] - 'a')};
    };
    std::vector<Event> events{square("a1"), square("c2"), square("e1"), {Event::Button, 3}};
    ReferenceModel model;
    for (const Event &event : events)
        apply(model, event);
    QCOMPARE(model.history(), (QStringList{u"0"_s, u"10"_s}));
    QCOMPARE(model.board()[10].caption, u"2"_s);
    QCOMPARE(model.board()[4].color, reachableColor); // e1 is a target of c2 again
    QVERIFY(!firstFailure(events));

    events.push_back({Event::Button, 0});
    events.push_back({Event::Button, 1});
    for (int i = 0; i < 65; ++i)
        events.push_back({Event::Tick});
    QVERIFY(!firstFailure(events));
}

void RandomEventsTest::randomEvents()
{
    run(eventCount(1000000), false);
}

// The boards of other sizes too, changed now and then in the middle of anything.
void RandomEventsTest::randomEventsOnEveryBoard()
{
    run(eventCount(1000000) / 4, true);
}

void RandomEventsTest::run(qint64 count, bool shapes)
{
    const quint64 seed = eventSeed();
    EventGenerator generator(seed, shapes);
    auto form = std::make_unique<Form>();
    ReferenceModel model;
    std::vector<Event> recent; // since the last fresh start, to shrink on failure
    qint64 completeTours = 0, takeBacks = 0, gallopsEnded = 0, otherBoards = 0;

    QElapsedTimer clock;
    clock.start();
    for (qint64 i = 0; i < count; ++i) {
        // Now and then a fresh window, so that a failure replays from a short history.
        if (recent.size() >= 5000) {
            form = std::make_unique<Form>();
            model = ReferenceModel();
            recent.clear();
        }
        const Event event = generator.next(model);
        const int stepBefore = model.gallopStep();
        const int movesBefore = model.moveCount();
        const bool galloping = model.mode() == Mode::Galloping;
        const int squares = form->shape().count();
        takeBacks += event.kind == Event::Button && event.arg == 3 && model.moveCount() >= 2
                     && model.mode() == Mode::Walking;
        recent.push_back(event);
        const QString diff = play(*form, model, event);
        completeTours += movesBefore == squares - 1 && model.moveCount() == squares && model.mode() == Mode::Walking;
        gallopsEnded += galloping && stepBefore == squares && model.gallopStep() == squares + 1;
        otherBoards += squares < squareCount && model.mode() != Mode::Walking && event.kind == Event::Tick;

        if (!diff.isEmpty()) {
            const auto fails = [](const std::vector<Event> &events) { return bool(firstFailure(events)); };
            const std::vector<Event> shortest = fails(recent) ? shrink(recent, fails) : recent;
            QFAIL(qPrintable(u"seed %1, event %2: %3\nshortest failing sequence from start-up (%4 events): %5"_s
                                 .arg(seed).arg(i).arg(diff).arg(shortest.size())
                                 .arg(toString(shortest))));
        }
    }
    qInfo("%lld events from seed %llu in %lld ms: %lld moves completing a tour, %lld take-backs, %lld gallops to the end",
          count, seed, clock.elapsed(), completeTours, takeBacks, gallopsEnded);
    QVERIFY(completeTours > 0 || count < 100000);
    QVERIFY(takeBacks > 0);
    QVERIFY(gallopsEnded > 0 || count < 100000);
    // Galloped on boards of other sizes when they were asked for, and only then.
    QVERIFY(shapes ? otherBoards > 0 || count < 100000 : otherBoards == 0);
}

QTEST_GUILESS_MAIN(RandomEventsTest)
#include "random_events_test.moc"
