// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/display.h"
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
    knight::MainWindow window;
    window.show();
    return app.exec();
}
