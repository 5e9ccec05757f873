#include "game/record.h"

#include <algorithm>

namespace game {

PlayerName makeName(std::string_view text) {
    PlayerName n{};
    const std::size_t len = std::min<std::size_t>(text.size(), NameCapacity - 1);
    std::copy_n(text.begin(), len, n.begin());
    return n;
}

std::string nameText(const PlayerName& name) {
    const auto end = std::find(name.begin(), name.end(), '\0');
    return std::string(name.begin(), end);
}

}  // namespace game
