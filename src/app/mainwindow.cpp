// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/mainwindow.h"

#include "app/command_button.h"
#include "app/controls.h"
#include "app/icon.h"
#include "app/qt_color.h"
#include "app/square_label.h"
#include "tours/texts.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>

#include <algorithm>
#include <vector>

namespace knight {

namespace {

QString text(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

QFont fontFrom(controls::FontSpec face)
{
    QFont font(text(face.family));
    font.setPointSizeF(face.pointSize);
    font.setWeight(QFont::Normal);
    return font;
}

void paintBackground(QWidget *widget, Color color)
{
    QPalette palette = widget->palette();
    palette.setColor(widget->backgroundRole(), toQColor(color));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
                          | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setWindowTitle(text(controls::formCaption));
    // The one window is the program: its icon is the application's too.
    const QIcon icon = hamburgerIcon();
    QApplication::setWindowIcon(icon);
    setWindowIcon(icon);
    setFixedSize(controls::twipsToPixels(controls::formWidth),
                 controls::twipsToPixels(controls::formHeight));
    // One typeface for everything without a font of its own, tooltips included.
    const QFont formFont = fontFrom(controls::formFont);
    QApplication::setFont(formFont);
    setFont(formFont);
    paintBackground(this, controls::formBackColor);

    createControls();
    moveToScreenCentre();
    form_.Form_Load();
    mirrorForm();
    setTabOrder();
    text_->setFocus();

    connect(&form_.timer(), &QTimer::timeout, this, &MainWindow::Timer1_Timer);
}

void MainWindow::createControls()
{
    title_ = new QLabel(text(controls::label1.caption), this);
    title_->setGeometry(controls::pixelRect(controls::label1.rect));
    title_->setAlignment(Qt::AlignCenter);
    paintBackground(title_, controls::label1.backColor);

    const QFont squareFont = fontFrom(controls::squareFont);
    for (int n = 0; n < Board::elementLimit; ++n) {
        auto *square = new SquareLabel(n, this);
        square->setFont(squareFont);
        square->hide();
        connect(square, &SquareLabel::clicked, this, [this, n] { Label2_Click(n); });
        squares_[std::size_t(n)] = square;
    }

    for (int i = 0; i < commandCount; ++i) {
        const controls::ControlSpec &control = controls::command1[std::size_t(i)];
        auto *button = new CommandButton(text(control.caption), toQColor(control.backColor), this);
        button->setGeometry(controls::pixelRect(control.rect));
        connect(button, &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
        commands_[std::size_t(i)] = button;
    }

    frame_ = new QGroupBox(text(controls::frame1.caption), this);
    frame_->setGeometry(controls::pixelRect(controls::frame1.rect));
    paintBackground(frame_, controls::frame1.backColor);
    for (int i = 0; i < tourKindCount; ++i) {
        const controls::ControlSpec &control = controls::option1[std::size_t(i)];
        auto *option = new QRadioButton(text(control.caption), frame_);
        option->setGeometry(controls::pixelRect(control.rect));
        paintBackground(option, control.backColor);
        option->setChecked(i == 0);
        // A click by mouse, space bar or arrow key; clicking the selected option again
        // shows its description too.
        connect(option, &QRadioButton::clicked, this, [this, i] { Option1_Click(i); });
        options_[std::size_t(i)] = option;
    }

    text_ = new QPlainTextEdit(this);
    text_->setGeometry(controls::pixelRect(controls::text1.rect));
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // At spaces, and inside a run too long for a line (the square list of the introduction).
    text_->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text_->setTabChangesFocus(true);
    text_->setAccessibleName(QStringLiteral("Описание"));
}

void MainWindow::moveToScreenCentre()
{
    move(screen()->availableGeometry().center() - rect().center());
}

void MainWindow::setTabOrder()
{
    std::vector<std::pair<int, QWidget *>> chain{{controls::text1.tabIndex, text_}};
    for (int i = 0; i < commandCount; ++i)
        chain.emplace_back(controls::command1[std::size_t(i)].tabIndex, commands_[std::size_t(i)]);
    for (int i = 0; i < tourKindCount; ++i)
        chain.emplace_back(controls::option1[std::size_t(i)].tabIndex, options_[std::size_t(i)]);
    std::ranges::sort(chain, {}, &std::pair<int, QWidget *>::first);
    for (std::size_t i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1].second, chain[i].second);
}

void MainWindow::Label2_Click(int n)
{
    form_.Label2_Click(n);
    mirrorForm();
}

void MainWindow::Command1_Click(int index)
{
    form_.Command1_Click(index);
    mirrorForm();
}

void MainWindow::Option1_Click(int index)
{
    form_.Option1_Click(index);
    mirrorForm();
}

void MainWindow::Timer1_Timer()
{
    form_.Timer1_Timer();
    mirrorForm();
}

void MainWindow::mirrorForm()
{
    const Board::Changes changes = form_.takeBoardChanges();
    for (int n = 0; n < Board::elementLimit; ++n) {
        if (changes.test(std::size_t(n)))
            squares_[std::size_t(n)]->showSquare(form_.board().square(n));
    }
    // Enabling first: when the focused button is disabled, the focus moves on to the one that
    // has just become enabled ("Покажи" hands it to "Галоп"), not past it.
    for (const bool enable : {true, false}) {
        for (int i = 0; i < commandCount; ++i) {
            if (form_.isEnabled(Command(i)) == enable)
                commands_[std::size_t(i)]->setEnabled(enable);
        }
    }
    if (shownTextRevision_ != form_.textRevision()) {
        shownTextRevision_ = form_.textRevision();
        QString shown = form_.text();
        shown.replace(lineBreak.toString(), QStringLiteral("\n"));
        text_->setPlainText(shown);
        text_->verticalScrollBar()->setValue(0);
    }
}

} // namespace knight
