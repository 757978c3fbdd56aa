// SPDX-License-Identifier: GPL-3.0-or-later
// What a write promises and no file's bytes show: the data flushed before the new file takes
// its name, the folder flushed after, no descriptor left open, the mode the user's umask gives.
// The calls are observed by defining fsync, fdatasync and rename here: the executable's own
// definitions come before the C library's for every caller, the program's code and Qt's alike.
#include "app/features/pictures.h"
#include "app/features/preferences.h"
#include "app/features/results_dialog.h"
#include "app/features/walk_autosave.h"
#include "app/features/walk_files.h"
#include "app/form/mainwindow.h"
#include "results/attempt_queue.h"
#include "results/results_store.h"
#include "worksheet/worksheet.h"
#include "window_support.h"

#include <QDir>
#include <QFileInfo>
#include <QPageSize>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <mutex>

using namespace Qt::StringLiterals;
using namespace knight;
using namespace knight::test;

namespace {

struct Call {
    QByteArray kind; // "fsync" (fdatasync too) or "rename" (a link that names a new file too)
    QByteArray path; // the descriptor's file, or the old name
    QByteArray to;   // a rename's new name
};

std::mutex callsLock;
std::vector<Call> calls;

QByteArray pathOf(int descriptor)
{
    char path[4096];
    const ssize_t length = ::readlink(QByteArray("/proc/self/fd/" + QByteArray::number(descriptor)).constData(), path, sizeof path);
    return length > 0 ? QByteArray(path, length) : QByteArray();
}

QByteArray absolute(const char *path)
{
    return QFileInfo(QFile::decodeName(path)).absoluteFilePath().toUtf8();
}

void note(Call call)
{
    const std::lock_guard lock(callsLock);
    calls.push_back(std::move(call));
}

template <typename Function>
Function next(const char *name)
{
    return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

} // namespace

extern "C" int fsync(int descriptor)
{
    note({"fsync", pathOf(descriptor), {}});
    return next<int (*)(int)>("fsync")(descriptor);
}

extern "C" int fdatasync(int descriptor)
{
    note({"fsync", pathOf(descriptor), {}});
    return next<int (*)(int)>("fdatasync")(descriptor);
}

// Qt names a file written unnamed (O_TMPFILE) by linking its descriptor.
extern "C" int linkat(int fromFolder, const char *from, int toFolder, const char *to, int flags)
{
    const QByteArray name(from);
    const bool descriptor = name.startsWith("/proc/self/fd/");
    note({"rename", descriptor ? pathOf(name.mid(14).toInt()) : absolute(from), absolute(to)});
    return next<int (*)(int, const char *, int, const char *, int)>("linkat")(fromFolder, from, toFolder, to, flags);
}

extern "C" int rename(const char *from, const char *to)
{
    note({"rename", absolute(from), absolute(to)});
    return next<int (*)(const char *, const char *)>("rename")(from, to);
}

namespace {

int openDescriptors()
{
    return int(QDir(u"/proc/self/fd"_s).entryList(QDir::Files | QDir::System).size());
}

// One kind of write: what it writes into the folder, and the files it makes there.
struct Write {
    const char *name;
    std::function<bool(const QString &folder)> write;
    QStringList files;
};

} // namespace

class DurabilityTest : public QObject
{
    Q_OBJECT

private slots:
    void everyWriteIsFlushedClosedAndOfTheUsersMode_data();
    void everyWriteIsFlushedClosedAndOfTheUsersMode();
};

void DurabilityTest::everyWriteIsFlushedClosedAndOfTheUsersMode_data()
{
    QTest::addColumn<int>("mask");
    for (const int mask : {002, 077})
        QTest::addRow("umask %03o", mask) << mask;
}

void DurabilityTest::everyWriteIsFlushedClosedAndOfTheUsersMode()
{
    QFETCH(int, mask);
    const mode_t saved = ::umask(mode_t(mask));
    MainWindow window;
    clickSquares(window, u"a1 b3 c5"_s);
    ResultsStore store(QDir::temp().filePath(u"durability-unused.sqlite"_s));
    ResultsDialog results(store, &window);
    Puzzle puzzle = *WorksheetMaker({3, 4, Level::Easy, 1, 7, false}).next();
    const std::vector<Write> writes{
        {"walk", [&](const QString &f) { return window.walkFiles()->saveTo(f + u"/walk.txt"_s); }, {u"walk.txt"_s}},
        {"picture", [&](const QString &f) { return window.pictures()->exportTo(f + u"/board.png"_s); }, {u"board.png"_s}},
        {"PDF picture", [&](const QString &f) { return window.pictures()->exportTo(f + u"/board.pdf"_s); }, {u"board.pdf"_s}},
        {"worksheet",
         [&](const QString &f) {
             return writeWorksheet(f + u"/sheet.pdf"_s, {3, 4, Level::Easy, 1, 7, false}, {puzzle}, window.font(),
                                   QPageSize(QPageSize::A4))
                 .isNull();
         },
         {u"sheet.pdf"_s, QFileInfo(worksheetKeyPath(u"sheet.pdf"_s)).fileName()}},
        {"CSV", [&](const QString &f) { return results.exportTo(f + u"/results.csv"_s).isNull(); }, {u"results.csv"_s}},
        {"results queue",
         [&](const QString &f) { return AttemptQueue(f + u"/results.sqlite"_s).keep({Attempt{.pupil = u"Ана"_s, .task = 1, .finished = QDateTime::currentDateTime()}}).isNull(); },
         {QFileInfo(AttemptQueue(u"results.sqlite"_s).path()).fileName()}},
        {"settings",
         [&](const QString &f) {
             Preferences preferences;
             preferences.useStore(Preferences::openStore(f + u"/knight-tour.conf"_s));
             preferences.setValue(u"view/zoom"_s, 150);
             return true;
         },
         {u"knight-tour.conf"_s}},
        {"autosave",
         [&](const QString &f) {
             window.autosave()->useFolder(f);
             clickSquares(window, u"e6"_s); // a move on from c5
             return window.autosave()->waitUntilWritten().isNull();
         },
         {u"last-walk.txt"_s}},
    };
    for (const Write &kind : writes) {
        QTemporaryDir dir;
        const QString folder = QFileInfo(dir.path()).canonicalFilePath();
        {
            const std::lock_guard lock(callsLock);
            calls.clear();
        }
        const int before = openDescriptors();
        QVERIFY2(kind.write(folder), kind.name);
        QCOMPARE(openDescriptors(), before);
        const std::vector<Call> seen = [] {
            const std::lock_guard lock(callsLock);
            return calls;
        }();
        for (const QString &file : kind.files) {
            const QString where = u"%1: %2"_s.arg(QString::fromLatin1(kind.name), file);
            const QByteArray target = (folder + u'/' + file).toUtf8();
            struct stat status {};
            QVERIFY2(::stat(target.constData(), &status) == 0, qPrintable(where));
            QCOMPARE(status.st_mode & 07777, 0666 & ~mode_t(mask));
            const auto renamed = std::ranges::find_if(seen, [&](const Call &c) { return c.kind == "rename" && c.to == target; });
            QVERIFY2(renamed != seen.end(), qPrintable(where + u": never took its name by a rename"_s));
            QVERIFY2(std::any_of(seen.begin(), renamed, [&](const Call &c) { return c.kind == "fsync" && c.path == renamed->path; }),
                     qPrintable(where + u": not flushed before its rename"_s));
            QVERIFY2(std::any_of(renamed, seen.end(), [&](const Call &c) { return c.kind == "fsync" && c.path == folder.toUtf8(); }),
                     qPrintable(where + u": its folder not flushed after the rename"_s));
        }
    }
    ::umask(saved);
}

QTEST_MAIN(DurabilityTest)
#include "durability_test.moc"
