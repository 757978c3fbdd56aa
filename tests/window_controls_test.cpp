// SPDX-License-Identifier: GPL-3.0-or-later
// Every control in its place, clicks that count only where they end,
// the squares announced when they change, and the gallop's real pace.
#include "accessibility_on.h"
#include "app/form/command_button.h"
#include "app/form/mainwindow.h"
#include "app/form/square_label.h"
#include "test_support.h"
#include "tours/catalogue.h"

#include <QAccessible>
#include <QClipboard>
#include <QElapsedTimer>
#include <QTextBlock>
#include <QTextLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>

#include <cmath>

using namespace knight;
using namespace knight::test;
using namespace Qt::StringLiterals;

namespace {

// Twips to pixels at 96 dots per inch, to the nearest pixel, written out again here.
QRect pixels(int left, int top, int width, int height)
{
    const auto px = [](int twips) { return int(std::lround(twips / 15.0)); };
    return {px(left), px(top), px(width), px(height)};
}

struct Expected {
    QWidget *widget;
    QRect rect;
    const char *what;
};

} // namespace

class WindowControlsTest : public QObject
{
    Q_OBJECT

private slots:
    void everyControlStandsWhereDesigned();
    void aClickCountsOnlyWhereItEnds();
    void changedSquaresAreAnnounced();
    void gallopTakesTwoSecondsAStep();
    void squareListBreaksOnlyAfterCommas();
};

void WindowControlsTest::everyControlStandsWhereDesigned()
{
    MainWindow window;
    std::vector<Expected> top{
        {window.title(), pixels(840, 0, 5175, 375), "Label1"},
        {window.command(0), pixels(5400, 480, 1455, 375), "Покажи"},
        {window.command(1), pixels(5400, 840, 1455, 375), "Галоп"},
        {window.command(2), pixels(5400, 1200, 1455, 375), "Чисти"},
        {window.command(3), pixels(5400, 1560, 1455, 375), "Ход назад"},
        {window.frame(), pixels(5160, 1920, 1695, 2895), "Frame1"},
        {window.textBox(), pixels(120, 4800, 6735, 2055), "Text1"},
    };
    for (int n = 0; n < squareCount; ++n)
        top.push_back({window.square(n), pixels(1080 + 495 * (n % 8), 3960 - 495 * (n / 8), 495, 495), "square"});
    // Options, inside the frame: two columns, the last one centred.
    const int optionLeft[] = {120, 960, 120, 960, 120, 960, 120, 960, 120, 960, 120, 960, 480};
    std::vector<Expected> options;
    for (int k = 0; k < tourKindCount; ++k)
        options.push_back({window.option(k), pixels(optionLeft[k], 350 * (1 + k / 2), 615, 350), "option"});

    for (const auto *list : {&top, &options}) {
        for (const Expected &control : *list)
            QVERIFY2(control.widget->geometry() == control.rect, control.what);
    }
    // Controls stacked in the right column share at most one pixel row, as designed (a button
    // is 375 twips high on a 360-twip pitch, the frame reaches 15 twips into the text box).
    for (std::size_t i = 0; i < top.size(); ++i) {
        for (std::size_t j = i + 1; j < top.size(); ++j) {
            const QRect shared = top[i].rect.intersected(top[j].rect);
            QVERIFY2(shared.isEmpty() || shared.height() == 1,
                     qPrintable(u"%1 overlaps %2"_s.arg(top[i].what, top[j].what)));
        }
    }
    for (std::size_t i = 0; i < options.size(); ++i) {
        QVERIFY(QRect(QPoint(), window.frame()->size()).contains(options[i].rect));
        for (std::size_t j = i + 1; j < options.size(); ++j)
            QVERIFY(!options[i].rect.intersects(options[j].rect));
    }
}

void WindowControlsTest::aClickCountsOnlyWhereItEnds()
{
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    SquareLabel *d4 = window.square(squareNamed(u"d4"));
    // Pressed on d4, released over e5: no move.
    QTest::mousePress(d4, Qt::LeftButton, {}, QPoint(16, 16));
    QTest::mouseRelease(d4, Qt::LeftButton, {}, QPoint(16 + 33, 16 - 33));
    QVERIFY(window.form().history().isEmpty());
    QTest::mousePress(d4, Qt::LeftButton, {}, QPoint(16, 16));
    QTest::mouseRelease(d4, Qt::LeftButton, {}, QPoint(30, 2));
    QCOMPARE(window.form().history(), QStringList{u"27"_s});

    // "Чисти" pressed and released over "Ход назад" clears nothing.
    CommandButton *clear = window.command(2);
    QTest::mousePress(clear, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseRelease(clear, Qt::LeftButton, {}, QPoint(10, 10 + 24));
    QCOMPARE(window.form().history().size(), 1);
    QTest::mousePress(clear, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseRelease(clear, Qt::LeftButton, {}, QPoint(20, 12));
    QVERIFY(window.form().history().isEmpty());
}

void WindowControlsTest::changedSquaresAreAnnounced()
{
    MainWindow window;
    EventLog log;
    const auto named = [](const char *name) { return EventLog::has(QAccessible::NameChanged, QString::fromUtf8(name)); };
    for (const int n : squares(u"d4 f5"_s))
        window.Label2_Click(n);
    QVERIFY(named("Поле f5, ход 2, тук е конят"));
    QVERIFY(named("Поле d4, ход 1"));
    EventLog::events.clear();
    window.Command1_Click(int(Command::MoveBack));
    QVERIFY(named("Поле f5, възможен ход"));
    QVERIFY(named("Поле d4, ход 1, тук е конят"));
    EventLog::events.clear();
    window.Command1_Click(int(Command::Show));
    for (int n = 0; n < squareCount; ++n) {
        const QString shown = u"Поле %1, ход %2"_s.arg(chessName(n), storedTourItems(0).at(n));
        QVERIFY2(EventLog::has(QAccessible::NameChanged, shown), qPrintable(shown));
    }
}

void WindowControlsTest::gallopTakesTwoSecondsAStep()
{
    MainWindow window;
    window.Command1_Click(int(Command::Show));
    QElapsedTimer clock;
    window.Command1_Click(int(Command::Gallop));
    clock.start();
    const int second = squareNamed(u"c2"); // step 2 of kind "1"
    QTest::qWait(1800);
    QCOMPARE(window.form().gallopStep(), 0);
    QTRY_VERIFY_WITH_TIMEOUT(window.square(second)->backColor() == QColor(0, 200, 0), 5000);
    const qint64 elapsed = clock.elapsed();
    QVERIFY2(elapsed >= 3700 && elapsed <= 4800, qPrintable(QString::number(elapsed)));
    QCOMPARE(window.form().gallopStep(), 2);
}

void WindowControlsTest::squareListBreaksOnlyAfterCommas()
{
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QPlainTextEdit *box = window.textBox();
    // The block with the square list: every line but its last ends just after a comma or a space.
    QTextBlock list = box->document()->firstBlock();
    while (list.isValid() && !list.text().contains(u"a1,"_s))
        list = list.next();
    QVERIFY(list.isValid());
    const QTextLayout *layout = list.layout();
    QVERIFY(layout->lineCount() > 3);
    for (int i = 0; i + 1 < layout->lineCount(); ++i) {
        const QTextLine line = layout->lineAt(i);
        const QString text = list.text().mid(line.textStart(), line.textLength());
        const QString shown = QString(text).remove(QChar(0x200B));
        QVERIFY2(shown.endsWith(u',') || shown.endsWith(u' '), qPrintable(shown));
    }
    // What assistive technology and a copy give is the text as stored.
    const QString stored = QString(window.form().text()).replace(u"\r\n"_s, u"\n"_s);
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(box);
    QCOMPARE(accessible->text(QAccessible::Value), stored);
    QAccessibleTextInterface *text = accessible->textInterface();
    QVERIFY(text);
    QCOMPARE(text->characterCount(), int(stored.size()));
    QCOMPARE(text->text(0, text->characterCount()), stored);
    const int at = int(stored.indexOf(u"h6,g8"_s));
    QVERIFY(at > 0);
    text->setSelection(0, at, at + 5);
    int start = 0;
    int end = 0;
    text->selection(0, &start, &end);
    QCOMPARE(text->text(start, end), u"h6,g8"_s);
    box->copy();
    QCOMPARE(QGuiApplication::clipboard()->text(), u"h6,g8"_s);
    box->selectAll();
    box->copy();
    QCOMPARE(QGuiApplication::clipboard()->text(), stored);
}

QTEST_MAIN(WindowControlsTest)
#include "window_controls_test.moc"
