// Game files ("*.dam", "last32.dam"): whatever the bytes, the reader either
// refuses them or gives a game that can be installed, replayed both ways
// and written back to the same bytes it decodes from.

#include <cstdint>
#include <span>

#include "files/game_file.h"
#include "fuzz_support.h"
#include "game/core.h"
#include "game/navigation.h"

using fuzzsupport::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    files::GameFile file;
    if (files::decodeGameFile(bytes, file) != files::FileError::None) return 0;

    // What the reader accepted is written back and read again unchanged.
    const std::vector<std::uint8_t> encoded = files::encodeGameFile(file.record, file.sideToMove, file.settings);
    files::GameFile again;
    check(files::decodeGameFile(encoded, again) == files::FileError::None, "a written game file reads back");
    check(files::encodeGameFile(again.record, again.sideToMove, again.settings) == encoded,
          "reading and writing a game file is stable");

    // Opened as the window opens it (as a problem on odd sizes of the
    // first byte), then walked to the end and back.
    static game::Core* core = new game::Core;
    files::installGameFile(*core, file, (data[0] & 1) != 0);
    check(core->game.record.plyCounter <= core->game.record.recordLength, "the ply shown lies within the game");
    game::goToEnd(*core);
    game::goToStart(*core);
    for (int i = 0; i < 4; ++i) game::stepForward(*core);
    game::takeBack(*core);
    return 0;
}
