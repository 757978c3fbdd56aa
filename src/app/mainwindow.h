// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "access/square_typing.h"
#include "app/actions.h"
#include "app/description_box.h"
#include "notation/walk_notation.h"
#include "picture/diagram.h"
#include "solver/tour_solver.h"
#include "tours/knight_form.h"

#include <QWidget>

#include <array>

class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPrinter;
class QRadioButton;

namespace knight {

class Announcer;
class CommandButton;
class GuideWindow;
class PathOverlay;
class SquareLabel;

// The one window: builds the controls from the control table, routes their events to the
// form's handlers and mirrors the form's state into them.
class MainWindow : public QWidget
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);

    const KnightForm &form() const { return form_; }

    SquareLabel *square(int n) const { return squares_[std::size_t(n)]; }
    CommandButton *command(int index) const { return commands_[std::size_t(index)]; }
    QRadioButton *option(int index) const { return options_[std::size_t(index)]; }
    QPlainTextEdit *textBox() const { return text_; }
    QLabel *title() const { return title_; }
    QGroupBox *frame() const { return frame_; }
    QAction *action(ActionId id) const { return actions_[std::size_t(id)]; }
    QMenu *contextMenu() const { return contextMenu_; }
    Announcer *announcer() const { return announcer_; }
    GuideWindow *guide() const { return guide_; }
    // The square that the keyboard cursor is on.
    int cursorSquare() const { return cursor_; }

    // Handlers as the window routes its events; each mirrors what it changed.
    void Label2_Click(int n);
    void Command1_Click(int index);
    void Option1_Click(int index);
    void Timer1_Timer();

    // The keyboard's way to the board: the cursor on the knight's square, or where it was.
    void focusBoard();
    void showGuide();

    // Walks kept in files and on the clipboard. A walk that is read is played square by
    // square as clicks are, on a cleared board; one that cannot be read changes nothing and
    // is refused with a message naming the line, the column and the token.
    bool openWalk(QByteArrayView bytes, const QString &source);
    bool openWalkFile(const QString &path);
    bool saveWalkTo(const QString &path);
    void openWalkDialog();
    void saveWalkDialog();
    void copyWalk();
    void pasteWalk();
    static bool clipboardHasText();

    // The tour assistant. It plays only during a walk (not over a shown tour or the gallop)
    // and before the 64th move; before the first move it starts on the cursor's square.
    static bool assistantCanPlay(const KnightForm &form);
    void showHint();
    void showVerdict();
    void completeTour();
    void setEndMessages(bool on);
    QLabel *message() const { return message_; }

    // Pictures of the board: coordinates and the path on the screen, print and export on paper
    // and in files, all painted by the same diagram functions.
    void setCoordinatesShown(bool shown);
    void setPathShown(bool shown);
    bool coordinatesShown() const { return coordinatesShown_; }
    PathOverlay *pathOverlay() const { return pathOverlay_; }
    QRectF boardArea() const;
    Diagram diagram() const;
    void printTo(QPrinter &printer);
    bool exportPictureTo(const QString &path);
    void printDialog();
    void exportDialog();
    int hintSquare() const { return hintSquare_; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void createControls();
    void createActions();
    void moveToScreenCentre();
    void setTabOrder();
    void mirrorForm();
    void mirrorConditions(const Board::Changes &changes);
    void updateActions();
    void moveCursor(int n);
    bool moveCursorByArrow(int key);
    void replayWalk(const SquareList &squares);
    void showMessage(const QString &text);
    void clearTransient();
    void hideHint();
    void reportWalkEnd(bool asked);
    void showProblem(const QString &text);

    KnightForm form_;
    std::array<SquareLabel *, Board::elementLimit> squares_{};
    std::array<CommandButton *, commandCount> commands_{};
    std::array<QRadioButton *, tourKindCount> options_{};
    std::array<QAction *, actionCount> actions_{};
    QLabel *title_ = nullptr;
    QGroupBox *frame_ = nullptr;
    DescriptionBox *text_ = nullptr;
    QMenu *contextMenu_ = nullptr;
    Announcer *announcer_ = nullptr;
    GuideWindow *guide_ = nullptr;
    int shownTextRevision_ = -1;
    int knightSquare_ = -1;
    int cursor_ = 0;
    int toggledOption_ = -1;
    SquareTyping typing_;
    TourSolver solver_;
    QLabel *message_ = nullptr;
    QTimer *hintTimer_ = nullptr;
    int hintSquare_ = -1;
    bool endMessages_ = false;
    bool coordinatesShown_ = true;
    bool pathShown_ = false;
    PathOverlay *pathOverlay_ = nullptr;
};

} // namespace knight
