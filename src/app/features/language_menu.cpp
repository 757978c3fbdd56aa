// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/features/language_menu.h"

#include "app/features/choice_menu.h"
#include "app/form/form_view.h"
#include "app/features/preferences.h"

namespace knight {

LanguageMenu::LanguageMenu(FormView &view, QWidget *window)
    : QObject(window)
    , view_(view)
    , window_(window)
{
}

LanguageMenu::~LanguageMenu() = default;

void LanguageMenu::useTranslations(Translations *translations)
{
    translations_ = translations;
    showChecked();
}

void LanguageMenu::showChecked()
{
    if (menu_)
        menu_->check(languageCode(language()));
}

Translations &LanguageMenu::translations()
{
    if (translations_)
        return *translations_;
    if (!own_)
        own_ = std::make_unique<Translations>();
    return *own_;
}

Language LanguageMenu::language() const
{
    return languageInUse();
}

void LanguageMenu::setLanguage(Language language)
{
    // The widgets hear of the new catalogues and write their texts again.
    if (language != this->language())
        translations().use(language);
    view_.preferences().setValue(settingsKey(), languageCode(language));
    showChecked();
}

void LanguageMenu::nextLanguage()
{
    setLanguage(language() == Language::Bulgarian ? Language::English : Language::Bulgarian);
}

QMenu *LanguageMenu::menu()
{
    if (menu_)
        return menu_;
    menu_ = new ChoiceMenu(window_);
    for (const Language language : languages)
        menu_->addChoice(languageName(language), languageCode(language), [this, language] { setLanguage(language); });
    showChecked();
    return menu_;
}

} // namespace knight
