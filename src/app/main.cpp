// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/display.h"
#include "app/mainwindow.h"
#include "app/walk_files.h"
#include "cli/command_line.h"
#include "cli/walk_source.h"
#include "files/file_io.h"
#include "files/file_names.h"

#include <QApplication>
#include <QGuiApplication>
#include <QSettings>

#include <csignal>
#include <cstdio>
#include <unistd.h>
#include <memory>
#include <optional>

namespace {

// As file names, so that a name in any byte encoding reaches the file it names.
QStringList argumentList(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(knight::decodeFileName(argv[i]));
    return arguments;
}

QtMessageHandler defaultHandler = nullptr;

void quietAboutRuntimeFolder(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg && message.startsWith(QLatin1StringView("QStandardPaths: XDG_RUNTIME_DIR")))
        return;
    knight::passOnMessage(defaultHandler, type, context, message);
}

} // namespace

int main(int argc, char *argv[])
{
    using knight::CommandLine;
    // The modes that print need no display, so they run before Qt looks for one.
    const CommandLine commandLine = knight::parseCommandLine(argumentList(argc, argv));
    switch (commandLine.mode) {
    case CommandLine::Mode::Help:
    case CommandLine::Mode::Version:
        if (const QString problem = knight::writeDescriptor(STDOUT_FILENO, commandLine.message.toUtf8());
            !problem.isNull())
            return knight::refuseInput(QStringLiteral("стандартният изход не може да се запише: %1").arg(problem));
        return knight::exitOk;
    case CommandLine::Mode::Error:
        knight::printError(commandLine.message);
        return knight::exitUsage;
    case CommandLine::Mode::Complete:
        return knight::runComplete(commandLine.walkSource, knight::completeBound, commandLine.closed);
    case CommandLine::Mode::Export: {
        // Painting needs fonts, not a display; the runtime folder that a desktop session
        // would have does not matter for writing one file.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        defaultHandler = qInstallMessageHandler(quietAboutRuntimeFolder);
        QGuiApplication app(argc, argv);
        return knight::runExport(commandLine);
    }
    case CommandLine::Mode::Window:
        break;
    }

    std::optional<knight::PlatformStartGuard> guard(std::in_place, commandLine.platform,
                                                    commandLine.display);
    QApplication app(argc, argv);
    guard.reset();
    knight::MainWindow window;
    window.preferences().useStore(std::make_unique<QSettings>(QStringLiteral("kon-obikolka"), QStringLiteral("knight-tour")));
    window.restorePreferences();
    window.show();
    if (!commandLine.files.isEmpty())
        window.walkFiles()->openFile(commandLine.files.first());
    return app.exec();
}
