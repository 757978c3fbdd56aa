// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/mainwindow.h"

#include "access/spoken.h"
#include "app/accessible_factory.h"
#include "app/announcer.h"
#include "app/command_button.h"
#include "app/controls.h"
#include "app/description_box.h"
#include "app/guide_window.h"
#include "app/icon.h"
#include "app/placement.h"
#include "picture/qt_color.h"
#include "app/path_overlay.h"
#include "app/square_label.h"
#include "files/file_io.h"
#include "files/file_names.h"
#include "picture/export.h"
#include "solver/verdict_text.h"
#include "tours/texts.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QMimeData>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPaintEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>

#include <algorithm>
#include <vector>

namespace knight {

namespace {

QString text(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

QFont fontFrom(controls::FontFace face)
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

// The spare square element is never shown and means nothing: assistive technology does not
// list it among the window's children.
class WindowAccessible : public QAccessibleWidget
{
public:
    explicit WindowAccessible(MainWindow *window)
        : QAccessibleWidget(window, QAccessible::Window)
    {
    }

    int childCount() const override { return int(children().size()); }

    QAccessibleInterface *child(int index) const override
    {
        const QList<QWidget *> list = children();
        if (index < 0 || index >= list.size())
            return nullptr;
        return QAccessible::queryAccessibleInterface(list.at(index));
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        if (!child)
            return -1;
        return int(children().indexOf(qobject_cast<QWidget *>(child->object())));
    }

private:
    QList<QWidget *> children() const
    {
        const auto *window = static_cast<const MainWindow *>(widget());
        QList<QWidget *> list;
        for (QObject *object : window->children()) {
            auto *child = qobject_cast<QWidget *>(object);
            if (child && !child->isWindow() && child != window->square(Board::spareElement))
                list.append(child);
        }
        return list;
    }
};

// What assistive technology says of an option besides its caption.
QString optionDescription(int kind)
{
    constexpr int describedKinds = 3;
    constexpr int describedVariant = 12;
    if (kind < describedKinds) {
        const QString first = descriptionLines(kind).value(0);
        return first.section(u' ', 0, 5) + QStringLiteral("…");
    }
    if (kind == describedVariant)
        return QStringLiteral("Обиколката, описана поле по поле във въведението");
    return QStringLiteral("Готова обиколка, подобна на предишните");
}

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
                          | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    installAccessibleInterface<MainWindow, WindowAccessible>();
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
        const controls::ControlEntry &control = controls::command1[std::size_t(i)];
        auto *button = new CommandButton(text(control.caption), toQColor(control.backColor), this);
        button->setGeometry(controls::pixelRect(control.rect));
        connect(button, &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
        commands_[std::size_t(i)] = button;
    }

    frame_ = new QGroupBox(text(controls::frame1.caption), this);
    frame_->setGeometry(controls::pixelRect(controls::frame1.rect));
    paintBackground(frame_, controls::frame1.backColor);
    for (int i = 0; i < tourKindCount; ++i) {
        const controls::ControlEntry &control = controls::option1[std::size_t(i)];
        auto *option = new QRadioButton(text(control.caption), frame_);
        option->setGeometry(controls::pixelRect(control.rect));
        paintBackground(option, control.backColor);
        option->setChecked(i == 0);
        option->setAccessibleDescription(optionDescription(i));
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
    text_->setGeometry(controls::pixelRect(controls::text1.rect));
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // At spaces and after the commas of the introduction's square list; inside a run only if
    // it could not fit a line otherwise.
    text_->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text_->setTabChangesFocus(true);
    text_->setAccessibleName(QStringLiteral("Описание"));

    announcer_ = new Announcer(this);

    message_ = new QLabel(this);
    message_->setWordWrap(true);
    message_->setTextFormat(Qt::PlainText);
    message_->setFrameShape(QFrame::Box);
    message_->setMargin(3);
    message_->setAttribute(Qt::WA_TransparentForMouseEvents);
    paintBackground(message_, controls::messageBackColor);
    message_->hide();

    pathOverlay_ = new PathOverlay(this);
    pathOverlay_->setGeometry(boardArea().toAlignedRect());
    pathOverlay_->hide();

    hintTimer_ = new QTimer(this);
    hintTimer_->setSingleShot(true);
    hintTimer_->setInterval(controls::hintMilliseconds);
    connect(hintTimer_, &QTimer::timeout, this, &MainWindow::hideHint);
}

void MainWindow::createActions()
{
    contextMenu_ = new QMenu(this);
    for (const ActionEntry &entry : actionTable()) {
        auto *action = new QAction(text(entry.text), this);
        action->setCheckable(entry.checkable);
        action->setChecked(entry.checkedAtStart);
        if (entry.standardKey != QKeySequence::UnknownKey
            && !QKeySequence::keyBindings(entry.standardKey).isEmpty())
            action->setShortcuts(entry.standardKey);
        else
            action->setShortcut(actionShortcut(entry));
        action->setShortcutVisibleInContextMenu(true);
        const auto run = entry.run;
        connect(action, &QAction::triggered, this, [this, run] {
            clearTransient();
            run(*this);
        });
        addAction(action);
        contextMenu_->addAction(action);
        actions_[std::size_t(entry.id)] = action;
    }
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
    clearTransient();
    const qsizetype before = form_.history().size();
    form_.Label2_Click(n);
    mirrorForm();
    announcer_->announce(walkAnnouncement(form_, before));
    if (form_.history().size() > before)
        reportWalkEnd(false);
}

void MainWindow::Command1_Click(int index)
{
    clearTransient();
    const qsizetype before = form_.history().size();
    form_.Command1_Click(index);
    mirrorForm();
    if (index == int(Command::MoveBack))
        announcer_->announce(walkAnnouncement(form_, before));
}

void MainWindow::Option1_Click(int index)
{
    clearTransient();
    form_.Option1_Click(index);
    mirrorForm();
}

void MainWindow::Timer1_Timer()
{
    form_.Timer1_Timer();
    mirrorForm();
}

void MainWindow::focusBoard()
{
    const int knight = form_.knightSquare();
    moveCursor(isSquare(knight) ? knight : cursor_);
}

void MainWindow::showGuide()
{
    if (!guide_)
        guide_ = new GuideWindow(this);
    guide_->show();
    guide_->raise();
    guide_->activateWindow();
}

void MainWindow::moveCursor(int n)
{
    if (isSquare(cursor_))
        squares_[std::size_t(cursor_)]->setCursorShown(false);
    cursor_ = n;
    SquareLabel *square = squares_[std::size_t(n)];
    square->setCursorShown(true);
    square->setFocus(Qt::OtherFocusReason);
}

// Up is towards rank 8, as the board is drawn; the cursor stops at the edges.
bool MainWindow::moveCursorByArrow(int key)
{
    int row = squareRow(cursor_);
    int column = squareColumn(cursor_);
    switch (key) {
    case Qt::Key_Up:
        ++row;
        break;
    case Qt::Key_Down:
        --row;
        break;
    case Qt::Key_Left:
        --column;
        break;
    case Qt::Key_Right:
        ++column;
        break;
    default:
        return false;
    }
    if (row >= 0 && row < boardSide && column >= 0 && column < boardSide)
        moveCursor(squareAt(row, column));
    return true;
}

void MainWindow::keyPressEvent(QKeyEvent *event)
{
    auto *focused = qobject_cast<SquareLabel *>(focusWidget());
    if (focused && event->modifiers() == Qt::NoModifier) {
        if (cursor_ != focused->index()) {
            squares_[std::size_t(cursor_)]->setCursorShown(false);
            cursor_ = focused->index();
        }
        if (moveCursorByArrow(event->key())) {
            typing_.reset();
            return;
        }
    }
    // A square's name typed anywhere in the window plays it.
    const QString typed = event->text();
    if (typed.size() == 1 && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        const int n = typing_.feed(typed.front(), event->nativeScanCode());
        if (isSquare(n)) {
            moveCursor(n);
            Label2_Click(n);
        }
        if (isSquare(n) || typing_.isPending())
            return;
    }
    QWidget::keyPressEvent(event);
}

void MainWindow::replayWalk(const SquareList &squares)
{
    Command1_Click(int(Command::Clear));
    for (const int n : squares)
        Label2_Click(n);
}

bool MainWindow::openWalk(QByteArrayView bytes, const QString &source)
{
    const WalkReading reading = readWalk(bytes);
    if (!reading.ok()) {
        showProblem(QStringLiteral("%1 не е разходка: %2.").arg(source, reading.error->message()));
        return false;
    }
    replayWalk(reading.squares);
    return true;
}

bool MainWindow::openWalkFile(const QString &path)
{
    const QString shown = shownText(QFileInfo(path).fileName());
    // One byte past the limit is enough to know that it is too large.
    const FileReading file = readFile(path, walkFileLimit + 1, ReadableFiles::Regular);
    if (!file.ok()) {
        showProblem(QStringLiteral("Файлът „%1“ не може да се отвори: %2.").arg(shown, file.problem));
        return false;
    }
    return openWalk(file.bytes, QStringLiteral("Файлът „%1“").arg(shown));
}

bool MainWindow::saveWalkTo(const QString &path)
{
    if (const QString problem = writeFileAtomically(path, writeWalk(form_.squaresOnBoard())); !problem.isNull()) {
        showProblem(QStringLiteral("Разходката не е запазена във файла „%1“: %2.")
                        .arg(shownText(QDir::toNativeSeparators(path)), problem));
        return false;
    }
    return true;
}

namespace {

const QString walkFilter = QStringLiteral("Разходки (*.txt);;Всички файлове (*)");

} // namespace

void MainWindow::openWalkDialog()
{
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Отвори разходка"), {}, walkFilter);
    if (!path.isEmpty())
        openWalkFile(path);
}

void MainWindow::saveWalkDialog()
{
    QFileDialog dialog(this, QStringLiteral("Запази разходката"), {}, walkFilter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    dialog.selectFile(QStringLiteral("разходка.txt"));
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        saveWalkTo(dialog.selectedFiles().first());
}

void MainWindow::copyWalk()
{
    const SquareList squares = form_.squaresOnBoard();
    if (!squares.empty())
        QGuiApplication::clipboard()->setText(walkText(squares));
}

void MainWindow::pasteWalk()
{
    const QString text = QGuiApplication::clipboard()->text();
    if (!text.isEmpty())
        openWalk(text.toUtf8(), QStringLiteral("Текстът от буфера"));
}

bool MainWindow::clipboardHasText()
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasText();
}

void MainWindow::showProblem(const QString &text)
{
    auto *box = new QMessageBox(QMessageBox::Warning, windowTitle(), text, QMessageBox::Ok, this);
    box->setTextFormat(Qt::PlainText);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

namespace {

// The file's name as the system spells it: a name that is not UTF-8 comes percent-encoded
// byte for byte, which QUrl::toLocalFile would turn into replacement characters.
QString localFileName(const QUrl &url)
{
    return decodeFileName(QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()));
}

} // namespace

// One local file dropped on the window is opened as a walk.
void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() == 1 && urls.first().isLocalFile())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() == 1 && urls.first().isLocalFile()) {
        event->acceptProposedAction();
        openWalkFile(localFileName(urls.first()));
    }
}

bool MainWindow::assistantCanPlay(const KnightForm &form)
{
    return form.isEnabled(Command::Show) && !form.timer().isActive() && form.history().size() < squareCount;
}

void MainWindow::showMessage(const QString &text)
{
    const QRect box = controls::pixelRect(controls::messageRect);
    message_->setText(text);
    message_->setFixedWidth(box.width());
    message_->setFixedHeight(message_->heightForWidth(box.width()));
    message_->move(box.topLeft());
    message_->show();
    message_->raise();
    announcer_->announce(text);
}

// Messages and the hint last until the next action.
void MainWindow::clearTransient()
{
    message_->hide();
    hintTimer_->stop();
    hideHint();
}

void MainWindow::hideHint()
{
    if (isSquare(hintSquare_))
        squares_[std::size_t(hintSquare_)]->setHintShown(false);
    hintSquare_ = -1;
}

void MainWindow::showHint()
{
    if (!assistantCanPlay(form_))
        return;
    // Before the first move: whether a tour starts on the cursor's square (on 8 x 8 every one).
    const SquareList walk = form_.walkSquares();
    const TourSolver::Verdict verdict = solver_.solve(walk.empty() ? SquareList{cursor_} : walk);
    if (verdict.answer != TourSolver::Answer::Yes) {
        showMessage(verdictText(solver_, verdict));
        return;
    }
    hintSquare_ = verdict.tour.at(walk.size());
    squares_[std::size_t(hintSquare_)]->setHintShown(true);
    hintTimer_->start();
    announcer_->announce(QStringLiteral("Подсказка: %1.").arg(chessName(hintSquare_)));
}

void MainWindow::showVerdict()
{
    const SquareList walk = form_.walkSquares();
    if (walk.size() == std::size_t(squareCount)) {
        reportWalkEnd(true);
        return;
    }
    if (!assistantCanPlay(form_))
        return;
    if (walk.empty()) {
        showMessage(QStringLiteral("Да: от всяко поле на дъската започва пълна обиколка."));
        return;
    }
    showMessage(verdictText(solver_, solver_.solve(walk)));
}

void MainWindow::completeTour()
{
    if (!assistantCanPlay(form_))
        return;
    SquareList walk = form_.walkSquares();
    // Before the first move the tour starts where the cursor is (a1 at first).
    if (walk.empty())
        walk.push_back(cursor_);
    const TourSolver::Verdict verdict = solver_.solve(walk);
    if (verdict.answer != TourSolver::Answer::Yes) {
        showMessage(verdictText(solver_, verdict));
        return;
    }
    for (std::size_t i = form_.history().size(); i < verdict.tour.size(); ++i)
        Label2_Click(verdict.tour[i]);
    reportWalkEnd(true);
}

void MainWindow::setEndMessages(bool on)
{
    endMessages_ = on;
    action(ActionId::EndMessages)->setChecked(on);
}

// A full tour (closed or not) or a dead end, said in a message when the assistant was asked
// or the option is on.
void MainWindow::reportWalkEnd(bool asked)
{
    const qsizetype moves = form_.history().size();
    if (moves == squareCount) {
        const bool closed = isKnightMove(form_.history().last().toInt(), form_.history().first().toInt());
        if (asked || endMessages_)
            showMessage(closed ? QStringLiteral("Пълна обиколка: конят обходи всичките 64 полета и "
                                                "обиколката е затворена – от последното поле има ход "
                                                "до първото.")
                               : QStringLiteral("Пълна обиколка: конят обходи всичките 64 полета. "
                                                "Обиколката е отворена – от последното поле няма ход "
                                                "до първото."));
        return;
    }
    if ((asked || endMessages_) && moves > 0 && !hasPossibleMove(form_))
        showMessage(QStringLiteral("Задънена улица: няма зелени полета. С „Ход назад“ можете да "
                                   "върнете хода и да опитате друг."));
}

QRectF MainWindow::boardArea() const
{
    const QRect topLeft = controls::pixelRect(squareRect(squareAt(boardSide - 1, 0), templateSquareRect));
    return {QPointF(topLeft.topLeft()), QSizeF(topLeft.width() * boardSide, topLeft.height() * boardSide)};
}

void MainWindow::paintEvent(QPaintEvent *event)
{
    if (!coordinatesShown_)
        return;
    // A button's or an option's repaint comes here too; the margins are seldom in it.
    const auto margins = coordinateMargins(boardArea());
    if (!event->region().intersects(margins[0].toAlignedRect())
        && !event->region().intersects(margins[1].toAlignedRect()))
        return;
    QPainter painter(this);
    paintCoordinates(painter, boardArea(), font(), palette().color(QPalette::WindowText));
}

void MainWindow::setCoordinatesShown(bool shown)
{
    coordinatesShown_ = shown;
    action(ActionId::Coordinates)->setChecked(shown);
    update();
}

void MainWindow::setPathShown(bool shown)
{
    pathShown_ = shown;
    action(ActionId::Path)->setChecked(shown);
    pathOverlay_->setPath(shown ? pathOf(form_) : std::vector<int>{});
    pathOverlay_->setVisible(shown);
    pathOverlay_->raise();
}

Diagram MainWindow::diagram() const
{
    return diagramOf(form_, pathShown_);
}

void MainWindow::printTo(QPrinter &printer)
{
    QPainter painter(&printer);
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    paintDiagram(painter, diagram(), QRectF(QPointF(0, 0), page.size()), font());
}

bool MainWindow::exportPictureTo(const QString &path)
{
    const QString problem = exportDiagram(path, diagram(), font());
    if (!problem.isEmpty())
        showProblem(QStringLiteral("Картината не е запазена: %1.").arg(problem));
    return problem.isEmpty();
}

void MainWindow::printDialog()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(defaultPageSize());
    printer.setDocName(diagram().caption);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted)
        printTo(printer);
}

void MainWindow::exportDialog()
{
    QFileDialog dialog(this, QStringLiteral("Запази картина"), {},
                       QStringLiteral("Картина PNG (*.png);;Документ PDF (*.pdf)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("png"));
    dialog.selectFile(QStringLiteral("дъска.png"));
    connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString &filter) {
        dialog.setDefaultSuffix(filter.contains(QLatin1StringView("pdf")) ? QStringLiteral("pdf") : QStringLiteral("png"));
    });
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        exportPictureTo(dialog.selectedFiles().first());
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
            squares_[std::size_t(n)]->setCondition(squareCondition(form_, n));
    }
    knightSquare_ = knight;
}

void MainWindow::mirrorForm()
{
    const Board::Changes changes = form_.takeBoardChanges();
    for (int n = 0; n < Board::elementLimit; ++n) {
        if (changes.test(std::size_t(n)))
            squares_[std::size_t(n)]->showSquare(form_.board().square(n));
    }
    mirrorConditions(changes);
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
    if (pathShown_)
        pathOverlay_->setPath(pathOf(form_));
    // An option chosen by the program's own keys shows as chosen.
    if (QRadioButton *chosen = options_[std::size_t(form_.problemIndex())]; !chosen->isChecked()) {
        const QSignalBlocker blocker(chosen);
        chosen->setChecked(true);
    }
    updateActions();
}

} // namespace knight
