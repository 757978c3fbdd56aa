// SPDX-License-Identifier: GPL-3.0-or-later
// --complete's answer and exit status for each kind of verdict, the undecided one with no time
// at all, as a pupil's script would see them on standard output.
#include "cli/command_line.h"
#include "fault_support.h"

#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

using namespace knight;
using namespace knight::test;
using namespace Qt::StringLiterals;

namespace {

// What runComplete writes to standard output, and its status.
std::pair<int, QString> complete(const QString &walkFile, std::chrono::milliseconds bound)
{
    QTemporaryDir dir;
    const QString outName = dir.filePath(u"out"_s);
    std::fflush(stdout);
    const int saved = ::dup(STDOUT_FILENO);
    const int out = ::open(qPrintable(outName), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ::dup2(out, STDOUT_FILENO);
    ::close(out);
    const int status = runComplete(walkFile, bound);
    ::dup2(saved, STDOUT_FILENO);
    ::close(saved);
    return {status, QString::fromUtf8(contents(outName)).trimmed()};
}

} // namespace

class CliTest : public QObject {
    Q_OBJECT

private slots:
    void completeAnswersWithItsStatus_data();
    void completeAnswersWithItsStatus();
    void parserTakesWhatItShould_data();
    void parserTakesWhatItShould();
};

void CliTest::completeAnswersWithItsStatus_data()
{
    QTest::addColumn<QByteArray>("walk");
    QTest::addColumn<int>("boundMs");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("answer");
    // A walk whose tour takes a search: found with time, undecided with none.
    const QByteArray searched = "d3 c5 b7 d6 c4 e5 d7 b6 a8 c7 e6 f4 g2 h4\n";
    QTest::newRow("tour") << searched << 5000 << exitOk << u"d3 c5 b7 d6 c4 e5 d7 b6 a8 c7 e6 f4 g2 h4 "_s;
    QTest::newRow("undecided") << searched << 0 << exitUndecided << u"Не е ясно"_s;
    QTest::newRow("no tour") << "b3 d4 c2 e3\n"_ba << 5000 << exitNoTour << u"Не: конят вече не може да стигне до полето a1"_s;
    QTest::newRow("bad walk") << "a1 a2\n"_ba << 5000 << exitUsage << QString();
    QTest::newRow("a walk on another board") << "5x5\na1 b3\n"_ba << 5000 << exitUsage << QString();
}

void CliTest::completeAnswersWithItsStatus()
{
    QFETCH(QByteArray, walk);
    QFETCH(int, boundMs);
    QFETCH(int, status);
    QFETCH(QString, answer);
    QTemporaryDir dir;
    const QString file = dir.filePath(u"walk.txt"_s);
    writeFile(file, walk);
    const auto [seen, printed] = complete(file, std::chrono::milliseconds(boundMs));
    QCOMPARE(seen, status);
    QVERIFY2(answer.isEmpty() ? printed.isEmpty() : printed.startsWith(answer), qPrintable(printed));
    if (status == exitOk)
        QCOMPARE(printed.split(u' ').size(), 64);
}

void CliTest::parserTakesWhatItShould_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("said"); // a part of the error, or the walk read
    using Mode = CommandLine::Mode;
    const auto row = [](const char *name, const QString &line, Mode mode, const QString &said) {
        QTest::newRow(name) << (u"knight-tour "_s + line).split(u' ') << int(mode) << said;
    };
    row("the documented order", u"--complete walk.txt --closed"_s, Mode::Complete, u"walk.txt"_s);
    row("closed first", u"--complete --closed walk.txt"_s, Mode::Error, u"пишете ./--closed"_s);
    row("a walk named like an option", u"--export a.png --walk --path"_s, Mode::Error, u"./--path"_s);
    row("a file that really starts so", u"--complete ./--closed"_s, Mode::Complete, u"./--closed"_s);
    row("--lang twice, even with --help", u"--lang en --lang bg --help"_s, Mode::Error, u"--lang"_s);
    row("--complete twice", u"--complete a --complete b"_s, Mode::Error, u"--complete"_s);
    row("--version twice, named in full", u"-v --version"_s, Mode::Error, u"опцията --version е"_s);
    row("an empty walk", u"--complete="_s, Mode::Error, u"--complete"_s);
    row("--closed without --complete", u"--closed"_s, Mode::Error, u"--closed"_s);
    row("--closed with --export", u"--export a.png --closed"_s, Mode::Error, u"--closed"_s);
    row("--path without --export", u"--path"_s, Mode::Error, u"--path"_s);
    row("a second walk file", u"a.txt b.txt"_s, Mode::Error, u"b.txt"_s);
    row("one walk file", u"a.txt"_s, Mode::Window, QString());
    row("an unknown language", u"--lang fr"_s, Mode::Error, u"fr"_s);
    row("an unknown letter", u"-z"_s, Mode::Error, u"„-z“"_s);
    row("an unknown word", u"--zz"_s, Mode::Error, u"„--zz“"_s);
    // Qt's own options: a flag takes nothing after it, the others a value.
    row("Qt's flag before an option", u"-reverse --complete w.txt"_s, Mode::Complete, u"w.txt"_s);
    row("Qt's option with its value", u"-platform offscreen --complete w.txt"_s, Mode::Complete, u"w.txt"_s);
    // A worksheet: what was read, as "file board level count seed closed"; the board may be
    // written with a Cyrillic "х".
    row("a worksheet as it comes", u"--worksheet s.pdf"_s, Mode::Worksheet, u"s.pdf 8x8 1 1 random open"_s);
    row("a worksheet, every option",
        u"--worksheet s.pdf --board 6х6 --level hard --count 200 --seed 18446744073709551615 --closed"_s,
        Mode::Worksheet, u"s.pdf 6x6 2 200 18446744073709551615 closed"_s);
    row("an oblong board, easy", u"--worksheet s.pdf --board 3x7 --level easy --seed 0"_s, Mode::Worksheet,
        u"s.pdf 3x7 0 1 0 open"_s);
    row("a board puzzles are not made for", u"--worksheet s.pdf --board 9x9"_s, Mode::Error, u"3x4, 3x7, 4x5"_s);
    row("a closed tour where there is none", u"--worksheet s.pdf --board 7x7 --closed"_s, Mode::Error,
        u"7x7 няма затворени обиколки; има на 6x6, 8x8"_s);
    row("an unknown level", u"--worksheet s.pdf --level expert"_s, Mode::Error, u"„expert“"_s);
    row("no puzzles", u"--worksheet s.pdf --count 0"_s, Mode::Error, u"от 1 до 200"_s);
    row("too many puzzles", u"--worksheet s.pdf --count 201"_s, Mode::Error, u"„201“"_s);
    row("a seed below zero", u"--worksheet s.pdf --seed -1"_s, Mode::Error, u"--seed"_s);
    row("a seed with a sign", u"--worksheet s.pdf --seed +1"_s, Mode::Error, u"--seed"_s);
    row("a seed too large", u"--worksheet s.pdf --seed 18446744073709551616"_s, Mode::Error, u"--seed"_s);
    row("--board without --worksheet", u"--board 6x6"_s, Mode::Error, u"--board може"_s);
    row("--seed with --export", u"--export a.png --seed 1"_s, Mode::Error, u"--seed може"_s);
    row("a worksheet and a picture", u"--worksheet s.pdf --export a.png"_s, Mode::Error, u"заедно"_s);
    row("a worksheet with a tour", u"--worksheet s.pdf --tour 1"_s, Mode::Error, u"--tour"_s);
    row("a worksheet and a walk file", u"--worksheet s.pdf a.txt"_s, Mode::Error, u"„a.txt“"_s);
    // The class's results: "file store" as read.
    row("results from a server", u"--results - --store postgresql://a@s/k"_s, Mode::Results, u"- postgresql://a@s/k"_s);
    row("a server made ready", u"--init-store --store postgresql://a@s/k"_s, Mode::InitStore, u" postgresql://a@s/k"_s);
    row("an import", u"--import-results r.csv"_s, Mode::ImportResults, u"r.csv "_s);
    row("the window on a server", u"--store postgresql://a@s/k"_s, Mode::Window, u"postgresql://a@s/k"_s);
    row("an import and results", u"--import-results r.csv --results -"_s, Mode::Error, u"--init-store и --import-results"_s);
    row("an import made ready", u"--import-results r.csv --init-store"_s, Mode::Error, u"не могат да се използват заедно"_s);
    row("an import with a board", u"--import-results r.csv --board 6x6"_s, Mode::Error, u"--board не може да се използва с --import-results"_s);
    row("a server for a picture", u"--export a.png --store postgresql://a@s/k"_s, Mode::Error, u"--store може"_s);
    row("a store without an address", u"--store"_s, Mode::Error, u"--store"_s);
}

void CliTest::parserTakesWhatItShould()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, mode);
    QFETCH(QString, said);
    const CommandLine line = parseCommandLine(arguments);
    QCOMPARE(int(line.mode), mode);
    if (line.mode == CommandLine::Mode::Error)
        QVERIFY2(line.message.contains(said), qPrintable(line.message));
    if (line.mode == CommandLine::Mode::Complete) {
        QCOMPARE(line.walkSource, said);
        QCOMPARE(line.closed, arguments.contains(u"--closed"_s));
    }
    if (line.mode == CommandLine::Mode::Results || line.mode == CommandLine::Mode::InitStore
        || line.mode == CommandLine::Mode::ImportResults)
        QCOMPARE(line.resultsFile + u' ' + line.store, said);
    if (line.mode == CommandLine::Mode::Window)
        QCOMPARE(line.store, said);
    if (line.mode == CommandLine::Mode::Worksheet) {
        const WorksheetRequest &r = line.worksheet;
        QCOMPARE(u"%1 %2x%3 %4 %5 %6 %7"_s.arg(line.worksheetFile)
                     .arg(r.files)
                     .arg(r.ranks)
                     .arg(int(r.level))
                     .arg(r.count)
                     .arg(line.seedGiven ? QString::number(r.seed) : u"random"_s, r.closed ? u"closed"_s : u"open"_s),
                 said);
    }
}

QTEST_GUILESS_MAIN(CliTest)
#include "cli_test.moc"
