#pragma once
// The words of the hub protocol (version 2 of the draughts engines' Hub
// protocol, on our 8x8 board): lines of a command and name=value pairs,
// positions, moves, scores and the time a move may take.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "rules/fen.h"
#include "rules/movegen.h"

namespace cli::hub {

// "command name=value name="a value" flag": a flag has no value; a value in
// double quotes may hold blanks and '='.
struct Line {
    struct Arg {
        std::string name;
        std::string value;
        bool hasValue = false;
    };
    std::string command;
    std::vector<Arg> args;
    std::string error;  // what is malformed; empty when the line reads

    const Arg* find(std::string_view name) const;
};
Line parseLine(std::string_view text);

// A value as a line carries it: bare when it can be, else in double quotes.
std::string value(std::string_view text);

// "W" or "B", then one character per square 1..32: w b W B e.
std::optional<rules::Position> parsePosition(std::string_view text);
std::string positionText(const rules::Board& board, rules::Side side);

// "22-18"; a capture "26x17x22": from, to, then the taken squares in any order.
std::string moveText(const rules::Move& move);
// The legal move of `side` in the working board that the text names; a
// capture given by from and to alone must leave one position. Overwrites
// the root list.
std::optional<rules::Move> findMove(rules::RulesState& r, rules::Side side, std::string_view text);

// Seconds as the protocol writes them ("10", "0.5", "291.587"), 0 or more.
std::optional<double> parseSeconds(std::string_view text);

// What "level" last said of the engine's clock: the time left on it, the
// moves to make in it (0: all the rest of the game) and the increment added
// before each move, in seconds.
struct Clock {
    double time = 0;
    int moves = 0;
    double inc = 0;
};
// The milliseconds to spend on the next move: the clock shared over the
// moves still to make (thirty when the game's length is unknown), most of
// the increment on top, never more than a safe part of what is left.
std::int64_t moveBudgetMs(const Clock& clock);

// The score pair of an "info" line from a score in 1/200 of a man for the
// side to move: "score=0.25" in men; a forced result adds how many plies it
// takes, "score=159.95 win=9" or "score=-159.96 loss=8" (a bare "win" or
// "loss" when its length is not known).
std::string scoreText(int score);

}  // namespace cli::hub
