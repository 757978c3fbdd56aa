// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the hamburger icon into a hicolor theme folder: the 32 x 32 picture itself, and
// larger sizes enlarged pixel for pixel so that they stay crisp.
//
//   make-icons OUTPUT_DIR APP_ID
#include <QDir>
#include <QImage>

#include <cstdio>

namespace {
#include "app/form/hamburger.xpm"
}

int main(int argc, char *argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: make-icons OUTPUT_DIR APP_ID\n");
        return 2;
    }
    const QImage picture(hamburger_xpm);
    for (const int size : {32, 64, 128, 256}) {
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(QString::fromLocal8Bit(argv[1])).arg(size);
        const QString file = QStringLiteral("%1/%2.png").arg(folder, QString::fromLocal8Bit(argv[2]));
        const QImage icon = picture.scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        if (!QDir().mkpath(folder) || !icon.save(file, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
