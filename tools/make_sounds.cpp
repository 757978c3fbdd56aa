// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the gallop's sounds as WAV files: make-sounds FOLDER
#include "sound/waves.h"

#include <QFile>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-sounds FOLDER\n");
        return 2;
    }
    const QString folder = QFile::decodeName(argv[1]);
    for (const auto &[name, samples] : {std::pair{"click.wav", knight::clickSamples()},
                                        std::pair{"end.wav", knight::endSamples()}}) {
        QFile file(folder + u'/' + QLatin1StringView(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(knight::waveFile(samples)) < 0 || !file.flush()) {
            std::fprintf(stderr, "make-sounds: %s cannot be written\n", qPrintable(file.fileName()));
            return 1;
        }
    }
    return 0;
}
