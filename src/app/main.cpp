// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/display.h"
#include "app/icon.h"
#include "app/mainwindow.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    // Without a display Qt would abort; say what is wrong and how to mend it instead.
    if (const QString problem = knight::displayProblem(); !problem.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(problem));
        return 1;
    }

    QApplication app(argc, argv);
    app.setWindowIcon(knight::hamburgerIcon());

    knight::MainWindow window;
    window.setWindowIcon(knight::hamburgerIcon());
    window.show();
    return app.exec();
}
