// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/features/gallop_control.h"
#include "app/features/practice_aids.h"
#include "app/projector/projector.h"
#include "app/projector/projector_window.h"
#include "app/projector/status_lines.h"
#include "image_support.h"
#include "picture/qt_color.h"
#include "window_support.h"

#include <QAction>
#include <QApplication>
#include <QPointingDevice>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QScreen>
#include <QToolButton>

#include <functional>

using namespace knight;
using namespace knight::test;
using namespace Qt::StringLiterals;

namespace {

ProjectorWindow *openView(MainWindow &window)
{
    // The window is active again once the view has gone (the window system says so a moment later).
    if (!QTest::qWaitFor([&window] { return QApplication::activeWindow() == &window; }))
        return nullptr;
    QTest::keyClick(&window, Qt::Key_F10);
    ProjectorWindow *view = window.projector()->view();
    if (view)
        [[maybe_unused]] const bool exposed = QTest::qWaitForWindowExposed(view);
    return view;
}

QPoint centreOf(const ProjectorWindow *view, const QString &name)
{
    return view->squareRect(squares(name).front()).center().toPoint();
}

// The colour the view shows in the middle of a square's upper edge: its fill, clear of numbers.
Color shownFill(ProjectorWindow *view, const QString &name)
{
    const QRectF square = view->squareRect(squares(name).front());
    const QColor c = view->grab().toImage().pixelColor(QPointF(square.center().x(), square.top() + square.height() * 0.15).toPoint());
    return {std::uint8_t(c.red()), std::uint8_t(c.green()), std::uint8_t(c.blue())};
}

} // namespace

class ProjectorWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void escapeBringsBackTheWindowAsItWas();
    void theViewPlaysByMouseTouchAndKeys();
    void everyButtonFollowsItsAction();
    void theHintStaysUntilTheNextMove();
    void aVerdictsSquaresAreMarkedWhileItShows();
    void whatIsOnTheScreenIsWhatAFullPaintDraws();
    void theLayoutFitsEveryScreen();
    void theStatusShowsEveryLineWhole();
    void theStatusRepaintsWhatChanged();
    void rememberedNotImposed();
    void aSmallerBoardFillsTheViewAndPlays();
    void theViewOpensOnTheWindowsScreen();
};

void ProjectorWindowTest::escapeBringsBackTheWindowAsItWas()
{
    ShownWindow shown;
    MainWindow &window = shown.window;
    clickSquares(window, u"a1 b3"_s);
    const QImage before = window.grab().toImage();
    const QRect placed = window.geometry();

    for (const auto leave : {Qt::Key_Escape, Qt::Key_F10}) {
        ProjectorWindow *view = openView(window);
        QVERIFY(view && view->isVisible());
        QVERIFY(window.projector()->isOn() && window.action(ActionId::Projector)->isChecked());
        QVERIFY(view->windowState() & Qt::WindowFullScreen);
        QCOMPARE(view->windowTitle(), window.windowTitle()); // the task bar names the program
        QTRY_COMPARE(view->geometry(), view->screen()->geometry());
        QTRY_VERIFY(view->isActiveWindow());
        QTRY_COMPARE(QApplication::focusWidget(), view); // the arrows and Enter go to the board
        QCOMPARE(shownFill(view, u"b3"_s), projectorPalette.knight); // the walk, from the start
        QTest::keyClick(view, leave);
        QVERIFY(!view->isVisible());
        QVERIFY(!window.projector()->isOn() && !window.action(ActionId::Projector)->isChecked());
        QTRY_COMPARE(QApplication::activeWindow(), &window);
    }
    // Closed by the window manager, it is left the same way and the program goes on.
    ProjectorWindow *view = openView(window);
    QVERIFY(!view->close());
    QVERIFY(!window.projector()->isOn() && window.isVisible());
    QCOMPARE(window.geometry(), placed);
    QCOMPARE(window.grab().toImage(), before);
}

void ProjectorWindowTest::theViewPlaysByMouseTouchAndKeys()
{
    ShownWindow shown;
    MainWindow &window = shown.window;
    ProjectorWindow *view = openView(window);
    QTest::mouseClick(view, Qt::LeftButton, {}, centreOf(view, u"a1"_s));
    QTest::mouseClick(view, Qt::LeftButton, {}, centreOf(view, u"h8"_s)); // not a knight's move
    QCOMPARE(window.form().history().size(), 1);
    QCOMPARE(window.square(squares(u"a1"_s).front())->caption(), u"1"_s);
    QCOMPARE(shownFill(view, u"a1"_s), projectorPalette.knight);
    QCOMPARE(shownFill(view, u"b3"_s), projectorPalette.reachable);

    std::unique_ptr<QPointingDevice> screen(QTest::createTouchDevice());
    QTest::touchEvent(view, screen.get()).press(0, centreOf(view, u"b3"_s));
    QTest::touchEvent(view, screen.get()).release(0, centreOf(view, u"b3"_s));
    QTRY_COMPARE(window.form().history().size(), 2);

    // The arrows start from the knight (b3): right, up, up is c5.
    for (const auto key : {Qt::Key_Right, Qt::Key_Up, Qt::Key_Up})
        QTest::keyClick(view, key);
    QCOMPARE(view->cursorSquare(), squares(u"c5"_s).front());
    QTest::keyClick(view, Qt::Key_Return);
    QCOMPARE(window.form().history().size(), 3);
    QCOMPARE(view->status()->text().section(u'\n', 0, 0), u"Ход 3 от 64"_s);
    // The window's keys work in the view: Ctrl+Z takes the move back.
    QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(window.form().history().size(), 2);
    QCOMPARE(view->status()->text().section(u'\n', 0, 0), u"Ход 2 от 64"_s);
}

void ProjectorWindowTest::everyButtonFollowsItsAction()
{
    ShownWindow shown;
    MainWindow &window = shown.window;
    ProjectorWindow *view = openView(window);
    QCOMPARE(view->buttons().size(), Projector::buttons.size());
    const auto expectFollowing = [&](const char *state) {
        for (std::size_t i = 0; i < Projector::buttons.size(); ++i) {
            const QAction *action = window.action(Projector::buttons[i]);
            QToolButton *button = view->buttons()[i];
            QVERIFY2(button->isEnabled() == action->isEnabled(), state);
            QVERIFY2(button->isChecked() == action->isChecked(), state);
            QCOMPARE(button->text(), action->iconText());
            // Its fill tells its state; a frame, the focus.
            const QImage look = button->grab().toImage();
            const Color fill = !action->isEnabled() ? projectorPalette.disabledButton
                               : action->isChecked() ? projectorPalette.checkedButton
                                                     : projectorPalette.button;
            QVERIFY2(look.pixelColor(button->width() / 2, button->height() / 8) == toQColor(fill), state);
            QVERIFY2((look.pixelColor(button->width() / 2, 1) == toQColor(projectorPalette.hint)) == button->hasFocus(), state);
            // It fills its whole rectangle but for round corners, smoothed: some of their pixels
            // are neither the view's background nor the button's colours.
            QVERIFY2(look.pixelColor(button->width() / 2, 0) != toQColor(projectorPalette.background), state);
            const auto blended = [&](QPoint p) {
                const QColor c = look.pixelColor(p);
                return c != toQColor(projectorPalette.background) && c != toQColor(fill) && c != toQColor(projectorPalette.hint);
            };
            QVERIFY2(pixelsWhere(QRect(0, 0, button->height() / 8, button->height() / 8), blended).count > 0, state);
        }
    };
    expectFollowing("start");
    clickSquares(window, u"a1 b3 c5"_s);
    expectFollowing("walk");
    QTest::mouseClick(view->buttons()[0], Qt::LeftButton); // take back
    QCOMPARE(window.form().history().size(), 2);
    window.Command1_Click(int(Command::Clear));
    window.Command1_Click(int(Command::Show));
    expectFollowing("shown");
    const auto buttonOf = [&](ActionId id) {
        return view->buttons()[std::size_t(std::find(Projector::buttons.begin(), Projector::buttons.end(), id) - Projector::buttons.begin())];
    };
    QTest::mouseClick(buttonOf(ActionId::Gallop), Qt::LeftButton);
    QVERIFY(window.form().gallopOn());
    QTest::mouseClick(buttonOf(ActionId::PauseGallop), Qt::LeftButton);
    QVERIFY(window.form().gallopPaused());
    expectFollowing("paused");
    buttonOf(ActionId::NextStep)->setFocus();
    QVERIFY(buttonOf(ActionId::NextStep)->hasFocus());
    expectFollowing("a button with the focus");
    QVERIFY(view->status()->text().endsWith(u"Галоп на пауза: 1/64"_s));
    // The first tick paints again the square the gallop started on.
    QTest::mouseClick(buttonOf(ActionId::NextStep), Qt::LeftButton);
    QTest::mouseClick(buttonOf(ActionId::NextStep), Qt::LeftButton);
    QVERIFY(view->status()->text().endsWith(u"Галоп на пауза: 2/64"_s));
    QTest::mouseClick(buttonOf(ActionId::PauseGallop), Qt::LeftButton);
    QVERIFY(view->status()->text().endsWith(u"Галоп: 2/64, по 2 с на ход"_s));
    // A new pace shows at once, before the next step.
    QTest::mouseClick(buttonOf(ActionId::Tempo), Qt::LeftButton);
    QCOMPARE(window.gallop()->tempo(), 3000);
    QVERIFY(view->status()->text().endsWith(u"Галоп: 2/64, по 3 с на ход"_s));
    // Chosen in the tempo's submenu, which says nothing over the text box, it shows too.
    window.gallop()->setTempo(1000);
    QVERIFY(view->status()->text().endsWith(u"Галоп: 2/64, по 1 с на ход"_s));
    QTest::mouseClick(buttonOf(ActionId::Projector), Qt::LeftButton);
    QVERIFY(!window.projector()->isOn() && !view->isVisible());
}

void ProjectorWindowTest::theHintStaysUntilTheNextMove()
{
    ShownWindow shown;
    MainWindow &window = shown.window;
    ProjectorWindow *view = openView(window);
    clickSquares(window, u"a1 b3"_s);
    window.action(ActionId::Hint)->trigger();
    const int hint = window.assistant()->hintSquare();
    QVERIFY(isSquare(hint));
    QCOMPARE(window.projector()->marks().hint, hint);
    const QString name = names({hint});
    QCOMPARE(shownFill(view, name), projectorPalette.hint);
    // The window's mark goes with its time and at the next action; the view's stays.
    window.action(ActionId::Verdict)->trigger();
    QVERIFY(!window.square(hint)->isHintShown());
    QCOMPARE(shownFill(view, name), projectorPalette.hint);
    // A move takes it away, and so does a move taken back.
    window.Label2_Click(hint);
    QCOMPARE(window.projector()->marks().hint, -1);
    window.action(ActionId::Hint)->trigger();
    QVERIFY(isSquare(window.projector()->marks().hint));
    window.Command1_Click(int(Command::MoveBack));
    QCOMPARE(window.projector()->marks().hint, -1);
    // The onward counts, as the window writes them, on the green squares; the walk's numbers
    // stay on its own.
    window.action(ActionId::Counts)->trigger();
    int counted = 0;
    for (int n = 0; n < squareCount; ++n) {
        const QString shownThere = view->diagram().squares[std::size_t(n)].caption;
        const int count = window.aids()->countFor(n);
        QCOMPARE(shownThere, count >= 0 ? QString::number(count) : window.form().board().square(n).caption);
        counted += count >= 0;
    }
    QVERIFY(counted > 0);
}

void ProjectorWindowTest::aVerdictsSquaresAreMarkedWhileItShows()
{
    ShownWindow shown;
    MainWindow &window = shown.window;
    ProjectorWindow *view = openView(window);
    // a1 is left with no way in: b3 and c2 are taken and the knight is elsewhere.
    clickSquares(window, u"b3 d4 c2 e3"_s);
    window.action(ActionId::Verdict)->trigger();
    QVERIFY(message(window).contains(u"a1"_s));
    QCOMPARE(view->message()->text(), message(window));
    QCOMPARE(window.projector()->marks().named, squares(u"a1"_s));
    const QRectF a1 = view->squareRect(squares(u"a1"_s).front());
    const QPoint edge(int(a1.center().x()), int(a1.top() + a1.height() * 0.04));
    QCOMPARE(view->grab().toImage().pixelColor(edge), toQColor(projectorPalette.named));
    // Gone with the message, at the next action.
    window.Command1_Click(int(Command::MoveBack));
    QVERIFY(window.projector()->marks().named.empty());
    QVERIFY(view->message()->text().isEmpty());
    QVERIFY(view->grab().toImage().pixelColor(edge) != toQColor(projectorPalette.named));
}

// The view paints again only what changed: after each step of a lesson the screen must hold
// what painting the whole view afresh gives.
void ProjectorWindowTest::whatIsOnTheScreenIsWhatAFullPaintDraws()
{
    ShownWindow shown;
    MainWindow &window = shown.window;
    ProjectorWindow *view = openView(window);
    QVERIFY(view);
    const std::vector<std::pair<const char *, std::function<void()>>> steps{
        {"a move", [&] { clickSquares(window, u"b1"_s); }},
        {"moves", [&] { clickSquares(window, u"c3 e4 f6"_s); }},
        {"a hint", [&] { window.action(ActionId::Hint)->trigger(); }},
        {"a move back", [&] { window.Command1_Click(int(Command::MoveBack)); }},
        {"the cursor", [&] { QTest::keyClick(view, Qt::Key_Left); QTest::keyClick(view, Qt::Key_Up); }},
        {"a verdict", [&] { window.action(ActionId::Verdict)->trigger(); }},
        {"counts", [&] { window.action(ActionId::Counts)->trigger(); }},
        {"the path", [&] { window.action(ActionId::Path)->trigger(); }},
        {"a tour shown", [&] { window.Command1_Click(int(Command::Show)); }},
        {"a gallop", [&] { window.Command1_Click(int(Command::Gallop)); window.Timer1_Timer(); window.Timer1_Timer(); }},
        {"from step 9 to 10", [&] { for (int i = 0; i < 8; ++i) window.Timer1_Timer(); }},
        {"a pause", [&] { QTest::keyClick(view, Qt::Key_F8); }},
        {"a step back", [&] { QTest::keyClick(view, Qt::Key_F9, Qt::ShiftModifier); }},
        {"a slower pace", [&] { QTest::keyClick(view, Qt::Key_F8); QTest::keyClick(view, Qt::Key_T, Qt::ControlModifier); }},
        {"a button's focus", [&] { view->buttons()[2]->setFocus(); }},
        {"cleared", [&] { window.Command1_Click(int(Command::Clear)); }},
        {"a smaller board", [&] { window.setBoardShape({3, 4}); }},
        {"its tour shown", [&] { window.Command1_Click(int(Command::Show)); }},
        {"the board of 8 x 8 again", [&] { window.setBoardShape({}); }},
    };
    for (const auto &[name, step] : steps) {
        step();
        const auto onScreen = [view] {
            return view->screen()->grabWindow(view->winId()).toImage().convertToFormat(QImage::Format_RGB32);
        };
        const auto painted = [view] { return view->grab().toImage().convertToFormat(QImage::Format_RGB32); };
        QVERIFY2(QTest::qWaitFor([&] { return onScreen() == painted(); }, 2000), name);
    }
}

void ProjectorWindowTest::theLayoutFitsEveryScreen()
{
    MainWindow window;
    window.projector()->setOn(true);
    ProjectorWindow *view = window.projector()->view();
    window.assistant()->showMessage(QString(u"Не: конят вече не може да стигне до полето a1. "_s).repeated(6));
    for (const QSize screen : {QSize(1024, 768), QSize(1920, 1080), QSize(3840, 2160), QSize(1280, 1024),
                               QSize(800, 800), QSize(768, 1024)}) {
        view->showNormal();
        view->resize(screen);
        const QString where = u"%1 x %2"_s.arg(screen.width()).arg(screen.height());
        const QRectF board = view->squareRect(0).united(view->squareRect(63));
        QVERIFY2(view->rect().contains(board.toRect()), qPrintable(where));
        QRect panel = view->status()->geometry().united(view->message()->geometry());
        for (const QToolButton *button : view->buttons()) {
            QVERIFY2(view->rect().contains(button->geometry()), qPrintable(where));
            QVERIFY2(!button->geometry().intersects(board.toRect()), qPrintable(where));
            QVERIFY2(!button->geometry().intersects(view->message()->geometry()), qPrintable(where));
            QVERIFY2(button->height() >= (screen.height() >= 1080 ? 48 : 40), qPrintable(where));
            // The caption fits its button.
            QVERIFY2(button->fontMetrics().horizontalAdvance(button->text()) < button->width(), qPrintable(where));
            for (const QToolButton *other : view->buttons())
                QVERIFY2(other == button || !other->geometry().intersects(button->geometry()), qPrintable(where));
        }
        // The buttons stand at the foot of the view, no empty row below them.
        int lowest = 0;
        for (const QToolButton *button : view->buttons())
            lowest = std::max(lowest, button->geometry().bottom());
        QVERIFY2(lowest >= screen.height() - screen.height() / 30, qPrintable(where));
        // The panel stands apart from the whole diagram, coordinates and caption too.
        QVERIFY2(panel.left() >= view->diagramArea().right(), qPrintable(where));
        // On a landscape screen the board fills its height; the message, all its room.
        QVERIFY2(board.height() > screen.height() * 0.8 || screen.width() < screen.height() * 5 / 4, qPrintable(where));
        QVERIFY2(view->message()->heightForWidth(view->message()->width()) <= view->message()->height(), qPrintable(where));
    }
}

// A running gallop's line, with no message to make room for it, is drawn whole in the status's
// own area, on every screen.
void ProjectorWindowTest::theStatusShowsEveryLineWhole()
{
    MainWindow window;
    window.Command1_Click(int(Command::Show));
    window.Command1_Click(int(Command::Gallop));
    window.projector()->setOn(true);
    ProjectorWindow *view = window.projector()->view();
    for (const QSize screen : {QSize(1024, 768), QSize(1920, 1080), QSize(3840, 2160)}) {
        view->showNormal();
        view->resize(screen);
        window.Timer1_Timer();
        const QString where = u"%1 x %2"_s.arg(screen.width()).arg(screen.height());
        const QWidget *status = view->status();
        const QStringList lines = view->status()->text().split(u'\n');
        QCOMPARE(lines.size(), 2);
        const QFontMetrics metrics(status->font());
        QVERIFY2(status->height() >= 2 * metrics.lineSpacing(), qPrintable(where));
        QVERIFY2(status->geometry().bottom() < view->message()->geometry().top(), qPrintable(where));
        for (const QString &line : lines)
            QVERIFY2(metrics.horizontalAdvance(line) <= status->width(), qPrintable(line + u' ' + where));
        // Each line, the gallop's too, has ink where it is written.
        for (int i = 0; i < 2; ++i) {
            const QRect line(status->x(), status->y() + i * metrics.lineSpacing(), status->width(), metrics.lineSpacing());
            const QImage written = view->grab(line).toImage();
            const int inked = pixelsWhere(written.rect(), [&](QPoint p) { return qGray(written.pixel(p)) < 128; }).count;
            QVERIFY2(inked > metrics.height(), qPrintable(lines[i] + u' ' + where));
        }
    }
}

// After any change of the status's lines, what is on the screen is what painting it afresh
// gives: numbers growing and shrinking, runs added and taken away at either end, lines coming.
void ProjectorWindowTest::theStatusRepaintsWhatChanged()
{
    // The status with what it was asked to paint noted.
    struct WatchedStatus : StatusLines {
        using StatusLines::StatusLines;
        QRegion painted;
        void paintEvent(QPaintEvent *event) override
        {
            painted += event->region();
            StatusLines::paintEvent(event);
        }
    } status(nullptr);
    QFont font = status.font();
    font.setPixelSize(30);
    font.setBold(true);
    status.setFont(font);
    status.resize(700, 3 * status.fontMetrics().lineSpacing());
    status.show();
    QVERIFY(QTest::qWaitForWindowExposed(&status));
    const QStringList pieces{u"Ход "_s, u"Галоп: "_s, u"/"_s, u" от "_s, u", по "_s, u"a"_s, u"“"_s, u"Я"_s};
    QRandomGenerator random(17);
    const auto line = [&] {
        QString text;
        for (int i = random.bounded(1, 6); i > 0; --i)
            text += random.bounded(2) ? pieces[random.bounded(int(pieces.size()))] : QString::number(random.bounded(1, 200));
        return text;
    };
    QStringList lines{line(), line()};
    for (int change = 0; change < 80; ++change) {
        const int i = random.bounded(int(lines.size()));
        switch (random.bounded(7)) {
        case 0: lines[i] = line(); break;
        case 1: lines[i] += line(); break;
        case 2: lines[i] = line() + lines[i]; break;
        case 3: lines[i].chop(random.bounded(int(lines[i].size()))); break;
        case 4: if (lines.size() < 3) lines << line(); break;
        case 5:
            font.setPixelSize(random.bounded(16, 36));
            status.setFont(font);
            break;
        default: lines[i] = lines[i].replace(QRegularExpression(u"\\d+"_s), QString::number(random.bounded(1, 200))); break;
        }
        status.setLines(lines);
        QCOMPARE(status.text(), lines.join(u'\n'));
        const auto onScreen = [&] { return status.screen()->grabWindow(status.winId()).toImage().convertToFormat(QImage::Format_RGB32); };
        const auto painted = [&] { return status.grab().toImage().convertToFormat(QImage::Format_RGB32); };
        QVERIFY2(QTest::qWaitFor([&] { return onScreen() == painted(); }, 2000), qPrintable(lines.join(u" | "_s)));
    }
    // Only what changed is painted again: from the first letter that differs to the last, or to
    // the line's end where the rest moved or went.
    const struct {
        QString before, after, kept, reached;
    } changes[] = {
        {u"Галоп: 17/64, по 2 с на ход"_s, u"Галоп: 18/64, по 2 с на ход"_s, u"Галоп: "_s, u"Галоп: 18"_s},
        {u"Ход 9 от 64"_s, u"Ход 10 от 64"_s, u"Ход "_s, u"Ход 10 от 64"_s},
        {u"Ход 17 от 64"_s, u"Ход 17 от "_s, u"Ход 17 от "_s, u"Ход 17 от 64"_s},
    };
    const QFontMetrics metrics(status.font());
    const int slack = metrics.lineSpacing() / 4;
    for (const auto &change : changes) {
        status.setLines({change.before});
        QTest::qWait(50);
        status.painted = {};
        status.setLines({change.after});
        QVERIFY(QTest::qWaitFor([&] { return !status.painted.isEmpty(); }));
        const QRect painted = status.painted.boundingRect();
        QVERIFY2(painted.left() >= metrics.horizontalAdvance(change.kept) - slack, qPrintable(change.after));
        QVERIFY2(painted.right() <= metrics.horizontalAdvance(change.reached) + slack, qPrintable(change.after));
    }
}

// A board changed under the view: its squares take the diagram's height, the panel stays
// clear of them, and clicks and arrows keep to it.
void ProjectorWindowTest::aSmallerBoardFillsTheViewAndPlays()
{
    ShownWindow shown;
    MainWindow &window = shown.window;
    ProjectorWindow *view = openView(window);
    window.setBoardShape({3, 4});
    const QRectF a1 = view->squareRect(squares(u"a1"_s).front());
    const QRectF c4 = view->squareRect(squares(u"c4"_s).front());
    QVERIFY(c4.top() < a1.top() && std::abs(a1.bottom() - c4.top() - 4 * a1.height()) < 1);
    QVERIFY(c4.right() < view->buttons().front()->geometry().left());
    QVERIFY(view->squareRect(squares(u"a1"_s).front()).height() > view->height() / 6);
    QTest::mouseClick(view, Qt::LeftButton, {}, centreOf(view, u"c4"_s));
    QCOMPARE(window.form().walkSquares(), squares(u"c4"_s));
    QCOMPARE(shownFill(view, u"a3"_s), projectorPalette.reachable);
    QCOMPARE(view->status()->text(), u"Ход 1 от 12\nДъска 3 × 4"_s);
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(view, Qt::Key_Right);
    QCOMPARE(view->cursorSquare(), squares(u"c4"_s).front()); // from the knight, at the edge
    for (const auto key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Left, Qt::Key_Return})
        QTest::keyClick(view, key);
    QCOMPARE(window.form().walkSquares(), squares(u"c4 b2"_s));
}

void ProjectorWindowTest::rememberedNotImposed()
{
    const TestStore settings;
    {
        MainWindow first;
        first.preferences().useStore(settings.open());
        first.restorePreferences();
        QVERIFY(!first.projector()->isOn() && !first.projector()->view()); // a first start
        first.show();
        first.action(ActionId::Projector)->trigger();
        QVERIFY(first.projector()->isOn());
        // Quit from the view: remembered as it was, though quitting hides it.
        first.action(ActionId::Quit)->trigger();
        QVERIFY(!first.isVisible());
        QApplication::closeAllWindows(); // as quitting closes every window
        QVERIFY(!first.projector()->view()->isVisible());
    }
    MainWindow next;
    next.preferences().useStore(settings.open());
    next.restorePreferences();
    QVERIFY(next.projector()->isOn() && next.action(ActionId::Projector)->isChecked());
    QVERIFY(next.projector()->view()->isVisible());
    next.projector()->setOn(false);
    MainWindow third;
    third.preferences().useStore(settings.open());
    third.restorePreferences();
    QVERIFY(!third.projector()->isOn());
}

// A laptop with a projector beside it: the view fills the screen the window is on.
void ProjectorWindowTest::theViewOpensOnTheWindowsScreen()
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    if (screens.size() < 2)
        QSKIP("one screen (run as projector_window_test_two_screens)");
    for (QScreen *screen : screens) {
        MainWindow window;
        window.setScreen(screen);
        window.move(screen->geometry().topLeft() + QPoint(50, 50));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.projector()->setOn(true);
        ProjectorWindow *view = window.projector()->view();
        QCOMPARE(view->screen(), screen);
        QTRY_COMPARE(view->geometry(), screen->geometry());
    }
}

QTEST_MAIN(ProjectorWindowTest)
#include "projector_window_test.moc"
