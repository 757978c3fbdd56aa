// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>
#include <QTranslator>

#include <array>
#include <memory>
#include <optional>

namespace knight {

// The program's texts are written in Bulgarian; English is a translation of them.
enum class Language { Bulgarian, English };
inline constexpr std::array languages{Language::Bulgarian, Language::English};

// "bg", "en": the codes of --lang and of the remembered choice.
QString languageCode(Language language);
std::optional<Language> languageFromCode(const QString &code);
// Each language's name in itself, as the language menu shows it.
QString languageName(Language language);

// The first of Bulgarian and English among the user's interface languages ("en-GB", "bg");
// none of them, or the plain C locale, is Bulgarian.
Language systemLanguage(const QStringList &uiLanguages);

// The language a start uses: an option beats a remembered choice, which beats the system.
Language startLanguage(std::optional<Language> option, std::optional<Language> remembered,
                       const QStringList &uiLanguages);

// The language of the catalogues installed last; Bulgarian until one is.
Language languageInUse();
// How numbers are written in a language: "0,5" in Bulgarian, "0.5" in English.
QLocale languageLocale(Language language);

// Qt's own catalogue and the program's for one language, installed in the running application.
class Translations {
public:
    Translations() = default;
    Translations(const Translations &) = delete;
    Translations &operator=(const Translations &) = delete;
    ~Translations();

    // Loads the language's catalogues and, when an application runs, installs them in place of
    // the previous language's; the widgets then hear of the change.
    void use(Language language);
    // Installs the catalogues loaded before the application was made.
    void install();
    Language language() const { return language_; }

    // A text in the chosen language even before an application runs.
    QString translate(const char *context, const char *source) const;

private:
    void uninstall();

    Language language_ = Language::Bulgarian;
    std::unique_ptr<QTranslator> qt_;
    std::unique_ptr<QTranslator> qtExtra_;
    std::unique_ptr<QTranslator> own_;
};

} // namespace knight
