// SPDX-License-Identifier: GPL-3.0-or-later
#include "language/language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QRegularExpression>

namespace knight {

QString languageCode(Language language)
{
    return language == Language::English ? QStringLiteral("en") : QStringLiteral("bg");
}

std::optional<Language> languageFromCode(const QString &code)
{
    for (const Language language : languages) {
        if (code == languageCode(language))
            return language;
    }
    return std::nullopt;
}

QString languageName(Language language)
{
    return language == Language::English ? QStringLiteral("English") : QStringLiteral("Български");
}

Language systemLanguage(const QStringList &uiLanguages)
{
    for (const QString &tag : uiLanguages) {
        // "en-US", "en_GB.UTF-8", "bg": the language is the part before the region.
        const QString code = tag.section(QRegularExpression(QStringLiteral("[-_.@]")), 0, 0);
        if (const std::optional<Language> language = languageFromCode(code.toLower()))
            return *language;
    }
    return Language::Bulgarian;
}

Language startLanguage(std::optional<Language> option, std::optional<Language> remembered,
                       const QStringList &uiLanguages)
{
    if (option)
        return *option;
    if (remembered)
        return *remembered;
    return systemLanguage(uiLanguages);
}

namespace {

const Translations *active = nullptr;

} // namespace

Language languageInUse()
{
    return active ? active->language() : Language::Bulgarian;
}

QLocale languageLocale(Language language)
{
    return language == Language::English ? QLocale(QLocale::English, QLocale::UnitedKingdom)
                                         : QLocale(QLocale::Bulgarian);
}

Translations::~Translations()
{
    uninstall();
    if (active == this)
        active = nullptr;
}

namespace {

// The catalogue name (in folder, when given), or none if there is no such file.
std::unique_ptr<QTranslator> catalogue(const QString &name, const QString &folder = {})
{
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(name, folder))
        return nullptr;
    return translator;
}

} // namespace

void Translations::use(Language language)
{
    uninstall();
    language_ = language;
    active = this;
    // Qt speaks English by itself and the program Bulgarian: each needs a catalogue only for
    // the other language. A catalogue that is missing leaves its texts as written.
    if (language == Language::Bulgarian) {
        qt_ = catalogue(QStringLiteral("qtbase_bg"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
        // The few texts of Qt's that its Bulgarian catalogue lacks.
        qtExtra_ = catalogue(QStringLiteral(":/i18n/qt_extra_bg.qm"));
    } else
        own_ = catalogue(QStringLiteral(":/i18n/knight_en.qm"));
    install();
}

void Translations::install()
{
    if (!QCoreApplication::instance())
        return;
    for (QTranslator *translator : {qtExtra_.get(), qt_.get(), own_.get()}) {
        if (translator)
            QCoreApplication::installTranslator(translator);
    }
}

QString Translations::translate(const char *context, const char *source) const
{
    if (own_) {
        if (QString text = own_->translate(context, source); !text.isEmpty())
            return text;
    }
    return QString::fromUtf8(source);
}

void Translations::uninstall()
{
    // Removing a translator that was never installed does nothing.
    for (QTranslator *translator : {own_.get(), qt_.get(), qtExtra_.get()}) {
        if (translator && QCoreApplication::instance())
            QCoreApplication::removeTranslator(translator);
    }
    own_.reset();
    qt_.reset();
    qtExtra_.reset();
}

} // namespace knight
