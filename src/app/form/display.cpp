// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form/display.h"

#include "cli/command_line.h"

#include <QtGlobal>

#include <cstdio>
#include <cstdlib>

#include <unistd.h>

namespace knight {

namespace {

QtMessageHandler previousHandler = nullptr;
QString failureLine;
QString pluginMissingLine;
int terminal = -1;      // the real standard error while the platform starts
std::FILE *held = nullptr; // what the display libraries write meanwhile

// Qt's own complaints about the platform would say the same thing in more lines.
void startHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtFatalMsg) {
        const QByteArray line = failureLine.toUtf8() + '\n';
        const int out = terminal >= 0 ? terminal : STDERR_FILENO;
        [[maybe_unused]] const auto written = ::write(out, line.constData(), std::size_t(line.size()));
        std::_Exit(exitNoDisplay);
    }
    if (context.category && qstrncmp(context.category, "qt.qpa", 6) == 0) {
        // Found but unable to connect is the display's fault; not found at all is the program's.
        if (message.startsWith(QLatin1StringView("Could not find the Qt platform plugin")))
            failureLine = pluginMissingLine;
        return;
    }
    passOnMessage(previousHandler, type, context, message);
}

// The plugin Qt starts first: -platform, QT_QPA_PLATFORM, or the session's kind.
QString effectivePlatform(const QString &platformOption)
{
    QString platform = platformOption;
    if (platform.isEmpty())
        platform = qEnvironmentVariable("QT_QPA_PLATFORM");
    if (platform.isEmpty()) {
        const bool wayland = qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1StringView("wayland")
                             && qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
        platform = wayland ? QStringLiteral("wayland") : QStringLiteral("xcb");
    }
    return platform.section(u';', 0, 0).section(u':', 0, 0);
}

} // namespace

void passOnMessage(QtMessageHandler previous, QtMsgType type, const QMessageLogContext &context,
                   const QString &message)
{
    if (previous)
        previous(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qFormatLogMessage(type, context, message).toUtf8().constData());
}

QString displayFailure(const QString &platform, const QString &display, const Translations &translations)
{
    // Said before Qt runs, so through the catalogues directly.
    const auto said = [&translations](const char *source) { return translations.translate("DisplayText", source); };
    QString cause;
    if (platform == QLatin1StringView("xcb")) {
        cause = display.isEmpty()
                    ? said(QT_TRANSLATE_NOOP("DisplayText", "няма дисплей: променливата DISPLAY не е зададена"))
                    : said(QT_TRANSLATE_NOOP("DisplayText", "няма връзка с дисплея DISPLAY=%1: X сървърът не "
                                                          "отговаря или отказва връзката"))
                          .arg(display);
    } else if (platform.startsWith(QLatin1StringView("wayland"))) {
        cause = said(QT_TRANSLATE_NOOP("DisplayText", "няма връзка с композитора на Wayland WAYLAND_DISPLAY=%1"))
                    .arg(display.isEmpty() ? QStringLiteral("wayland-0") : display);
    } else {
        cause = said(QT_TRANSLATE_NOOP("DisplayText", "графичната платформа „%1“ не може да се стартира")).arg(platform);
    }
    return said(QT_TRANSLATE_NOOP("DisplayText", "%1: %2. Стартирайте програмата в графична среда или с "
                                               "виртуален дисплей: xvfb-run -a %1"))
        .arg(QLatin1StringView(programName), cause);
}

QString pluginMissing(const QString &platform, const Translations &translations)
{
    const char *source = QT_TRANSLATE_NOOP("DisplayText", "%1: липсва приставката на програмата за графичната "
                                                          "платформа „%2“; инсталирайте програмата отново (в "
                                                          "Debian: пакета libqt6gui6)");
    return translations.translate("DisplayText", source)
        .arg(QLatin1StringView(programName), platform);
}

PlatformStartGuard::PlatformStartGuard(const QString &platformOption, const QString &displayOption,
                                       const Translations &translations)
{
    const QString platform = effectivePlatform(platformOption);
    QString display = displayOption;
    if (display.isEmpty()) {
        display = qEnvironmentVariable(platform.startsWith(QLatin1StringView("wayland"))
                                           ? "WAYLAND_DISPLAY"
                                           : "DISPLAY");
    }
    failureLine = displayFailure(platform, display, translations);
    pluginMissingLine = pluginMissing(platform, translations);
    previousHandler = qInstallMessageHandler(startHandler);
    // libwayland and others write to the terminal directly; on failure the one line is enough.
    std::fflush(stderr);
    held = std::tmpfile();
    terminal = held ? ::dup(STDERR_FILENO) : -1;
    if (terminal >= 0)
        ::dup2(::fileno(held), STDERR_FILENO);
}

// Once the platform runs, what was held back is passed on: it may still matter.
PlatformStartGuard::~PlatformStartGuard()
{
    qInstallMessageHandler(previousHandler);
    if (terminal < 0)
        return;
    std::fflush(stderr);
    ::dup2(terminal, STDERR_FILENO);
    ::close(terminal);
    terminal = -1;
    std::rewind(held);
    char buffer[4096];
    while (const std::size_t count = std::fread(buffer, 1, sizeof buffer, held))
        std::fwrite(buffer, 1, count, stderr);
    std::fclose(held);
    held = nullptr;
}

} // namespace knight
