// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form/description_box.h"

#include "app/form/accessible_factory.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QMimeData>
#include <QScrollBar>
#include <QTextDocumentFragment>

#include <algorithm>

namespace knight {

namespace {

constexpr QChar breakOpportunity(u'\u200B');

QString withoutBreaks(QString text)
{
    return text.remove(breakOpportunity);
}

// Assistive technology reads and moves through the text as stored.
class DescriptionAccessible : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    explicit DescriptionAccessible(DescriptionBox *box)
        : QAccessibleWidget(box, QAccessible::EditableText)
    {
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = true;
        state.multiLine = true;
        return state;
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Value)
            return box()->description();
        return QAccessibleWidget::text(kind);
    }

    QString text(int startOffset, int endOffset) const override
    {
        return box()->description().mid(startOffset, endOffset - startOffset);
    }

    int characterCount() const override { return int(box()->description().size()); }

    int cursorPosition() const override { return box()->toTextOffset(box()->textCursor().position()); }

    void setCursorPosition(int position) override
    {
        QTextCursor cursor = box()->textCursor();
        cursor.setPosition(box()->toDocumentPosition(position));
        box()->setTextCursor(cursor);
    }

    int selectionCount() const override { return box()->textCursor().hasSelection() ? 1 : 0; }

    void selection(int index, int *startOffset, int *endOffset) const override
    {
        *startOffset = *endOffset = 0;
        const QTextCursor cursor = box()->textCursor();
        if (index == 0 && cursor.hasSelection()) {
            *startOffset = box()->toTextOffset(cursor.selectionStart());
            *endOffset = box()->toTextOffset(cursor.selectionEnd());
        }
    }

    void addSelection(int startOffset, int endOffset) override { setSelection(0, startOffset, endOffset); }
    void removeSelection(int) override { setCursorPosition(cursorPosition()); }

    void setSelection(int, int startOffset, int endOffset) override
    {
        QTextCursor cursor = box()->textCursor();
        cursor.setPosition(box()->toDocumentPosition(startOffset));
        cursor.setPosition(box()->toDocumentPosition(endOffset), QTextCursor::KeepAnchor);
        box()->setTextCursor(cursor);
    }

    QRect characterRect(int offset) const override
    {
        QTextCursor cursor = box()->textCursor();
        cursor.setPosition(box()->toDocumentPosition(offset));
        const QRect at = box()->cursorRect(cursor);
        return QRect(box()->viewport()->mapToGlobal(at.topLeft()), at.size());
    }

    int offsetAtPoint(const QPoint &point) const override
    {
        const QPoint local = box()->viewport()->mapFromGlobal(point);
        return box()->toTextOffset(box()->cursorForPosition(local).position());
    }

    void scrollToSubstring(int startIndex, int) override
    {
        QTextCursor cursor = box()->textCursor();
        cursor.setPosition(box()->toDocumentPosition(startIndex));
        box()->setTextCursor(cursor);
        box()->ensureCursorVisible();
    }

    QString attributes(int, int *startOffset, int *endOffset) const override
    {
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }

private:
    DescriptionBox *box() const { return static_cast<DescriptionBox *>(widget()); }
};

} // namespace

DescriptionBox::DescriptionBox(QWidget *parent)
    : QPlainTextEdit(parent)
{
    installAccessibleInterface<DescriptionBox, DescriptionAccessible>();
}

void DescriptionBox::setDescription(const QString &text)
{
    text_ = text;
    text_.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QString shown;
    shown.reserve(text_.size() + 256);
    inserted_.clear();
    for (qsizetype i = 0; i < text_.size(); ++i) {
        shown += text_.at(i);
        const bool listComma = text_.at(i) == u',' && i + 1 < text_.size() && !text_.at(i + 1).isSpace();
        if (listComma) {
            inserted_.push_back(int(shown.size()));
            shown += breakOpportunity;
        }
    }
    setPlainText(shown);
    verticalScrollBar()->setValue(0);
}

int DescriptionBox::toTextOffset(int documentPosition) const
{
    const auto before = std::lower_bound(inserted_.begin(), inserted_.end(), documentPosition);
    return documentPosition - int(before - inserted_.begin());
}

int DescriptionBox::toDocumentPosition(int textOffset) const
{
    int position = textOffset;
    for (const int at : inserted_) {
        if (at > position)
            break;
        ++position;
    }
    return position;
}

QMimeData *DescriptionBox::createMimeDataFromSelection() const
{
    auto *data = new QMimeData;
    data->setText(withoutBreaks(textCursor().selection().toPlainText()));
    return data;
}

} // namespace knight
