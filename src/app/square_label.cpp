// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/square_label.h"

#include "app/controls.h"
#include "app/qt_color.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHash>
#include <QMouseEvent>
#include <QPainter>

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
            return static_cast<const SquareLabel *>(widget())->accessibleSquareName();
        return QAccessibleWidget::text(kind);
    }
};

QAccessibleInterface *squareAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1StringView(SquareLabel::staticMetaObject.className()))
        return new SquareAccessible(static_cast<SquareLabel *>(object));
    return nullptr;
}

} // namespace

SquareLabel::SquareLabel(int n, QWidget *parent)
    : QWidget(parent)
    , n_(n)
{
    static const bool installed = [] {
        QAccessible::installFactory(squareAccessible);
        return true;
    }();
    Q_UNUSED(installed);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
}

// The spare element is no square and has no name.
QString SquareLabel::accessibleSquareName() const
{
    if (!isSquare(n_))
        return {};
    QString name = QStringLiteral("Поле ") + chessName(n_);
    if (!caption_.isEmpty())
        name += QStringLiteral(", ход ") + caption_;
    return name;
}

void SquareLabel::showSquare(const Square &square)
{
    const QColor color = toQColor(square.backColor);
    if (square.caption != caption_) {
        caption_ = square.caption;
        captionText_ = layOut(caption_, font());
        if (QAccessible::isActive()) {
            QAccessibleEvent event(this, QAccessible::NameChanged);
            QAccessible::updateAccessibility(&event);
        }
        update();
    }
    if (color != backColor_) {
        backColor_ = color;
        update();
    }
    if (toolTip() != square.toolTip)
        setToolTip(square.toolTip);
    // Squares never move; only creation places and shows them.
    if (const QRect place = controls::pixelRect(square.rect); geometry() != place)
        setGeometry(place);
    if (isHidden() == square.visible)
        setVisible(square.visible);
}

// A square shows one of few captions (its step numbers), so their layouts are kept.
QStaticText SquareLabel::layOut(const QString &caption, const QFont &font)
{
    static QHash<QString, QStaticText> layouts;
    auto found = layouts.find(caption);
    if (found == layouts.end()) {
        QStaticText text(caption);
        text.setTextFormat(Qt::PlainText);
        text.prepare(QTransform(), font);
        found = layouts.insert(caption, text);
    }
    return *found;
}

void SquareLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    // A single-line border round the back colour; solid fills are the cheapest paint.
    painter.fillRect(rect(), Qt::black);
    painter.fillRect(rect().adjusted(1, 1, -1, -1), backColor_);
    if (!caption_.isEmpty()) {
        painter.setPen(palette().color(QPalette::WindowText));
        const QSizeF size = captionText_.size();
        painter.drawStaticText(QPointF((width() - size.width()) / 2, (height() - size.height()) / 2),
                               captionText_);
    }
}

// A click is a press and a release of the left button on the same square; a quick second
// click arrives as a double-click, which Qt turns into a press as well.
void SquareLabel::mousePressEvent(QMouseEvent *event)
{
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

} // namespace knight
