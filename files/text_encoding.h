#pragma once
// Names between the encodings the program meets: PDN is UTF-8, our own text
// layout and the game file hold single-byte Latin-1 names of at most 19
// characters, and files of other programs are sometimes either.

#include <string>
#include <string_view>

#include "game/record.h"

namespace files {

bool isValidUtf8(std::string_view text);
std::string utf8FromLatin1(std::string_view latin1);
// A name read from a file as UTF-8: kept when it is valid UTF-8, otherwise
// taken as Latin-1 (older files of other programs).
std::string decodeName(std::string_view bytes);
// The game's name field: Latin-1, at most 19 characters. Characters Latin-1
// lacks become '?', so the loss shows.
game::PlayerName nameFromUtf8(std::string_view utf8);
// At most `maxBytes` bytes of UTF-8 text, cut before a character that would
// not fit whole.
std::string utf8Prefix(std::string_view utf8, std::size_t maxBytes);

}  // namespace files
