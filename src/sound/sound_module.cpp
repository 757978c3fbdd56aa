// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/sound_module.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>

namespace knight {

namespace {

struct SoundText {
    Q_DECLARE_TR_FUNCTIONS(SoundText)
};

} // namespace

QStringList soundModuleCandidates()
{
    return {QCoreApplication::applicationDirPath() + QStringLiteral("/../" KNIGHT_SOUND_MODULE_INSTALLED),
            QStringLiteral(KNIGHT_SOUND_MODULE_BUILT)};
}

SoundModule loadSoundModule(const QStringList &candidates)
{
    SoundModule module;
    // Every place tried, each with its own reason: the installed one is not the built one.
    QStringList problems;
    for (const QString &path : candidates) {
        QLibrary library(path);
        // Never unloaded: the players it made live until the process ends.
        if (QFileInfo(path).isAbsolute() && !QFileInfo::exists(path)) {
            problems << SoundText::tr("„%1“ липсва").arg(path);
            continue;
        }
        if (!library.load()) {
            problems << SoundText::tr("„%1“ не се зарежда: %2").arg(path, library.errorString());
            continue;
        }
        if (auto make = reinterpret_cast<MakeBeatPlayer>(library.resolve(KNIGHT_SOUND_MAKER))) {
            module.make = make;
            return module;
        }
        problems << SoundText::tr("„%1“ няма функцията %2").arg(path, QLatin1String(KNIGHT_SOUND_MAKER));
    }
    module.problem = problems.join(QStringLiteral("; "));
    return module;
}

} // namespace knight
