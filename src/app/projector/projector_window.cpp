// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/projector/projector_window.h"

#include "app/projector/lesson_button.h"
#include "app/projector/status_lines.h"
#include "board/squares.h"
#include "picture/qt_color.h"
#include "projector_look/projector_look.h"
#include "tasks/task_list.h"

#include <QAction>
#include <QCloseEvent>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolButton>

#include <algorithm>
#include <cmath>
#include <ranges>

namespace knight {

namespace {

// The view's proportions, in parts of the screen's height: everything grows with the screen.
struct ProjectorGeometry {
    double margin = 1.0 / 60;
    double gap = 1.0 / 150;
    double buttonHeight = 1.0 / 18; // 60 px at 1080 p
    int minimumButtonHeight = 40;
    double statusType = 1.0 / 28;
    double buttonType = 1.0 / 36;
    double messageType = 1.0 / 36;
    int minimumType = 12;
    int twoColumnsFrom = 480; // px of the panel's width
    double panel = 0.25;      // the panel's least width
};
constexpr ProjectorGeometry proportions;

QString rgb(Color colour)
{
    return QStringLiteral("rgb(%1,%2,%3)").arg(colour.red).arg(colour.green).arg(colour.blue);
}

int typeSize(int height, double share)
{
    return std::max(proportions.minimumType, int(height * share));
}

} // namespace

ProjectorWindow::ProjectorWindow(QWidget *parent, const QList<QAction *> &buttons, std::span<const int> tempos)
    : QWidget(parent, Qt::Window)
    , tempos_(tempos.begin(), tempos.end())
    , status_(new StatusLines(this))
    , message_(new QLabel(this))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    message_->setWordWrap(true);
    message_->setTextFormat(Qt::PlainText);
    message_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    for (QAction *action : buttons) {
        buttons_.push_back(new LessonButton(action, this));
    }
    restyle();
}

void ProjectorWindow::setContent(const Diagram &diagram, const QStringList &status, const QString &message)
{
    // Another board: the diagram and the panel beside it take other places.
    const bool reshaped = diagram.shape != diagram_.shape;
    const QRegion changed = reshaped ? QRegion(rect()) : changedArea(diagram_, diagram);
    diagram_ = diagram;
    if (!diagram_.shape.contains(cursor_))
        cursor_ = -1;
    // Another number of status lines, or another message: the room is shared out again.
    const bool recounted = status_->setLines(status);
    if (reshaped || recounted || message_->text() != message) {
        message_->setText(message);
        placeControls();
    }
    update(changed);
}

// What must be painted again: the squares whose look changed (the knight's too: its square is
// coloured as the knight's), or the whole diagram when its caption or path did.
QRegion ProjectorWindow::changedArea(const Diagram &before, const Diagram &after) const
{
    if (before.caption != after.caption || before.path != after.path || before.knightFigure != after.knightFigure)
        return QRegion(diagramArea().toAlignedRect());
    QRegion changed;
    const auto add = [this, &changed, &after](int n) {
        if (after.shape.contains(n))
            changed += squareRect(n).toRect();
    };
    for (const int n : std::views::iota(0, squareCount)) {
        const Diagram::Cell &a = before.squares[std::size_t(n)];
        const Diagram::Cell &b = after.squares[std::size_t(n)];
        if (a.caption != b.caption || a.color != b.color || a.text != b.text)
            add(n);
    }
    for (const Diagram *diagram : {&before, &after}) {
        for (const Diagram::Mark &mark : diagram->marks)
            add(mark.square);
    }
    return changed;
}

QRectF ProjectorWindow::diagramArea() const
{
    const double margin = height() * proportions.margin;
    // As tall as the screen, unless that leaves the buttons too narrow for their captions (a
    // square or upright screen).
    const double room = width() - 3 * margin - height() * proportions.panel;
    const double tallness = diagramHeightPerWidth(diagram_.shape);
    const double tall = std::max(1.0, std::min(height() - 2 * margin, room * tallness));
    return {margin, margin, tall / tallness, tall};
}

QRectF ProjectorWindow::squareRect(int n) const
{
    return squareArea(diagramBoard(diagramArea(), diagram_.shape), diagram_.shape, n);
}

void ProjectorWindow::restyle()
{
    const ProjectorPalette &p = projectorPalette;
    setStyleSheet(QStringLiteral("ProjectorWindow { background: %1; } QLabel { color: %2; }").arg(rgb(p.background), rgb(p.text)));
    status_->setColors(toQColor(p.text), toQColor(p.background));
}

void ProjectorWindow::placeControls()
{
    const int h = height();
    const int margin = int(h * proportions.margin);
    const int gap = std::max(4, int(h * proportions.gap));
    const int left = int(diagramArea().right()) + margin;
    const int width = std::max(1, this->width() - left - margin);
    const int columns = width >= proportions.twoColumnsFrom ? 2 : 1;
    const int rows = (int(buttons_.size()) + columns - 1) / columns;
    const int buttonHeight = std::max(proportions.minimumButtonHeight, int(h * proportions.buttonHeight));
    const int buttonWidth = (width - (columns - 1) * gap) / columns;
    const int buttonsTop = h - margin - rows * buttonHeight - (rows - 1) * gap;
    QFont buttonFont = font();
    buttonFont.setPixelSize(typeSize(h, proportions.buttonType));
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        buttons_[i]->setFont(buttonFont);
        const int row = int(i) / columns;
        const int column = int(i) % columns;
        buttons_[i]->setGeometry(left + column * (buttonWidth + gap), buttonsTop + row * (buttonHeight + gap),
                                 buttonWidth, buttonHeight);
    }

    // The status's type: as large as its widest lines allow, whatever the lesson shows.
    QFont statusFont = font();
    statusFont.setBold(true);
    const QStringList candidates = projectorStatusCandidates(tempos_, int(lessonTasks().size()));
    for (int size = typeSize(h, proportions.statusType); size >= proportions.minimumType; --size) {
        statusFont.setPixelSize(size);
        const QFontMetricsF metrics(statusFont);
        if (std::ranges::all_of(candidates, [&](const QString &line) { return metrics.horizontalAdvance(line) <= width; }))
            break;
    }
    status_->setFont(statusFont);
    status_->setGeometry(left, margin, width, status_->heightFor(status_->lineCount()));

    // The message takes what is left between the status and the buttons, in smaller type
    // where it is long.
    const int messageTop = status_->geometry().bottom() + gap;
    const int room = buttonsTop - gap - messageTop;
    QFont messageFont = font();
    for (int size = typeSize(h, proportions.messageType); size >= proportions.minimumType; --size) {
        messageFont.setPixelSize(size);
        message_->setFont(messageFont);
        if (message_->heightForWidth(width) <= room)
            break;
    }
    message_->setGeometry(left, messageTop, width, std::max(0, room));
}

void ProjectorWindow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        placeControls();
}

void ProjectorWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeControls();
}

void ProjectorWindow::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    // The board's squares and grid cover all of it; the background only around it.
    const QRect board = diagramBoard(diagramArea(), diagram_.shape).toAlignedRect();
    for (const QRect &part : event->region() - QRegion(board))
        painter.fillRect(part, toQColor(projectorPalette.background));
    Diagram shown = diagram_;
    if (isSquare(cursor_))
        shown.marks.push_back({cursor_, projectorPalette.cursor});
    // A rectangle at a time: under a clip of one rectangle the raster engine fills and blends
    // on its fast path, under a region of several it goes span by span.
    for (const QRect &part : event->region()) {
        painter.setClipRect(part);
        paintDiagram(painter, shown, diagramArea(), font(), QRegion(part));
    }
}

void ProjectorWindow::mousePressEvent(QMouseEvent *event)
{
    for (int n = 0; n < squareCount; ++n) {
        if (diagram_.shape.contains(n) && squareRect(n).contains(event->position())) {
            emit squareChosen(n);
            return;
        }
    }
    QWidget::mousePressEvent(event);
}

void ProjectorWindow::moveCursor(int files, int ranks)
{
    const int start = isSquare(cursor_) ? cursor_ : isSquare(diagram_.knight) ? diagram_.knight : 0;
    const int file = std::clamp(squareColumn(start) + files, 0, diagram_.shape.files - 1);
    const int rank = std::clamp(squareRow(start) + ranks, 0, diagram_.shape.ranks - 1);
    if (isSquare(cursor_))
        update(squareRect(cursor_).toAlignedRect());
    cursor_ = squareAt(rank, file);
    update(squareRect(cursor_).toAlignedRect());
}

void ProjectorWindow::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        emit leave();
        return;
    case Qt::Key_Left:
        moveCursor(-1, 0);
        return;
    case Qt::Key_Right:
        moveCursor(1, 0);
        return;
    case Qt::Key_Up:
        moveCursor(0, 1);
        return;
    case Qt::Key_Down:
        moveCursor(0, -1);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (isSquare(cursor_)) {
            emit squareChosen(cursor_);
            return;
        }
        break;
    default:
        break;
    }
    QWidget::keyPressEvent(event);
}

void ProjectorWindow::closeEvent(QCloseEvent *event)
{
    // Closed by the window manager: the view is left as by Esc, the program goes on.
    event->ignore();
    emit leave();
}

} // namespace knight
