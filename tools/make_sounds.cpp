// make_sounds: the game's three short sounds, synthesised.
//
//   make_sounds FOLDER   writes "son.wav" (a click-like beep after a move),
//                        "gagne.wav" (a rising pair of notes) and "Perdu.wav"
//                        (a falling pair) as 16-bit mono PCM at 22050 Hz.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "files/bytes.h"

namespace {

constexpr int Rate = 22050;

struct Note {
    double hertz;
    double seconds;
};

std::vector<std::uint8_t> wave(const std::vector<Note>& notes) {
    std::vector<std::int16_t> samples;
    for (const Note& n : notes) {
        const int count = static_cast<int>(n.seconds * Rate);
        for (int i = 0; i < count; ++i) {
            // A short fade in and out keeps the notes from clicking.
            const double edge = std::min(1.0, std::min(i, count - 1 - i) / (0.005 * Rate));
            const double v = std::sin(2 * 3.14159265358979 * n.hertz * i / Rate) * edge * 0.4;
            samples.push_back(static_cast<std::int16_t>(v * 32767));
        }
    }
    files::ByteWriter w;
    const auto text = [&w](const char* s) {
        for (int i = 0; i < 4; ++i) w.u8(static_cast<std::uint8_t>(s[i]));
    };
    const std::int32_t dataBytes = static_cast<std::int32_t>(samples.size() * 2);
    text("RIFF");
    w.i32(36 + dataBytes);
    text("WAVE");
    text("fmt ");
    w.i32(16);
    w.u16(1);          // PCM
    w.u16(1);          // mono
    w.i32(Rate);
    w.i32(Rate * 2);   // bytes per second
    w.u16(2);          // bytes per frame
    w.u16(16);         // bits per sample
    text("data");
    w.i32(dataBytes);
    for (std::int16_t s : samples) w.i16(s);
    return w.data();
}

bool write(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes) {
    return files::writeFileAtomically(file.string(), bytes);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_sounds FOLDER\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    const bool ok = write(folder / "son.wav", wave({{880, 0.06}})) &&
                    write(folder / "gagne.wav", wave({{523, 0.15}, {659, 0.15}, {784, 0.3}})) &&
                    write(folder / "Perdu.wav", wave({{392, 0.2}, {311, 0.2}, {262, 0.35}}));
    if (!ok) {
        std::fprintf(stderr, "make_sounds: cannot write into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
