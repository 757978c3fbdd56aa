// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/actions.h"

#include "app/assistant.h"
#include "app/form_zoom.h"
#include "app/gallop_control.h"
#include "app/gallop_sound.h"
#include "app/mainwindow.h"
#include "app/pictures.h"
#include "app/practice_aids.h"
#include "app/walk_files.h"

#include <QAction>

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

constexpr std::array<ActionEntry, actionCount> table{{
    {ActionId::Show, "Покажи", noStandardKey, "F5", commandEnabled<Command::Show>,
     pressCommand<Command::Show>},
    {ActionId::Gallop, "Галоп", noStandardKey, "Ctrl+G", commandEnabled<Command::Gallop>,
     pressCommand<Command::Gallop>},
    {ActionId::Clear, "Чисти", QKeySequence::New, "Ctrl+N", [](const KnightForm &form) { return form.canClear(); },
     pressCommand<Command::Clear>},
    {ActionId::MoveBack, "Ход назад", QKeySequence::Undo, "Ctrl+Z",
     [](const KnightForm &form) { return form.history().size() >= 2; }, pressCommand<Command::MoveBack>},
    {ActionId::Redo, "Върни отново", QKeySequence::Redo, "Ctrl+Shift+Z; Ctrl+Y",
     [](const KnightForm &form) { return form.canRedo(); }, [](MainWindow &window) { window.redoMove(); }},
    {ActionId::Board, "Към дъската", noStandardKey, "F6", nullptr,
     [](MainWindow &window) { window.focusBoard(); }},
    {ActionId::PauseGallop, "Пауза", noStandardKey, "F8", [](const KnightForm &form) { return form.gallopOn(); },
     [](MainWindow &window) { window.gallop()->togglePause(); }, true},
    {ActionId::NextStep, "Следващ ход", noStandardKey, "F9", [](const KnightForm &form) { return form.gallopPaused(); },
     [](MainWindow &window) { window.gallop()->stepForward(); }},
    {ActionId::PreviousStep, "Предишен ход", noStandardKey, "Shift+F9",
     [](const KnightForm &form) { return form.gallopPaused() && form.gallopStep() > 0; },
     [](MainWindow &window) { window.gallop()->stepBack(); }},
    {ActionId::Tempo, "Темпо на галопа", noStandardKey, "Ctrl+T", nullptr,
     [](MainWindow &window) { window.gallop()->nextTempo(); }},
    {ActionId::Sound, "Звук на галопа", noStandardKey, "Ctrl+B", nullptr,
     [](MainWindow &window) { window.sound()->setOn(window.action(ActionId::Sound)->isChecked()); }, true},
    {ActionId::ZoomIn, "Увеличи", QKeySequence::ZoomIn, "Ctrl++; Ctrl+=", nullptr,
     [](MainWindow &window) { window.zoom()->zoomIn(); }},
    {ActionId::ZoomOut, "Намали", QKeySequence::ZoomOut, "Ctrl+-", nullptr,
     [](MainWindow &window) { window.zoom()->zoomOut(); }},
    {ActionId::ZoomNormal, "Нормален размер", noStandardKey, "Ctrl+0", nullptr,
     [](MainWindow &window) { window.zoom()->zoomNormal(); }},
    {ActionId::FullScreen, "На цял екран", QKeySequence::FullScreen, "F11", nullptr,
     [](MainWindow &window) { window.zoom()->setFullScreen(window.action(ActionId::FullScreen)->isChecked()); },
     true},
    {ActionId::Hint, "Подскажи ход", noStandardKey, "Ctrl+H", Assistant::canPlay,
     [](MainWindow &window) { window.assistant()->showHint(); }},
    {ActionId::Verdict, "Може ли още?", noStandardKey, "F7",
     [](const KnightForm &form) { return Assistant::canPlay(form) || form.history().size() == squareCount; },
     [](MainWindow &window) { window.assistant()->showVerdict(); }},
    {ActionId::Complete, "Довърши обиколката", noStandardKey, "Ctrl+E", Assistant::canPlay,
     [](MainWindow &window) { window.assistant()->completeTour(); }},
    {ActionId::EndMessages, "Съобщения за края на разходката", noStandardKey, "Ctrl+M", nullptr,
     [](MainWindow &window) { window.assistant()->setEndMessages(window.action(ActionId::EndMessages)->isChecked()); }, true},
    {ActionId::NoGreens, "Без зелени полета", noStandardKey, "Ctrl+Shift+G", nullptr,
     [](MainWindow &window) { window.aids()->setGreensHidden(window.action(ActionId::NoGreens)->isChecked()); }, true},
    {ActionId::Counts, "Брой продължения", noStandardKey, "Ctrl+Shift+N", nullptr,
     [](MainWindow &window) { window.aids()->setCountsShown(window.action(ActionId::Counts)->isChecked()); }, true},
    {ActionId::ClosedTour, "Затворена обиколка", noStandardKey, "Ctrl+Shift+O", nullptr,
     [](MainWindow &window) { window.assistant()->setClosedGoal(window.action(ActionId::ClosedTour)->isChecked()); },
     true},
    {ActionId::Coordinates, "Координати", noStandardKey, "Ctrl+K", nullptr,
     [](MainWindow &window) { window.pictures()->setCoordinatesShown(window.action(ActionId::Coordinates)->isChecked()); },
     true, true},
    {ActionId::Path, "Пътят на коня", noStandardKey, "P", nullptr,
     [](MainWindow &window) { window.pictures()->setPathShown(window.action(ActionId::Path)->isChecked()); }, true},
    {ActionId::Print, "Печат…", QKeySequence::Print, "Ctrl+P", nullptr,
     [](MainWindow &window) { window.pictures()->printDialog(); }},
    {ActionId::ExportPicture, "Запази картина…", noStandardKey, "Ctrl+Shift+E", nullptr,
     [](MainWindow &window) { window.pictures()->exportDialog(); }},
    {ActionId::OpenWalk, "Отвори разходка…", QKeySequence::Open, "Ctrl+O", nullptr,
     [](MainWindow &window) { window.walkFiles()->openDialog(); }},
    {ActionId::SaveWalk, "Запази разходката…", QKeySequence::Save, "Ctrl+S",
     [](const KnightForm &form) { return !form.history().isEmpty(); },
     [](MainWindow &window) { window.walkFiles()->saveDialog(); }},
    {ActionId::CopyWalk, "Копирай", QKeySequence::Copy, "Ctrl+C",
     [](const KnightForm &form) { return !form.history().isEmpty() || !form.isEnabled(Command::Show); },
     [](MainWindow &window) { window.walkFiles()->copy(); }},
    {ActionId::PasteWalk, "Постави разходка", QKeySequence::Paste, "Ctrl+V",
     [](const KnightForm &) { return WalkFiles::clipboardHasText(); },
     [](MainWindow &window) { window.walkFiles()->paste(); }},
    {ActionId::Guide, "Упътване", QKeySequence::HelpContents, "F1", nullptr,
     [](MainWindow &window) { window.showGuide(); }},
    {ActionId::Quit, "Изход", QKeySequence::Quit, "Ctrl+Q", nullptr, [](MainWindow &window) { window.close(); }},
}};

} // namespace

std::span<const ActionEntry> actionTable()
{
    return table;
}

QAction *makeAction(const ActionEntry &entry, MainWindow &window, const std::function<void()> &before)
{
    auto *action = new QAction(QString::fromUtf8(entry.text.data(), qsizetype(entry.text.size())), &window);
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
