// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tours/knight_form.h"

#include <QWidget>

#include <array>

class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QRadioButton;

namespace knight {

class CommandButton;
class SquareLabel;

// The one window: builds the controls from the control table, routes their events to the
// form's handlers and mirrors the form's state into them.
class MainWindow : public QWidget
{
public:
    explicit MainWindow(QWidget *parent = nullptr);

    const KnightForm &form() const { return form_; }

    SquareLabel *square(int n) const { return squares_[std::size_t(n)]; }
    CommandButton *command(int index) const { return commands_[std::size_t(index)]; }
    QRadioButton *option(int index) const { return options_[std::size_t(index)]; }
    QPlainTextEdit *textBox() const { return text_; }
    QLabel *title() const { return title_; }
    QGroupBox *frame() const { return frame_; }

    // Handlers as the window routes its events; each mirrors what it changed.
    void Label2_Click(int n);
    void Command1_Click(int index);
    void Option1_Click(int index);
    void Timer1_Timer();

private:
    void createControls();
    void moveToScreenCentre();
    void setTabOrder();
    void mirrorForm();

    KnightForm form_;
    std::array<SquareLabel *, Board::elementLimit> squares_{};
    std::array<CommandButton *, commandCount> commands_{};
    std::array<QRadioButton *, tourKindCount> options_{};
    QLabel *title_ = nullptr;
    QGroupBox *frame_ = nullptr;
    QPlainTextEdit *text_ = nullptr;
    int shownTextRevision_ = -1;
};

} // namespace knight
