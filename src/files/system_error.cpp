// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/system_error.h"

#include <array>
#include <cerrno>

namespace knight {

namespace {

struct ErrorPhrase {
    int error;
    const char *phrase;
};

// The errors a file, a pipe or a terminal can give; any other one is named by its number.
constexpr std::array<ErrorPhrase, 22> errorPhrases{{
    {ENOENT, "няма такъв файл или папка"},
    {EACCES, "няма права за достъп"},
    {EPERM, "действието не е позволено"},
    {EISDIR, "това е папка"},
    {ENOTDIR, "част от пътя не е папка"},
    {ENOSPC, "няма място на диска"},
    {EDQUOT, "квотата на диска е изчерпана"},
    {EFBIG, "файлът надхвърля позволения размер"},
    {EROFS, "файловата система е само за четене"},
    {EIO, "входно-изходна грешка"},
    {EBADF, "не е отворен"},
    {EPIPE, "отсрещната страна на канала е затворена"},
    {ENAMETOOLONG, "името е твърде дълго"},
    {ELOOP, "твърде много символни връзки"},
    {EMFILE, "отворени са твърде много файлове"},
    {ENFILE, "отворени са твърде много файлове"},
    {ENXIO, "няма такова устройство"},
    {ENODEV, "няма такова устройство"},
    {EBUSY, "устройството или файлът е зает"},
    {ETXTBSY, "файлът се използва"},
    {EEXIST, "файлът вече съществува"},
    {ENOMEM, "няма достатъчно памет"},
}};

} // namespace

QString systemErrorText(int error)
{
    for (const ErrorPhrase &entry : errorPhrases) {
        if (entry.error == error)
            return QString::fromUtf8(entry.phrase);
    }
    return QStringLiteral("системна грешка %1").arg(error);
}

} // namespace knight
