// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/form/actions.h"
#include "app/form/controls.h"
#include "app/form/description_box.h"
#include "app/form/form_view.h"
#include "app/form/keyboard_play.h"
#include "app/features/preferences.h"
#include "tours/knight_form.h"

#include <QWidget>

#include <array>
#include <memory>

class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QRadioButton;

namespace knight {

class Announcer;
class Assistant;
class CommandButton;
class FormZoom;
class GallopControl;
class GallopSound;
class GuideWindow;
class LanguageMenu;
class Pictures;
class PracticeAids;
class Projector;
class ScaledIndicatorStyle;
class PuzzlePlay;
class SquareLabel;
class WalkAutosave;
class BoardChoice;
class TaskPlay;
class WalkFiles;

// The one window: builds the controls from the control table, routes their events to the
// form's handlers and mirrors the form's state into them.
class MainWindow : public QWidget, public FormView
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // What the features see.
    const KnightForm &form() const override { return form_; }
    void Label2_Click(int n) override;
    void Command1_Click(int index) override;
    void replaceWalk(const std::vector<int> &squares) override;
    void showAllSquares() override;
    void pauseGallop(bool paused) override;
    void stepGallop(bool forward) override;
    void setGallopInterval(int milliseconds) override { form_.setGallopInterval(milliseconds); }
    int cursorSquare() const override { return keyboard_.cursorSquare(); }
    void setHintShown(int n, bool shown) override;
    void setClue(int n, int number) override;
    const controls::FormLayout &formLayout() const override { return layout_; }
    void setFormLayout(const controls::FormLayout &layout) override;
    QRectF boardArea() const override;
    QAction *action(ActionId id) const override { return actions_ ? actions_->action(id) : nullptr; }
    void updateActions() override;
    void announce(const QString &text) override;

    void setBoardShape(BoardShape shape) override;
    void showMessage(const QString &text) override;
    void showProblem(const QString &text) override;
    Preferences &preferences() override { return preferences_; }
    LessonState &lesson() override { return lesson_; }
    const LessonState &lesson() const override { return lesson_; }
    LessonMode lessonMode() const { return lesson_.mode(form_); }

    // The window's own parts, for its actions and its tests.
    SquareLabel *square(int n) const { return squares_[std::size_t(n)]; }
    CommandButton *command(int index) const { return commands_[std::size_t(index)]; }
    QRadioButton *option(int index) const { return options_[std::size_t(index)]; }
    QPlainTextEdit *textBox() const { return text_; }
    QLabel *title() const { return title_; }
    QGroupBox *frame() const { return frame_; }
    QMenu *contextMenu() const { return actions_->contextMenu(); }
    Announcer *announcer() const { return announcer_; }
    GuideWindow *guide() const { return guide_; }
    void Timer1_Timer();
    void Option1_Click(int index);
    // The keyboard's way to the board: the cursor on the knight's square, or where it was.
    void focusBoard() { keyboard_.focusBoard(); }
    void showGuide();
    // Plays again the newest move taken back; the walk last wiped, back as it was.
    void redoMove();
    void restoreWalk();
    // A walk is kept to restore, on a board that the task or the puzzle on plays: a walk of free
    // play's board does not come back into them.
    bool canRestoreWalk() const;
    // What is remembered between starts: read once the program gives a store.
    void restorePreferences();

    // The features, one class each.
    WalkFiles *walkFiles() const { return walkFiles_; }
    WalkAutosave *autosave() const { return autosave_; }
    Assistant *assistant() const { return assistant_; }
    Pictures *pictures() const { return pictures_; }
    GallopControl *gallop() const { return gallop_; }
    GallopSound *sound() const { return sound_; }
    PracticeAids *aids() const { return aids_; }
    PuzzlePlay *puzzle() const { return puzzle_; }
    BoardChoice *boardChoice() const { return boardChoice_; }
    TaskPlay *tasks() const { return tasks_; }
    FormZoom *zoom() const { return zoom_; }
    Projector *projector() const { return projector_; }
    LanguageMenu *languageMenu() const { return language_; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void createControls();
    // The window's own texts in the language in use; again after a change of language.
    void writeTexts();
    void retranslate();
    void placeControls();
    void moveToScreenCentre();
    void setTabOrder();
    void mirrorForm();
    void mirrorConditions(const Board::Changes &changes);
    void mirrorCounts();
    void mirrorCommands();
    QString commandRefusal(int index) const;
    bool refusesClick(int n);
    // The squares' numbers as large as the squares are; the stored tours' options only on 8 x 8.
    void followShape();

    KnightForm form_;
    LessonState lesson_;
    std::array<SquareLabel *, Board::elementLimit> squares_{};
    std::array<CommandButton *, commandCount> commands_{};
    std::array<QRadioButton *, tourKindCount> options_{};
    ScaledIndicatorStyle *optionStyle_ = nullptr;
    std::unique_ptr<WindowActions> actions_;
    QLabel *title_ = nullptr;
    QGroupBox *frame_ = nullptr;
    DescriptionBox *text_ = nullptr;
    Announcer *announcer_ = nullptr;
    GuideWindow *guide_ = nullptr;
    int shownTextRevision_ = -1;
    BoardShape shownShape_;
    int knightSquare_ = -1;
    int toggledOption_ = -1;
    KeyboardPlay keyboard_{*this};
    Preferences preferences_;
    GallopControl *gallop_ = nullptr;
    GallopSound *sound_ = nullptr;
    PracticeAids *aids_ = nullptr;
    PuzzlePlay *puzzle_ = nullptr;
    BoardChoice *boardChoice_ = nullptr;
    TaskPlay *tasks_ = nullptr;
    FormZoom *zoom_ = nullptr;
    Projector *projector_ = nullptr;
    LanguageMenu *language_ = nullptr;
    controls::FormLayout layout_;
    WalkFiles *walkFiles_ = nullptr;
    WalkAutosave *autosave_ = nullptr;
    Assistant *assistant_ = nullptr;
    Pictures *pictures_ = nullptr;
};

} // namespace knight
