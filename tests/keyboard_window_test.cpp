// SPDX-License-Identifier: GPL-3.0-or-later
// The window without a mouse: the board by keys, typed squares, shortcuts, the context menu,
// the guide, and what assistive technology sees and hears.
#include "app/form/announcer.h"
#include "app/form/command_button.h"
#include "app/features/guide_window.h"
#include "app/form/mainwindow.h"
#include "app/form/placement.h"
#include "app/form/square_label.h"
#include "accessibility_on.h"
#include "test_support.h"
#include "window_support.h"
#include "tours/texts.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>
#include <QTextDocument>

using namespace knight;
using namespace knight::test;
using namespace Qt::StringLiterals;

namespace {

QAccessibleInterface *accessible(QObject *object)
{
    return QAccessible::queryAccessibleInterface(object);
}

QString name(QObject *object)
{
    return accessible(object)->text(QAccessible::Name);
}

// A key as the X server delivers it: the character of the active layout and the key's code.
void typeKey(QWidget *target, QChar character, unsigned scanCode = 0)
{
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, scanCode, 0, 0, QString(character));
    QApplication::sendEvent(target, &press);
}

void typeText(QWidget *target, const QString &text)
{
    for (const QChar c : text)
        typeKey(target, c);
}

struct ActiveWindow {
    MainWindow window;
    ActiveWindow()
    {
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }
};

} // namespace

class KeyboardWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void arrowKeysAfterAClickMoveTheCursorNotTheTour();
    void theBoardPlayedByKeysOnly();
    void typedSquaresPlayFromAnywhere();
    void theCursorStopsAtEveryEdgeAndF6FindsTheKnight();
    void typedSquaresOnBulgarianLayouts();
    void enterPressesAFocusedButton();
    void shortcutsAndTheContextMenu();
    void theMenuIsGroupedAndFitsASmallScreen();
    void guideListsEveryShortcut();
    void optionToggledByAssistiveTechnologyActsAsAClick();
    void squaresSayWhatTheyAreAndCanBePressed();
    void screenReaderHearsMovesTakeBacksAndDeadEnds();
    void spareElementIsNotInTheAccessibleTree();
    void placementKeepsTheTitleBarOnScreen();
};

void KeyboardWindowTest::arrowKeysAfterAClickMoveTheCursorNotTheTour()
{
    ActiveWindow active;
    MainWindow &window = active.window;
    QTest::mouseClick(window.option(0), Qt::LeftButton);
    clickSquares(window, u"a1 b3 c5 d7"_s);
    QCOMPARE(QApplication::focusWidget(), window.square(squareNamed(u"d7")));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    QCOMPARE(window.form().problemIndex(), 0);
    QVERIFY(window.option(0)->isChecked());
    QCOMPARE(window.form().history().size(), 4);
    QCOMPARE(window.cursorSquare(), squareNamed(u"e7"));
    QVERIFY(window.square(squareNamed(u"e7"))->isCursorShown());
}

void KeyboardWindowTest::theBoardPlayedByKeysOnly()
{
    ActiveWindow active;
    MainWindow &window = active.window;
    // The cursor starts on a1 and is not drawn until the keyboard reaches the board.
    QVERIFY(!window.square(0)->isCursorShown());
    window.action(ActionId::Board)->trigger(); // F6
    QCOMPARE(QApplication::focusWidget(), window.square(0));
    QVERIFY(window.square(0)->isCursorShown());
    QTest::keyClick(window.square(0), Qt::Key_Space);
    QCOMPARE(window.square(0)->caption(), u"1"_s);
    // b3 is up two and right one; Enter plays it as a click would.
    for (const Qt::Key key : {Qt::Key_Up, Qt::Key_Up, Qt::Key_Right})
        QTest::keyClick(QApplication::focusWidget(), key);
    QCOMPARE(window.cursorSquare(), squareNamed(u"b3"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(window.form().history(), (QStringList{u"0"_s, u"17"_s}));
    // An illegal square is ignored by keys as by the mouse; the cursor stops at the edge.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
    for (int i = 0; i < 10; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
    QCOMPARE(window.cursorSquare(), squareNamed(u"a3"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QCOMPARE(window.form().history().size(), 2);
    // The painted frame is the cursor colour; a mouse click hides it again.
    const QImage image = window.grab().toImage();
    const QPoint frame = window.square(squareNamed(u"a3"))->geometry().topLeft() + QPoint(4, 16);
    QCOMPARE(image.pixelColor(frame), QColor(255, 0, 255));
    clickSquares(window, u"c1"_s);
    QVERIFY(!window.square(squareNamed(u"a3"))->isCursorShown());
    QVERIFY(!window.square(squareNamed(u"c1"))->isCursorShown());
    QCOMPARE(window.form().history().size(), 3);
}

void KeyboardWindowTest::typedSquaresPlayFromAnywhere()
{
    ActiveWindow active;
    MainWindow &window = active.window;
    QCOMPARE(QApplication::focusWidget(), window.textBox());
    typeText(window.textBox(), u"d4"_s);
    QCOMPARE(window.form().history(), QStringList{u"27"_s});
    QCOMPARE(QApplication::focusWidget(), window.square(27));
    QVERIFY(window.square(27)->isCursorShown());
    // From an option and a button too; upper case, and a stray key in between starts again.
    window.option(3)->setFocus();
    typeText(window.option(3), u"xF5"_s);
    QCOMPARE(window.form().history().size(), 2);
    QCOMPARE(window.form().problemIndex(), 0);
    window.command(2)->setFocus();
    typeText(window.command(2), u"h9h6"_s);
    QCOMPARE(window.form().history(), (QStringList{u"27"_s, u"37"_s, u"47"_s}));
    // A square that is no legal move is ignored, as a click on it is.
    typeText(QApplication::focusWidget(), u"a1"_s);
    QCOMPARE(window.form().history().size(), 3);
}

// From each corner, ten presses toward each side: the cursor walks to that edge and stays;
// F6 with a knight on the board puts the cursor on the knight.
void KeyboardWindowTest::theCursorStopsAtEveryEdgeAndF6FindsTheKnight()
{
    ActiveWindow active;
    MainWindow &window = active.window;
    window.action(ActionId::Board)->trigger();
    const auto press = [&](Qt::Key key, int times) {
        for (int i = 0; i < times; ++i)
            QTest::keyClick(QApplication::focusWidget(), key);
    };
    struct Leg { Qt::Key key; const char16_t *edge; };
    for (const Leg leg : {Leg{Qt::Key_Left, u"a1"}, Leg{Qt::Key_Down, u"a1"}, Leg{Qt::Key_Up, u"a8"},
                          Leg{Qt::Key_Right, u"h8"}, Leg{Qt::Key_Up, u"h8"}, Leg{Qt::Key_Down, u"h1"},
                          Leg{Qt::Key_Right, u"h1"}, Leg{Qt::Key_Left, u"a1"}}) {
        press(leg.key, 10);
        QCOMPARE(chessName(window.cursorSquare()), QString::fromUtf16(leg.edge));
        QCOMPARE(QApplication::focusWidget(), window.square(window.cursorSquare()));
    }
    QCOMPARE(window.form().history().size(), 0);

    clickSquares(window, u"d4 f5"_s);
    window.textBox()->setFocus();
    QTest::keyClick(window.textBox(), Qt::Key_F6);
    QCOMPARE(window.cursorSquare(), squareNamed(u"f5"));
    QCOMPARE(QApplication::focusWidget(), window.square(squareNamed(u"f5")));
}

void KeyboardWindowTest::typedSquaresOnBulgarianLayouts()
{
    // Cyrillic look-alikes and the phonetic layout, without a known key code.
    QCOMPARE(fileOfKey(u'а'), 0);
    QCOMPARE(fileOfKey(u'С'), 2);
    QCOMPARE(fileOfKey(u'е'), 4);
    QCOMPARE(fileOfKey(u'б'), 1);
    QCOMPARE(fileOfKey(u'д'), 3);
    QCOMPARE(fileOfKey(u'х'), 7);
    QCOMPARE(fileOfKey(u'ж'), -1);
    QCOMPARE(fileOfKey(u'i'), -1);
    QCOMPARE(rankOfKey(u'9'), -1);
    QCOMPARE(rankOfKey(u'0'), -1);
    // The standard layout puts ь а ф г on the keys a d b h: the key decides.
    QCOMPARE(fileOfKey(u'ь', 38), 0);
    QCOMPARE(fileOfKey(u'а', 40), 3);
    QCOMPARE(fileOfKey(u'ф', 56), 1);
    QCOMPARE(fileOfKey(u'г', 43), 7);
    // A Latin letter is what it says, whichever key carried it (Dvorak and the like).
    QCOMPARE(fileOfKey(u'e', 40), 4);

    ActiveWindow active;
    MainWindow &window = active.window;
    typeKey(window.textBox(), u'а', 40); // BDS: the key d
    typeKey(window.textBox(), u'4');
    QCOMPARE(window.form().history(), QStringList{u"27"_s});
    typeKey(window.textBox(), u'е');
    typeKey(window.textBox(), u'6');
    QCOMPARE(window.form().history().last(), QString::number(squareNamed(u"e6")));
    // The phonetic layout's д is d, with no key code to go by; capital letters too.
    typeKey(window.textBox(), u'д');
    typeKey(window.textBox(), u'8');
    QCOMPARE(window.form().history().last(), QString::number(squareNamed(u"d8")));
    typeKey(window.textBox(), u'Ф');
    typeKey(window.textBox(), u'7');
    QCOMPARE(window.form().history().last(), QString::number(squareNamed(u"f7")));
}

void KeyboardWindowTest::enterPressesAFocusedButton()
{
    ActiveWindow active;
    MainWindow &window = active.window;
    window.command(0)->setFocus();
    QTest::keyClick(window.command(0), Qt::Key_Return);
    QCOMPARE(window.square(0)->caption(), u"1"_s);
    QCOMPARE(QApplication::focusWidget(), window.command(1));
    QTest::keyClick(window.command(1), Qt::Key_Enter);
    QVERIFY(window.form().timer().isActive());
    window.command(2)->setFocus();
    QTest::keyClick(window.command(2), Qt::Key_Return);
    QVERIFY(!window.form().timer().isActive());
    QVERIFY(isEmptyChequer(window.form().board()));
}

void KeyboardWindowTest::shortcutsAndTheContextMenu()
{
    ActiveWindow active;
    MainWindow &window = active.window;
    const auto shortcut = [&window](ActionId id) { return window.action(id)->shortcut().toString(); };
    QCOMPARE(shortcut(ActionId::MoveBack), u"Ctrl+Z"_s);
    QCOMPARE(shortcut(ActionId::Clear), u"Ctrl+N"_s);
    QCOMPARE(shortcut(ActionId::Quit), u"Ctrl+Q"_s);
    QCOMPARE(shortcut(ActionId::Guide), u"F1"_s);
    QSet<QString> seen;
    for (const ActionEntry &entry : actionTable()) {
        QAction *action = window.action(entry.id);
        QVERIFY(!action->shortcut().isEmpty());
        QVERIFY2(!seen.contains(shortcut(entry.id)), qPrintable(shortcut(entry.id)));
        seen.insert(shortcut(entry.id));
        QCOMPARE(menuEntries(window.contextMenu()).count(action), 1);
    }

    // Enabled exactly when the action can do something.
    const auto enabled = [&window](ActionId id) { return window.action(id)->isEnabled(); };
    QVERIFY(enabled(ActionId::Show));
    QVERIFY(!enabled(ActionId::Gallop));
    QVERIFY(!enabled(ActionId::Clear));
    QVERIFY(!enabled(ActionId::MoveBack));
    clickSquares(window, u"a1"_s);
    QVERIFY(enabled(ActionId::Clear));
    QVERIFY(!enabled(ActionId::MoveBack));
    QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier); // nothing to take back
    QCOMPARE(window.form().history().size(), 1);
    clickSquares(window, u"b3 c5"_s);
    QVERIFY(enabled(ActionId::MoveBack));
    QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(window.form().history().size(), 2);
    QTest::keyClick(&window, Qt::Key_F5);
    QVERIFY(!enabled(ActionId::Show));
    QVERIFY(enabled(ActionId::Gallop));
    QVERIFY(enabled(ActionId::MoveBack)); // the walk the tour replaced can come back
    QTest::keyClick(&window, Qt::Key_G, Qt::ControlModifier);
    QVERIFY(window.form().timer().isActive());
    QVERIFY(!enabled(ActionId::MoveBack));
    QTest::keyClick(&window, Qt::Key_N, Qt::ControlModifier);
    QVERIFY(!window.form().timer().isActive());
    QVERIFY(!enabled(ActionId::Clear));

    // A right-click on a square opens the menu, in Bulgarian.
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), window.square(9)->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(window.square(9), &event);
    QTRY_VERIFY(window.contextMenu()->isVisible());
    QCOMPARE(window.contextMenu()->actions().first()->text(), u"Покажи"_s);
    window.contextMenu()->hide();

    QTest::keyClick(&window, Qt::Key_Q, Qt::ControlModifier);
    QVERIFY(!window.isVisible());
}

// The four commands first, then a submenu for each purpose, then the program's own entries,
// every action once; the whole fits 1024 x 768 without wrapping.
void KeyboardWindowTest::theMenuIsGroupedAndFitsASmallScreen()
{
    ShownWindow shown;
    MainWindow &window = shown.window;
    QMenu *menu = window.contextMenu();
    QStringList top;
    for (const QAction *entry : menu->actions())
        top.append(entry->isSeparator() ? u"|"_s : entry->text().section(u'\t', 0, 0));
    QCOMPARE(top.join(u','), u"Покажи,Галоп,Чисти,Ход назад,|,Управление на галопа,Помощник,Упражнения,Изглед,Файл,|,"
                              "Упътване,Език / Language,Изход"_s);
    QList<QAction *> seen = menuEntries(menu);
    for (const ActionEntry &entry : actionTable()) {
        QCOMPARE(seen.count(window.action(entry.id)), 1);
        // The platform's own keys for a standard action work too.
        for (const QKeySequence &binding : QKeySequence::keyBindings(entry.standardKey))
            QVERIFY2(window.action(entry.id)->shortcuts().contains(binding), qPrintable(binding.toString()));
    }
    QVERIFY2(menu->sizeHint().height() < 768 - 40, qPrintable(QString::number(menu->sizeHint().height())));
    for (const QAction *entry : menu->actions()) {
        if (entry->menu())
            QVERIFY(entry->menu()->sizeHint().height() < 768 - 40);
    }
}

void KeyboardWindowTest::guideListsEveryShortcut()
{
    const QString guide = GuideWindow::guideMarkdown();
    QVERIFY(guide.startsWith(u"# Упътване"_s));
    for (const ActionEntry &entry : actionTable()) {
        const QString row = u"| %1 | %2 |"_s.arg(actionShortcut(entry).toString(),
                                                   QString::fromUtf8(entry.text.data(), qsizetype(entry.text.size())));
        QVERIFY2(guide.contains(row), qPrintable(row));
    }
    QFile file(QStringLiteral(KNIGHT_SOURCE_DIR "/docs/guide.md"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(file.readAll()), guide);

    ActiveWindow active;
    QTest::keyClick(&active.window, Qt::Key_F1);
    QVERIFY(active.window.guide());
    QTRY_VERIFY(active.window.guide()->isVisible());
    QVERIFY(active.window.guide()->browser()->toPlainText().contains(u"Ход назад"_s));
    // Its pictures are found: each one the browser loads is an image.
    static const QRegularExpression picture(uR"(!\[[^\]]*\]\(([^)]+)\))"_s);
    int pictures = 0;
    for (auto match = picture.globalMatch(guide); match.hasNext(); ++pictures) {
        const QVariant image = active.window.guide()->browser()->loadResource(QTextDocument::ImageResource,
                                                                              QUrl(match.next().captured(1)));
        QVERIFY(!image.isNull() && !QImage::fromData(image.toByteArray()).isNull());
    }
    QVERIFY(pictures > 0);
}

void KeyboardWindowTest::optionToggledByAssistiveTechnologyActsAsAClick()
{
    MainWindow window;
    QAccessibleActionInterface *actions = accessible(window.option(4))->actionInterface();
    QVERIFY(actions);
    QVERIFY(actions->actionNames().contains(QAccessibleActionInterface::toggleAction()));
    actions->doAction(QAccessibleActionInterface::toggleAction());
    QVERIFY(window.option(4)->isChecked());
    QCOMPARE(window.form().problemIndex(), 4);
    QCOMPARE(window.form().text(), joinLines(descriptionLines(4)));
    QTest::mouseClick(window.command(0), Qt::LeftButton);
    QCOMPARE(window.square(0)->caption(), u"2"_s); // tour "5": kind "1" one step on

    // By mouse, the description is written once per click.
    const int revision = window.form().textRevision();
    QTest::mouseClick(window.option(1), Qt::LeftButton);
    QCOMPARE(window.form().textRevision(), revision + 1);
    QTest::mouseClick(window.option(1), Qt::LeftButton);
    QCOMPARE(window.form().textRevision(), revision + 2);
    // Options describe themselves, each in a whole phrase.
    QCOMPARE(accessible(window.option(0))->text(QAccessible::Description), u"Затворената обиколка от 1757 г."_s);
    for (int i = 0; i < tourKindCount; ++i) {
        const QString description = accessible(window.option(i))->text(QAccessible::Description);
        QVERIFY(!description.isEmpty() && !description.endsWith(u'…'));
    }
}

void KeyboardWindowTest::squaresSayWhatTheyAreAndCanBePressed()
{
    MainWindow window;
    QAccessibleActionInterface *d4 = accessible(window.square(27))->actionInterface();
    QVERIFY(d4->actionNames().contains(QAccessibleActionInterface::pressAction()));
    d4->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(window.form().history(), QStringList{u"27"_s});
    QCOMPARE(name(window.square(27)), u"Поле d4, ход 1, тук е конят"_s);
    QCOMPARE(name(window.square(squareNamed(u"f5"))), u"Поле f5, възможен ход"_s);
    QCOMPARE(name(window.square(squareNamed(u"d5"))), u"Поле d5"_s);
    accessible(window.square(squareNamed(u"f5")))->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(name(window.square(27)), u"Поле d4, ход 1"_s);
    QCOMPARE(name(window.square(squareNamed(u"f5"))), u"Поле f5, ход 2, тук е конят"_s);
    // The gallop's green is no possible move.
    QTest::mouseClick(window.command(0), Qt::LeftButton);
    QTest::mouseClick(window.command(1), Qt::LeftButton);
    QCOMPARE(name(window.square(0)), u"Поле a1, ход 1, посетено в галопа"_s);
}

void KeyboardWindowTest::screenReaderHearsMovesTakeBacksAndDeadEnds()
{
    MainWindow window;
    EventLog log;
    clickSquares(window, u"a1"_s);
    QCOMPARE(window.announcer()->lastAnnouncement(), u"Ход 1: a1."_s);
    QVERIFY(EventLog::events.contains(u"%1:Ход 1: a1."_s.arg(int(QAccessible::NameChanged))));
    QVERIFY(EventLog::events.contains(u"%1:Поле a1, ход 1, тук е конят"_s.arg(int(QAccessible::NameChanged))));
    QVERIFY(EventLog::events.contains(u"%1:Поле b3, възможен ход"_s.arg(int(QAccessible::NameChanged))));
    clickSquares(window, u"b3"_s);
    QTest::mouseClick(window.command(3), Qt::LeftButton);
    QCOMPARE(window.announcer()->lastAnnouncement(), u"Ходът е върнат. Конят е на a1, ход 1."_s);
    // a1 b3 c5 e6 d4 c2 and back to the corner: both squares a1 reaches are taken.
    QTest::mouseClick(window.command(2), Qt::LeftButton);
    clickSquares(window, u"b3 c5 e6 d4 c2"_s);
    QVERIFY(!window.announcer()->lastAnnouncement().contains(u"Задънена"_s));
    clickSquares(window, u"a1"_s);
    QVERIFY(window.announcer()->lastAnnouncement().startsWith(u"Ход 6: a1. Задънена улица"_s));
    // A walk cleared and brought back with Ctrl+Z is said as it stands.
    QTest::mouseClick(window.command(3), Qt::LeftButton);
    QTest::mouseClick(window.command(2), Qt::LeftButton);
    window.action(ActionId::MoveBack)->trigger();
    QCOMPARE(window.announcer()->lastAnnouncement(), u"Ход 5: c2."_s);
    // An ignored click says nothing new.
    EventLog::events.clear();
    clickSquares(window, u"h8"_s);
    QVERIFY(EventLog::events.isEmpty());
    // The announcer paints nothing and takes no clicks.
    QVERIFY(window.announcer()->testAttribute(Qt::WA_TransparentForMouseEvents));
    QVERIFY(!window.announcer()->autoFillBackground());
}

void KeyboardWindowTest::spareElementIsNotInTheAccessibleTree()
{
    MainWindow window;
    QAccessibleInterface *root = accessible(&window);
    int squaresListed = 0;
    for (int i = 0; i < root->childCount(); ++i) {
        QAccessibleInterface *child = root->child(i);
        QVERIFY(child);
        QCOMPARE(root->indexOfChild(child), i);
        QVERIFY(child->object() != window.square(Board::spareElement));
        if (qobject_cast<SquareLabel *>(child->object())) {
            ++squaresListed;
            QVERIFY(!child->text(QAccessible::Name).isEmpty());
        }
    }
    QCOMPARE(squaresListed, 64);
    QCOMPARE(root->indexOfChild(accessible(window.square(Board::spareElement))), -1);
}

void KeyboardWindowTest::placementKeepsTheTitleBarOnScreen()
{
    const QSize window(468, 463);
    QCOMPARE(windowPlacement(QRect(0, 0, 800, 600), window), QPoint(166, 68));
    QCOMPARE(windowPlacement(QRect(0, 0, 1280, 1024), window), QPoint(406, 280));
    // Larger than the screen (scale 1.5 on 640 x 480): the top-left corner stays on it.
    QCOMPARE(windowPlacement(QRect(0, 0, 427, 320), window), QPoint(0, 0));
    QCOMPARE(windowPlacement(QRect(100, 30, 427, 600), window), QPoint(100, 98));
    QCOMPARE(windowPlacement(QRect(0, 24, 1280, 300), window), QPoint(406, 24));
}

QTEST_MAIN(KeyboardWindowTest)
#include "keyboard_window_test.moc"
