// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <array>

class QMenu;

namespace knight {

class ChoiceMenu;
class FormView;

// The gallop at the teacher's pace: pause and resume, a step forward or back by hand while
// paused, the pace of the steps, and each step said to the screen reader. Untouched, the
// gallop keeps its designed two seconds a step.
class GallopControl : public QObject
{
    Q_OBJECT

public:
    static constexpr std::array<int, 5> tempos{500, 1000, 2000, 3000, 5000}; // milliseconds a step
    static constexpr int designedTempo = 2000;

    GallopControl(FormView &view, QWidget *window);

    void togglePause();
    void stepForward();
    void stepBack();
    // The next pace in the list, after the slowest the quickest.
    void nextTempo();
    void setTempo(int milliseconds);
    int tempo() const { return tempo_; }
    // The submenu of the paces, made when the context menu is first built.
    QMenu *tempoMenu();

    // After every change of the form: the pause's check mark follows it.
    void followForm();
    // After a step, by the timer or by hand.
    void announceStep();
    void restorePreferences();
    // The paces' names in the language in use.
    void retranslate();

signals:
    void tempoChanged();

private:
    FormView &view_;
    QWidget *window_;
    int tempo_ = designedTempo;
    ChoiceMenu *tempoMenu_ = nullptr;
};

} // namespace knight
