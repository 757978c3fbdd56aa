// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form/actions.h"

#include "app/features/assistant.h"
#include "app/features/form_zoom.h"
#include "app/features/gallop_control.h"
#include "app/features/gallop_sound.h"
#include "app/features/board_choice.h"
#include "app/features/language_menu.h"
#include "app/form/mainwindow.h"
#include "app/features/pictures.h"
#include "app/features/practice_aids.h"
#include "app/projector/projector.h"
#include "app/features/puzzle_play.h"
#include "app/features/class_view.h"
#include "app/features/results_dialog.h"
#include "app/features/task_play.h"
#include "app/features/walk_autosave.h"
#include "app/features/walk_files.h"
#include "app/features/worksheet_dialog.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>

#include <algorithm>
#include <array>

namespace knight {

namespace {

template<Command command>
bool commandEnabled(const KnightForm &form)
{
    return form.isEnabled(command);
}

template<Command command>
void pressCommand(MainWindow &window)
{
    window.Command1_Click(int(command));
}

constexpr auto noStandardKey = QKeySequence::UnknownKey;

// A task sets these itself.
bool outsideTasks(const MainWindow &window)
{
    return !window.tasks()->isOn();
}

constexpr std::array<ActionEntry, actionCount> table{{
    // They show the answer: a task gives them with its completion.
    {ActionId::Show, QT_TRANSLATE_NOOP("Actions", "Покажи"), noStandardKey, "F5", commandEnabled<Command::Show>,
     pressCommand<Command::Show>, false, false, nullptr, Aid::Completion},
    {ActionId::Gallop, QT_TRANSLATE_NOOP("Actions", "Галоп"), noStandardKey, "Ctrl+G", commandEnabled<Command::Gallop>,
     pressCommand<Command::Gallop>, false, false, nullptr, Aid::Completion},
    {ActionId::Clear, QT_TRANSLATE_NOOP("Actions", "Чисти"), QKeySequence::New, "Ctrl+N", [](const KnightForm &form) { return form.canClear(); },
     pressCommand<Command::Clear>},
    // Right after a walk was wiped, it brings that walk back; otherwise as the button.
    {ActionId::MoveBack, QT_TRANSLATE_NOOP("Actions", "Ход назад"), QKeySequence::Undo, "Ctrl+Z", nullptr,
     [](MainWindow &window) {
         if (window.canRestoreWalk())
             window.restoreWalk();
         else
             window.Command1_Click(int(Command::MoveBack));
     },
     false, false, [](const MainWindow &window) { return window.form().history().size() >= 2 || window.canRestoreWalk(); }},
    {ActionId::Redo, QT_TRANSLATE_NOOP("Actions", "Ход напред"), QKeySequence::Redo, "Ctrl+Shift+Z; Ctrl+Y",
     [](const KnightForm &form) { return form.canRedo(); }, [](MainWindow &window) { window.redoMove(); }},
    {ActionId::Board, QT_TRANSLATE_NOOP("Actions", "Към дъската"), noStandardKey, "F6", nullptr,
     [](MainWindow &window) { window.focusBoard(); }},
    {ActionId::PauseGallop, QT_TRANSLATE_NOOP("Actions", "Пауза"), noStandardKey, "F8", [](const KnightForm &form) { return form.gallopOn(); },
     [](MainWindow &window) { window.gallop()->togglePause(); }, true},
    {ActionId::NextStep, QT_TRANSLATE_NOOP("Actions", "Следващ ход"), noStandardKey, "F9", [](const KnightForm &form) { return form.gallopPaused(); },
     [](MainWindow &window) { window.gallop()->stepForward(); }},
    {ActionId::PreviousStep, QT_TRANSLATE_NOOP("Actions", "Предишен ход"), noStandardKey, "Shift+F9",
     [](const KnightForm &form) { return form.gallopPaused() && form.gallopStep() > 0; },
     [](MainWindow &window) { window.gallop()->stepBack(); }},
    {ActionId::Tempo, QT_TRANSLATE_NOOP("Actions", "Темпо на галопа"), noStandardKey, "Ctrl+T", nullptr,
     [](MainWindow &window) { window.gallop()->nextTempo(); }},
    {ActionId::Sound, QT_TRANSLATE_NOOP("Actions", "Звук на галопа"), noStandardKey, "Ctrl+B", nullptr,
     [](MainWindow &window) { window.sound()->setOn(window.action(ActionId::Sound)->isChecked()); }, true},
    {ActionId::ZoomIn, QT_TRANSLATE_NOOP("Actions", "Увеличи"), QKeySequence::ZoomIn, "Ctrl++; Ctrl+=", nullptr,
     [](MainWindow &window) { window.zoom()->zoomIn(); }, false, false,
     [](const MainWindow &window) { return window.zoom()->canZoomIn(); }},
    {ActionId::ZoomOut, QT_TRANSLATE_NOOP("Actions", "Намали"), QKeySequence::ZoomOut, "Ctrl+-", nullptr,
     [](MainWindow &window) { window.zoom()->zoomOut(); }, false, false,
     [](const MainWindow &window) { return window.zoom()->canZoomOut(); }},
    {ActionId::ZoomNormal, QT_TRANSLATE_NOOP("Actions", "Нормален размер"), noStandardKey, "Ctrl+0", nullptr,
     [](MainWindow &window) { window.zoom()->zoomNormal(); }, false, false,
     [](const MainWindow &window) { return window.zoom()->canZoomNormal(); }},
    {ActionId::FullScreen, QT_TRANSLATE_NOOP("Actions", "На цял екран"), QKeySequence::FullScreen, "F11", nullptr,
     [](MainWindow &window) { window.zoom()->setFullScreen(window.action(ActionId::FullScreen)->isChecked()); },
     true},
    {ActionId::Projector, QT_TRANSLATE_NOOP("Actions", "Изглед за проектор"), noStandardKey, "F10", nullptr,
     [](MainWindow &window) { window.projector()->setOn(window.action(ActionId::Projector)->isChecked()); }, true,
     false, nullptr, std::nullopt, QT_TRANSLATE_NOOP("Actions", "Изход (F10)")},
    // A task may allow only some of the assistant's help.
    {ActionId::Hint, QT_TRANSLATE_NOOP("Actions", "Подскажи ход"), noStandardKey, "Ctrl+H", Assistant::canPlay,
     [](MainWindow &window) { window.assistant()->showHint(); }, false, false, nullptr, Aid::Hints},
    {ActionId::Verdict, QT_TRANSLATE_NOOP("Actions", "Може ли още?"), noStandardKey, "F7",
     [](const KnightForm &form) { return Assistant::canPlay(form) || form.history().size() == form.shape().count(); },
     [](MainWindow &window) { window.assistant()->showVerdict(); }, false, false, nullptr, Aid::Verdict},
    {ActionId::Complete, QT_TRANSLATE_NOOP("Actions", "Довърши обиколката"), noStandardKey, "Ctrl+E", Assistant::canPlay,
     [](MainWindow &window) { window.assistant()->completeTour(); }, false, false, nullptr, Aid::Completion},
    {ActionId::EndMessages, QT_TRANSLATE_NOOP("Actions", "Съобщения за края на разходката"), noStandardKey, "Ctrl+M", nullptr,
     [](MainWindow &window) { window.assistant()->setEndMessages(window.action(ActionId::EndMessages)->isChecked()); }, true},
    {ActionId::NoGreens, QT_TRANSLATE_NOOP("Actions", "Без зелени полета"), noStandardKey, "Ctrl+Shift+G", nullptr,
     [](MainWindow &window) { window.aids()->setGreensHidden(window.action(ActionId::NoGreens)->isChecked()); }, true,
     false, outsideTasks},
    {ActionId::Counts, QT_TRANSLATE_NOOP("Actions", "Брой продължения"), noStandardKey, "Ctrl+Shift+N", nullptr,
     [](MainWindow &window) { window.aids()->setCountsShown(window.action(ActionId::Counts)->isChecked()); }, true,
     false, nullptr, Aid::Counts},
    {ActionId::ClosedTour, QT_TRANSLATE_NOOP("Actions", "Затворена обиколка"), noStandardKey, "Ctrl+Shift+O", nullptr,
     [](MainWindow &window) { window.assistant()->setClosedGoal(window.action(ActionId::ClosedTour)->isChecked()); },
     true, false, outsideTasks},
    // The window's puzzles are 8 x 8 puzzles; a board is chosen outside a puzzle.
    {ActionId::Puzzle, QT_TRANSLATE_NOOP("Actions", "Пъзел"), noStandardKey, "Ctrl+Shift+P",
     [](const KnightForm &form) { return form.shape() == BoardShape{}; },
     [](MainWindow &window) { window.puzzle()->setOn(window.action(ActionId::Puzzle)->isChecked()); }, true, false,
     outsideTasks},
    {ActionId::BoardSize, QT_TRANSLATE_NOOP("Actions", "Дъска"), noStandardKey, "Ctrl+D", nullptr,
     [](MainWindow &window) { window.boardChoice()->nextBoard(); }, false, false,
     [](const MainWindow &window) { return !window.puzzle()->isOn() && !window.tasks()->isOn(); }},
    {ActionId::Tasks, QT_TRANSLATE_NOOP("Actions", "Задачи"), noStandardKey, "Ctrl+Shift+T", nullptr,
     [](MainWindow &window) { window.tasks()->setOn(window.action(ActionId::Tasks)->isChecked()); }, true, false,
     [](const MainWindow &window) { return !window.puzzle()->isOn(); }},
    {ActionId::Results, QT_TRANSLATE_NOOP("Actions", "Резултати"), noStandardKey, "Ctrl+Shift+R", nullptr,
     [](MainWindow &window) { ResultsDialog(window.tasks()->store(), &window).exec(); }},
    {ActionId::ClassTable, QT_TRANSLATE_NOOP("Actions", "Класът"), noStandardKey, "Ctrl+Shift+C", nullptr,
     [](MainWindow &window) { ClassView::showFor(window.tasks()->store(), &window); }},
    {ActionId::Coordinates, QT_TRANSLATE_NOOP("Actions", "Координати"), noStandardKey, "Ctrl+K", nullptr,
     [](MainWindow &window) { window.pictures()->setCoordinatesShown(window.action(ActionId::Coordinates)->isChecked()); },
     true, true},
    {ActionId::Path, QT_TRANSLATE_NOOP("Actions", "Пътят на коня"), noStandardKey, "P", nullptr,
     [](MainWindow &window) { window.pictures()->setPathShown(window.action(ActionId::Path)->isChecked()); }, true},
    {ActionId::Print, QT_TRANSLATE_NOOP("Actions", "Печат…"), QKeySequence::Print, "Ctrl+P", nullptr,
     [](MainWindow &window) { window.pictures()->printDialog(); }},
    {ActionId::ExportPicture, QT_TRANSLATE_NOOP("Actions", "Запази картина…"), noStandardKey, "Ctrl+Shift+E", nullptr,
     [](MainWindow &window) { window.pictures()->exportDialog(); }},
    {ActionId::Worksheet, QT_TRANSLATE_NOOP("Actions", "Работен лист…"), noStandardKey, "Ctrl+Shift+W", nullptr,
     [](MainWindow &window) { WorksheetDialog::ask(window, &window); }},
    {ActionId::OpenWalk, QT_TRANSLATE_NOOP("Actions", "Отвори разходка…"), QKeySequence::Open, "Ctrl+O", nullptr,
     [](MainWindow &window) { window.walkFiles()->openDialog(); }},
    {ActionId::SaveWalk, QT_TRANSLATE_NOOP("Actions", "Запази разходката…"), QKeySequence::Save, "Ctrl+S",
     [](const KnightForm &form) { return !form.history().isEmpty(); },
     [](MainWindow &window) { window.walkFiles()->saveDialog(); }},
    {ActionId::CopyWalk, QT_TRANSLATE_NOOP("Actions", "Копирай разходката"), QKeySequence::Copy, "Ctrl+C",
     [](const KnightForm &form) { return !form.history().isEmpty() || !form.isEnabled(Command::Show); },
     [](MainWindow &window) { window.walkFiles()->copy(); }},
    {ActionId::PasteWalk, QT_TRANSLATE_NOOP("Actions", "Постави разходка"), QKeySequence::Paste, "Ctrl+V",
     [](const KnightForm &) { return WalkFiles::clipboardHasText(); },
     [](MainWindow &window) { window.walkFiles()->paste(); }},
    {ActionId::ResumeWalk, QT_TRANSLATE_NOOP("Actions", "Продължи разходката от миналия път"), noStandardKey, "Ctrl+R",
     nullptr, [](MainWindow &window) { window.autosave()->resume(); }, false, false,
     [](const MainWindow &window) { return window.autosave()->canResume(); }},
    {ActionId::Guide, QT_TRANSLATE_NOOP("Actions", "Упътване"), QKeySequence::HelpContents, "F1", nullptr,
     [](MainWindow &window) { window.showGuide(); }},
    // Named in both languages, so that either reader finds it.
    {ActionId::Language, "Език / Language", noStandardKey, "Ctrl+Shift+L", nullptr,
     [](MainWindow &window) { window.languageMenu()->nextLanguage(); }},
    {ActionId::Quit, QT_TRANSLATE_NOOP("Actions", "Изход"), QKeySequence::Quit, "Ctrl+Q", nullptr, [](MainWindow &window) { window.close(); }},
}};

constexpr ActionId gallopGroup[] = {ActionId::PauseGallop, ActionId::NextStep, ActionId::PreviousStep, ActionId::Tempo,
                                    ActionId::Sound};
constexpr ActionId assistantGroup[] = {ActionId::Hint, ActionId::Verdict, ActionId::Complete, ActionId::EndMessages};
constexpr ActionId practiceGroup[] = {ActionId::Redo, ActionId::NoGreens, ActionId::Counts, ActionId::ClosedTour,
                                      ActionId::Puzzle, ActionId::BoardSize, ActionId::Tasks, ActionId::Results,
                                      ActionId::ClassTable};
constexpr ActionId viewGroup[] = {ActionId::ZoomIn, ActionId::ZoomOut, ActionId::ZoomNormal, ActionId::FullScreen,
                                  ActionId::Projector, ActionId::Coordinates, ActionId::Path, ActionId::Board};
constexpr ActionId fileGroup[] = {ActionId::OpenWalk, ActionId::SaveWalk, ActionId::CopyWalk, ActionId::PasteWalk,
                                  ActionId::ResumeWalk, ActionId::Print, ActionId::ExportPicture, ActionId::Worksheet};
constexpr ActionId programGroup[] = {ActionId::Guide, ActionId::Language, ActionId::Quit};

static_assert(commandActions.size() == commandCount);

constexpr std::array<MenuGroup, 7> groups{{
    {{}, commandActions},
    {QT_TRANSLATE_NOOP("ActionGroups", "Управление на галопа"), gallopGroup},
    {QT_TRANSLATE_NOOP("ActionGroups", "Помощник"), assistantGroup},
    {QT_TRANSLATE_NOOP("ActionGroups", "Упражнения"), practiceGroup},
    {QT_TRANSLATE_NOOP("ActionGroups", "Изглед"), viewGroup},
    {QT_TRANSLATE_NOOP("ActionGroups", "Файл"), fileGroup},
    {{}, programGroup},
}};

// The menu's text, and the projector's button's where the entry gives one (a tool button
// shows the icon text).
void setActionTexts(QAction &action, const ActionEntry &entry)
{
    action.setText(actionText(entry));
    if (!entry.buttonText.empty())
        action.setIconText(QCoreApplication::translate("Actions", entry.buttonText.data()));
}

// The action of an entry, owned by the window: its text, keys and check state; triggered, it
// first runs before (the window hides its passing messages) and then the entry's handler.
QAction *makeAction(const ActionEntry &entry, MainWindow &window, const std::function<void()> &before)
{
    auto *action = new QAction(&window);
    setActionTexts(*action, entry);
    action->setCheckable(entry.checkable);
    action->setChecked(entry.checkedAtStart);
    action->setShortcuts(actionShortcuts(entry));
    action->setShortcutVisibleInContextMenu(true);
    const auto run = entry.run;
    QObject::connect(action, &QAction::triggered, &window, [&window, run, before] {
        before();
        run(window);
    });
    return action;
}

} // namespace

std::span<const ActionEntry> actionTable()
{
    return table;
}

std::span<const MenuGroup> menuGroups()
{
    return groups;
}

QString menuGroupTitle(const MenuGroup &group)
{
    return QCoreApplication::translate("ActionGroups", group.title.data());
}

WindowActions::WindowActions(MainWindow &window, const std::function<void()> &before)
    : window_(window)
{
    for (const ActionEntry &entry : actionTable()) {
        QAction *action = makeAction(entry, window, before);
        window.addAction(action);
        actions_[std::size_t(entry.id)] = action;
    }
}

QMenu *WindowActions::contextMenu()
{
    if (contextMenu_)
        return contextMenu_;
    action(ActionId::Tempo)->setMenu(window_.gallop()->tempoMenu());
    action(ActionId::BoardSize)->setMenu(window_.boardChoice()->menu());
    action(ActionId::Language)->setMenu(window_.languageMenu()->menu());
    contextMenu_ = new QMenu(&window_);
    bool submenus = false;
    for (const MenuGroup &group : menuGroups()) {
        // The submenus stand together, apart from the entries before and after them.
        if (!contextMenu_->isEmpty() && (group.title.empty() || !submenus))
            contextMenu_->addSeparator();
        submenus = !group.title.empty();
        QMenu *menu = contextMenu_;
        if (!group.title.empty()) {
            menu = contextMenu_->addMenu(menuGroupTitle(group));
            submenus_.emplace_back(&group, menu);
        }
        for (const ActionId id : group.actions)
            menu->addAction(action(id));
    }
    return contextMenu_;
}

QString WindowActions::refusal(const ActionEntry &entry) const
{
    return entry.aid ? window_.tasks()->refusal(*entry.aid) : QString();
}

QString WindowActions::refusal(ActionId id) const
{
    return refusal(*std::ranges::find_if(actionTable(), [id](const ActionEntry &e) { return e.id == id; }));
}

void WindowActions::update(const KnightForm &form)
{
    for (const ActionEntry &entry : actionTable()) {
        const QString refusal = this->refusal(entry);
        action(entry.id)->setEnabled((!entry.enabled || entry.enabled(form)) && (!entry.ready || entry.ready(window_))
                                     && refusal.isNull());
        // Empty: the action's name, as before.
        action(entry.id)->setToolTip(refusal);
    }
}

void WindowActions::retranslate()
{
    for (const ActionEntry &entry : actionTable())
        setActionTexts(*action(entry.id), entry);
    for (const auto &[group, menu] : submenus_)
        menu->setTitle(menuGroupTitle(*group));
}

QString actionText(const ActionEntry &entry)
{
    return QCoreApplication::translate("Actions", entry.text.data());
}

QList<QKeySequence> actionShortcuts(const ActionEntry &entry)
{
    QList<QKeySequence> keys =
        QKeySequence::listFromString(QString::fromUtf8(entry.keys.data(), qsizetype(entry.keys.size())));
    if (entry.standardKey != QKeySequence::UnknownKey) {
        for (const QKeySequence &binding : QKeySequence::keyBindings(entry.standardKey)) {
            if (!keys.contains(binding))
                keys.append(binding);
        }
    }
    return keys;
}

QKeySequence actionShortcut(const ActionEntry &entry)
{
    return actionShortcuts(entry).value(0);
}

} // namespace knight
