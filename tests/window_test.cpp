// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form/command_button.h"
#include "app/form/controls.h"
#include "app/form/icon.h"
#include "app/form/mainwindow.h"
#include "app/form/square_label.h"
#include "test_support.h"
#include "tours/catalogue.h"
#include "tours/texts.h"

#include <QAccessible>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>

using namespace knight;
using namespace knight::test;
using namespace Qt::StringLiterals;

namespace {

QColor qcolor(Color color)
{
    return QColor(color.red, color.green, color.blue);
}

// A square's colour as painted, read from a grab of the whole window, just inside its border.
QColor paintedColor(MainWindow &window, int n)
{
    const QImage image = window.grab().toImage();
    const QPoint inside = window.square(n)->geometry().topLeft() + QPoint(3, 3);
    return image.pixelColor(inside);
}

void click(MainWindow &window, const QString &names)
{
    for (const int n : squares(names))
        QTest::mouseClick(window.square(n), Qt::LeftButton);
}

// The text box's text as assistive technology and a copy give it.
QString shownText(const MainWindow &window)
{
    return QAccessible::queryAccessibleInterface(window.textBox())->text(QAccessible::Value);
}

QString withLineFeeds(QString text)
{
    return text.replace(u"\r\n"_s, u"\n"_s);
}

} // namespace

class WindowTest : public QObject
{
    Q_OBJECT

private slots:
    void fixedSizeWithOnlyACloseButton();
    void controlsStandWhereDesigned();
    void startState();
    void tabOrderAndFocus();
    void paintedColoursAreTheState();
    void clicksPlayAWalk();
    void quickClicksOnTwoSquaresAreTwoMoves();
    void completeTourByClicking();
    void buttonsAndOptions();
    void optionsByKeyboard();
    void realGallopTick();
    void hamburgerIcon();
    void readableByAssistiveTechnology();
};

void WindowTest::fixedSizeWithOnlyACloseButton()
{
    MainWindow window;
    QCOMPARE(window.size(), QSize(468, 463));
    QCOMPARE(window.minimumSize(), QSize(468, 463));
    QCOMPARE(window.maximumSize(), QSize(468, 463));
    const Qt::WindowFlags flags = window.windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(window.windowTitle().endsWith(u" Физическо възпитание - шахмат"_s));
    QVERIFY(window.windowTitle().section(u' ', 0, 0).endsWith(u".example"_s));
    QCOMPARE(window.font().family(), u"Times New Roman"_s);
    QCOMPARE(window.font().pointSizeF(), 12.0);
    QCOMPARE(window.palette().color(QPalette::Window), QColor(192, 192, 255));
    QCOMPARE(window.geometry().center(), window.screen()->availableGeometry().center());
}

void WindowTest::controlsStandWhereDesigned()
{
    MainWindow window;
    QCOMPARE(window.square(0)->geometry(), QRect(72, 264, 33, 33));
    QCOMPARE(window.square(7)->geometry(), QRect(303, 264, 33, 33));
    QCOMPARE(window.square(56)->geometry(), QRect(72, 33, 33, 33));
    QCOMPARE(window.square(63)->geometry(), QRect(303, 33, 33, 33));
    QCOMPARE(window.square(0)->font().pointSizeF(), 14.25);
    QCOMPARE(window.title()->geometry(), QRect(56, 0, 345, 25));
    QCOMPARE(window.command(0)->geometry(), QRect(360, 32, 97, 25));
    QCOMPARE(window.command(3)->geometry(), QRect(360, 104, 97, 25));
    QCOMPARE(window.frame()->geometry(), QRect(344, 128, 113, 193));
    QCOMPARE(window.option(0)->geometry(), QRect(8, 23, 41, 23));
    QCOMPARE(window.option(12)->geometry(), QRect(32, 163, 41, 23));
    QCOMPARE(window.textBox()->geometry(), QRect(8, 320, 449, 137));
    // The right edges of the buttons, the frame and the text box line up.
    QCOMPARE(window.command(0)->geometry().right(), window.textBox()->geometry().right());
    QCOMPARE(window.frame()->geometry().right(), window.textBox()->geometry().right());
}

void WindowTest::startState()
{
    MainWindow window;
    for (int n = 0; n < squareCount; ++n) {
        QVERIFY(window.square(n)->isVisibleTo(&window));
        QVERIFY(window.square(n)->caption().isEmpty());
        QCOMPARE(window.square(n)->backColor(), qcolor(baseColor(n)));
    }
    QVERIFY(!window.square(Board::spareElement)->isVisibleTo(&window));
    QVERIFY(window.command(0)->isEnabled());
    QVERIFY(!window.command(1)->isEnabled());
    QVERIFY(window.command(2)->isEnabled());
    QVERIFY(window.command(3)->isEnabled());
    QVERIFY(window.option(0)->isChecked());
    QCOMPARE(shownText(window), withLineFeeds(introductionText()));
    QCOMPARE(window.textBox()->verticalScrollBar()->value(), 0);
    QVERIFY(window.textBox()->isReadOnly());
    // Every line fits the box: the introduction's last paragraph ends in a run of 192
    // characters without a space, which must wrap too.
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.textBox()->horizontalScrollBar()->maximum(), 0);
}

void WindowTest::tabOrderAndFocus()
{
    MainWindow window;
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(QApplication::focusWidget(), window.textBox());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), window.command(0));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); // "Галоп" is disabled
    QCOMPARE(QApplication::focusWidget(), window.command(2));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), window.command(3));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), window.option(0));

    // "Покажи" pressed from the keyboard hands the focus to "Галоп", the next step.
    window.command(0)->setFocus();
    QTest::keyClick(window.command(0), Qt::Key_Space);
    QVERIFY(!window.command(0)->isEnabled());
    QCOMPARE(QApplication::focusWidget(), window.command(1));
}

void WindowTest::paintedColoursAreTheState()
{
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(paintedColor(window, 0), qcolor(darkColor));
    QCOMPARE(paintedColor(window, 1), qcolor(lightColor));
    click(window, u"a1"_s);
    QCOMPARE(paintedColor(window, 0), qcolor(visitedColor));
    QCOMPARE(paintedColor(window, 10), qcolor(reachableColor));
    QCOMPARE(paintedColor(window, 17), qcolor(reachableColor));
    QCOMPARE(paintedColor(window, 63), qcolor(darkColor));
    // The move number is drawn inside its square, about its middle (the knight gone on).
    click(window, u"c2"_s);
    const QImage numbered = window.square(0)->grab().toImage();
    int inkTop = numbered.height(), inkBottom = -1;
    for (int y = 2; y < numbered.height() - 2; ++y) {
        for (int x = 2; x < numbered.width() - 2; ++x) {
            if (numbered.pixelColor(x, y) != qcolor(visitedColor) && numbered.pixelColor(x, y).lightness() < 128)
                inkTop = std::min(inkTop, y), inkBottom = std::max(inkBottom, y);
        }
    }
    QVERIFY(inkBottom > inkTop);
    QVERIFY(std::abs((inkTop + inkBottom) / 2 - numbered.height() / 2) <= numbered.height() / 6);

    // Button faces show their colours exactly, disabled or not.
    const QImage image = window.grab().toImage();
    for (int i = 0; i < commandCount; ++i) {
        const QPoint inside = window.command(i)->geometry().topLeft() + QPoint(4, 4);
        QCOMPARE(image.pixelColor(inside), qcolor(controls::command1[std::size_t(i)].backColor));
    }
    const QPoint optionInside = window.frame()->geometry().topLeft()
                                + window.option(5)->geometry().bottomRight() - QPoint(2, 2);
    QCOMPARE(image.pixelColor(optionInside), QColor(128, 128, 255));
    QCOMPARE(image.pixelColor(window.title()->geometry().topLeft() + QPoint(2, 2)), QColor(255, 192, 128));
}

void WindowTest::clicksPlayAWalk()
{
    MainWindow window;
    click(window, u"d4 f5"_s);
    QCOMPARE(window.square(27)->caption(), u"1"_s);
    QCOMPARE(window.square(37)->caption(), u"2"_s);
    QCOMPARE(window.square(37)->backColor(), qcolor(visitedColor));
    QCOMPARE(window.square(squareNamed(u"c2"))->backColor(), qcolor(baseColor(10)));
    QCOMPARE(window.square(squareNamed(u"h6"))->backColor(), qcolor(reachableColor));

    QTest::mouseClick(window.command(3), Qt::LeftButton); // "Ход назад"
    QVERIFY(window.square(37)->caption().isEmpty());
    QCOMPARE(window.square(37)->backColor(), qcolor(reachableColor));
    QCOMPARE(window.form().moveCount(), 1);

    QTest::mouseClick(window.command(2), Qt::LeftButton); // "Чисти"
    for (int n = 0; n < squareCount; ++n) {
        QVERIFY(window.square(n)->caption().isEmpty());
        QCOMPARE(window.square(n)->backColor(), qcolor(baseColor(n)));
    }
}

// Through the window system, where a second quick click may become a double-click.
void WindowTest::quickClicksOnTwoSquaresAreTwoMoves()
{
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QWindow *handle = window.windowHandle();
    const auto centre = [&window](const char *name) {
        return window.square(squareNamed(QString::fromLatin1(name)))->geometry().center();
    };
    QTest::mouseClick(handle, Qt::LeftButton, {}, centre("a1"));
    QTest::mouseClick(handle, Qt::LeftButton, {}, centre("b3"));
    QTest::mouseDClick(handle, Qt::LeftButton, {}, centre("c1"));
    QCOMPARE(window.form().history(), (QStringList{u"0"_s, u"17"_s, u"2"_s}));
    QCOMPARE(window.square(2)->caption(), u"3"_s);
}

void WindowTest::completeTourByClicking()
{
    MainWindow window;
    const QStringList route = tourInStepOrder(4);
    click(window, route.join(u' '));
    QCOMPARE(window.form().history().size(), 64);
    for (int step = 1; step <= 64; ++step) {
        const SquareLabel *square = window.square(squareNamed(route[step - 1]));
        QCOMPARE(square->caption(), QString::number(step));
        QCOMPARE(square->backColor(), qcolor(visitedColor));
    }
    click(window, u"a1 h8 d4 e5"_s);
    QCOMPARE(window.form().history().size(), 64);
}

void WindowTest::buttonsAndOptions()
{
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::mouseClick(window.command(1), Qt::LeftButton); // disabled: nothing
    QVERIFY(!window.form().timer().isActive());

    // Option "1" is selected from the start; clicking it shows its description.
    QTest::mouseClick(window.option(0), Qt::LeftButton);
    QVERIFY(window.option(0)->isChecked());
    QCOMPARE(shownText(window), withLineFeeds(joinLines(descriptionLines(0))));

    QTest::mouseClick(window.command(0), Qt::LeftButton);
    QCOMPARE(window.square(0)->caption(), u"1"_s);
    QCOMPARE(window.square(0)->toolTip(), u"1"_s);
    QVERIFY(!window.command(0)->isEnabled());
    QVERIFY(window.command(1)->isEnabled());

    QTest::mouseClick(window.command(1), Qt::LeftButton);
    QVERIFY(window.form().timer().isActive());
    QCOMPARE(window.square(0)->backColor(), qcolor(reachableColor));
    QVERIFY(!window.command(1)->isEnabled());

    QTest::mouseClick(window.option(3), Qt::LeftButton);
    QVERIFY(window.option(3)->isChecked());
    QVERIFY(!window.form().timer().isActive());
    QCOMPARE(shownText(window), u"Аналогично\n"_s);
    QVERIFY(window.square(0)->caption().isEmpty());
    QVERIFY(window.square(0)->toolTip().isEmpty());
    QVERIFY(window.command(0)->isEnabled());
    QVERIFY(!window.command(1)->isEnabled());
    QCOMPARE(window.form().problemIndex(), 3);
}

void WindowTest::optionsByKeyboard()
{
    MainWindow window;
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.option(0)->setFocus();
    QTest::keyClick(window.option(0), Qt::Key_Right);
    QVERIFY(window.option(1)->isChecked());
    QCOMPARE(window.form().problemIndex(), 1);
    QCOMPARE(shownText(window), withLineFeeds(window.form().text()));
    QVERIFY(shownText(window).startsWith(descriptionLines(1).value(0)));
    QCOMPARE(window.textBox()->verticalScrollBar()->value(), 0);
    QTest::keyClick(window.option(1), Qt::Key_Left);
    QCOMPARE(window.form().problemIndex(), 0);
    QVERIFY(shownText(window).startsWith(descriptionLines(0).first()));
}

void WindowTest::realGallopTick()
{
    MainWindow window;
    QTest::mouseClick(window.command(0), Qt::LeftButton);
    QTest::mouseClick(window.command(1), Qt::LeftButton);
    const int second = squareNamed(u"c2"); // step 2 of kind "1"
    QCOMPARE(window.square(second)->backColor(), qcolor(lightColor));
    QTRY_COMPARE_WITH_TIMEOUT(window.square(second)->backColor(), qcolor(reachableColor), 5000);
    QTest::mouseClick(window.command(2), Qt::LeftButton);
    QVERIFY(!window.form().timer().isActive());
    QCOMPARE(window.square(second)->backColor(), qcolor(lightColor));
}

void WindowTest::hamburgerIcon()
{
    const QIcon icon = knight::hamburgerIcon();
    QVERIFY(icon.availableSizes().contains(QSize(32, 32)));
    const QImage image = icon.pixmap(32, 32).toImage();
    QSet<QRgb> colours;
    int opaque = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            colours.insert(image.pixel(x, y));
            opaque += qAlpha(image.pixel(x, y)) == 255;
        }
    }
    QVERIFY(colours.size() <= 256);
    QVERIFY(opaque > 32 * 32 / 2); // a picture, not an empty square
    QVERIFY(opaque < 32 * 32);     // with a transparent background
}

void WindowTest::readableByAssistiveTechnology()
{
    MainWindow window;
    const auto name = [](QWidget *widget) {
        return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
    };
    const auto role = [](QWidget *widget) { return QAccessible::queryAccessibleInterface(widget)->role(); };
    QCOMPARE(name(window.square(0)), u"Поле a1"_s);
    QCOMPARE(name(window.square(63)), u"Поле h8"_s);
    QCOMPARE(role(window.square(27)), QAccessible::Button);
    QCOMPARE(name(window.command(3)), u"Ход назад"_s);
    QCOMPARE(role(window.command(0)), QAccessible::Button);
    QCOMPARE(name(window.option(8)), u"8a"_s);
    QCOMPARE(role(window.option(8)), QAccessible::RadioButton);
    QCOMPARE(role(window.textBox()), QAccessible::EditableText);
    QCOMPARE(name(window.textBox()), u"Описание"_s);

    click(window, u"d4 f5"_s);
    QCOMPARE(name(window.square(27)), u"Поле d4, ход 1"_s);
    QCOMPARE(name(window.square(37)), u"Поле f5, ход 2, тук е конят"_s);
    // What the squares show is not changed by their names.
    QCOMPARE(window.square(37)->caption(), u"2"_s);
    QVERIFY(window.square(37)->toolTip().isEmpty());

    QTest::mouseClick(window.command(3), Qt::LeftButton);
    QCOMPARE(name(window.square(37)), u"Поле f5, възможен ход"_s);
    QTest::mouseClick(window.command(2), Qt::LeftButton);
    QTest::mouseClick(window.command(0), Qt::LeftButton);
    QCOMPARE(name(window.square(0)), u"Поле a1, ход 1"_s);
    QCOMPARE(window.square(0)->toolTip(), u"1"_s);
}

QTEST_MAIN(WindowTest)
#include "window_test.moc"
