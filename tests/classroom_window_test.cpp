// SPDX-License-Identifier: GPL-3.0-or-later
// The classroom through the real window: the gallop paused, stepped and paced by the teacher,
// each step heard, and what is chosen remembered for the next start.
#include "access/spoken.h"
#include "picture/diagram.h"
#include "app/form/announcer.h"
#include "app/form/command_button.h"
#include "app/form/controls.h"
#include "app/features/form_zoom.h"
#include "app/features/gallop_sound.h"
#include "app/features/gallop_control.h"
#include "app/features/guide_window.h"
#include "app/features/worksheet_dialog.h"
#include "app/projector/projector.h"
#include "puzzle/puzzle.h"
#include "app/form/mainwindow.h"
#include "test_support.h"
#include "window_support.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QSettings>
#include <QSpinBox>
#include <QApplication>
#include <QStyle>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScreen>
#include <QGroupBox>
#include <QElapsedTimer>
#include <QFile>
#include <QMenu>
#include <QSemaphore>
#include <QTest>
#include <QTextBrowser>
#include <QThread>

#include <atomic>

using namespace knight;
using namespace knight::test;
using namespace Qt::StringLiterals;

namespace {

QString green(const MainWindow &window)
{
    return squaresIn(window.form().board(), reachableColor);
}

} // namespace

class ClassroomWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void theTeacherPausesAndStepsTheGallop();
    void aPausedGallopGivesNothingAway();
    void thePaceIsTheTeachersChoice();
    void theBeatSoundsOncePerStep();
    void theGuideGrowsWithTheForm();
    void everyControlScalesWithTheForm_data();
    void everyControlScalesWithTheForm();
    void aStepThatDoesNotFitIsSkipped();
    void fullScreenFillsAndCentres();
    void zoomEntriesAreEnabledWhenTheyCanAct();
    void captionsStayCentredAndWholeThroughEveryChange();
    void theBoardIsChosenInItsMenuOrByItsKey();
    void choicesAreRememberedNotImposed();
    void everyRememberedValueComesBack();
};

void ClassroomWindowTest::theTeacherPausesAndStepsTheGallop()
{
    ShownWindow shown;
    MainWindow &window = shown.window;
    for (const ActionId id : {ActionId::PauseGallop, ActionId::NextStep, ActionId::PreviousStep})
        QVERIFY(!window.action(id)->isEnabled());
    window.Command1_Click(int(Command::Show));
    window.Command1_Click(int(Command::Gallop));
    QVERIFY(window.action(ActionId::PauseGallop)->isEnabled());
    QVERIFY(!window.action(ActionId::NextStep)->isEnabled());

    QTest::keyClick(&window, Qt::Key_F8);
    QVERIFY(window.form().gallopPaused());
    QVERIFY(window.action(ActionId::PauseGallop)->isChecked());
    QCOMPARE(message(window), u"Пауза на ход 1 от 64: F8 продължава, F9 и Shift+F9 местят с по един ход."_s);
    // Its key steps through every pace in order, from the quickest round again.
    QList<int> paces;
    for (std::size_t i = 0; i <= GallopControl::tempos.size(); ++i) {
        window.action(ActionId::Tempo)->trigger();
        paces << window.form().timer().interval();
    }
    QCOMPARE(paces, (QList<int>{3000, 5000, 500, 1000, 2000, 3000}));
    // Held still by the clock, even at the quickest pace.
    window.gallop()->setTempo(500);
    const QString still = green(window);
    QTest::qWait(1500);
    QCOMPARE(green(window), still);
    QCOMPARE(window.form().gallopStep(), 0);

    // Forward twice and back once, by the keys; each step heard with its square.
    QTest::keyClick(&window, Qt::Key_F9);
    QTest::keyClick(&window, Qt::Key_F9);
    QCOMPARE(window.form().gallopStep(), 2);
    const QStringList order = tourInStepOrder(0);
    QCOMPARE(window.announcer()->lastAnnouncement(), u"Галоп: ход 2, %1."_s.arg(order.at(1)));
    QVERIFY(green(window).contains(order.at(1)));
    QTest::keyClick(&window, Qt::Key_F9, Qt::ShiftModifier);
    QCOMPARE(window.form().gallopStep(), 1);
    QVERIFY(!green(window).contains(order.at(1)));
    QCOMPARE(window.announcer()->lastAnnouncement(), u"Галоп: ход 1, %1."_s.arg(order.at(0)));

    // Resumed, it goes on by itself; stepped past the end by hand, it ends as it always does.
    QTest::keyClick(&window, Qt::Key_F8);
    QVERIFY(!window.action(ActionId::PauseGallop)->isChecked());
    QCOMPARE(message(window), u"Галопът продължава."_s);
    QTRY_COMPARE_WITH_TIMEOUT(window.form().gallopStep(), 2, 1500);
    QTest::keyClick(&window, Qt::Key_F8);
    while (window.form().gallopOn())
        window.action(ActionId::NextStep)->trigger();
    QVERIFY(isEmptyChequer(window.form().board()));
    QVERIFY(!window.action(ActionId::PauseGallop)->isChecked());
    QCOMPARE(window.announcer()->lastAnnouncement(), u"Галопът свърши."_s);
}

// Paused or running, the path ends at the gallop's step and the squares it coloured are
// galloped ones, not moves a click could make.
void ClassroomWindowTest::aPausedGallopGivesNothingAway()
{
    MainWindow window;
    window.Command1_Click(int(Command::Show));
    window.Command1_Click(int(Command::Gallop));
    for (int step = 0; step < 5; ++step)
        window.Timer1_Timer();
    for (const bool paused : {false, true}) {
        window.pauseGallop(paused);
        window.stepGallop(true); // a step by hand only while paused
        const int step = window.form().gallopStep();
        QCOMPARE(step, paused ? 6 : 5);
        QCOMPARE(pathOf(window.form()).size(), std::size_t(step));
        for (int n = 0; n < squareCount; ++n) {
            if (window.form().board().square(n).backColor == reachableColor) {
                QCOMPARE(squareCondition(window.form(), n), SquareCondition::Galloped);
                QVERIFY(!spokenSquareName(n, window.form().board().square(n).caption, squareCondition(window.form(), n))
                             .contains(u"възможен ход"_s));
            }
        }
    }
}

void ClassroomWindowTest::thePaceIsTheTeachersChoice()
{
    ShownWindow shown;
    MainWindow &window = shown.window;
    // Untouched, the designed pace.
    QCOMPARE(window.form().timer().interval(), 2000);
    QVERIFY(menuEntries(window.contextMenu()).contains(window.action(ActionId::Tempo)));
    QMenu *tempos = window.action(ActionId::Tempo)->menu();
    QVERIFY(tempos);
    QStringList texts;
    for (QAction *choice : tempos->actions())
        texts.append(choice->text() + (choice->isChecked() ? u"*"_s : QString()));
    QCOMPARE(texts, (QStringList{u"0,5 с"_s, u"1 с"_s, u"2 с*"_s, u"3 с"_s, u"5 с"_s}));

    tempos->actions().at(0)->trigger();
    QCOMPARE(window.form().timer().interval(), 500);
    window.Command1_Click(int(Command::Show));
    QElapsedTimer clock;
    window.Command1_Click(int(Command::Gallop));
    clock.start();
    QTRY_COMPARE_WITH_TIMEOUT(window.form().gallopStep(), 2, 3000);
    QVERIFY2(clock.elapsed() >= 900 && clock.elapsed() < 1800, qPrintable(QString::number(clock.elapsed())));
    // Ctrl+T goes round the paces.
    QTest::keyClick(&window, Qt::Key_T, Qt::ControlModifier);
    QCOMPARE(window.form().timer().interval(), 1000);
    QVERIFY(tempos->actions().at(1)->isChecked());
}

// A player that only counts what it is asked to sound.
struct CountingPlayer : BeatPlayer {
    std::vector<Beat> *heard;
    explicit CountingPlayer(std::vector<Beat> *list) : heard(list) {}
    void play(Beat beat) override { heard->push_back(beat); }
};

// A sounding part that counts its beats and notes whether they came off the window's thread.
struct WatchedPlayer : BeatPlayer {
    static inline std::atomic<int> played{0};
    static inline std::atomic<bool> elsewhere{true};
    static BeatPlayer *make() { return new WatchedPlayer; }
    void play(Beat) override
    {
        elsewhere = elsewhere && QThread::currentThread() != qApp->thread();
        ++played;
    }
};

// A sounding part that a sound server holds up until the test lets it go.
struct HeldPlayer : BeatPlayer {
    static inline QSemaphore letGo{0};
    static inline std::atomic<bool> entered{false};
    static BeatPlayer *make() { return new HeldPlayer; }
    void play(Beat) override
    {
        entered = true;
        letGo.acquire();
    }
};

void ClassroomWindowTest::theBeatSoundsOncePerStep()
{
    ShownWindow shown;
    MainWindow &window = shown.window;
    std::vector<Beat> heard;
    window.sound()->setPlayer(std::make_unique<CountingPlayer>(&heard));
    window.Command1_Click(int(Command::Show));
    window.Command1_Click(int(Command::Gallop));
    window.Timer1_Timer();
    QVERIFY(heard.empty()); // off at start
    QVERIFY(!window.action(ActionId::Sound)->isChecked());
    QTest::keyClick(&window, Qt::Key_B, Qt::ControlModifier);
    QVERIFY(window.sound()->isOn());
    for (int step = 2; step <= 10; ++step)
        window.Timer1_Timer();
    QCOMPARE(heard, std::vector<Beat>(9, Beat::Step));
    window.pauseGallop(true);
    window.stepGallop(true);
    window.stepGallop(false);
    QCOMPARE(heard.size(), std::size_t(11));
    window.pauseGallop(false);
    while (window.form().gallopOn())
        window.Timer1_Timer();
    QCOMPARE(heard.back(), Beat::End);
    QCOMPARE(std::count(heard.begin(), heard.end(), Beat::End), 1);
    QCOMPARE(heard.size(), std::size_t(11 + 64 - 10 + 1));

    // The sounds the build made are in the program.
    for (const char *name : {":/sounds/click.wav", ":/sounds/end.wav"}) {
        QFile sound(QString::fromLatin1(name));
        QVERIFY(sound.open(QIODevice::ReadOnly));
        QVERIFY(sound.read(4) == "RIFF");
    }
    // The program's own player with no sound device: silent, and the gallop goes on. Its
    // libraries come with the sound's first beat, not before.
    const auto multimediaLoaded = [] {
        QFile maps(QStringLiteral("/proc/self/maps"));
        return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libQt6Multimedia");
    };
    MainWindow real;
    real.sound()->setOn(true);
    real.Command1_Click(int(Command::Show));
    real.Command1_Click(int(Command::Gallop));
    QVERIFY(!multimediaLoaded());
    real.Timer1_Timer();
    QVERIFY(multimediaLoaded());
    real.Timer1_Timer();
    QCOMPARE(real.form().gallopStep(), 2);
    QVERIFY(!real.assistant()->message()->text().contains(QStringLiteral("Звук"))); // loaded without a word

    // What the program's player makes plays each beat on the sound's own thread; beats are
    // not lost while none is held up.
    MainWindow watched;
    watched.sound()->useModule({&WatchedPlayer::make, {}});
    watched.sound()->setOn(true);
    watched.Command1_Click(int(Command::Show));
    watched.Command1_Click(int(Command::Gallop));
    for (int step = 1; step <= 3; ++step) {
        watched.Timer1_Timer();
        QTRY_COMPARE(WatchedPlayer::played.load(), step);
    }
    QVERIFY(WatchedPlayer::elsewhere.load());
    // Its thread, idle, ends at once when the player goes (300 ms are waited only for one
    // that a sound server holds).
    QElapsedTimer ending;
    ending.start();
    watched.sound()->setPlayer(nullptr);
    QVERIFY2(ending.elapsed() < 200, qPrintable(QString::number(ending.elapsed())));

    // A beat held up: not given up within the bound, given up and said after it, and the sound
    // no longer held once the beat ends.
    MainWindow held;
    held.sound()->useModule({&HeldPlayer::make, {}});
    held.sound()->setOn(true);
    held.Command1_Click(int(Command::Show));
    held.Command1_Click(int(Command::Gallop));
    held.Timer1_Timer();
    QTRY_VERIFY(HeldPlayer::entered.load());
    QVERIFY(!held.sound()->isHeld());
    QTRY_VERIFY_WITH_TIMEOUT(held.assistant()->message()->text().contains(u"не отговаря"_s), 3000);
    QVERIFY(held.sound()->isHeld());
    HeldPlayer::letGo.release();
    QTRY_VERIFY(!held.sound()->isHeld());

    // A module that did not load: said once, and the gallop goes on in silence.
    MainWindow unloaded;
    unloaded.sound()->useModule({nullptr, u"knight-sound.so: gone"_s});
    unloaded.sound()->setOn(true);
    unloaded.Command1_Click(int(Command::Show));
    unloaded.Command1_Click(int(Command::Gallop));
    unloaded.Timer1_Timer();
    QCOMPARE(unloaded.assistant()->message()->text(),
             u"Звукът не е достъпен: модулът му не се зарежда (knight-sound.so: gone)."_s);
    unloaded.assistant()->message()->clear();
    unloaded.Timer1_Timer();
    QCOMPARE(unloaded.form().gallopStep(), 2);
    QVERIFY(unloaded.assistant()->message()->text().isEmpty());
}

// The guide (F1) is read from the back row too: it grows with the form, text and window, and
// comes back to its designed size with the form's.
void ClassroomWindowTest::theGuideGrowsWithTheForm()
{
    ShownWindow shown;
    MainWindow &window = shown.window;
    QTest::keyClick(&window, Qt::Key_F1);
    GuideWindow *guide = window.guide();
    QVERIFY(guide && guide->isVisible());
    QCOMPARE(guide->size(), QSize(560, 520));
    const double designedPoints = guide->browser()->font().pointSizeF();
    // At 300 % the screen bounds it, the window manager's frame (as the main window's) included.
    const QSize screen = window.screen()->availableGeometry().size() - (window.frameGeometry().size() - window.size());
    for (const auto &[percent, size] : {std::pair{200, QSize(1120, 1040)}, std::pair{100, QSize(560, 520)},
                                        std::pair{300, QSize(1680, 1560).boundedTo(screen)}}) {
        QVERIFY(window.zoom()->setPercent(percent));
        QCOMPARE(guide->size(), size);
        QCOMPARE(guide->browser()->font().pointSizeF(), designedPoints * percent / 100);
        QCOMPARE(guide->browser()->geometry(), guide->rect()); // the text edge to edge
    }
    // Closed and opened again at the size of the moment.
    guide->close();
    QTest::keyClick(&window, Qt::Key_0, Qt::ControlModifier);
    QTest::keyClick(&window, Qt::Key_F1);
    QCOMPARE(guide->size(), QSize(560, 520));
}

void ClassroomWindowTest::everyControlScalesWithTheForm_data()
{
    QTest::addColumn<int>("percent");
    for (const int percent : FormZoom::steps)
        QTest::addRow("%d %%", percent) << percent;
}

// Each control's rectangle is the designed one times the factor (within a pixel, rounded here
// on its own), its text fits it, and the normal size gives back the designed window exactly.
void ClassroomWindowTest::everyControlScalesWithTheForm()
{
    QFETCH(int, percent);
    ShownWindow shown;
    MainWindow &window = shown.window;
    if (!window.zoom()->fits(percent))
        QSKIP("the screen is too small for this step (the projector screen is not configured)");
    std::vector<QRect> designed;
    const auto controls = [&window] {
        std::vector<QWidget *> all{window.title(), window.frame(), window.textBox()};
        for (int i = 0; i < commandCount; ++i)
            all.push_back(window.command(i));
        for (int i = 0; i < tourKindCount; ++i)
            all.push_back(window.option(i));
        for (int n = 0; n < squareCount; ++n)
            all.push_back(window.square(n));
        return all;
    };
    for (QWidget *control : controls())
        designed.push_back(control->geometry());
    clickSquares(window, u"a1 b3"_s);
    QVERIFY(window.zoom()->setPercent(percent));
    const double factor = percent / 100.0;
    const auto near = [](int a, double b) { return std::abs(a - b) <= 1.0; };
    QVERIFY(near(window.width(), 468 * factor) && near(window.height(), 463 * factor));
    const std::vector<QWidget *> all = controls();
    for (std::size_t i = 0; i < all.size(); ++i) {
        const QRect now = all[i]->geometry();
        QRectF then = designed[i];
        // The options' rows touch: their edges follow the design in twips, not its rounding.
        if (const auto *option = qobject_cast<QRadioButton *>(all[i])) {
            int index = 0;
            while (window.option(index) != option)
                ++index;
            const TwipsRect twips = controls::option1[std::size_t(index)].rect;
            then = QRectF(twips.left, twips.top, twips.width, twips.height);
            then = QRectF(then.topLeft() / 15, then.size() / 15);
        }
        QVERIFY2(near(now.x(), then.x() * factor) && near(now.y(), then.y() * factor)
                     && near(now.width(), then.width() * factor) && near(now.height(), then.height() * factor),
                 qPrintable(u"%1: %2,%3 %4x%5"_s.arg(all[i]->metaObject()->className()).arg(now.x()).arg(now.y())
                                .arg(now.width()).arg(now.height())));
    }
    // Fonts at the scaled size, and the texts inside their controls.
    QCOMPARE(window.square(0)->font().pointSizeF(), 14.25 * factor);
    QCOMPARE(window.font().pointSizeF(), 12 * factor);
    for (int i = 0; i < commandCount; ++i) {
        CommandButton *button = window.command(i);
        QVERIFY(button->fontMetrics().horizontalAdvance(button->text()) < button->width());
        QVERIFY(button->fontMetrics().height() < button->height());
    }
    QVERIFY(window.title()->fontMetrics().horizontalAdvance(window.title()->text()) < window.title()->width());
    QCOMPARE(window.square(squareNamed(u"b3"))->caption(), u"2"_s);
    // No light seam between rows of options (the designed size keeps its own rounding), and
    // their round buttons grown with their text.
    for (int i = 0; i + 2 < tourKindCount - 1 && percent != 100; ++i)
        QCOMPARE(window.option(i)->geometry().bottom() + 1, window.option(i + 2)->geometry().top());
    const int dot = QApplication::style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth);
    QCOMPARE(window.option(0)->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, window.option(0)),
             int(dot * factor + 0.5));

    window.zoom()->zoomNormal();
    for (std::size_t i = 0; i < all.size(); ++i)
        QCOMPARE(all[i]->geometry(), designed[i]);
    QCOMPARE(window.size(), QSize(468, 463));
}

void ClassroomWindowTest::aStepThatDoesNotFitIsSkipped()
{
    ShownWindow shown;
    MainWindow &window = shown.window;
    const QSize room = window.screen()->availableGeometry().size();
    std::vector<int> fitting;
    for (const int percent : FormZoom::steps) {
        if (468 * percent / 100 <= room.width() && 463 * percent / 100 <= room.height())
            fitting.push_back(percent);
    }
    if (fitting.size() == FormZoom::steps.size())
        QSKIP("every step fits this screen");
    // Ctrl++ climbs the steps that fit and stops below the first that does not.
    for (int press = 0; press < 8; ++press)
        QTest::keyClick(&window, Qt::Key_Plus, Qt::ControlModifier);
    QCOMPARE(window.zoom()->percent(), fitting.back());
    QVERIFY(!window.zoom()->setPercent(300));
    QVERIFY(window.frameGeometry().right() < room.width() + window.screen()->availableGeometry().left() + 1);
    QTest::keyClick(&window, Qt::Key_0, Qt::ControlModifier);
    QCOMPARE(window.size(), QSize(468, 463));
}

void ClassroomWindowTest::fullScreenFillsAndCentres()
{
    ShownWindow shown;
    MainWindow &window = shown.window;
    QTest::keyClick(&window, Qt::Key_F11);
    QTRY_COMPARE(window.size(), window.screen()->geometry().size());
    QVERIFY(window.action(ActionId::FullScreen)->isChecked());
    // The board square and the form centred, the rest in the form's colour.
    const QRectF board = window.boardArea();
    QVERIFY(std::abs(board.width() - board.height()) <= 1);
    const double scale = window.formLayout().scale;
    const QPoint origin = window.formLayout().origin;
    QVERIFY(std::abs(2 * origin.x() + 468 * scale - window.width()) <= 2);
    QVERIFY(std::abs(2 * origin.y() + 463 * scale - window.height()) <= 2);
    QVERIFY(std::min(origin.x(), origin.y()) <= 1);
    const QImage image = window.grab().toImage();
    QCOMPARE(image.pixelColor(0, 0), QColor(192, 192, 255));
    QCOMPARE(image.pixelColor(image.width() - 1, image.height() - 1), QColor(192, 192, 255));
    // Esc leaves it, at the size it had.
    QTest::keyClick(window.textBox(), Qt::Key_Escape);
    QVERIFY(!window.zoom()->isFullScreen());
    QVERIFY(!window.isFullScreen()); // the window's own state too, not its size alone
    QTRY_COMPARE(window.size(), QSize(468, 463));
    QCOMPARE(window.formLayout(), controls::FormLayout{});
}

void ClassroomWindowTest::zoomEntriesAreEnabledWhenTheyCanAct()
{
    ShownWindow shown;
    MainWindow &window = shown.window;
    const auto enabled = [&window] {
        QString seen;
        for (const ActionId id : {ActionId::ZoomIn, ActionId::ZoomOut, ActionId::ZoomNormal})
            seen += window.action(id)->isEnabled() ? u'+' : u'-';
        return seen;
    };
    QCOMPARE(enabled(), u"+--"_s); // the designed window
    QTest::keyClick(&window, Qt::Key_Plus, Qt::ControlModifier);
    QCOMPARE(window.zoom()->percent(), 125);
    QCOMPARE(enabled(), u"+++"_s);
    while (window.action(ActionId::ZoomIn)->isEnabled())
        QTest::keyClick(&window, Qt::Key_Plus, Qt::ControlModifier);
    QCOMPARE(window.zoom()->percent(), FormZoom::steps.back()); // every step fits a projector
    QCOMPARE(enabled(), u"-++"_s);
    // Ctrl+- goes down one step.
    const int below = *(FormZoom::steps.end() - 2);
    QTest::keyClick(&window, Qt::Key_Minus, Qt::ControlModifier);
    QCOMPARE(window.zoom()->percent(), below);
    // In full screen the steps wait; Ctrl+0 gives the designed window back.
    QTest::keyClick(&window, Qt::Key_F11);
    QVERIFY(window.zoom()->isFullScreen());
    QCOMPARE(enabled(), u"--+"_s);
    QTest::keyClick(&window, Qt::Key_Minus, Qt::ControlModifier);
    QTest::keyClick(&window, Qt::Key_Plus, Qt::ControlModifier);
    QCOMPARE(window.zoom()->percent(), below);
    QTest::keyClick(&window, Qt::Key_0, Qt::ControlModifier);
    QVERIFY(!window.zoom()->isFullScreen());
    QCOMPARE(window.zoom()->percent(), 100);
    QTRY_COMPARE(window.size(), QSize(468, 463));
    QCOMPARE(enabled(), u"+--"_s);
}

// Each of the four buttons as it is drawn, against one made fresh at its size, font and state.
static void expectButtonsDrawnFresh(MainWindow &window, const char *when)
{
    for (int i = 0; i < commandCount; ++i) {
        CommandButton *button = window.command(i);
        CommandButton fresh(button->face(), nullptr);
        fresh.setFont(button->font());
        fresh.setPalette(button->palette());
        fresh.setCaption(button->text());
        fresh.setScale(window.formLayout().scale);
        fresh.setEnabled(button->isEnabled());
        fresh.resize(button->size());
        const QImage seen = button->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QImage expected = fresh.grab().toImage().convertToFormat(QImage::Format_RGB32);
        QVERIFY2(seen == expected, qPrintable(QStringLiteral("%1: %2").arg(QLatin1StringView(when), button->text())));
    }
}

void ClassroomWindowTest::captionsStayCentredAndWholeThroughEveryChange()
{
    ShownWindow shown;
    MainWindow &window = shown.window;
    expectButtonsDrawnFresh(window, "designed");
    for (const int percent : FormZoom::steps) {
        QVERIFY(window.zoom()->setPercent(percent));
        expectButtonsDrawnFresh(window, "zoomed");
    }
    window.zoom()->setPercent(200);
    QTest::keyClick(&window, Qt::Key_F11);
    QTRY_VERIFY(window.size() != QSize(936, 926));
    expectButtonsDrawnFresh(window, "full screen");
    QTest::keyClick(&window, Qt::Key_F11);
    QTRY_COMPARE(window.size(), QSize(936, 926));
    expectButtonsDrawnFresh(window, "left full screen");
    QTest::keyClick(&window, Qt::Key_0, Qt::ControlModifier);
    QTRY_COMPARE(window.size(), QSize(468, 463));
    expectButtonsDrawnFresh(window, "back to 100 %");
}

// "Дъска": its submenu and its key choose a board, Ctrl+Z brings back the walk the choice
// replaced, on its board; a puzzle holds the board.
void ClassroomWindowTest::theBoardIsChosenInItsMenuOrByItsKey()
{
    ShownWindow shown;
    MainWindow &window = shown.window;
    QVERIFY(menuEntries(window.contextMenu()).contains(window.action(ActionId::BoardSize)));
    const QList<QAction *> boards = window.action(ActionId::BoardSize)->menu()->actions();
    QCOMPARE(boards.size(), qsizetype(offeredShapes.size()));
    QVERIFY(boards.back()->isChecked());
    clickSquares(window, u"a1 b3"_s);
    QTest::keyClick(&window, Qt::Key_D, Qt::ControlModifier);
    QCOMPARE(window.form().shape(), offeredShapes.front());
    QVERIFY(boards.front()->isChecked() && !boards.back()->isChecked());
    boards[3]->trigger();
    QCOMPARE(window.form().shape(), (BoardShape{5, 5}));
    QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(window.form().shape(), BoardShape{});
    QCOMPARE(window.form().walkSquares(), squares(u"a1 b3"_s));
    QVERIFY(boards.back()->isChecked());
    window.action(ActionId::Puzzle)->trigger();
    QVERIFY(!window.action(ActionId::BoardSize)->isEnabled());
    QTest::keyClick(&window, Qt::Key_D, Qt::ControlModifier);
    QCOMPARE(window.form().shape(), BoardShape{});
}

void ClassroomWindowTest::choicesAreRememberedNotImposed()
{
    const TestStore settings;
    {
        MainWindow first;
        first.preferences().useStore(settings.open());
        first.restorePreferences();
        QCOMPARE(first.form().timer().interval(), 2000); // nothing stored: as designed
        first.gallop()->setTempo(3000);
        QVERIFY(first.zoom()->setPercent(125));
        first.sound()->setOn(true);
    }
    MainWindow next;
    next.preferences().useStore(settings.open());
    next.restorePreferences();
    QCOMPARE(next.form().timer().interval(), 3000);
    QCOMPARE(next.gallop()->tempo(), 3000);
    QCOMPARE(next.zoom()->percent(), 125);
    QCOMPARE(next.width(), 585);
    QVERIFY(next.sound()->isOn() && next.action(ActionId::Sound)->isChecked());
    // Full screen too, with the size it leaves it for.
    next.zoom()->setFullScreen(true);
    MainWindow third;
    third.preferences().useStore(settings.open());
    third.restorePreferences();
    QVERIFY(third.zoom()->isFullScreen() && third.action(ActionId::FullScreen)->isChecked());
    QCOMPARE(third.zoom()->percent(), 125);
    // A window given no store remembers nothing.
    MainWindow plain;
    plain.restorePreferences();
    QCOMPARE(plain.form().timer().interval(), 2000);
    QCOMPARE(plain.size(), QSize(468, 463));
    QVERIFY(!plain.sound()->isOn() && !plain.action(ActionId::Sound)->isChecked());
}

// Every value the program remembers, by the key the guide's settings file holds: changed in a
// window, stored under that key and read back by the next window; and read from a file written
// by hand, so a value stored and read under one wrong name is caught too. (The language is read
// before a window is made: language_test follows it.)
void ClassroomWindowTest::everyRememberedValueComesBack()
{
    using Look = std::function<QVariant(MainWindow &)>;
    struct Remembered {
        const char *key;
        const char *value; // as the settings file holds it
        std::function<void(MainWindow &)> change;
        Look read;
    };
    // A worksheet choice: made in the dialog and remembered as its OK does; read in a new one.
    using Sheet = WorksheetDialog;
    const auto sheetRow = [](const char *key, const char *value, std::function<void(Sheet &)> choose,
                             std::function<QVariant(const Sheet &)> shown) {
        return Remembered{key, value,
                          [choose](MainWindow &w) {
                              Sheet dialog(&w, &w.preferences());
                              choose(dialog);
                              dialog.remember(w.preferences());
                          },
                          [shown](MainWindow &w) { return shown(Sheet(&w, &w.preferences())).toString(); }};
    };
    const int eightByEight = int(puzzleBoards.size()) - 1; // with closed tours
    const std::vector<Remembered> table{
        {"view/zoom", "150", [](MainWindow &w) { w.zoom()->setPercent(150); }, [](MainWindow &w) { return QVariant(w.zoom()->percent()).toString(); }},
        {"view/fullScreen", "true", [](MainWindow &w) { w.zoom()->setFullScreen(true); },
         [](MainWindow &w) { return QVariant(w.zoom()->isFullScreen()).toString(); }},
        {"view/projector", "true", [](MainWindow &w) { w.projector()->setOn(true); },
         [](MainWindow &w) { return QVariant(w.projector()->isOn()).toString(); }},
        {"gallop/tempo", "3000", [](MainWindow &w) { w.gallop()->setTempo(3000); },
         [](MainWindow &w) { return QVariant(w.form().timer().interval()).toString(); }},
        {"gallop/sound", "true", [](MainWindow &w) { w.sound()->setOn(true); },
         [](MainWindow &w) { return QVariant(w.action(ActionId::Sound)->isChecked()).toString(); }},
        sheetRow("worksheet/board", "4", [](Sheet &d) { d.boardBox()->setCurrentIndex(4); },
                 [](const Sheet &d) { return QVariant(d.boardBox()->currentIndex()); }),
        sheetRow("worksheet/level", "2", [](Sheet &d) { d.levelBox()->setCurrentIndex(2); },
                 [](const Sheet &d) { return QVariant(d.levelBox()->currentIndex()); }),
        sheetRow("worksheet/count", "12", [](Sheet &d) { d.countBox()->setValue(12); },
                 [](const Sheet &d) { return QVariant(d.countBox()->value()); }),
        sheetRow("worksheet/closed", "true",
                 [eightByEight](Sheet &d) {
                     d.boardBox()->setCurrentIndex(eightByEight);
                     d.closedBox()->setChecked(true);
                 },
                 [](const Sheet &d) { return QVariant(d.closedBox()->isChecked()); }),
    };
    const auto started = [](const TestStore &store) {
        auto window = std::make_unique<MainWindow>();
        window->preferences().useStore(store.open());
        window->restorePreferences();
        return window;
    };
    for (const Remembered &row : table) {
        const QString key = QString::fromLatin1(row.key), value = QString::fromLatin1(row.value);
        const TestStore changed;
        {
            const auto first = started(changed);
            QVERIFY2(row.read(*first) != value, row.key); // a first start has it as designed
            row.change(*first);
        }
        QCOMPARE(changed.open()->value(key).toString(), value);
        QCOMPARE(row.read(*started(changed)), QVariant(value));
        // A file written by hand; the 8 x 8 board with the closed tours it takes.
        const TestStore byHand;
        byHand.open()->setValue(key, value);
        if (key == u"worksheet/closed"_s)
            byHand.open()->setValue(u"worksheet/board"_s, eightByEight);
        QCOMPARE(row.read(*started(byHand)), QVariant(value));
    }
}

QTEST_MAIN(ClassroomWindowTest)
#include "classroom_window_test.moc"
