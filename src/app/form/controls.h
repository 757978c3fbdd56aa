// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "board/board.h"
#include "tours/stored_tours.h"
#include "walk/walk.h"

#include <QRect>

#include <algorithm>
#include <array>
#include <string_view>

namespace knight::controls {

// The window and its controls as designed: positions and sizes in twips, captions as UTF-8 in
// Bulgarian (other languages look them up in the "Controls" context).

struct FontFace {
    std::string_view family;
    double pointSize;
};

struct ControlEntry {
    TwipsRect rect;
    std::string_view caption;
    Color backColor;
    int tabIndex; // -1: takes no focus
};

inline constexpr int twipsPerPixel = 15; // at 96 dots per inch

inline constexpr int formWidth = 7020;
inline constexpr int formHeight = 6945;
inline constexpr Color formBackColor{192, 192, 255};
inline constexpr std::string_view formCaption =
    QT_TRANSLATE_NOOP("Controls", "www.kon-obikolka.example Физическо възпитание - шахмат");
inline constexpr FontFace formFont{"Times New Roman", 12.0};
inline constexpr FontFace squareFont{"Times New Roman", 14.25};

inline constexpr ControlEntry label1{
    {840, 0, 5175, 375}, QT_TRANSLATE_NOOP("Controls", "Физическо възпитание - кон на шахматна дъска"), {255, 192, 128}, -1};

inline constexpr ControlEntry label2{templateSquareRect, "", templateSquareColor, -1};

inline constexpr std::array<ControlEntry, commandCount> command1{{
    {{5400, 480, 1455, 375}, QT_TRANSLATE_NOOP("Controls", "Покажи"), {128, 255, 128}, 3},
    {{5400, 840, 1455, 375}, QT_TRANSLATE_NOOP("Controls", "Галоп"), {0, 192, 0}, 6},
    {{5400, 1200, 1455, 375}, QT_TRANSLATE_NOOP("Controls", "Чисти"), {192, 64, 0}, 7},
    {{5400, 1560, 1455, 375}, QT_TRANSLATE_NOOP("Controls", "Ход назад"), {255, 0, 255}, 9},
}};

inline constexpr Color disabledTextColor{128, 128, 128};

inline constexpr ControlEntry frame1{{5160, 1920, 1695, 2895}, QT_TRANSLATE_NOOP("Controls", "Вид обиколка"), formBackColor, -1};

// Inside Frame1, measured from the frame's top-left corner.
inline constexpr Color optionBackColor{128, 128, 255};
inline constexpr std::array<ControlEntry, tourKindCount> option1{{
    {{120, 350, 615, 350}, tourKindCaptions[0], optionBackColor, 13},
    {{960, 350, 615, 350}, tourKindCaptions[1], optionBackColor, 14},
    {{120, 700, 615, 350}, tourKindCaptions[2], optionBackColor, 15},
    {{960, 700, 615, 350}, tourKindCaptions[3], optionBackColor, 16},
    {{120, 1050, 615, 350}, tourKindCaptions[4], optionBackColor, 24},
    {{960, 1050, 615, 350}, tourKindCaptions[5], optionBackColor, 27},
    {{120, 1400, 615, 350}, tourKindCaptions[6], optionBackColor, 28},
    {{960, 1400, 615, 350}, tourKindCaptions[7], optionBackColor, 33},
    {{120, 1750, 615, 350}, tourKindCaptions[8], optionBackColor, 34},
    {{960, 1750, 615, 350}, tourKindCaptions[9], optionBackColor, 35},
    {{120, 2100, 615, 350}, tourKindCaptions[10], optionBackColor, 36},
    {{960, 2100, 615, 350}, tourKindCaptions[11], optionBackColor, 37},
    {{480, 2450, 615, 350}, tourKindCaptions[12], optionBackColor, 47},
}};

// The keyboard cursor on the board: a frame inside the square, in a colour that stands out
// from all four square colours.
inline constexpr Color cursorColor{255, 0, 255};
inline constexpr int cursorInset = 3;
inline constexpr int cursorThickness = 2;

// The assistant's hint: a thicker yellow frame just inside the border, for a moment.
inline constexpr Color hintColor{255, 255, 0};
inline constexpr int hintInset = 1;
inline constexpr int hintThickness = 3;
inline constexpr int hintMilliseconds = 2000;

// The assistant's messages: over the top of the text box, until the next action.
inline constexpr TwipsRect messageRect{120, 4800, 6735, 0}; // height from the text
inline constexpr Color messageBackColor{255, 255, 225};

// The back colour of the text box is the platform's own.
inline constexpr ControlEntry text1{{120, 4800, 6735, 2055}, "", {}, 0};

// The one conversion from twips to device-independent pixels, rounded to the nearest, at a
// scale of the designed size (1 as designed; zoomed or in full screen more).
constexpr int twipsToPixels(int twips, double scale = 1)
{
    return int(twips * scale / twipsPerPixel + 0.5);
}

constexpr QRect pixelRect(TwipsRect rect, double scale = 1)
{
    return {twipsToPixels(rect.left, scale), twipsToPixels(rect.top, scale), twipsToPixels(rect.width, scale),
            twipsToPixels(rect.height, scale)};
}

// The same rectangle with its edges rounded instead of its corner and size: rectangles that
// touch in twips touch in pixels.
constexpr QRect edgeRect(TwipsRect rect, double scale)
{
    const int left = twipsToPixels(rect.left, scale);
    const int top = twipsToPixels(rect.top, scale);
    return {left, top, twipsToPixels(rect.left + rect.width, scale) - left,
            twipsToPixels(rect.top + rect.height, scale) - top};
}

// Where the form stands in its window: its scale and the corner of the designed form (away
// from the window's corner only in full screen, where the form is centred).
struct FormLayout {
    double scale = 1;
    QPoint origin;

    QRect place(TwipsRect rect) const { return pixelRect(rect, scale).translated(origin); }
    // A length in pixels that is `pixels` at the designed size, never less than one.
    int pixels(double pixels) const { return std::max(1, int(pixels * scale + 0.5)); }
    friend bool operator==(const FormLayout &, const FormLayout &) = default;
};

} // namespace knight::controls
