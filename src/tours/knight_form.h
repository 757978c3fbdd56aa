// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tours/catalogue.h"
#include "walk/walk.h"

#include <QString>

namespace knight {

// Everything the window's handlers read and write, without a widget: the walk, the selected
// tour kind, the gallop and the visible text box. The window routes its events to the
// handlers below and mirrors this state into its widgets.
class KnightForm : public Walk
{
public:
    KnightForm();

    int problemIndex() const { return problemIndex_; }
    int gallopStep() const { return gallopStep_; }
    const QString &text() const { return text1_; }
    // Raised whenever the text box's text is written, so that a view knows to reload it.
    int textRevision() const { return textRevision_; }

    void Form_Load();
    void Command1_Click(int index);
    void Option1_Click(int index);
    void Timer1_Timer();

    void showSelectedTour();

    // Writes the text box again in the language now in use: the introduction, or the
    // description last chosen.
    void retranslateText();

    // The gallop at the teacher's pace: paused and resumed, stepped by hand while paused
    // (forward past the last square ends it as a tick would; back takes the newest step's
    // colour away), and its pace, a step every so many milliseconds.
    void pauseGallop(bool paused);
    void stepGallop();
    void stepGallopBack();
    void setGallopInterval(int milliseconds);

    // A pupil's walk is on the board: no tour shown, no gallop.
    bool walking() const { return isEnabled(Command::Show) && !gallopOn(); }

    // What is on the board in move order: the walk, or the shown (or galloping) tour whole.
    std::vector<int> squaresOnBoard() const;

    // The tour that "Покажи" shows and the gallop follows, as list items (item n: the step of
    // square n): the chosen kind's stored tour on 8 x 8; on another board the one found when
    // it was last shown, from the walk's first square when a tour starts there.
    const QStringList &tourItems() const;

private:
    void showTour();
    void startGallop();
    void setText(const QString &text);

    int problemIndex_ = 0;
    int gallopStep_ = 0;
    QString text1_;
    int textRevision_ = 0;
    int describedKind_ = -1; // the kind whose description the text box shows; -1: the introduction
    QStringList foundTour_;  // on a board other than 8 x 8
};

} // namespace knight
