// SPDX-License-Identifier: GPL-3.0-or-later
// Random clicks on the real widgets, checked against the reference model after every event.
#include "app/form/command_button.h"
#include "app/form/mainwindow.h"
#include "app/form/square_label.h"
#include "random_events.h"
#include "tours/texts.h"

#include <QAccessible>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>

using namespace knight;
using namespace knight::model;
using namespace Qt::StringLiterals;

namespace {

void deliver(MainWindow &window, const Event &event)
{
    switch (event.kind) {
    case Event::Square:
        QTest::mouseClick(window.square(event.arg), Qt::LeftButton);
        break;
    case Event::Button:
        QTest::mouseClick(window.command(event.arg), Qt::LeftButton);
        break;
    case Event::Option:
        QTest::mouseClick(window.option(event.arg), Qt::LeftButton);
        break;
    case Event::Tick:
        // Two seconds are not waited for: the tick goes the way the timer's would.
        if (window.form().timer().isActive())
            window.Timer1_Timer();
        break;
    case Event::Shape:
        window.setBoardShape(offeredShapes[std::size_t(event.arg)]);
        break;
    }
}

QColor qcolor(Color c)
{
    return QColor(c.red, c.green, c.blue);
}

QString difference(const MainWindow &window, const ReferenceModel &model)
{
    const auto expected = model.board();
    for (int n = 0; n < 64; ++n) {
        const SquareLabel *square = window.square(n);
        const SquareState &want = expected[std::size_t(n)];
        if (square->isVisible() != model.onBoard(n))
            return u"square %1 is %2"_s.arg(n).arg(square->isVisible() ? u"shown"_s : u"hidden"_s);
        if (square->caption() != want.caption || square->toolTip() != want.toolTip
            || square->backColor() != qcolor(want.color))
            return u"square %1 shows '%2' (tooltip '%3') in %4, expected '%5' ('%6') in %7"_s.arg(n)
                .arg(square->caption(), square->toolTip(), square->backColor().name(), want.caption,
                     want.toolTip, qcolor(want.color).name());
    }
    for (int i = 0; i < 4; ++i) {
        if (window.command(i)->isEnabled() != model.enabled()[std::size_t(i)])
            return u"button %1 enabled %2"_s.arg(i).arg(window.command(i)->isEnabled());
    }
    if (window.form().timer().isActive() != model.timerRuns())
        return u"timer"_s;
    if (window.form().history() != model.history())
        return u"history"_s;
    QString text = model.describedKind() ? joinLines(descriptionLines(*model.describedKind()))
                                         : introductionText();
    text.replace(u"\r\n"_s, u"\n"_s);
    if (QAccessible::queryAccessibleInterface(window.textBox())->text(QAccessible::Value) != text)
        return u"text box"_s;
    for (int i = 0; i < tourKindCount; ++i) {
        if (window.option(i)->isEnabled() != model.designedBoard())
            return u"option %1 enabled %2"_s.arg(i).arg(window.option(i)->isEnabled());
    }
    if (model.describedKind() && !window.option(*model.describedKind())->isChecked())
        return u"option %1 not selected"_s.arg(*model.describedKind());
    return {};
}

} // namespace

class RandomWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void randomClicks_data();
    void randomClicks();
};

void RandomWindowTest::randomClicks_data()
{
    QTest::addColumn<qint64>("count");
    QTest::addColumn<bool>("shapes");
    QTest::newRow("the designed board") << eventCount(10000) << false;
    QTest::newRow("boards of every size") << eventCount(10000) / 2 << true;
}

void RandomWindowTest::randomClicks()
{
    QFETCH(qint64, count);
    QFETCH(bool, shapes);
    const quint64 seed = eventSeed() + 1;
    EventGenerator generator(seed, shapes);
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    ReferenceModel model;
    std::vector<Event> events;
    for (qint64 i = 0; i < count; ++i) {
        const Event event = generator.next(model);
        events.push_back(event);
        deliver(window, event);
        apply(model, event);
        QString diff = model.wantsTour() && !model.takeTour(window.form().tourItems()) ? u"the tour shown"_s : QString();
        if (diff.isEmpty())
            diff = difference(window, model);
        if (!diff.isEmpty()) {
            const auto tail = std::vector<Event>(events.end() - std::min<std::ptrdiff_t>(40, std::ssize(events)), events.end());
            QFAIL(qPrintable(u"seed %1, event %2: %3\nlast events: %4"_s.arg(seed).arg(i).arg(diff, toString(tail))));
        }
    }
}

QTEST_MAIN(RandomWindowTest)
#include "random_window_test.moc"
