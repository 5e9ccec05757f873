// Writes the default files the program ships: the resume file "last32.dam"
// (the starting position, French, level 5), the roll of players with the
// computer opponent alone, and the problems of "Problemes", each a game file
// holding its position plus a comments file (".damt") in French and English.
//
// usage: make_default_files OUTPUT_DIR PROBLEM_SOURCES...
// A problem source is text: a line "FEN: <position>", a line "Title: ...",
// then a "[fr]" section and an "[en]" section of free text (UTF-8).

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "files/game_file.h"
#include "files/text_export.h"
#include "game/navigation.h"
#include "players/roll.h"
#include "rules/fen.h"

namespace fs = std::filesystem;

namespace {

// The program's texts are single-byte Latin-1.
std::string toLatin1(const std::string& utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if ((c & 0xE0) == 0xC0 && i + 1 < utf8.size()) {
            const unsigned code = ((c & 0x1Fu) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu);
            out += code < 0x100 ? static_cast<char>(code) : '?';
            ++i;
        } else {
            out += '?';
            while (i + 1 < utf8.size() && (static_cast<unsigned char>(utf8[i + 1]) & 0xC0) == 0x80) ++i;
        }
    }
    return out;
}

bool fail(const std::string& what) {
    std::fprintf(stderr, "make_default_files: %s\n", what.c_str());
    return false;
}

bool writeProblem(const fs::path& source, const fs::path& folder) {
    std::ifstream in(source);
    if (!in) return fail("cannot read " + source.string());
    std::string line, fen, title, section;
    std::string fr, en;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind("FEN:", 0) == 0)
            fen = line.substr(4);
        else if (line.rfind("Title:", 0) == 0)
            title = line.substr(6);
        else if (line == "[fr]" || line == "[en]")
            section = line;
        else if (section == "[fr]")
            fr += line + "\r\n";
        else if (section == "[en]")
            en += line + "\r\n";
    }
    const rules::FenResult pos = rules::parseFen(fen);
    if (!pos.position) return fail(source.string() + ": " + pos.error);
    if (fr.empty() || en.empty()) return fail(source.string() + ": both a French and an English text are needed");

    game::Core core;
    core.game.whiteName = game::makeName("Blancs");
    core.game.blackName = game::makeName("Noirs");
    game::installPosition(core, pos.position->board, pos.position->side);
    const std::string name = source.stem().string();
    files::GameSettings settings;
    settings.language = 0;
    if (!files::saveGame(core, (folder / (name + ".dam")).string(), settings))
        return fail("cannot write " + name + ".dam");
    const std::size_t start = title.find_first_not_of(' ');
    const std::string heading = start == std::string::npos ? "" : title.substr(start) + "\r\n\r\n";
    const std::string comments = toLatin1(heading + "Français\r\n" + fr + "\r\nEnglish\r\n" + en);
    if (!files::writeTextFile((folder / (name + ".damt")).string(), comments))
        return fail("cannot write " + name + ".damt");
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_default_files OUTPUT_DIR PROBLEM_SOURCES...\n");
        return 2;
    }
    const fs::path out = argv[1];
    std::error_code ec;
    fs::create_directories(out / "Problemes", ec);

    game::Core core;
    game::installPosition(core, rules::startingPosition(), rules::White);
    files::GameSettings settings;  // level 5, 160 and 178, minutes 3
    settings.language = 0;         // French
    if (!files::saveGame(core, (out / "last32.dam").string(), settings)) {
        fail("cannot write last32.dam");
        return 1;
    }

    players::Roll roll;
    roll.names = {"Tavolex"};
    roll.ratings = {std::to_string(players::ComputerRating)};
    if (!players::saveRoll(out, roll)) {
        fail("cannot write the roll of players");
        return 1;
    }

    for (int i = 2; i < argc; ++i)
        if (!writeProblem(argv[i], out / "Problemes")) return 1;
    return 0;
}
