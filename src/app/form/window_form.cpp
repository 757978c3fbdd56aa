// SPDX-License-Identifier: GPL-3.0-or-later
// The window's form: its controls built from the control table, placed at the layout's scale,
// named in the language in use, and chained for Tab.
#include "app/form/mainwindow.h"

#include "app/form/announcer.h"
#include "app/features/assistant.h"
#include "app/features/board_choice.h"
#include "app/form/command_button.h"
#include "app/form/controls.h"
#include "app/form/description_box.h"
#include "app/features/form_zoom.h"
#include "app/features/gallop_control.h"
#include "app/features/gallop_sound.h"
#include "app/features/guide_window.h"
#include "app/form/icon.h"
#include "app/features/language_menu.h"
#include "app/features/pictures.h"
#include "app/form/option_style.h"
#include "app/form/placement.h"
#include "app/features/practice_aids.h"
#include "app/projector/projector.h"
#include "app/features/puzzle_play.h"
#include "app/features/task_play.h"
#include "app/form/square_label.h"
#include "app/features/walk_autosave.h"
#include "app/features/walk_files.h"
#include "app/form/window_accessible.h"
#include "picture/qt_color.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QScreen>

#include <algorithm>
#include <vector>

namespace knight {

namespace {

QString text(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

// A caption of the control table in the language in use.
QString caption(std::string_view utf8)
{
    return QCoreApplication::translate("Controls", utf8.data());
}

QFont fontFrom(controls::FontFace face, double scale = 1)
{
    QFont font(text(face.family));
    font.setPointSizeF(face.pointSize * scale);
    font.setWeight(QFont::Normal);
    return font;
}

// The window's own texts are all written in letters its typeface has. Told so, Qt does not
// look for other fonts to fill gaps: the text box's zero-width break opportunities, missing
// from the typeface, would otherwise make it load a second font and shape every list of
// squares piece by piece, a twentieth of the start-up. Dialogs, menus and tooltips, which may
// show any file's name, keep the search.
QFont windowFontFrom(controls::FontFace face, double scale = 1)
{
    QFont font = fontFrom(face, scale);
    font.setStyleStrategy(QFont::NoFontMerging);
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

void MainWindow::createControls()
{
    // The one window is the program: its icon is the application's too.
    const QIcon icon = hamburgerIcon();
    QApplication::setWindowIcon(icon);
    setWindowIcon(icon);
    setFixedSize(controls::twipsToPixels(controls::formWidth), controls::twipsToPixels(controls::formHeight));
    // One typeface for everything without a font of its own, tooltips included. The text box
    // lays out its empty text in the application's font while it is made: in the window's
    // until then, so that one font is loaded, not two.
    QApplication::setFont(windowFontFrom(controls::formFont));
    setFont(windowFontFrom(controls::formFont));
    paintBackground(this, controls::formBackColor);

    title_ = new QLabel(this);
    title_->setAlignment(Qt::AlignCenter);
    paintBackground(title_, controls::label1.backColor);

    const QFont squareFont = windowFontFrom(controls::squareFont);
    for (int n = 0; n < Board::elementLimit; ++n) {
        auto *square = new SquareLabel(n, this);
        square->setFont(squareFont);
        square->hide();
        connect(square, &SquareLabel::clicked, this, [this, n] { Label2_Click(n); });
        squares_[std::size_t(n)] = square;
    }

    for (int i = 0; i < commandCount; ++i) {
        const controls::ControlEntry &control = controls::command1[std::size_t(i)];
        auto *button = new CommandButton(toQColor(control.backColor), this);
        connect(button, &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
        commands_[std::size_t(i)] = button;
    }

    frame_ = new QGroupBox(this);
    paintBackground(frame_, controls::frame1.backColor);
    for (int i = 0; i < tourKindCount; ++i) {
        const controls::ControlEntry &control = controls::option1[std::size_t(i)];
        auto *option = new QRadioButton(text(control.caption), frame_);
        paintBackground(option, control.backColor);
        option->setChecked(i == 0);
        // Chosen by any means (mouse, keys, an assistive tool's toggle) it acts as a click;
        // clicking the selected option again shows its description too.
        connect(option, &QRadioButton::toggled, this, [this, i](bool checked) {
            if (checked) {
                toggledOption_ = i;
                Option1_Click(i);
            }
        });
        connect(option, &QRadioButton::clicked, this, [this, i] {
            if (std::exchange(toggledOption_, -1) != i)
                Option1_Click(i);
        });
        options_[std::size_t(i)] = option;
    }

    text_ = new DescriptionBox(this);
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // At spaces and after the commas of the introduction's square list; inside a run only if
    // it could not fit a line otherwise.
    text_->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text_->setTabChangesFocus(true);

    announcer_ = new Announcer(this);
    walkFiles_ = new WalkFiles(*this, this);
    autosave_ = new WalkAutosave(*this, this);
    sound_ = new GallopSound(*this, this);
    puzzle_ = new PuzzlePlay(*this, *sound_, this);
    assistant_ = new Assistant(*this, *puzzle_, this);
    pictures_ = new Pictures(*this, this);
    gallop_ = new GallopControl(*this, this);
    aids_ = new PracticeAids(*this, this);
    zoom_ = new FormZoom(*this, this);
    tasks_ = new TaskPlay(*this, *assistant_, *aids_, *sound_, this);
    connect(assistant_, &Assistant::helped, tasks_, &TaskPlay::noteHelp);
    projector_ = new Projector(*this, {*assistant_, *gallop_, *aids_, *pictures_, *tasks_}, this);
    language_ = new LanguageMenu(*this, this);
    boardChoice_ = new BoardChoice(*this, this);
    // From here on dialogs, menus and tooltips take the typeface with the search for missing letters.
    QApplication::setFont(fontFrom(controls::formFont));
    placeControls();
}

// Every control where the layout puts it: at the designed size, zoomed, or in full screen.
void MainWindow::placeControls()
{
    const double scale = layout_.scale;
    if (!zoom_->isFullScreen())
        setFixedSize(controls::twipsToPixels(controls::formWidth, scale),
                     controls::twipsToPixels(controls::formHeight, scale));
    if (font().pointSizeF() != controls::formFont.pointSize * scale)
        setFont(windowFontFrom(controls::formFont, scale));
    // The numbers grow with the squares, on a board of larger squares too.
    const double grown = double(shapeTemplateRect(form_.shape(), templateSquareRect).width) / templateSquareRect.width;
    if (const QFont squareFont = windowFontFrom(controls::squareFont, scale * grown); squares_[0]->font() != squareFont) {
        for (SquareLabel *square : squares_)
            square->setFont(squareFont);
    }
    title_->setGeometry(layout_.place(controls::label1.rect));
    for (int i = 0; i < commandCount; ++i) {
        commands_[std::size_t(i)]->setGeometry(layout_.place(controls::command1[std::size_t(i)].rect));
        commands_[std::size_t(i)]->setScale(scale);
    }
    frame_->setGeometry(layout_.place(controls::frame1.rect));
    // At the designed size each value is rounded on its own, as designed; zoomed, the edges
    // are, so that rows of options that touch in the design touch on the screen (no light
    // seams between them), and their round buttons grow with the text.
    // The growing style is made at the first zoom: a start at the designed size makes none.
    QStyle *optionStyle = nullptr;
    if (scale != 1) {
        if (!optionStyle_)
            optionStyle_ = new ScaledIndicatorStyle(this);
        optionStyle_->setScale(scale);
        optionStyle = optionStyle_;
    }
    for (int i = 0; i < tourKindCount; ++i) {
        const TwipsRect rect = controls::option1[std::size_t(i)].rect;
        QRadioButton *option = options_[std::size_t(i)];
        option->setGeometry(scale == 1 ? controls::pixelRect(rect) : controls::edgeRect(rect, scale));
        if (option->style() != (optionStyle ? optionStyle : style()))
            option->setStyle(optionStyle);
        option->update();
    }
    text_->setGeometry(layout_.place(controls::text1.rect));
    for (int n = 0; n < Board::elementLimit; ++n) {
        squares_[std::size_t(n)]->setFormLayout(layout_);
        if (n < form_.board().elementCount())
            squares_[std::size_t(n)]->showSquare(form_.board().square(n));
    }
    pictures_->followLayout();
}

void MainWindow::followShape()
{
    shownShape_ = form_.shape();
    for (QRadioButton *option : options_)
        option->setEnabled(shownShape_ == BoardShape{});
    // The squares move (their changes say so); the fonts, the coordinates and the path follow.
    placeControls();
    update();
}

void MainWindow::setFormLayout(const controls::FormLayout &layout)
{
    if (layout == layout_)
        return;
    layout_ = layout;
    if (guide_)
        guide_->setScale(layout.scale);
    // Every control moves: one repaint of the whole window, not a region worked out per move.
    setUpdatesEnabled(false);
    placeControls();
    setUpdatesEnabled(true);
}

void MainWindow::writeTexts()
{
    setWindowTitle(caption(controls::formCaption));
    title_->setText(caption(controls::label1.caption));
    for (int i = 0; i < commandCount; ++i)
        commands_[std::size_t(i)]->setCaption(caption(controls::command1[std::size_t(i)].caption));
    frame_->setTitle(caption(controls::frame1.caption));
    for (int i = 0; i < tourKindCount; ++i)
        options_[std::size_t(i)]->setAccessibleDescription(optionDescription(i));
    text_->setAccessibleName(tr("Описание"));
}

void MainWindow::moveToScreenCentre()
{
    move(windowPlacement(screen()->availableGeometry(), size()));
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

QRectF MainWindow::boardArea() const
{
    const BoardShape shape = form_.shape();
    const QRect topLeft = layout_.place(squareRect(squareAt(shape.ranks - 1, 0), shapeTemplateRect(shape, templateSquareRect)));
    return {QPointF(topLeft.topLeft()), QSizeF(topLeft.width() * shape.files, topLeft.height() * shape.ranks)};
}

} // namespace knight
