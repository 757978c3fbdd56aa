// SPDX-License-Identifier: GPL-3.0-or-later
// The reference for start-up: the barest Qt Widgets program, a window of the program's size
// shown and closed after its first paint. Linked against Qt Widgets alone.
//
//   knight-bare          the empty window: R-start
//   knight-bare floor    the same window with one control of each kind the designed window
//                        shows text in (a label, a group box with its title, a text box with a
//                        paragraph), in the form's typeface: what text alone costs at start
#include "first_paint.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QWidget>

#include <cstdio>
#include <cstring>

int main(int argc, char **argv)
{
    knight::bench::useMeasuredScreen();
    QApplication app(argc, argv);
    knight::bench::FirstPaint firstPaint;
    QWidget window;
    window.resize(468, 463);
    if (argc > 1 && std::strcmp(argv[1], "floor") == 0) {
        window.setFont(QFont(QStringLiteral("Times New Roman"), 12));
        (new QLabel(QStringLiteral("Ход назад"), &window))->move(10, 10);
        (new QGroupBox(QStringLiteral("Обиколка"), &window))->setGeometry(10, 40, 200, 100);
        auto *text = new QPlainTextEdit(&window);
        text->setGeometry(10, 200, 400, 200);
        text->setPlainText(QStringLiteral("Конят обикаля дъската. ").repeated(40));
    }
    window.installEventFilter(&firstPaint);
    window.show();
    const int status = app.exec();
    std::printf("peak_kb=%ld\n", knight::bench::peakKilobytes());
    return status;
}
