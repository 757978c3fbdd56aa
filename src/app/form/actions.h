// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tasks/task_list.h"

#include <QKeySequence>

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

class QAction;
class QMenu;

namespace knight {

class KnightForm;
class MainWindow;

enum class ActionId {
    Show, Gallop, Clear, MoveBack, Redo, Board,
    PauseGallop, NextStep, PreviousStep, Tempo, Sound,
    ZoomIn, ZoomOut, ZoomNormal, FullScreen, Projector,
    Hint, Verdict, Complete, EndMessages,
    NoGreens, Counts, ClosedTour, Puzzle, BoardSize, Tasks, Results, ClassTable,
    Coordinates, Path, Print, ExportPicture, Worksheet,
    OpenWalk, SaveWalk, CopyWalk, PasteWalk, ResumeWalk,
    Guide, Language, Quit,
};
inline constexpr std::size_t actionCount = std::size_t(ActionId::Quit) + 1;

// One command of the window, as the context menu, the shortcuts and the guide show it.
struct ActionEntry {
    ActionId id;
    std::string_view text;                 // Bulgarian, as the menu shows it; a whole literal
    QKeySequence::StandardKey standardKey; // the desktop's convention, where there is one
    std::string_view keys;                 // portable text, "; " between keys; the first is the
                                           // primary one, the desktop's are added after them
    bool (*enabled)(const KnightForm &);   // whether it can do something; null: always
    void (*run)(MainWindow &);
    bool checkable = false;      // an option
    bool checkedAtStart = false;
    bool (*ready)(const MainWindow &) = nullptr; // a condition beyond the form's; null: none
    // The aid it gives, which a task may take away (disabled then, the reason its tooltip).
    std::optional<Aid> aid = std::nullopt;
    // Bulgarian, on the projector view's button where the menu's text would mislead there.
    std::string_view buttonText = {};
};

std::span<const ActionEntry> actionTable();

// The four buttons' actions, in the buttons' order (Command's).
inline constexpr std::array<ActionId, 4> commandActions{ActionId::Show, ActionId::Gallop, ActionId::Clear,
                                                        ActionId::MoveBack};

// The context menu's groups in their order of importance: the four commands at the top, then
// a submenu for each purpose, then the guide, the language and quitting. A group without a
// title stands in the menu itself. Every action is in exactly one group.
struct MenuGroup {
    std::string_view title; // Bulgarian, as the menu shows it; empty: no submenu
    std::span<const ActionId> actions;
};
std::span<const MenuGroup> menuGroups();
// The group's title in the language in use.
QString menuGroupTitle(const MenuGroup &group);

// The window's actions, one for each entry of the table: each a shortcut of the window and an
// item of its context menu, the tempo and the language with their submenus.
class WindowActions
{
public:
    WindowActions(MainWindow &window, const std::function<void()> &before);

    QAction *action(ActionId id) const { return actions_[std::size_t(id)]; }
    // Made with the tempo's and the language's submenus when first asked for: a start-up
    // without a right click pays for none of them.
    QMenu *contextMenu();
    // Enabled exactly when each can do something.
    void update(const KnightForm &form);
    // Why the task on refuses the action (the aid it gives, which the task does not allow);
    // null when it does not.
    QString refusal(ActionId id) const;
    // Each named in the language in use.
    void retranslate();

private:
    QString refusal(const ActionEntry &entry) const;

    MainWindow &window_;
    std::array<QAction *, actionCount> actions_{};
    QMenu *contextMenu_ = nullptr;
    std::vector<std::pair<const MenuGroup *, QMenu *>> submenus_;
};

// The action's name in the language in use.
QString actionText(const ActionEntry &entry);

// Every key of the action, and the primary one, as the guide and the menu write it ("Ctrl+Z").
QList<QKeySequence> actionShortcuts(const ActionEntry &entry);
QKeySequence actionShortcut(const ActionEntry &entry);

} // namespace knight
