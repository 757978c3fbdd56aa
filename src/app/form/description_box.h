// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPlainTextEdit>

#include <vector>

namespace knight {

// The read-only text box. It breaks a run like "a1,b3,c5" only after a comma: the document it
// shows holds a zero-width space after each comma that no space follows. The text it gives away
// (a copy, assistive technology) is the text as stored, without them.
class DescriptionBox : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit DescriptionBox(QWidget *parent);

    // The text with its line breaks as the program keeps them (CR LF) or as shown (LF).
    void setDescription(const QString &text);
    QString description() const { return text_; }

    // Positions in the shown document and in the text as given away.
    int toTextOffset(int documentPosition) const;
    int toDocumentPosition(int textOffset) const;

protected:
    QMimeData *createMimeDataFromSelection() const override;

private:
    QString text_;              // with LF line ends, as the document has them
    std::vector<int> inserted_; // document positions of the zero-width spaces, ascending
};

} // namespace knight
