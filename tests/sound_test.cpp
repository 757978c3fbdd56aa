// SPDX-License-Identifier: GPL-3.0-or-later
// The gallop's sounds as the build makes them: well-formed WAV files, a click short enough for
// the quickest pace, a chime that sounds unlike it, neither clipped nor starting with a crack.
#include "sound/sound_module.h"
#include "sound/waves.h"

#include <QFile>
#include <QTemporaryDir>

#include <QTest>
#include <QtEndian>

#include <algorithm>
#include <cmath>

using namespace knight;

class SoundTest : public QObject
{
    Q_OBJECT

private slots:
    void wavesAreWellFormedAndDistinct();
    void theModuleLoadsFromTheFirstCandidateThatHasThePlayer();
};

void SoundTest::wavesAreWellFormedAndDistinct()
{
    const std::vector<qint16> click = clickSamples();
    const std::vector<qint16> end = endSamples();
    for (const auto &samples : {click, end}) {
        const QByteArray file = waveFile(samples);
        QCOMPARE(file.left(4), QByteArray("RIFF"));
        QCOMPARE(file.mid(8, 8), QByteArray("WAVEfmt "));
        QCOMPARE(qFromLittleEndian<quint16>(file.constData() + 20), quint16(1));  // PCM
        QCOMPARE(qFromLittleEndian<quint16>(file.constData() + 22), quint16(1));  // mono
        QCOMPARE(qFromLittleEndian<quint32>(file.constData() + 24), quint32(waveSampleRate));
        QCOMPARE(qFromLittleEndian<quint32>(file.constData() + 4), quint32(file.size() - 8));
        QCOMPARE(qFromLittleEndian<quint32>(file.constData() + 40), quint32(samples.size() * 2));
        QCOMPARE(file.size(), qsizetype(44 + samples.size() * 2));
        const auto loudest = *std::max_element(samples.begin(), samples.end(),
                                               [](qint16 a, qint16 b) { return std::abs(a) < std::abs(b); });
        QVERIFY(std::abs(loudest) > 8000 && std::abs(loudest) < 32767);
        QVERIFY(std::abs(samples.front()) < 500 && std::abs(samples.back()) < 2000);
    }
    // Shorter than the quickest step of half a second; the end at least three times longer.
    QVERIFY(click.size() < std::size_t(waveSampleRate / 10));
    QVERIFY(end.size() > 3 * click.size());
}

// The program never links Qt Multimedia: it comes with the module, at the first beat.
static bool multimediaLoaded()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libQt6Multimedia");
}

void SoundTest::theModuleLoadsFromTheFirstCandidateThatHasThePlayer()
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("knight-sound.so"));
    const QString notALibrary = dir.filePath(QStringLiteral("text.so"));
    QFile text(notALibrary);
    QVERIFY(text.open(QIODevice::WriteOnly) && text.write("not a library") > 0);
    text.close();
    // A library without the maker: the C library, which every process has.
    const QString withoutMaker = QStringLiteral("libc.so.6");

    for (const QStringList &nothing : {QStringList{}, QStringList{missing, notALibrary, withoutMaker}}) {
        const SoundModule module = loadSoundModule(nothing);
        QVERIFY(!module.make);
        // Each place tried is named with its own reason.
        for (const QString &reason : {QStringLiteral("„%1“ липсва").arg(missing), QStringLiteral("„%1“ не се зарежда: ").arg(notALibrary),
                                      QStringLiteral("„%1“ няма функцията %2").arg(withoutMaker, QLatin1String(KNIGHT_SOUND_MAKER))})
            QVERIFY2(nothing.isEmpty() || module.problem.contains(reason), qPrintable(module.problem));
        // And that one reason alone: a file that does not load is not looked into.
        QVERIFY(!module.problem.contains(QStringLiteral("„%1“ няма функцията").arg(notALibrary)));
    }
    QVERIFY(!multimediaLoaded());
    // A file that is not there is told as missing, and nothing else.
    QCOMPARE(loadSoundModule({missing}).problem, QStringLiteral("„%1“ липсва").arg(missing));

    // The built module after the ones that fail: found, and the problems before it forgotten.
    QStringList candidates{missing, withoutMaker};
    candidates += soundModuleCandidates();
    const SoundModule module = loadSoundModule(candidates);
    QVERIFY2(module.make, qPrintable(module.problem));
    QVERIFY(module.problem.isEmpty());
    QVERIFY(multimediaLoaded());
}

QTEST_GUILESS_MAIN(SoundTest)
#include "sound_test.moc"
