// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form/square_label.h"

#include "app/form/accessible_factory.h"
#include "app/form/controls.h"
#include "picture/qt_color.h"
#include "picture/diagram.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHash>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace knight {

namespace {

// Assistive technology sees a square as a button that one can press, named when asked: a
// name kept up to date on every change would cost each repaint of the board.
class SquareAccessible : public QAccessibleWidget
{
public:
    explicit SquareAccessible(SquareLabel *square)
        : QAccessibleWidget(square, QAccessible::Button)
    {
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name)
            return square()->accessibleSquareName();
        return QAccessibleWidget::text(kind);
    }

    QStringList actionNames() const override
    {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString &actionName) override
    {
        if (actionName == pressAction())
            square()->press();
        else
            QAccessibleWidget::doAction(actionName);
    }

private:
    SquareLabel *square() const { return static_cast<SquareLabel *>(widget()); }
};

} // namespace

SquareLabel::SquareLabel(int n, QWidget *parent)
    : QWidget(parent)
    , n_(n)
{
    installAccessibleInterface<SquareLabel, SquareAccessible>();
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Clicking the board takes the focus from an option, whose arrow keys would change the tour.
    setFocusPolicy(isSquare(n) ? Qt::ClickFocus : Qt::NoFocus);
}

// The spare element is no square and has no name.
QString SquareLabel::accessibleSquareName() const
{
    QString name = spokenSquareName(n_, caption_, condition_);
    if (clue_ > 0 && caption_.isEmpty())
        name += tr(", дадено число %1").arg(clue_);
    if (startShown_)
        name += tr(", начало на задачата");
    return count_ < 0 ? name : name + tr(", продължения: %1").arg(count_);
}

void SquareLabel::setCondition(SquareCondition condition)
{
    if (condition_ != condition) {
        if (condition_ == SquareCondition::Knight || condition == SquareCondition::Knight)
            update();
        condition_ = condition;
        announceNameChange();
    }
}

void SquareLabel::announceNameChange()
{
    if (QAccessible::isActive()) {
        QAccessibleEvent event(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}

void SquareLabel::setCursorShown(bool shown)
{
    if (cursorShown_ != shown) {
        cursorShown_ = shown;
        update();
    }
}

void SquareLabel::showSquare(const Square &square)
{
    const QColor color = toQColor(square.backColor);
    if (square.caption != caption_) {
        caption_ = square.caption;
        captionText_ = layOut(caption_, font());
        announceNameChange();
        update();
    }
    if (color != backColor_) {
        backColor_ = color;
        update();
    }
    if (toolTip() != square.toolTip)
        setToolTip(square.toolTip);
    // Squares move only when the form is laid out again.
    if (const QRect place = layout_.place(square.rect); geometry() != place)
        setGeometry(place);
    place_ = square.rect;
    if (isHidden() == square.visible)
        setVisible(square.visible);
}

// A square shows one of few captions (its step numbers), so their layouts are kept, for each
// size of the font.
QStaticText SquareLabel::layOut(const QString &caption, const QFont &font)
{
    static QHash<QString, QStaticText> layouts;
    const QString key = caption + u'@' + QString::number(font.pointSizeF());
    auto found = layouts.find(key);
    if (found == layouts.end()) {
        QStaticText text(caption);
        text.setTextFormat(Qt::PlainText);
        text.prepare(QTransform(), font);
        found = layouts.insert(key, text);
    }
    return *found;
}

void SquareLabel::setFormLayout(const controls::FormLayout &layout)
{
    if (layout == layout_)
        return;
    layout_ = layout;
    if (place_.width > 0)
        setGeometry(layout_.place(place_));
    update();
}

void SquareLabel::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange && !caption_.isEmpty())
        captionText_ = layOut(caption_, font());
    QWidget::changeEvent(event);
}

void SquareLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    // A single-line border round the back colour; solid fills are the cheapest paint.
    const int line = layout_.pixels(1);
    painter.fillRect(rect(), Qt::black);
    painter.fillRect(rect().adjusted(line, line, -line, -line), backColor_);
    if (!caption_.isEmpty()) {
        painter.setPen(palette().color(QPalette::WindowText));
        const QSizeF size = captionText_.size();
        painter.drawStaticText(QPointF((width() - size.width()) / 2, (height() - size.height()) / 2),
                               captionText_);
    } else if (clue_ > 0) {
        paintClue(painter);
    }
    if (condition_ == SquareCondition::Knight)
        paintKnightMark(painter, QRectF(rect()));
    if (startShown_)
        paintStartMark(painter, QRectF(rect()));
    if (count_ >= 0) {
        // Small, in the corner away from the number, over the square's own colour.
        QFont small = font();
        small.setPointSizeF(font().pointSizeF() * 0.5);
        painter.setFont(small);
        painter.setPen(palette().color(QPalette::WindowText));
        const int margin = layout_.pixels(3);
        painter.drawText(rect().adjusted(margin, margin - 1, -margin, -margin), Qt::AlignTop | Qt::AlignRight,
                         QString::number(count_));
    }
    const auto frame = [this, &painter](int designedInset, int designedThickness, Color color) {
        const int inset = layout_.pixels(designedInset);
        paintFrame(painter, QRectF(rect().adjusted(inset, inset, -inset, -inset)), layout_.pixels(designedThickness),
                   toQColor(color));
    };
    if (hintShown_)
        frame(controls::hintInset, controls::hintThickness, controls::hintColor);
    if (isCursorShown())
        frame(controls::cursorInset, controls::cursorThickness, controls::cursorColor);
}

void SquareLabel::setCount(int count)
{
    if (count_ != count) {
        count_ = count;
        announceNameChange();
        update();
    }
}

void SquareLabel::setClue(int number)
{
    if (clue_ != number) {
        clue_ = number;
        announceNameChange();
        update();
    }
}

namespace {

// The relative luminance of a colour, as contrast ratios are reckoned.
double luminance(const QColor &colour)
{
    const auto linear = [](double c) { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) + 0.0722 * linear(colour.blueF());
}

double contrast(const QColor &a, const QColor &b)
{
    const double one = luminance(a);
    const double other = luminance(b);
    return (std::max(one, other) + 0.05) / (std::min(one, other) + 0.05);
}

} // namespace

// Given, not walked: italic inside a ring, in navy or white, whichever reads better on the
// square's colour.
void SquareLabel::paintClue(QPainter &painter) const
{
    const QColor navy(0, 0, 139);
    const QColor white(Qt::white);
    const QColor ink = contrast(navy, backColor_) >= contrast(white, backColor_) ? navy : white;
    QFont italic = font();
    italic.setItalic(true);
    painter.setFont(italic);
    painter.setPen(QPen(ink, layout_.pixels(1)));
    painter.setRenderHint(QPainter::Antialiasing);
    const double inset = width() * 0.12;
    painter.drawEllipse(QRectF(rect()).adjusted(inset, inset, -inset, -inset));
    painter.drawText(rect(), Qt::AlignCenter, QString::number(clue_));
}

void SquareLabel::setStartShown(bool shown)
{
    if (startShown_ != shown) {
        startShown_ = shown;
        update();
        announceNameChange();
    }
}

void SquareLabel::setHintShown(bool shown)
{
    if (hintShown_ != shown) {
        hintShown_ = shown;
        update();
    }
}

// A click is a press and a release of the left button on the same square; a quick second
// click arrives as a double-click, which Qt turns into a press as well.
void SquareLabel::mousePressEvent(QMouseEvent *event)
{
    setCursorShown(false); // the mouse needs no cursor
    pressed_ = event->button() == Qt::LeftButton;
}

void SquareLabel::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = pressed_ && event->button() == Qt::LeftButton
                       && rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click)
        emit clicked();
}

void SquareLabel::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!event->isAutoRepeat())
            press();
        break;
    default:
        // Arrows and typed squares are the board's, handled by the window.
        event->ignore();
    }
}

void SquareLabel::focusInEvent(QFocusEvent *)
{
    if (cursorShown_)
        update();
}

void SquareLabel::focusOutEvent(QFocusEvent *)
{
    if (cursorShown_)
        update();
}

} // namespace knight
