#pragma once
// A host whose clock the test sets, and which remembers what it was asked.

#include <string>
#include <vector>

#include "game/host.h"

namespace testsupport {

class FakeHost : public game::Host {
public:
    std::int64_t readClock() override { return clock; }
    void playSound(game::Sound s) override { sounds.push_back(s); }
    void showError(std::string_view text) override { errors.emplace_back(text); }

    std::int64_t clock = 1000;
    std::vector<game::Sound> sounds;
    std::vector<std::string> errors;
};

}  // namespace testsupport
