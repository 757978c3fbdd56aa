// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Random event sequences for comparing the program with the reference model: the events, a
// generator biased towards long walks, take-backs, shows and whole gallops, and a shrinker that
// finds a short sequence that still fails.

#include "board/squares.h"
#include "reference_model.h"

#include <QRandomGenerator>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace knight::model {

struct Event {
    enum Kind { Square, Button, Option, Tick, Shape } kind; // Shape: one of the offered boards
    int arg = 0;

    QString toString() const
    {
        switch (kind) {
        case Square:
            return QString(QChar(u'a' + arg % 8)) + QChar(u'1' + arg / 8);
        case Button:
            return QStringLiteral("button%1").arg(arg);
        case Option:
            return QStringLiteral("option%1").arg(arg);
        case Tick:
            return QStringLiteral("tick");
        case Shape:
            return QStringLiteral("board%1x%2").arg(offeredShapes[std::size_t(arg)].files).arg(offeredShapes[std::size_t(arg)].ranks);
        }
        return {};
    }
};

inline QString toString(const std::vector<Event> &events)
{
    QStringList parts;
    for (const Event &event : events)
        parts.append(event.toString());
    return parts.join(u' ');
}

inline void apply(ReferenceModel &model, const Event &event)
{
    switch (event.kind) {
    case Event::Square:
        model.clickSquare(event.arg);
        break;
    case Event::Button:
        model.clickButton(event.arg);
        break;
    case Event::Option:
        model.chooseKind(event.arg);
        break;
    case Event::Tick:
        model.tick();
        break;
    case Event::Shape:
        model.setShape(offeredShapes[std::size_t(event.arg)].files, offeredShapes[std::size_t(event.arg)].ranks);
        break;
    }
}

class EventGenerator
{
public:
    // With shapes, the board is now and then changed for another of those offered.
    explicit EventGenerator(quint64 seed, bool shapes = false)
        : random_(seed)
        , shapes_(shapes)
    {
    }

    Event next(const ReferenceModel &model)
    {
        const int roll = int(random_.bounded(100));
        switch (model.mode()) {
        case Mode::Galloping:
            if (roll < 90)
                return {Event::Tick};
            break;
        case Mode::Shown:
            if (roll < 50)
                return {Event::Button, 1};
            break;
        case Mode::Walking:
            // Some walks aim at a complete tour and seldom do anything else.
            if (model.moveCount() == 0)
                touring_ = random_.bounded(100) < 30;
            if (roll < (touring_ ? 98 : 75)) {
                if (const std::optional<int> n = nextMove(model))
                    return {Event::Square, *n};
            }
            if (roll < 85)
                return {Event::Button, 3};
            if (roll < 88)
                return {Event::Button, 0};
            break;
        }
        const int kind = int(random_.bounded(100));
        if (kind < 50)
            return {Event::Square, int(random_.bounded(64))};
        if (kind < 90)
            return {Event::Button, int(random_.bounded(4))};
        if (shapes_ && kind >= 95)
            return {Event::Shape, int(random_.bounded(int(offeredShapes.size())))};
        return {Event::Option, int(random_.bounded(13))};
    }

private:
    // A hint, half the time the one with the fewest onward moves, which often completes a tour.
    std::optional<int> nextMove(const ReferenceModel &model)
    {
        const auto board = model.board();
        const bool starting = model.moveCount() == 0;
        std::vector<int> hints;
        for (int n = 0; n < 64; ++n) {
            if ((starting && model.onBoard(n)) || board[std::size_t(n)].color == reachableColor)
                hints.push_back(n);
        }
        if (hints.empty())
            return std::nullopt;
        if (!touring_ && random_.bounded(2) == 0)
            return hints[random_.bounded(quint32(hints.size()))];
        const auto onward = [&board, &model](int from) {
            int count = 0;
            for (int n = 0; n < 64; ++n) {
                count += ReferenceModel::knightApart(from, n) && model.onBoard(n)
                         && board[std::size_t(n)].color != visitedColor && n != from;
            }
            return count;
        };
        int best = hints.front();
        for (const int n : hints) {
            if (onward(n) < onward(best))
                best = n;
        }
        return best;
    }

    QRandomGenerator random_;
    bool shapes_;
    bool touring_ = false;
};

// Removes events while the sequence still fails, first in large chunks, then one by one.
inline std::vector<Event> shrink(std::vector<Event> events,
                                 const std::function<bool(const std::vector<Event> &)> &fails)
{
    for (std::size_t chunk = events.size() / 2; chunk >= 1; chunk /= 2) {
        bool removed = true;
        while (removed) {
            removed = false;
            for (std::size_t start = 0; start + chunk <= events.size(); start += chunk) {
                std::vector<Event> shorter = events;
                shorter.erase(shorter.begin() + std::ptrdiff_t(start),
                              shorter.begin() + std::ptrdiff_t(start + chunk));
                if (fails(shorter)) {
                    events = std::move(shorter);
                    removed = true;
                    break;
                }
            }
        }
    }
    return events;
}

// How many events a run drives, and from which seed: the environment may say so.
inline qint64 eventCount(qint64 fallback)
{
    bool ok = false;
    const qint64 count = qEnvironmentVariable("KNIGHT_RANDOM_EVENTS").toLongLong(&ok);
    return ok && count > 0 ? count : fallback;
}

inline quint64 eventSeed()
{
    bool ok = false;
    const quint64 seed = qEnvironmentVariable("KNIGHT_RANDOM_SEED").toULongLong(&ok);
    return ok ? seed : 20261208;
}

} // namespace knight::model
