// SPDX-License-Identifier: GPL-3.0-or-later
// A pupil's work and the lesson survive what goes wrong around them: a sound server that never
// answers, a settings file that is not one.
#include "app/form/command_button.h"
#include "app/form/square_label.h"
#include "app/features/gallop_control.h"
#include "app/features/gallop_sound.h"
#include "app/form/mainwindow.h"
#include "app/features/preferences.h"
#include "app/features/walk_autosave.h"
#include "fault_support.h"
#include "window_support.h"

#include <QAction>
#include <QElapsedTimer>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace knight;
using namespace knight::test;
using namespace Qt::StringLiterals;

class SafetyWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void aHungSoundServerHoldsNothing();
    void aSettingsFileIsReadOnlyWhenItIsOne_data();
    void aSettingsFileIsReadOnlyWhenItIsOne();
    void storedValuesAreReadStrictlyAndWrittenOnlyWhenChanged();
    void aStoreThatCannotBeWrittenIsToldOnce();
    void aWipedWalkComesBackWithCtrlZ();
    void theWalkIsKeptForTheNextStart();
    void aWalkThatCannotBeKeptIsToldOnce();

private:
    QTemporaryDir dir_;
    int server_ = -1;
};

// A sound server that takes every connection and never says a word.
void SafetyWindowTest::initTestCase()
{
    const QByteArray path = dir_.filePath(u"pulse"_s).toUtf8();
    server_ = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    qstrncpy(address.sun_path, path.constData(), sizeof address.sun_path);
    QVERIFY(::bind(server_, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0);
    QVERIFY(::listen(server_, 16) == 0);
    qputenv("PULSE_SERVER", "unix:" + path);
}

void SafetyWindowTest::cleanupTestCase()
{
    if (server_ >= 0)
        ::close(server_);
}

void SafetyWindowTest::aHungSoundServerHoldsNothing()
{
    auto shown = std::make_unique<ShownWindow>();
    MainWindow &window = shown->window;
    window.gallop()->setTempo(500);
    QTest::keyClick(&window, Qt::Key_B, Qt::ControlModifier);
    QVERIFY(window.sound()->isOn());
    window.Command1_Click(int(Command::Show));
    window.Command1_Click(int(Command::Gallop));
    QElapsedTimer clock;
    clock.start();
    // The gallop keeps its pace while the sound waits, and the teacher is told once.
    QTRY_VERIFY_WITH_TIMEOUT(window.form().gallopStep() >= 8, 8000);
    QVERIFY2(clock.elapsed() < 6000, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(message(window).contains(u"Звукът не е достъпен: звуковата система не отговаря"_s));
    QTest::keyClick(&window, Qt::Key_F8);
    QVERIFY(window.form().gallopPaused());
    QTest::keyClick(&window, Qt::Key_N, Qt::ControlModifier);
    QVERIFY(!window.form().gallopOn());
    clock.restart();
    QTest::keyClick(&window, Qt::Key_Q, Qt::ControlModifier);
    QVERIFY(!window.isVisible());
    QVERIFY(window.sound()->isHeld());
    shown.reset();
    QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed())));
    // The server goes: the sound's thread is let go before this process ends.
    ::close(server_);
    server_ = -1;
    QTest::qWait(1000);
}

void SafetyWindowTest::aSettingsFileIsReadOnlyWhenItIsOne_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("a FIFO") << u"fifo"_s << u"FIFO"_s;
    QTest::newRow("a folder") << u"folder"_s << u"папка"_s;
    QTest::newRow("too large") << u"large"_s << u"64 KiB"_s;
    QTest::newRow("just small enough") << u"limit"_s << QString();
    QTest::newRow("none yet") << u"none"_s << QString();
}

void SafetyWindowTest::aSettingsFileIsReadOnlyWhenItIsOne()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    QTemporaryDir folder;
    const QString path = folder.filePath(u"knight-tour.conf"_s);
    const QByteArray line = "[gallop]\ntempo=500\n";
    if (kind == u"fifo")
        QVERIFY(::mkfifo(qPrintable(path), 0600) == 0);
    else if (kind == u"folder")
        QVERIFY(QDir(folder.path()).mkdir(u"knight-tour.conf"_s));
    else if (kind != u"none")
        writeFile(path, line + QByteArray(Preferences::fileLimit - line.size() + (kind == u"large"), '#'));
    QElapsedTimer clock;
    clock.start();
    std::unique_ptr<QSettings> store = Preferences::openStore(path);
    const QString refusal = Preferences::refusal(path);
    QVERIFY(clock.elapsed() < 1000);
    QCOMPARE(!store, !reason.isEmpty());
    QCOMPARE(refusal.isNull(), reason.isEmpty());
    QVERIFY2(refusal.contains(reason), qPrintable(refusal));
    if (kind == u"limit") {
        MainWindow window;
        window.preferences().useStore(std::move(store));
        window.restorePreferences();
        QCOMPARE(window.form().timer().interval(), 500);
    }
}

void SafetyWindowTest::storedValuesAreReadStrictlyAndWrittenOnlyWhenChanged()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(u"knight-tour.conf"_s);
    writeFile(path, "[gallop]\nsound=2\ntempo=banana\n[view]\nfullScreen=banana\nzoom=137\n");
    QFile::setPermissions(path, QFile::ReadOwner);
    {
        MainWindow window;
        window.preferences().useStore(Preferences::openStore(path));
        QString told;
        window.preferences().onWriteFailure([&told](const QString &problem) { told = problem; });
        window.restorePreferences();
        // Nothing taken as on, every pace and size as designed; reading wrote nothing back.
        QVERIFY(!window.sound()->isOn());
        QVERIFY(!window.isFullScreen());
        QCOMPARE(window.form().timer().interval(), 2000);
        QCOMPARE(window.size(), QSize(468, 463));
        QVERIFY2(told.isNull(), qPrintable(told));
    }
    QCOMPARE(contents(path), "[gallop]\nsound=2\ntempo=banana\n[view]\nfullScreen=banana\nzoom=137\n"_ba);
}

void SafetyWindowTest::aStoreThatCannotBeWrittenIsToldOnce()
{
    // A full disk where this user may mount one, else a read-only folder (which root ignores).
    FullFilesystem full(4096);
    QTemporaryDir folder;
    const QString path = full.mounted() ? full.path(u"knight-tour.conf"_s) : folder.filePath(u"knight-tour.conf"_s);
    writeFile(path, "[gallop]\ntempo=1000\n");
    if (!full.mounted()) {
        QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::ExeOwner);
        if (QFileInfo(folder.path()).isWritable())
            QSKIP("neither a full disk nor a read-only folder can be made here");
    }
    {
        MainWindow window;
        window.preferences().useStore(Preferences::openStore(path));
        QStringList told;
        window.preferences().onWriteFailure([&told](const QString &problem) { told.append(problem); });
        window.restorePreferences();
        QCOMPARE(window.form().timer().interval(), 1000);
        QVERIFY(told.isEmpty());
        window.gallop()->nextTempo();
        window.gallop()->nextTempo();
        QCOMPARE(window.form().timer().interval(), 3000);
        QCOMPARE(told.size(), 1);
        QVERIFY2(told.first().contains(u"не може да бъде запомнен"_s), qPrintable(told.first()));
    }
    QCOMPARE(contents(path), "[gallop]\ntempo=1000\n"_ba);
    QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void SafetyWindowTest::aWipedWalkComesBackWithCtrlZ()
{
    ShownWindow shown;
    MainWindow &window = shown.window;
    clickSquares(window, u"a1 b3 c5 d7"_s);
    QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier); // d7 taken back
    QTest::keyClick(&window, Qt::Key_N, Qt::ControlModifier);
    QVERIFY(window.form().history().isEmpty());
    QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(window.form().history().size(), 3);
    QCOMPARE(window.square(squareNamed(u"c5"_s))->caption(), u"3"_s);
    QVERIFY(window.action(ActionId::Redo)->isEnabled());
    // The button keeps its own ways: after "Чисти" it brings nothing back.
    QTest::mouseClick(window.command(int(Command::Clear)), Qt::LeftButton);
    QTest::mouseClick(window.command(int(Command::MoveBack)), Qt::LeftButton);
    QVERIFY(window.form().history().isEmpty());
    QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(window.form().history().size(), 3);
}

void SafetyWindowTest::theWalkIsKeptForTheNextStart()
{
    QTemporaryDir folder;
    const QString kept = folder.filePath(u"last-walk.txt"_s);
    {
        MainWindow first;
        QVERIFY(!first.action(ActionId::ResumeWalk)->isEnabled()); // a first start offers nothing
        first.autosave()->useFolder(folder.path());
        QVERIFY(!first.action(ActionId::ResumeWalk)->isEnabled());
        for (const int n : squares(u"d4 f5 h6"_s))
            first.Label2_Click(n);
        QVERIFY(first.autosave()->waitUntilWritten().isNull());
        QVERIFY(contents(kept).endsWith("d4 f5 h6\n"));
        first.Command1_Click(int(Command::MoveBack));
        QVERIFY(first.autosave()->waitUntilWritten().isNull());
        QVERIFY(contents(kept).endsWith("d4 f5\n"));
    }
    MainWindow next;
    next.autosave()->useFolder(folder.path());
    QVERIFY(next.action(ActionId::ResumeWalk)->isEnabled());
    QVERIFY(next.form().history().isEmpty()); // the window starts as designed
    next.action(ActionId::ResumeWalk)->trigger();
    QCOMPARE(next.form().history().size(), 2);
    QVERIFY(!next.action(ActionId::ResumeWalk)->isEnabled());
    // Cleared, nothing is left to offer.
    next.Command1_Click(int(Command::Clear));
    QVERIFY(next.autosave()->waitUntilWritten().isNull());
    QVERIFY(!QFile::exists(kept));
    // A walk on a smaller board comes back on its board.
    next.setBoardShape({3, 4});
    clickSquares(next, u"a1 c2"_s);
    QVERIFY(next.autosave()->waitUntilWritten().isNull());
    MainWindow third;
    third.autosave()->useFolder(folder.path());
    third.action(ActionId::ResumeWalk)->trigger();
    QCOMPARE(third.form().shape(), (BoardShape{3, 4}));
    QCOMPARE(third.form().walkSquares(), squares(u"a1 c2"_s));
}

void SafetyWindowTest::aWalkThatCannotBeKeptIsToldOnce()
{
    QTemporaryDir folder;
    // A folder where the file should be: no write can replace it, whoever runs the test.
    QVERIFY(QDir(folder.path()).mkdir(u"last-walk.txt"_s));
    MainWindow window;
    window.autosave()->useFolder(folder.path());
    QVERIFY(!window.action(ActionId::ResumeWalk)->isEnabled());
    // The failure is told at the first click after the write failed: the first click's own if
    // its write was quick enough, else the second.
    const QString told = u"не може да се запази"_s;
    window.Label2_Click(squareNamed(u"d4"_s));
    const bool toldAtOnce = message(window).contains(told);
    QVERIFY(!window.autosave()->waitUntilWritten().isNull());
    window.Label2_Click(squareNamed(u"f5"_s));
    QVERIFY2(toldAtOnce != message(window).contains(told), qPrintable(message(window)));
    window.Label2_Click(squareNamed(u"h6"_s));
    QCOMPARE(message(window), QString()); // once
    QCOMPARE(window.form().history().size(), 3); // the walk goes on
}

QTEST_MAIN(SafetyWindowTest)
#include "safety_window_test.moc"
