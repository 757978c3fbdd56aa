// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "language/language.h"

#include <QObject>

#include <memory>

class QMenu;

namespace knight {

class ChoiceMenu;
class FormView;

// "Език / Language": the program's language, chosen in the context menu or with its key, put
// in place at once and remembered for the next start.
class LanguageMenu : public QObject
{
    Q_OBJECT

public:
    LanguageMenu(FormView &view, QWidget *window);
    ~LanguageMenu() override;

    // Where the choice is remembered among the program's settings.
    static QString settingsKey() { return QStringLiteral("language"); }

    // The catalogues the program installed at start; without them the menu keeps its own.
    void useTranslations(Translations *translations);
    Language language() const;
    void setLanguage(Language language);
    // The other language.
    void nextLanguage();
    // The submenu of the languages, each named in itself.
    QMenu *menu();

private:
    Translations &translations();
    void showChecked();

    FormView &view_;
    QWidget *window_;
    Translations *translations_ = nullptr;
    std::unique_ptr<Translations> own_;
    ChoiceMenu *menu_ = nullptr;
};

} // namespace knight
