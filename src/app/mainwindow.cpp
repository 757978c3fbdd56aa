// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/mainwindow.h"

#include "access/spoken.h"
#include "app/announcer.h"
#include "app/assistant.h"
#include "app/command_button.h"
#include "app/controls.h"
#include "app/description_box.h"
#include "app/window_accessible.h"
#include "app/form_zoom.h"
#include "app/gallop_control.h"
#include "app/gallop_sound.h"
#include "app/guide_window.h"
#include "app/icon.h"
#include "app/language_menu.h"
#include "app/placement.h"
#include "app/practice_aids.h"
#include "picture/qt_color.h"
#include "app/pictures.h"
#include "app/square_label.h"
#include "app/walk_files.h"
#include "tours/texts.h"

#include <QAction>
#include <QClipboard>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMessageBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPaintEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>

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
    installWindowAccessible();
    // The one window is the program: its icon is the application's too.
    const QIcon icon = hamburgerIcon();
    QApplication::setWindowIcon(icon);
    setWindowIcon(icon);
    setFixedSize(controls::twipsToPixels(controls::formWidth), controls::twipsToPixels(controls::formHeight));
    // One typeface for everything without a font of its own, tooltips included.
    const QFont formFont = fontFrom(controls::formFont);
    QApplication::setFont(formFont);
    setFont(formFont);
    paintBackground(this, controls::formBackColor);

    createControls();
    writeTexts();
    moveToScreenCentre();
    form_.Form_Load();
    createActions();
    mirrorForm();
    setTabOrder();
    text_->setFocus();

    connect(&form_.timer(), &QTimer::timeout, this, &MainWindow::Timer1_Timer);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &MainWindow::updateActions);
    setAcceptDrops(true);
}

void MainWindow::createControls()
{
    title_ = new QLabel(this);
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
    walkFiles_ = new WalkFiles(this);
    assistant_ = new Assistant(this);
    pictures_ = new Pictures(this);
    gallop_ = new GallopControl(this);
    sound_ = new GallopSound(this);
    aids_ = new PracticeAids(this);
    zoom_ = new FormZoom(this);
    language_ = new LanguageMenu(this);
    placeControls();
}

// Every control where the layout puts it: at the designed size, zoomed, or in full screen.
void MainWindow::placeControls()
{
    const double scale = layout_.scale;
    if (!zoom_->isFullScreen())
        setFixedSize(controls::twipsToPixels(controls::formWidth, scale),
                     controls::twipsToPixels(controls::formHeight, scale));
    if (font().pointSizeF() != controls::formFont.pointSize * scale) {
        setFont(fontFrom(controls::formFont, scale));
        const QFont squareFont = fontFrom(controls::squareFont, scale);
        for (SquareLabel *square : squares_)
            square->setFont(squareFont);
    }
    title_->setGeometry(layout_.place(controls::label1.rect));
    for (int i = 0; i < commandCount; ++i) {
        commands_[std::size_t(i)]->setGeometry(layout_.place(controls::command1[std::size_t(i)].rect));
        commands_[std::size_t(i)]->setScale(scale);
    }
    frame_->setGeometry(layout_.place(controls::frame1.rect));
    for (int i = 0; i < tourKindCount; ++i)
        options_[std::size_t(i)]->setGeometry(controls::pixelRect(controls::option1[std::size_t(i)].rect, scale));
    text_->setGeometry(layout_.place(controls::text1.rect));
    for (int n = 0; n < Board::elementLimit; ++n) {
        squares_[std::size_t(n)]->setFormLayout(layout_);
        if (n < form_.board().elementCount())
            squares_[std::size_t(n)]->showSquare(form_.board().square(n));
    }
    pictures_->followLayout();
}

void MainWindow::setFormLayout(const controls::FormLayout &layout)
{
    if (layout == layout_)
        return;
    layout_ = layout;
    placeControls();
    update();
}

void MainWindow::createActions()
{
    contextMenu_ = new QMenu(this);
    for (const ActionEntry &entry : actionTable()) {
        QAction *action = makeAction(entry, *this, [this] { assistant_->clearTransient(); });
        if (entry.id == ActionId::Tempo)
            action->setMenu(gallop_->tempoMenu());
        if (entry.id == ActionId::Language)
            action->setMenu(language_->menu());
        addAction(action);
        contextMenu_->addAction(action);
        actions_[std::size_t(entry.id)] = action;
    }
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

void MainWindow::retranslate()
{
    writeTexts();
    for (const ActionEntry &entry : actionTable())
        actions_[std::size_t(entry.id)]->setText(actionText(entry));
    gallop_->retranslate();
    if (guide_)
        guide_->retranslate();
    // A message in the old language goes; the text box is written again.
    assistant_->clearTransient();
    form_.retranslateText();
    mirrorForm();
}

void MainWindow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange && actions_.front())
        retranslate();
}

void MainWindow::updateActions()
{
    for (const ActionEntry &entry : actionTable())
        actions_[std::size_t(entry.id)]->setEnabled(!entry.enabled || entry.enabled(form_));
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

void MainWindow::Label2_Click(int n)
{
    assistant_->clearTransient();
    const qsizetype before = form_.history().size();
    form_.Label2_Click(n);
    mirrorForm();
    announcer_->announce(walkAnnouncement(form_, before));
    if (form_.history().size() > before)
        assistant_->reportWalkEnd(false);
    else
        aids_->explainIgnoredClick(n);
}

void MainWindow::Command1_Click(int index)
{
    assistant_->clearTransient();
    const qsizetype before = form_.history().size();
    form_.Command1_Click(index);
    mirrorForm();
    if (index == int(Command::MoveBack))
        announcer_->announce(walkAnnouncement(form_, before));
    if (form_.history().size() < before && !form_.history().isEmpty())
        assistant_->countTakeBack();
}

void MainWindow::Option1_Click(int index)
{
    assistant_->clearTransient();
    form_.Option1_Click(index);
    mirrorForm();
}

void MainWindow::Timer1_Timer()
{
    form_.Timer1_Timer();
    mirrorForm();
    gallop_->announceStep();
    sound_->stepped();
}

void MainWindow::redoMove()
{
    assistant_->clearTransient();
    const qsizetype before = form_.history().size();
    form_.redoMove();
    mirrorForm();
    announcer_->announce(walkAnnouncement(form_, before));
    if (form_.history().size() > before)
        assistant_->reportWalkEnd(false);
}

void MainWindow::pauseGallop(bool paused)
{
    form_.pauseGallop(paused);
    mirrorForm();
}

void MainWindow::stepGallop(bool forward)
{
    if (!form_.gallopPaused())
        return;
    if (forward)
        form_.stepGallop();
    else
        form_.stepGallopBack();
    mirrorForm();
    gallop_->announceStep();
    sound_->stepped();
}

void MainWindow::restorePreferences()
{
    gallop_->restorePreferences();
    sound_->restorePreferences();
    zoom_->restorePreferences();
}

void MainWindow::showGuide()
{
    if (!guide_)
        guide_ = new GuideWindow(this);
    guide_->show();
    guide_->raise();
    guide_->activateWindow();
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    zoom_->windowResized();
}

void MainWindow::keyPressEvent(QKeyEvent *event)
{
    if (!keyboard_.keyPressed(event))
        QWidget::keyPressEvent(event);
}

void MainWindow::showProblem(const QString &text)
{
    auto *box = new QMessageBox(QMessageBox::Warning, windowTitle(), text, QMessageBox::Ok, this);
    box->setTextFormat(Qt::PlainText);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (WalkFiles::acceptsDrop(event->mimeData()))
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent *event)
{
    if (WalkFiles::acceptsDrop(event->mimeData())) {
        event->acceptProposedAction();
        walkFiles_->drop(event->mimeData());
    }
}

QRectF MainWindow::boardArea() const
{
    const QRect topLeft = layout_.place(squareRect(squareAt(boardSide - 1, 0), templateSquareRect));
    return {QPointF(topLeft.topLeft()), QSizeF(topLeft.width() * boardSide, topLeft.height() * boardSide)};
}

void MainWindow::paintEvent(QPaintEvent *event)
{
    pictures_->paintMargins(event->region());
}

void MainWindow::contextMenuEvent(QContextMenuEvent *event)
{
    contextMenu_->popup(event->globalPos());
}

void MainWindow::mirrorConditions(const Board::Changes &changes)
{
    const int knight = form_.knightSquare();
    for (int n = 0; n < squareCount; ++n) {
        if (changes.test(std::size_t(n)) || n == knight || n == knightSquare_)
            squares_[std::size_t(n)]->setCondition(aids_->shownCondition(squareCondition(form_, n)));
    }
    knightSquare_ = knight;
}

void MainWindow::mirrorCounts()
{
    for (int n = 0; n < squareCount; ++n)
        squares_[std::size_t(n)]->setCount(aids_->countFor(n));
}

void MainWindow::showAllSquares()
{
    for (int n = 0; n < form_.board().elementCount(); ++n)
        squares_[std::size_t(n)]->showSquare(aids_->shown(n, form_.board().square(n)));
    mirrorConditions(Board::Changes().set());
    mirrorCounts();
}

void MainWindow::mirrorForm()
{
    const Board::Changes changes = form_.takeBoardChanges();
    for (int n = 0; n < Board::elementLimit; ++n) {
        if (changes.test(std::size_t(n)))
            squares_[std::size_t(n)]->showSquare(aids_->shown(n, form_.board().square(n)));
    }
    mirrorConditions(changes);
    if (aids_->countsShown())
        mirrorCounts();
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
        text_->setDescription(form_.text());
    }
    pictures_->followForm();
    gallop_->followForm();
    assistant_->followForm();
    // An option chosen by the program's own keys shows as chosen.
    if (QRadioButton *chosen = options_[std::size_t(form_.problemIndex())]; !chosen->isChecked()) {
        const QSignalBlocker blocker(chosen);
        chosen->setChecked(true);
    }
    updateActions();
}

} // namespace knight
