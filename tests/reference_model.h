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

#include <algorithm>
#include <array>
#include <cstdlib>
#include <map>
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

    // A board of files x ranks in the corner of the 8 x 8 grid, a1 in its corner: the walk
    // goes, as a clearing takes it.
    void setShape(int files, int ranks)
    {
        if (files == files_ && ranks == ranks_)
            return;
        clear();
        files_ = files;
        ranks_ = ranks;
    }

    bool onBoard(int n) const { return n >= 0 && n < 64 && n % 8 < files_ && n / 8 < ranks_; }
    bool designedBoard() const { return files_ == 8 && ranks_ == 8; }
    // On another board, the tour a show found waits to be checked and taken.
    bool wantsTour() const { return mode_ != Mode::Walking && !designedBoard() && tour_.empty(); }

    // The program's tour of a board other than 8 x 8, taken only if it is one: every square
    // once, a knight's move apart, starting where the walk started when a tour can start
    // there, else on the first square that one can.
    bool takeTour(const QStringList &items)
    {
        std::vector<int> order(std::size_t(files_ * ranks_), -1);
        for (int n = 0; n < 64; ++n) {
            const int step = items.value(n).toInt();
            if (!onBoard(n) ? !items.value(n).isEmpty() : step < 1 || step > int(order.size()) || order[std::size_t(step - 1)] >= 0)
                return false;
            if (onBoard(n))
                order[std::size_t(step - 1)] = n;
        }
        for (std::size_t i = 1; i < order.size(); ++i) {
            if (!knightApart(order[i - 1], order[i]))
                return false;
        }
        int start = onBoard(shownFrom_) && tourStarts(shownFrom_) ? shownFrom_ : -1;
        for (int n = 0; n < 64 && start < 0; ++n) {
            if (onBoard(n) && tourStarts(n))
                start = n;
        }
        if (order.front() != start)
            return false;
        tour_ = items;
        return true;
    }

    void clickSquare(int n)
    {
        if (mode_ != Mode::Walking || !onBoard(n) || onWalk(n))
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
            shownFrom_ = walk_.empty() ? -1 : walk_.front();
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

    // The stored tours are 8 x 8 tours: on another board they cannot be chosen.
    void chooseKind(int kind)
    {
        if (!designedBoard())
            return;
        clear();
        kind_ = kind;
        described_ = kind;
    }

    void tick()
    {
        if (mode_ != Mode::Galloping)
            return;
        if (++step_ == files_ * ranks_ + 1)
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

    // Whether an open tour of the board starts on square n: a search of its own, the squares
    // with the fewest onward moves first; a walk that alternates colours cannot start on the
    // colour that has fewer squares.
    bool tourStarts(int n) const
    {
        static std::map<std::array<int, 3>, bool> known;
        const auto [found, added] = known.try_emplace({files_, ranks_, n}, false);
        if (!added)
            return found->second;
        int ofColour = 0;
        for (int m = 0; m < 64; ++m)
            ofColour += onBoard(m) && chequer(m) == chequer(n);
        std::vector<bool> visited(64, false);
        visited[std::size_t(n)] = true;
        found->second = 2 * ofColour >= files_ * ranks_ && extends(n, 1, visited);
        return found->second;
    }

    bool extends(int from, int length, std::vector<bool> &visited) const
    {
        if (length == files_ * ranks_)
            return true;
        std::vector<std::pair<int, int>> next; // onward moves, square
        for (int n = 0; n < 64; ++n) {
            if (onBoard(n) && !visited[std::size_t(n)] && knightApart(from, n)) {
                int onward = 0;
                for (int m = 0; m < 64; ++m)
                    onward += onBoard(m) && !visited[std::size_t(m)] && knightApart(n, m);
                next.emplace_back(onward, n);
            }
        }
        std::sort(next.begin(), next.end());
        for (const auto &[onward, n] : next) {
            visited[std::size_t(n)] = true;
            if (extends(n, length + 1, visited))
                return true;
            visited[std::size_t(n)] = false;
        }
        return false;
    }

    int stepOf(int n) const { return designedBoard() ? tourNumber(kind_, n) : tour_.value(n).toInt(); }

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
        if (!onBoard(n))
            return {{}, {}, chequer(n)};
        if (mode_ != Mode::Walking) {
            const QString number = QString::number(stepOf(n));
            // The start square is green from the click on "Галоп".
            const bool green = mode_ == Mode::Galloping && stepOf(n) <= std::max(step_, 1);
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
        tour_.clear();
    }

    std::vector<int> walk_;
    Mode mode_ = Mode::Walking;
    int kind_ = 0;
    int step_ = 0;
    int keptMoveCount_ = 0;
    std::optional<int> described_; // no kind chosen yet: the introduction is shown
    int files_ = 8;
    int ranks_ = 8;
    int shownFrom_ = -1;  // the first square of the walk a show took off
    QStringList tour_;    // on another board, the shown tour once taken
};

} // namespace knight::model
