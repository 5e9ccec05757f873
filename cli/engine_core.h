#pragma once
// What tavolex-cli's engine commands share: a host on the real clock, a core
// ready to search, positions and moves played on it, and the search itself.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string_view>

#include "game/core.h"
#include "rules/fen.h"

namespace cli {

// A host on the real clock. What the search shows goes to `onThinking`.
class ClockHost : public game::Host {
public:
    std::int64_t readClock() override { return readMilliseconds() / 1000; }
    std::int64_t readMilliseconds() override {
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - m_start)
            .count();
    }
    void showError(std::string_view text) override;
    void showThinking(const engine::SearchStats& st) override {
        if (onThinking) onThinking(st);
    }

    std::function<void(const engine::SearchStats&)> onThinking;

private:
    std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
};

// A core ready to search: parameters, keys, tables. `params` empty means
// Parametres/defaut.par of the program folder.
bool setUpCore(game::Core& core, game::Host& host, const std::filesystem::path& programDir,
               const std::filesystem::path& params);
void setPosition(game::Core& core, const rules::Board& board, rules::Side side);
// Runs the search for the side to move within engine.limits, on this
// thread; the move to play, if any.
std::optional<rules::Move> think(game::Core& core);

// A whole number in [low, high], digits only.
std::optional<long long> parseNumber(std::string_view text, long long low, long long high);
// Seconds with an optional fraction ("0.25"), as milliseconds, above 0.
std::optional<long long> parseSeconds(std::string_view text);

}  // namespace cli
