// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form/display.h"
#include "app/features/gallop_sound.h"
#include "app/features/language_menu.h"
#include "app/features/task_play.h"
#include "app/form/mainwindow.h"
#include "app/form/termination.h"
#include "app/features/walk_autosave.h"
#include "app/features/walk_files.h"
#include "cli/command_line.h"
#include "cli/walk_source.h"
#include "files/file_io.h"
#include "files/file_names.h"
#include "results/results_store.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLocale>
#include <QSettings>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>

#include <fcntl.h>
#include <unistd.h>

// The texts of this file, in the language in use.
class MainText
{
    Q_DECLARE_TR_FUNCTIONS(MainText)
};

namespace {

// As file names, so that a name in any byte encoding reaches the file it names.
QStringList argumentList(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(knight::decodeFileName(argv[i]));
    return arguments;
}

// A closed standard descriptor would be taken by the first file Qt opens, and reading or
// writing "standard input" would reach that file. Each is held by /dev/null opened the wrong
// way round, so that using it still fails as a closed one does (EBADF).
void holdClosedStandardDescriptors()
{
    for (const int descriptor : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (::fcntl(descriptor, F_GETFD) != -1 || errno != EBADF)
            continue;
        const int held = ::open("/dev/null", descriptor == STDIN_FILENO ? O_WRONLY : O_RDONLY);
        if (held >= 0 && held != descriptor) {
            ::dup2(held, descriptor);
            ::close(held);
        }
    }
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
    using knight::Language;
    holdClosedStandardDescriptors();
    knight::ignoreFileSizeSignal();
    const QStringList arguments = argumentList(argc, argv);
    CommandLine commandLine = knight::parseCommandLine(arguments);
    knight::Translations translations;
    // The terminal's modes follow --lang or the system; the window may remember a choice.
    const QStringList uiLanguages = QLocale::system().uiLanguages();
    std::unique_ptr<QSettings> store;
    std::optional<Language> remembered;
    if (commandLine.mode == CommandLine::Mode::Window) {
        store = knight::Preferences::openStore(knight::Preferences::userFile());
        if (store)
            remembered = knight::languageFromCode(store->value(knight::LanguageMenu::settingsKey()).toString());
    }
    translations.use(knight::startLanguage(commandLine.language, remembered, uiLanguages));

    // The modes that print need no display, so they run before Qt looks for one.
    switch (commandLine.mode) {
    case CommandLine::Mode::Help:
    case CommandLine::Mode::Version:
    case CommandLine::Mode::Error:
    case CommandLine::Mode::Complete:
    case CommandLine::Mode::Results:
    case CommandLine::Mode::InitStore:
    case CommandLine::Mode::ImportResults: {
        QCoreApplication app(argc, argv);
        translations.install();
        // Read again, so that its messages speak the language.
        commandLine = knight::parseCommandLine(arguments);
        if (commandLine.mode == CommandLine::Mode::Error) {
            knight::printError(commandLine.message);
            return knight::exitUsage;
        }
        if (commandLine.mode == CommandLine::Mode::Complete)
            return knight::runComplete(commandLine.walkSource, knight::completeBound, commandLine.closed);
        if (commandLine.mode == CommandLine::Mode::Results)
            return knight::runResults(commandLine.resultsFile, commandLine.store);
        if (commandLine.mode == CommandLine::Mode::InitStore)
            return knight::runInitStore(commandLine.store);
        if (commandLine.mode == CommandLine::Mode::ImportResults)
            return knight::runImportResults(commandLine.resultsFile, commandLine.store);
        if (const QString problem = knight::writeDescriptor(STDOUT_FILENO, commandLine.message.toUtf8());
            !problem.isNull())
            return knight::refuseInput(MainText::tr("в стандартния изход не може да се пише: %1").arg(problem));
        return knight::exitOk;
    }
    case CommandLine::Mode::Export:
    case CommandLine::Mode::Worksheet: {
        // Painting needs fonts, not a display; the runtime folder that a desktop session
        // would have does not matter for writing one file.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        defaultHandler = qInstallMessageHandler(quietAboutRuntimeFolder);
        QGuiApplication app(argc, argv);
        translations.install();
        return commandLine.mode == CommandLine::Mode::Export ? knight::runExport(commandLine)
                                                             : knight::runWorksheet(commandLine);
    }
    case CommandLine::Mode::Window:
        break;
    }

    std::optional<knight::PlatformStartGuard> guard(std::in_place, commandLine.platform,
                                                    commandLine.display, translations);
    QApplication app(argc, argv);
    guard.reset();
    translations.install();
    knight::MainWindow window;
    window.languageMenu()->useTranslations(&translations);
    const bool storeRefused = !store;
    window.autosave()->useFolder(knight::WalkAutosave::userFolder());
    window.preferences().useStore(std::move(store));
    window.restorePreferences();
    // A computer room's server, when --store or the settings (the user's or the system's) name one.
    if (const QString location = knight::ResultsStore::locationInUse(commandLine.store);
        location != knight::ResultsStore::defaultPath())
        window.tasks()->useStore(std::make_unique<knight::ResultsStore>(location));
    knight::closeOnTermination(window);
    window.show();
    // Said once the window is there, over it.
    if (const QString refusal = storeRefused ? knight::Preferences::refusal(knight::Preferences::userFile()) : QString();
        !refusal.isNull())
        window.showProblem(refusal);
    if (!commandLine.files.isEmpty())
        window.walkFiles()->openFile(commandLine.files.first());
    const int status = app.exec();
    if (window.sound()->isHeld()) {
        // The sound's thread is inside a sound system that never answered: the clean-up at
        // exit would wait for it and then pull its objects away. What must last is written.
        window.autosave()->waitUntilWritten();
        std::fflush(nullptr);
        std::_Exit(status);
    }
    return status;
}
