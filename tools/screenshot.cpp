// SPDX-License-Identifier: GPL-3.0-or-later
// Saves a picture of the window in the middle of a walk with its path drawn, grabbed offscreen.
//
//   knight-screenshot OUTPUT.png
#include "app/mainwindow.h"
#include "app/pictures.h"
#include "app/square_label.h"
#include "board/squares.h"

#include <QApplication>
#include <QTest>

#include <cstdio>

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: knight-screenshot OUTPUT.png\n");
        return 2;
    }
    knight::MainWindow window;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    for (const char *name : {"b1", "c3", "e4", "f6", "d5", "e3", "c4"})
        QTest::mouseClick(window.square(knight::squareNamed(QString::fromLatin1(name))), Qt::LeftButton);
    window.pictures()->setPathShown(true);
    if (!window.grab().save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
