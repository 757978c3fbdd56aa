// SPDX-License-Identifier: GPL-3.0-or-later
// Reading and writing files, pipes and names under faults: the old file survives every
// failed write, special files are refused before anything is written, pipes are read to
// their end however slowly they fill, and names in any byte encoding reach their file.
#include "fault_support.h"
#include "files/background_writer.h"
#include "files/file_io.h"
#include "files/system_error.h"
#include "files/file_names.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <chrono>
#include <dlfcn.h>
#include <csignal>
#include <optional>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

using namespace knight;
using namespace knight::test;
using namespace Qt::StringLiterals;

namespace {

// Writes the pieces into a descriptor with a pause before each, then closes it.
// With a reader given, a signal interrupts its wait before each piece, as a child's end or a
// timer would: the signal does nothing else.
// The next close fails with EIO, as on a network filesystem that reports a lost write only
// when the file is closed; the descriptor is closed all the same. Every close of the process
// comes here: the flag is set just before the write whose close it is meant for, and nothing
// else runs in between.
// Its number is then another's to take: a second close of it is counted.
std::atomic<bool> failNextClose{false};
// The next fchmod fails with EIO, as a filesystem without modes may refuse one.
std::atomic<bool> failNextModeChange{false};
std::atomic<int> failedDescriptor{-1};
std::atomic<int> closedAgain{0};

} // namespace

extern "C" int close(int descriptor)
{
    static const auto closeInLibrary = reinterpret_cast<int (*)(int)>(::dlsym(RTLD_NEXT, "close"));
    const int result = closeInLibrary(descriptor);
    if (descriptor == failedDescriptor)
        ++closedAgain;
    if (failNextClose.exchange(false)) {
        failedDescriptor = descriptor;
        errno = EIO;
        return -1;
    }
    return result;
}

extern "C" int fchmod(int descriptor, mode_t mode)
{
    static const auto fchmodInLibrary = reinterpret_cast<int (*)(int, mode_t)>(::dlsym(RTLD_NEXT, "fchmod"));
    if (failNextModeChange.exchange(false)) {
        errno = EIO;
        return -1;
    }
    return fchmodInLibrary(descriptor, mode);
}

namespace {

std::thread trickle(int descriptor, QList<QByteArray> pieces, std::chrono::milliseconds pause,
                    std::optional<pthread_t> reader = {})
{
    if (reader) {
        struct sigaction nothing {};
        nothing.sa_handler = [](int) {};
        ::sigaction(SIGUSR1, &nothing, nullptr);
    }
    return std::thread([descriptor, pieces = std::move(pieces), pause, reader] {
        for (const QByteArray &piece : pieces) {
            std::this_thread::sleep_for(pause);
            if (reader) {
                ::pthread_kill(*reader, SIGUSR1);
                std::this_thread::sleep_for(pause / 3);
            }
            if (::write(descriptor, piece.constData(), size_t(piece.size())) != piece.size())
                break;
        }
        ::close(descriptor);
    });
}

mode_t typeOf(const QString &path)
{
    struct stat status {};
    return ::lstat(qPrintable(path), &status) == 0 ? status.st_mode & S_IFMT : 0;
}

// Makes a special file of the named kind at path; false where this user may not.
bool makeSpecial(const QString &kind, const QString &path, const QString &folder)
{
    const QByteArray name = path.toUtf8();
    if (kind == u"fifo")
        return ::mkfifo(name, 0644) == 0;
    if (kind == u"folder")
        return ::mkdir(name, 0755) == 0;
    if (kind == u"device") // a second /dev/null, here where no system file is at stake
        return ::mknod(name, S_IFCHR | 0666, makedev(1, 3)) == 0;
    if (kind == u"link to a fifo")
        return ::mkfifo(QDir(folder).filePath(u"target"_s).toUtf8(), 0644) == 0 && ::symlink("target", name) == 0;
    if (kind == u"socket") {
        const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        qstrncpy(address.sun_path, name.constData(), sizeof address.sun_path);
        const bool bound = ::bind(s, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
        ::close(s);
        return bound;
    }
    return false;
}

} // namespace

class FilesTest : public QObject {
    Q_OBJECT

private slots:
    void specialFilesAreRefusedUntouched_data();
    void specialFilesAreRefusedUntouched();
    void aFailedWriteKeepsTheOldFile_data();
    void aFailedWriteKeepsTheOldFile();
    void aLinkStaysALinkAndModesStay();
    void pipesAreReadToTheirEnd_data();
    void pipesAreReadToTheirEnd();
    void readErrorsSayWhy();
    void namesInAnyEncodingRoundTrip();
    void controlCharactersAreShownEscaped();
    void theBackgroundWriterKeepsTheNewest();
};

void FilesTest::specialFilesAreRefusedUntouched_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("fifo") << u"fifo"_s << u"канал (FIFO)"_s;
    QTest::newRow("socket") << u"socket"_s << u"гнездо"_s;
    QTest::newRow("device") << u"device"_s << u"устройство"_s;
    QTest::newRow("folder") << u"folder"_s << u"папка"_s;
    QTest::newRow("link to a fifo") << u"link to a fifo"_s << u"канал (FIFO)"_s;
}

void FilesTest::specialFilesAreRefusedUntouched()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"x.png"_s);
    if (!makeSpecial(kind, path, dir.path()))
        QSKIP("this user cannot make such a file here");
    const mode_t before = typeOf(path);
    const QStringList entries = entriesOf(dir.path());

    const QString written = writeFileAtomically(path, "PNG");
    QVERIFY2(written.contains(reason), qPrintable(written));
    QCOMPARE(typeOf(path), before);
    QCOMPARE(entriesOf(dir.path()), entries);

    // The window reads regular files only and answers at once, even for a FIFO no one writes.
    const FileReading read = readFile(path, 100, ReadableFiles::Regular);
    QVERIFY2(read.problem.contains(reason), qPrintable(read.problem));
}

void FilesTest::aFailedWriteKeepsTheOldFile_data()
{
    QTest::addColumn<bool>("fullDisk");
    QTest::addColumn<bool>("lostAtClose");
    QTest::addColumn<bool>("modeRefused");
    QTest::addColumn<QString>("reason");
    QTest::newRow("file-size limit") << false << false << false << u"надхвърля позволения размер"_s;
    QTest::newRow("full filesystem") << true << false << false << u"няма място на диска"_s;
    QTest::newRow("a write lost at close") << false << true << false << u"входно-изходна грешка"_s;
    QTest::newRow("a mode refused") << false << false << true << u"входно-изходна грешка"_s;
}

void FilesTest::aFailedWriteKeepsTheOldFile()
{
    QFETCH(bool, fullDisk);
    QFETCH(bool, lostAtClose);
    QFETCH(bool, modeRefused);
    QFETCH(QString, reason);
    // Small enough to sit in any write buffer: the failure comes only when it is flushed.
    const QByteArray old = "OLD\n";
    const QByteArray large(64 * 1024, 'n');
    QTemporaryDir dir;
    std::optional<FullFilesystem> full;
    QString path = dir.filePath(u"walk.txt"_s);
    if (fullDisk) {
        full.emplace(8192); // a page for the old file, one for the new
        if (!full->mounted())
            QSKIP("no right to mount a small filesystem here");
        path = full->path(u"walk.txt"_s);
    }
    writeFile(path, old);
    const QString folder = QFileInfo(path).path();
    const QStringList entries = entriesOf(folder);
    {
        std::optional<FileSizeLimit> limit;
        if (!fullDisk && !lostAtClose && !modeRefused)
            limit.emplace(16 * 1024);
        failNextClose = lostAtClose;
        failNextModeChange = modeRefused;
        const QString problem = writeFileAtomically(path, large);
        QCOMPARE(closedAgain.exchange(0), 0);
        failedDescriptor = -1;
        QVERIFY2(problem.contains(reason), qPrintable(problem));
    }
    QCOMPARE(contents(path), old);
    QCOMPARE(entriesOf(folder), entries);
    // What fits is written.
    QVERIFY(writeFileAtomically(path, "NEW\n").isNull());
    QCOMPARE(contents(path), "NEW\n"_ba);
}

void FilesTest::aLinkStaysALinkAndModesStay()
{
    QTemporaryDir dir;
    const QString target = dir.filePath(u"real.txt"_s);
    const QString link = dir.filePath(u"link.txt"_s);
    writeFile(target, "OLD");
    QVERIFY(::chmod(qPrintable(target), 0640) == 0);
    QVERIFY(::symlink("real.txt", qPrintable(link)) == 0);
    QVERIFY(writeFileAtomically(link, "NEW").isNull());
    QCOMPARE(typeOf(link), mode_t(S_IFLNK));
    QCOMPARE(contents(target), "NEW"_ba);
    struct stat status {};
    QVERIFY(::stat(qPrintable(target), &status) == 0);
    QCOMPARE(status.st_mode & 07777, mode_t(0640));
    QCOMPARE(entriesOf(dir.path()), (QStringList{u"link.txt"_s, u"real.txt"_s}));
}

void FilesTest::pipesAreReadToTheirEnd_data()
{
    QTest::addColumn<QList<QByteArray>>("pieces");
    QTest::addColumn<QByteArray>("expected");
    QTest::addColumn<bool>("named");
    const QList<QByteArray> split{"a1 b", "3 c1", "\n"};
    QTest::newRow("pipe, split inside a square") << split << "a1 b3 c1\n"_ba << false;
    QTest::newRow("fifo by name, split inside a square") << split << "a1 b3 c1\n"_ba << true;
    // 100 bytes allowed: exactly the limit in, exactly the limit out, past it cut at it.
    QTest::newRow("exactly the limit") << QList<QByteArray>{QByteArray(60, 'x'), QByteArray(40, 'y')}
                                       << QByteArray(60, 'x') + QByteArray(40, 'y') << false;
    QTest::newRow("one byte past the limit")
        << QList<QByteArray>{QByteArray(60, 'x'), QByteArray(41, 'y')} << QByteArray(60, 'x') + QByteArray(40, 'y')
        << true;
}

void FilesTest::pipesAreReadToTheirEnd()
{
    QFETCH(QList<QByteArray>, pieces);
    QFETCH(QByteArray, expected);
    QFETCH(bool, named);
    QTemporaryDir dir;
    FileReading reading;
    if (named) {
        const QString fifo = dir.filePath(u"walk"_s);
        QVERIFY(::mkfifo(qPrintable(fifo), 0644) == 0);
        std::thread writer([&] {
            const int descriptor = ::open(qPrintable(fifo), O_WRONLY);
            trickle(descriptor, pieces, std::chrono::milliseconds(150)).join();
        });
        reading = readFile(fifo, 100, ReadableFiles::RegularOrPipe);
        writer.join();
    } else {
        int ends[2];
        QVERIFY(::pipe(ends) == 0);
        // Left non-blocking by whoever made it, and its wait interrupted: still read to the end.
        ::fcntl(ends[0], F_SETFL, O_NONBLOCK);
        std::thread writer = trickle(ends[1], pieces, std::chrono::milliseconds(150), ::pthread_self());
        reading = readDescriptor(ends[0], 100);
        writer.join();
        ::close(ends[0]);
    }
    QVERIFY2(reading.ok(), qPrintable(reading.problem));
    QCOMPARE(reading.bytes, expected);
}

void FilesTest::readErrorsSayWhy()
{
    int ends[2];
    QVERIFY(::pipe(ends) == 0);
    ::close(ends[0]);
    ::close(ends[1]);
    const FileReading closed = readDescriptor(ends[0], 100);
    QVERIFY(!closed.ok());
    QCOMPARE(closed.problem, u"не е отворен"_s);
    QCOMPARE(readFile(u"/nonexistent/walk.txt"_s, 100, ReadableFiles::RegularOrPipe).problem,
             u"няма такъв файл или папка"_s);
    QTemporaryDir dir;
    QCOMPARE(readFile(dir.path(), 100, ReadableFiles::RegularOrPipe).problem, u"това е папка"_s);
    // An empty file is read as empty, not as an error.
    writeFile(dir.filePath(u"empty"_s), {});
    QVERIFY(readFile(dir.filePath(u"empty"_s), 100, ReadableFiles::Regular).ok());
    // An error without a phrase of its own is still said, by its number.
    QCOMPARE(systemErrorText(EDOM), u"системна грешка %1"_s.arg(EDOM));
}

void FilesTest::namesInAnyEncodingRoundTrip()
{
    QRandomGenerator random(17);
    for (int i = 0; i < 20000; ++i) {
        QByteArray bytes(int(random.bounded(12)), Qt::Uninitialized);
        for (char &byte : bytes)
            byte = char(random.bounded(256));
        QCOMPARE(encodeFileName(decodeFileName(bytes)), bytes);
    }
    QCOMPARE(decodeFileName("d4 \xd0\xb4"), u"d4 д"_s);
    // At the edges of UTF-8: what is a letter is read as one, every other byte kept as it is.
    const auto kept = [](QByteArrayView bytes) {
        QString name;
        for (const char byte : bytes)
            name += QChar(char16_t(0xDC00 + static_cast<unsigned char>(byte)));
        return name;
    };
    const std::pair<QByteArray, QString> edges[] = {
        {"\xf0\x9f\x98\x80", u"😀"_s},                           // four bytes
        {"\xf4\x8f\xbf\xbf", QString::fromUcs4(U"\U0010FFFF")},   // the last code point
        {"\xf4\x90\x80\x80", kept("\xf4\x90\x80\x80")},           // past it
        {"\xed\x9f\xbf", QString(QChar(0xD7FF))},                   // just below the surrogates
        {"\xed\xa0\x80", kept("\xed\xa0\x80")},                     // the first surrogate
        {"\xc0\xaf", kept("\xc0\xaf")},                               // an overlong '/'
    };
    for (const auto &[bytes, name] : edges)
        QCOMPARE(decodeFileName(bytes), name);

    // A Latin-1 name and a CP1251 one, written and read by the names the system gives.
    QTemporaryDir dir;
    for (const QByteArray &name : {QByteArray("walk-\xe9.txt"), QByteArray("\xf0\xe0\xe7\xf5\xee\xe4\xea\xe0.txt")}) {
        const QString path = decodeFileName(QFile::encodeName(dir.path()) + '/' + name);
        QVERIFY(writeFileAtomically(path, "a1 b3\n").isNull());
        QVERIFY(QFileInfo::exists(dir.path()) && ::access(QFile::encodeName(dir.path()) + '/' + name, F_OK) == 0);
        QCOMPARE(readFile(path, 100, ReadableFiles::Regular).bytes, "a1 b3\n"_ba);
        ::unlink(encodeFileName(path)); // QTemporaryDir cannot remove what it cannot name
    }
}

void FilesTest::controlCharactersAreShownEscaped()
{
    QCOMPARE(shownText(u"\x1b[2J d4\n"_s), u"\\x1b[2J d4\\x0a"_s);
    // The edges of the control characters, C0 and C1: the ones past them are shown as they are.
    QCOMPARE(shownText(u"\x1f \x7f\u009f\u00a0"_s), u"\\x1f \\x7f\\x9f\u00a0"_s);
    QCOMPARE(shownText(decodeFileName("walk-\xe9.txt")), u"walk-\uFFFD.txt"_s);
    QCOMPARE(shownText(u"ход — 😀"_s), u"ход — 😀"_s);
}

// What the autosave relies on: a wait that returns only when the newest bytes are in place,
// writes that were overtaken never made, removal, a failure's reason, and nothing lost at the end.
void FilesTest::theBackgroundWriterKeepsTheNewest()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"last-walk.txt"_s);
    {
        BackgroundWriter writer(path);
        // Large enough that the write takes a while after the writer has taken it up.
        const QByteArray large(32 * 1024 * 1024, 'x');
        writer.write(large);
        std::this_thread::sleep_for(std::chrono::milliseconds(10)); // the write is under way
        QVERIFY(writer.waitUntilWritten().isNull());
        QCOMPARE(QFileInfo(path).size(), large.size());
        for (int i = 0; i < 50; ++i)
            writer.write(QByteArray::number(i));
        QVERIFY(writer.waitUntilWritten().isNull());
        QCOMPARE(contents(path), "49"_ba);
        writer.write(std::nullopt);
        QVERIFY(writer.waitUntilWritten().isNull());
        QVERIFY(!QFile::exists(path));
        writer.write(std::nullopt); // nothing to remove is no failure
        QVERIFY(writer.waitUntilWritten().isNull());
        writer.write("last"_ba);
    }
    QCOMPARE(contents(path), "last"_ba);

    BackgroundWriter nowhere(dir.filePath(u"no-folder/last-walk.txt"_s));
    nowhere.write("a1"_ba);
    QVERIFY(!nowhere.waitUntilWritten().isNull());
}

QTEST_GUILESS_MAIN(FilesTest)
#include "files_test.moc"
