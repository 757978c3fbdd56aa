// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/system_error.h"

#include <QCoreApplication>

#include <array>
#include <cerrno>

namespace knight {

// The texts of this file, in the language in use.
class SystemErrorText
{
    Q_DECLARE_TR_FUNCTIONS(SystemErrorText)
};

namespace {

struct ErrorPhrase {
    int error;
    const char *phrase;
};

// The errors a file, a pipe or a terminal can give; any other one is named by its number.
constexpr std::array<ErrorPhrase, 22> errorPhrases{{
    {ENOENT, QT_TRANSLATE_NOOP("SystemErrorText", "няма такъв файл или папка")},
    {EACCES, QT_TRANSLATE_NOOP("SystemErrorText", "няма права за достъп")},
    {EPERM, QT_TRANSLATE_NOOP("SystemErrorText", "действието не е позволено")},
    {EISDIR, QT_TRANSLATE_NOOP("SystemErrorText", "това е папка")},
    {ENOTDIR, QT_TRANSLATE_NOOP("SystemErrorText", "част от пътя не е папка")},
    {ENOSPC, QT_TRANSLATE_NOOP("SystemErrorText", "няма място на диска")},
    {EDQUOT, QT_TRANSLATE_NOOP("SystemErrorText", "квотата на диска е изчерпана")},
    {EFBIG, QT_TRANSLATE_NOOP("SystemErrorText", "файлът надхвърля позволения размер")},
    {EROFS, QT_TRANSLATE_NOOP("SystemErrorText", "файловата система е само за четене")},
    {EIO, QT_TRANSLATE_NOOP("SystemErrorText", "входно-изходна грешка")},
    {EBADF, QT_TRANSLATE_NOOP("SystemErrorText", "не е отворен")},
    {EPIPE, QT_TRANSLATE_NOOP("SystemErrorText", "отсрещната страна на канала е затворена")},
    {ENAMETOOLONG, QT_TRANSLATE_NOOP("SystemErrorText", "името е твърде дълго")},
    {ELOOP, QT_TRANSLATE_NOOP("SystemErrorText", "твърде много символни връзки")},
    {EMFILE, QT_TRANSLATE_NOOP("SystemErrorText", "отворени са твърде много файлове")},
    {ENFILE, QT_TRANSLATE_NOOP("SystemErrorText", "отворени са твърде много файлове")},
    {ENXIO, QT_TRANSLATE_NOOP("SystemErrorText", "няма такова устройство")},
    {ENODEV, QT_TRANSLATE_NOOP("SystemErrorText", "няма такова устройство")},
    {EBUSY, QT_TRANSLATE_NOOP("SystemErrorText", "устройството или файлът е зает")},
    {ETXTBSY, QT_TRANSLATE_NOOP("SystemErrorText", "файлът се използва")},
    {EEXIST, QT_TRANSLATE_NOOP("SystemErrorText", "файлът вече съществува")},
    {ENOMEM, QT_TRANSLATE_NOOP("SystemErrorText", "няма достатъчно памет")},
}};

} // namespace

QString systemErrorText(int error)
{
    for (const ErrorPhrase &entry : errorPhrases) {
        if (entry.error == error)
            return SystemErrorText::tr(entry.phrase);
    }
    return SystemErrorText::tr("системна грешка %1").arg(error);
}

} // namespace knight
