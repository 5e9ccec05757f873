#include "files/text_encoding.h"

namespace files {

namespace {

// The length of the UTF-8 sequence starting at text[i] and its code point,
// or 0 when the bytes there are not a well-formed sequence (overlong forms,
// surrogates and code points past U+10FFFF included).
std::size_t sequenceAt(std::string_view text, std::size_t i, char32_t& code) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char b0 = byte(i);
    if (b0 < 0x80) {
        code = b0;
        return 1;
    }
    std::size_t length = 0;
    char32_t min = 0;
    if ((b0 & 0xE0) == 0xC0) {
        length = 2;
        code = b0 & 0x1F;
        min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        length = 3;
        code = b0 & 0x0F;
        min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        length = 4;
        code = b0 & 0x07;
        min = 0x10000;
    } else {
        return 0;
    }
    if (i + length > text.size()) return 0;
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
        code = (code << 6) | (byte(i + k) & 0x3F);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    return length;
}

}  // namespace

bool isValidUtf8(std::string_view text) {
    char32_t code = 0;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = sequenceAt(text, i, code);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

std::string utf8FromLatin1(std::string_view latin1) {
    std::string out;
    for (char ch : latin1) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out += ch;
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string decodeName(std::string_view bytes) {
    return isValidUtf8(bytes) ? std::string(bytes) : utf8FromLatin1(bytes);
}

game::PlayerName nameFromUtf8(std::string_view utf8) {
    std::string latin1;
    char32_t code = 0;
    for (std::size_t i = 0; i < utf8.size() && latin1.size() < game::NameCapacity - 1;) {
        std::size_t n = sequenceAt(utf8, i, code);
        if (n == 0) {
            // Not UTF-8 after all: the byte stands for itself.
            code = static_cast<unsigned char>(utf8[i]);
            n = 1;
        }
        // Control characters have no place in a name either.
        latin1 += code < 0x20 || (code >= 0x7F && code < 0xA0) || code > 0xFF ? '?' : static_cast<char>(code);
        i += n;
    }
    return game::makeName(latin1);
}

std::string utf8Prefix(std::string_view utf8, std::size_t maxBytes) {
    if (utf8.size() <= maxBytes) return std::string(utf8);
    std::size_t cut = maxBytes;
    // Back over continuation bytes to the start of the character that does not fit.
    while (cut > 0 && (static_cast<unsigned char>(utf8[cut]) & 0xC0) == 0x80) --cut;
    return std::string(utf8.substr(0, cut));
}

}  // namespace files
