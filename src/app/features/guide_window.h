// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "language/language.h"

#include <QDialog>

class QTextBrowser;

namespace knight {

// The guide for pupils and teachers, the same text the project documents, in a small
// window of its own beside the board.
class GuideWindow : public QDialog
{
    Q_OBJECT

public:
    explicit GuideWindow(QWidget *parent);

    QTextBrowser *browser() const { return browser_; }

    // The guide as the project keeps it, in Markdown, in one language.
    static QString guideMarkdown(Language language = languageInUse());
    // The guide and its title in the language in use.
    void retranslate();
    // The guide grows with the form for the back row, its size and its text, never past the
    // screen; at 1 it is its designed 560 x 520.
    void setScale(double scale);

private:
    QTextBrowser *browser_ = nullptr;
    double basePointSize_ = 0;
};

} // namespace knight
