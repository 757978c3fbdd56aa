// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "board/colors.h"
#include "picture/diagram.h"

#include <QStringList>

#include <array>
#include <span>
#include <vector>

namespace knight {

class KnightForm;

// The projector view's colours. Each text is drawn on a colour it can be read on from the back
// of a classroom (a contrast of at least 4.5 : 1), and each keeps the window's meaning:
// visited cyan, a possible move green, the knight red, the hint yellow.
struct ProjectorPalette {
    Color background;
    Color text;
    Color light;
    Color dark;
    Color visited;
    Color reachable;
    Color knight;
    Color hint;
    Color hintFrame;
    Color named;  // the frame of a square a verdict names
    Color cursor; // the keyboard's square
    Color button;
    Color buttonText;
    Color checkedButton;
    Color disabledButton;
    Color disabledText;
};

inline constexpr ProjectorPalette projectorPalette{
    .background = {255, 255, 255},
    .text = {0, 0, 0},
    .light = {240, 217, 181},
    .dark = {125, 78, 36},
    .visited = {0, 230, 240},
    .reachable = {40, 180, 40},
    .knight = {170, 0, 0},
    .hint = {255, 215, 0},
    .hintFrame = {0, 0, 0},
    .named = {200, 0, 200},
    .cursor = {0, 70, 200},
    .button = {25, 80, 160},
    .buttonText = {255, 255, 255},
    .checkedButton = {10, 40, 90},
    .disabledButton = {225, 225, 225},
    .disabledText = {90, 90, 90},
};

// Relative luminance and contrast ratio as WCAG 2 defines them (1 : 1 to 21 : 1).
double relativeLuminance(Color colour);
double contrastRatio(Color a, Color b);
// Black or white, whichever reads better on fill.
Color textOn(Color fill);

// What the view marks besides the window's colours.
struct ProjectorMarks {
    int hint = -1;           // the hinted square, until the next move
    std::vector<int> named;  // the squares the verdict on show names
    int start = -1;          // a task's start square, before its first move
};

// The window's diagram in the view's colours: each square's colour by its meaning, its number
// in the colour that reads best there, the knight as a figure (while galloping, on the step
// reached), the hint filled and framed, the named squares framed (the view frames its keyboard cursor).
Diagram projectorDiagram(Diagram window, const KnightForm &form, const ProjectorMarks &marks);

// The status lines: the move ("Ход 23 от 64") and the chosen tour, or the task on ("Задача 6",
// counted from 1; 0: none); during a gallop the chosen tour and the gallop's step with its pace
// or its pause.
QStringList projectorStatus(const KnightForm &form, int tempoMilliseconds, int task = 0);
// The widest lines of each kind the status can show at these paces and with this many tasks:
// the status's type is chosen once so that all of them fit, and keeps its size as the lesson
// goes on.
QStringList projectorStatusCandidates(std::span<const int> tempos, int tasks = 0);

} // namespace knight
