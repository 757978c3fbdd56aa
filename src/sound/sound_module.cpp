// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/sound_module.h"

#include <QCoreApplication>
#include <QLibrary>

namespace knight {

QStringList soundModuleCandidates()
{
    return {QCoreApplication::applicationDirPath() + QStringLiteral("/../" KNIGHT_SOUND_MODULE_INSTALLED),
            QStringLiteral(KNIGHT_SOUND_MODULE_BUILT)};
}

SoundModule loadSoundModule(const QStringList &candidates)
{
    SoundModule module;
    for (const QString &path : candidates) {
        QLibrary library(path);
        // Never unloaded: the players it made live until the process ends.
        if (!library.load()) {
            module.problem = library.errorString();
            continue;
        }
        if (auto make = reinterpret_cast<MakeBeatPlayer>(library.resolve(KNIGHT_SOUND_MAKER))) {
            module.make = make;
            module.problem.clear();
            return module;
        }
        module.problem = path + QStringLiteral(": " KNIGHT_SOUND_MAKER "?");
    }
    return module;
}

} // namespace knight
