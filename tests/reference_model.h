// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A second, independent statement of the program's rules, written from how the program is
// meant to behave rather than from its code: the board is derived from a few facts (the walk,
// the shown tour, the gallop's step) instead of being painted square by square. It reads the
// catalogue's data but calls none of the program's procedures.

#include "board/colors.h"
#include "tours/stored_tours.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstdlib>
#include <optional>
#include <vector>

namespace knight::model {

enum class Mode { Walking, Shown, Galloping };

struct SquareState {
    QString caption;
    QString toolTip;
    Color color;

    friend bool operator==(const SquareState &, const SquareState &) = default;
};

class ReferenceModel
{
public:
    // Everything the program shows, square by square, a1 first.
    std::array<SquareState, 64> board() const
    {
        std::array<SquareState, 64> squares;
        for (int n = 0; n < 64; ++n)
            squares[std::size_t(n)] = square(n);
        return squares;
    }

    QStringList history() const
    {
        QStringList items;
        for (const int n : walk_)
            items.append(QString::number(n));
        return items;
    }

    int moveCount() const { return mode_ == Mode::Walking ? int(walk_.size()) : keptMoveCount_; }
    int problemIndex() const { return kind_; }
    Mode mode() const { return mode_; }
    int gallopStep() const { return step_; }
    bool timerRuns() const { return mode_ == Mode::Galloping; }
    std::optional<int> describedKind() const { return described_; }

    // Show, gallop, clear, take back.
    std::array<bool, 4> enabled() const
    {
        return {mode_ == Mode::Walking, mode_ == Mode::Shown, true, true};
    }

    void clickSquare(int n)
    {
        if (mode_ != Mode::Walking || onWalk(n))
            return;
        if (!walk_.empty() && !knightApart(walk_.back(), n))
            return;
        walk_.push_back(n);
    }

    void clickButton(int index)
    {
        if (index < 0 || index > 3 || !enabled()[std::size_t(index)])
            return;
        switch (index) {
        case 0:
            keptMoveCount_ = int(walk_.size());
            walk_.clear();
            mode_ = Mode::Shown;
            break;
        case 1:
            mode_ = Mode::Galloping;
            step_ = 0;
            break;
        case 2:
            clear();
            break;
        case 3:
            if (mode_ == Mode::Walking && walk_.size() >= 2)
                walk_.pop_back();
            break;
        }
    }

    void chooseKind(int kind)
    {
        clear();
        kind_ = kind;
        described_ = kind;
    }

    void tick()
    {
        if (mode_ != Mode::Galloping)
            return;
        if (++step_ == 65)
            clear();
    }

    static bool knightApart(int a, int b)
    {
        return std::abs(a / 8 - b / 8) * std::abs(a % 8 - b % 8) == 2;
    }

    // The step of square n in the tour of a kind, read from its table (top row first).
    static int tourNumber(int kind, int n)
    {
        return storedTours[std::size_t(kind)][std::size_t(7 - n / 8)][std::size_t(n % 8)];
    }

private:
    static Color chequer(int n) { return (n / 8 + n % 8) % 2 ? lightColor : darkColor; }

    bool onWalk(int n) const
    {
        for (const int square : walk_) {
            if (square == n)
                return true;
        }
        return false;
    }

    SquareState square(int n) const
    {
        if (mode_ != Mode::Walking) {
            const QString number = QString::number(tourNumber(kind_, n));
            // The start square is green from the click on "Галоп".
            const bool green = mode_ == Mode::Galloping && tourNumber(kind_, n) <= std::max(step_, 1);
            return {number, number, green ? reachableColor : chequer(n)};
        }
        for (std::size_t i = 0; i < walk_.size(); ++i) {
            if (walk_[i] == n)
                return {QString::number(i + 1), {}, visitedColor};
        }
        const bool hint = !walk_.empty() && knightApart(walk_.back(), n);
        return {{}, {}, hint ? reachableColor : chequer(n)};
    }

    void clear()
    {
        walk_.clear();
        mode_ = Mode::Walking;
        keptMoveCount_ = 0;
    }

    std::vector<int> walk_;
    Mode mode_ = Mode::Walking;
    int kind_ = 0;
    int step_ = 0;
    int keptMoveCount_ = 0;
    std::optional<int> described_; // no kind chosen yet: the introduction is shown
};

} // namespace knight::model
