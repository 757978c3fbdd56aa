// SPDX-License-Identifier: GPL-3.0-or-later
// Walks kept in files and on the clipboard, through the real window.
#include "app/form/command_button.h"
#include "app/form/mainwindow.h"
#include "app/features/walk_files.h"
#include "app/features/pictures.h"
#include "app/form/square_label.h"
#include "fault_support.h"
#include "test_support.h"
#include "window_support.h"
#include "tours/catalogue.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QMessageBox>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <optional>
#include <sys/stat.h>
#include <unistd.h>

using namespace knight;
using namespace knight::test;
using namespace Qt::StringLiterals;

namespace {

const QString someWalk = u"a1 b3 c1 a2 c3 b1 a3 b5 a7 c8"_s;

// Everything a user sees and can take back.
struct Seen {
    std::vector<SquareView> board;
    QStringList history;
    int moveCount;
    friend bool operator==(const Seen &, const Seen &) = default;
};

Seen seen(const MainWindow &window)
{
    return {snapshot(window.form().board()), window.form().history(), window.form().moveCount()};
}

QString problemShown(MainWindow &window)
{
    const QList<QMessageBox *> boxes = window.findChildren<QMessageBox *>();
    if (boxes.isEmpty())
        return {};
    // What a file or the clipboard holds is shown as it is, never as markup.
    const QString text = boxes.last()->textFormat() == Qt::PlainText ? boxes.last()->text() : u"<rich text>"_s;
    for (QMessageBox *box : boxes)
        delete box;
    return text;
}

} // namespace

class WalkFileWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void saveThenOpenGivesTheSameBoard();
    void openedMovesAreTakenBackOneByOne();
    void copyThenPaste();
    void refusalsLeaveTheBoardAsItWas_data();
    void refusalsLeaveTheBoardAsItWas();
    void aFailedWriteKeepsTheOldFile_data();
    void aFailedWriteKeepsTheOldFile();
    void onlyRegularFilesAreOpened();
    void aDroppedFileIsOpened();
};

void WalkFileWindowTest::saveThenOpenGivesTheSameBoard()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"walk.txt"_s);
    MainWindow clicked;
    QVERIFY(!clicked.action(ActionId::SaveWalk)->isEnabled());
    clickSquares(clicked, someWalk);
    QVERIFY(clicked.action(ActionId::SaveWalk)->isEnabled());
    QVERIFY(clicked.walkFiles()->saveTo(path));
    QVERIFY(contents(path).startsWith("# "));

    // Opened over a shown tour and in another kind: the walk is played on a cleared board.
    MainWindow opened;
    opened.Option1_Click(5);
    opened.Command1_Click(int(Command::Show));
    QVERIFY(opened.walkFiles()->openFile(path));
    QVERIFY(seen(opened) == seen(clicked));
    QCOMPARE(opened.square(squareNamed(u"c8"))->caption(), u"10"_s);
    QVERIFY(opened.command(0)->isEnabled());
    QCOMPARE(opened.form().problemIndex(), 5);

    // A walk on another board brings its board, and the walk it replaced comes back with its own.
    const QString small = dir.filePath(u"small.txt"_s);
    clicked.setBoardShape({3, 4});
    clickSquares(clicked, u"a1 c2 a3"_s);
    QVERIFY(clicked.walkFiles()->saveTo(small));
    QVERIFY(opened.walkFiles()->openFile(small));
    QCOMPARE(opened.form().shape(), (BoardShape{3, 4}));
    QVERIFY(seen(opened) == seen(clicked));
    QVERIFY(opened.square(squareNamed(u"d1"))->isHidden());
    opened.restoreWalk();
    QCOMPARE(opened.form().shape(), BoardShape{});
    QCOMPARE(opened.square(squareNamed(u"c8"))->caption(), u"10"_s);
}

void WalkFileWindowTest::openedMovesAreTakenBackOneByOne()
{
    MainWindow window;
    QVERIFY(window.walkFiles()->openBytes(someWalk.toUtf8(), u"test"_s));
    for (int moves = 9; moves >= 1; --moves) {
        window.Command1_Click(int(Command::MoveBack));
        QCOMPARE(window.form().history().size(), qsizetype(std::max(moves, 1)));
    }
    MainWindow clicked;
    clickSquares(clicked, u"a1"_s);
    QVERIFY(seen(window) == seen(clicked));
}

void WalkFileWindowTest::copyThenPaste()
{
    MainWindow source;
    clickSquares(source, someWalk);
    QVERIFY(source.action(ActionId::CopyWalk)->isEnabled());
    source.action(ActionId::CopyWalk)->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), someWalk);
    MainWindow target;
    QVERIFY(target.action(ActionId::PasteWalk)->isEnabled());
    target.action(ActionId::PasteWalk)->trigger();
    QVERIFY(seen(target) == seen(source));
    // Pasted text in Cyrillic look-alikes, capitals too, reads as the same squares.
    QGuiApplication::clipboard()->setText(u"Е4 с5"_s);
    target.action(ActionId::PasteWalk)->trigger();
    QCOMPARE(target.form().history(), (QStringList{QString::number(squareNamed(u"e4")), QString::number(squareNamed(u"c5"))}));

    // A shown tour is copied in step order.
    source.Option1_Click(12);
    source.Command1_Click(int(Command::Show));
    source.action(ActionId::CopyWalk)->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), tourInStepOrder(12).join(u' '));
    // Nothing to copy on an empty board.
    source.Command1_Click(int(Command::Clear));
    QVERIFY(!source.action(ActionId::CopyWalk)->isEnabled());
}

void WalkFileWindowTest::refusalsLeaveTheBoardAsItWas_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");
    QTest::newRow("not a square") << "a1 b3\nc1 i9"_ba << u"ред 2, колона 4, „i9“: това не е поле"_s;
    QTest::newRow("not a knight's move") << "d4 d5"_ba << u"ред 1, колона 4, „d5“: не е ход на коня от d4"_s;
    QTest::newRow("a square twice") << "d4 f5 d4"_ba << u"„d4“: полето вече е посетено"_s;
    QTest::newRow("empty") << ""_ba << u"няма нито едно поле"_s;
    QTest::newRow("binary") << "\x89PNG\r\n\x1a\n"_ba << u"ред 1, колона 1: това не е текст в UTF-8"_s;
    QTest::newRow("too large") << QByteArray(70000, 'a') << u"над 64 KiB"_s;
    QTest::newRow("markup") << "<h1>WARN</h1>"_ba << u"„<h1>WARN</h1>“: това не е поле"_s;
}

void WalkFileWindowTest::refusalsLeaveTheBoardAsItWas()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"bad.txt"_s);
    writeFile(path, bytes);
    MainWindow window;
    clickSquares(window, u"a1 b3 c5"_s);
    const Seen before = seen(window);
    QVERIFY(!window.walkFiles()->openFile(path));
    QVERIFY(seen(window) == before);
    const QString problem = problemShown(window);
    // The file named first, then what is wrong with it.
    QVERIFY2(problem.contains(expected) && problem.contains(u"bad.txt"_s)
                 && problem.indexOf(u"bad.txt"_s) < problem.indexOf(expected),
             qPrintable(problem));

    // The same text pasted is refused in the same words.
    QGuiApplication::clipboard()->setText(QString::fromUtf8(bytes));
    window.walkFiles()->paste();
    QVERIFY(seen(window) == before);
    if (!bytes.isEmpty() && bytes.at(0) != '\x89')
        QVERIFY2(problemShown(window).contains(expected), qPrintable(expected));
}

void WalkFileWindowTest::aFailedWriteKeepsTheOldFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("reason");
    for (const QString &name : {u"walk.txt"_s, u"board.png"_s, u"board.pdf"_s}) {
        // A path below a plain file can never be written, not even by root.
        QTest::addRow("%s below a plain file", qPrintable(name)) << name << u"below a file"_s << u"част от пътя"_s;
        QTest::addRow("%s over a file-size limit", qPrintable(name)) << name << u"limit"_s << u"размер"_s;
        QTest::addRow("%s on a full disk", qPrintable(name)) << name << u"full"_s << u"няма място"_s;
        QTest::addRow("%s over a FIFO", qPrintable(name)) << name << u"fifo"_s << u"канал (FIFO)"_s;
    }
}

void WalkFileWindowTest::aFailedWriteKeepsTheOldFile()
{
    QFETCH(QString, name);
    QFETCH(QString, fault);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    std::optional<FullFilesystem> full;
    QString path = dir.filePath(name);
    if (fault == u"full") {
        full.emplace(4096);
        if (!full->mounted())
            QSKIP("no right to mount a small filesystem here");
        path = full->path(name);
    }
    const QByteArray old = "OLD\n";
    if (fault == u"fifo")
        QVERIFY(::mkfifo(qPrintable(path), 0644) == 0);
    else
        writeFile(path, old);
    const QString target = fault == u"below a file" ? path + u'/' + name : path;

    MainWindow window;
    clickSquares(window, someWalk);
    {
        std::optional<FileSizeLimit> limit;
        if (fault == u"limit")
            limit.emplace(16);
        QVERIFY(!(name.endsWith(u".txt") ? window.walkFiles()->saveTo(target) : window.pictures()->exportTo(target)));
    }
    const QString problem = problemShown(window);
    QVERIFY2(problem.contains(reason) && problem.contains(name), qPrintable(problem));
    if (fault == u"fifo")
        QVERIFY(QFileInfo(path).isSymLink() == false && !QFileInfo(path).isFile());
    else
        QCOMPARE(contents(path), old);
    QCOMPARE(entriesOf(QFileInfo(path).path()), QStringList{name});
}

void WalkFileWindowTest::onlyRegularFilesAreOpened()
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(u"walk.fifo"_s);
    QVERIFY(::mkfifo(qPrintable(fifo), 0644) == 0);
    MainWindow window;
    clickSquares(window, u"a1 b3"_s);
    const Seen before = seen(window);
    // Nobody writes to the FIFO: answered at once, not waited on for ever.
    for (const auto &[path, reason] : {std::pair{fifo, u"канал (FIFO)"_s}, std::pair{dir.path(), u"папка"_s}}) {
        QVERIFY(!window.walkFiles()->openFile(path));
        const QString problem = problemShown(window);
        QVERIFY2(problem.contains(reason), qPrintable(problem));
        QVERIFY(seen(window) == before);
    }
}

void WalkFileWindowTest::aDroppedFileIsOpened()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"dropped.txt"_s);
    writeFile(path, "e4 f6 g8\n");
    MainWindow window;
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &drop);
    QCOMPARE(window.form().history(), (QStringList{u"28"_s, u"45"_s, u"62"_s}));

    // Two files at once are not taken: which one would be meant?
    const QString other = dir.filePath(u"other.txt"_s);
    writeFile(other, "a1 b3\n");
    QMimeData two;
    two.setUrls({QUrl::fromLocalFile(path), QUrl::fromLocalFile(other)});
    QDragEnterEvent enterTwo(QPoint(10, 10), Qt::CopyAction, &two, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enterTwo);
    QVERIFY(!enterTwo.isAccepted());
    QDropEvent dropTwo(QPointF(10, 10), Qt::CopyAction, &two, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &dropTwo);
    QCOMPARE(window.form().history().size(), 3);
}

QTEST_MAIN(WalkFileWindowTest)
#include "walk_file_window_test.moc"
