// SPDX-License-Identifier: GPL-3.0-or-later
// The program's start-up as measured: the language chosen and its catalogues in place, the
// window made and shown, quit after its first paint. Linked against what the program links,
// nothing more (knight-bare is the reference beside it).
#include "first_paint.h"

#include "app/form/mainwindow.h"
#include "language/language.h"

#include <QApplication>
#include <QLocale>

#include <cstdio>

int main(int argc, char **argv)
{
    knight::bench::useMeasuredScreen();
    QApplication app(argc, argv);
    knight::bench::FirstPaint firstPaint;
    knight::Translations translations;
    translations.use(knight::startLanguage(std::nullopt, std::nullopt, QLocale::system().uiLanguages()));
    auto *window = new knight::MainWindow;
    window->installEventFilter(&firstPaint);
    window->show();
    const int status = app.exec();
    std::printf("peak_kb=%ld\n", knight::bench::peakKilobytes());
    delete window;
    return status;
}
