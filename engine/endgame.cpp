#include "engine/endgame.h"

#include <algorithm>
#include <system_error>

#include "files/bytes.h"
#include "files/checksum.h"
#include "files/program_folder.h"
#include "rules/square_sets.h"

namespace engine {

const std::array<EndgameTableInfo, EndgameTableCount> EndgameTableList = {{
    {"dod.bib", 0, 1, 0, 1, 1056},     {"pod.bib", 1, 0, 0, 1, 1056},     {"dop.bib", 0, 1, 1, 0, 1056},
    {"pop.bib", 1, 0, 1, 0, 1056},     {"ddod.bib", 0, 2, 0, 1, 15841},   {"dodd.bib", 0, 1, 0, 2, 15841},
    {"ddop.bib", 0, 2, 1, 0, 15841},   {"podd.bib", 1, 0, 0, 2, 15841},   {"pdod.bib", 1, 1, 0, 1, 33824},
    {"dopd.bib", 0, 1, 1, 1, 33824},   {"pdop.bib", 1, 1, 1, 0, 33824},   {"popd.bib", 1, 0, 1, 1, 33824},
    {"ppod.bib", 2, 0, 0, 1, 15841},   {"dopp.bib", 0, 1, 2, 0, 15841},   {"ppop.bib", 2, 0, 1, 0, 15841},
    {"popp.bib", 1, 0, 2, 0, 15841},   {"dddod.bib", 0, 3, 0, 1, 163215}, {"doddd.bib", 0, 1, 0, 3, 163215},
    {"pddod.bib", 1, 2, 0, 1, 523683}, {"dopdd.bib", 0, 1, 1, 2, 523683}, {"ppdod.bib", 2, 1, 0, 1, 523683},
    {"doppd.bib", 0, 1, 2, 1, 523683},
}};

namespace {

struct Pieces {
    int men = 0, kings = 0;
    std::array<int, 4> man{}, king{};  // squares, ascending
};

int findTable(const Pieces& mover, const Pieces& other) {
    for (int i = 0; i < EndgameTableCount; ++i) {
        const EndgameTableInfo& e = EndgameTableList[static_cast<std::size_t>(i)];
        if (e.moverMen == mover.men && e.moverKings == mover.kings && e.otherMen == other.men &&
            e.otherKings == other.kings)
            return i;
    }
    return -1;
}

}  // namespace

TableSlot tableSlot(const rules::Board& board, rules::Side side) {
    // Step 1. The material of each side, and whether the table holds men.
    int counts[2][2] = {{0, 0}, {0, 0}};  // [side][king]
    for (int s = 1; s <= rules::NumSquares; ++s) {
        const rules::PieceCode c = board[s];
        if (rules::isPiece(c)) ++counts[rules::sideIndex(rules::sideOf(c))][rules::isKing(c) ? 1 : 0];
    }
    const int own = rules::sideIndex(side);
    const int other = 1 - own;
    if (counts[own][0] + counts[own][1] + counts[other][0] + counts[other][1] > 4) return {};
    Pieces mover, opp;
    mover.men = counts[own][0];
    mover.kings = counts[own][1];
    opp.men = counts[other][0];
    opp.kings = counts[other][1];
    const int table = findTable(mover, opp);
    if (table < 0) return {};
    const bool turn = side == rules::Black && (mover.men + opp.men) > 0;

    // Step 2. The squares, turned half round for Black to move when men are
    // in the table, in ascending order.
    mover.men = mover.kings = opp.men = opp.kings = 0;
    for (int i = 1; i <= rules::NumSquares; ++i) {
        const int s = turn ? 33 - i : i;  // ascending in the numbering read
        const rules::PieceCode c = board[s];
        if (!rules::isPiece(c)) continue;
        Pieces& p = rules::sideOf(c) == side ? mover : opp;
        if (rules::isKing(c))
            p.king[p.kings++] = i;
        else
            p.man[p.men++] = i;
    }

    // Step 3. The offset for the table's kind.
    std::size_t offset = 0;
    const int moverPieces = mover.men + mover.kings, otherPieces = opp.men + opp.kings;
    auto lone = [](const Pieces& p) { return p.men ? p.man[0] : p.king[0]; };
    if (moverPieces == 1 && otherPieces == 1) {
        offset = static_cast<std::size_t>(lone(mover) * 32 + lone(opp));
    } else if (moverPieces + otherPieces == 3 &&
               (mover.men == 2 || mover.kings == 2 || opp.men == 2 || opp.kings == 2)) {
        const Pieces& pairSide = moverPieces == 2 ? mover : opp;
        const Pieces& loneSide = moverPieces == 2 ? opp : mover;
        const auto& pair = pairSide.men == 2 ? pairSide.man : pairSide.king;
        offset = static_cast<std::size_t>((lone(loneSide) - 1) * 496 + pairIndex(pair[0], pair[1]) - 1);
    } else if (moverPieces + otherPieces == 3) {
        // Three unlike pieces: mover's man, mover's king, other's man, other's king.
        int sq[3], n = 0;
        if (mover.men) sq[n++] = mover.man[0];
        if (mover.kings) sq[n++] = mover.king[0];
        if (opp.men) sq[n++] = opp.man[0];
        if (opp.kings) sq[n++] = opp.king[0];
        offset = static_cast<std::size_t>((sq[0] - 1) * 1024 + (sq[1] - 1) * 32 + sq[2] - 1);
    } else if (mover.kings == 3 || opp.kings == 3) {
        const Pieces& three = mover.kings == 3 ? mover : opp;
        const Pieces& single = mover.kings == 3 ? opp : mover;
        offset = static_cast<std::size_t>((single.king[0] - 1) * 4960 +
                                          tripleIndex(three.king[0], three.king[1], three.king[2]) - 1);
    } else {
        // A pair and one piece against a lone king.
        const Pieces& owner = moverPieces == 3 ? mover : opp;
        const Pieces& single = moverPieces == 3 ? opp : mover;
        const bool kingPair = owner.kings == 2;
        const auto& pair = kingPair ? owner.king : owner.man;
        const int s1 = kingPair ? owner.man[0] : owner.king[0];
        offset =
            static_cast<std::size_t>((single.king[0] - 1) * 16368 + (s1 - 1) * 496 + pairIndex(pair[0], pair[1]) - 1);
    }
    return {table, offset};
}

std::optional<std::int8_t> probeByte(const EndgameTables& t, const rules::Board& board, rules::Side side) {
    const TableSlot slot = tableSlot(board, side);
    if (slot.table < 0) return std::nullopt;
    const std::vector<std::int8_t>& table = t.tables[static_cast<std::size_t>(slot.table)];
    // Offsets always lie inside a table of its full size.
    if (table.size() != EndgameTableList[static_cast<std::size_t>(slot.table)].size) return std::nullopt;
    return table[slot.offset];
}

int valueForSideToMove(std::int8_t v, int ply) {
    // A quicker win scores higher, and so does a slower loss.
    if (v > 0) return 32000 - v - ply;
    if (v < 0) return -32000 - v + ply;
    return 0;
}

std::optional<int> probeEndgame(const EndgameTables& t, const rules::Board& board, rules::Side rootSide, int ply) {
    const rules::Side side = ply % 2 ? rootSide : rules::opposite(rootSide);
    const std::optional<std::int8_t> v = probeByte(t, board, side);
    if (!v) return std::nullopt;
    const int value = valueForSideToMove(*v, ply);
    return ply % 2 ? value : -value;
}

std::optional<int> TableDatabases::probe(const rules::Board& board, rules::Side sideToMove, int ply) {
    const std::optional<std::int8_t> v = probeByte(m_tables, board, sideToMove);
    if (!v) return std::nullopt;
    return valueForSideToMove(*v, ply);
}

bool TableDatabases::kingsAgainstMenWin(const rules::Board& board, rules::Side strong) {
    return kingsVersusMen(board, strong) == 30000;
}

std::vector<std::string> loadEndgameDatabases(EndgameTables& t, const std::filesystem::path& folder) {
    const std::optional<files::Manifest> manifest =
        files::readManifest(files::resolveInFolder(folder, EndgameManifestFile));
    t.manifestRead = manifest.has_value();
    std::vector<std::string> missing;
    for (int i = 0; i < EndgameTableCount; ++i) {
        const EndgameTableInfo& e = EndgameTableList[static_cast<std::size_t>(i)];
        std::vector<std::int8_t>& table = t.tables[static_cast<std::size_t>(i)];
        TableLoad& load = t.load[static_cast<std::size_t>(i)];
        table.clear();
        const std::filesystem::path path = files::resolveInFolder(folder, e.file);
        files::FileError error = files::FileError::None;
        // One byte more than the table's size shows a file that is too long.
        const std::vector<std::uint8_t> bytes = files::readWholeFile(path.string(), error, e.size + 1);
        if (error == files::FileError::CannotOpen) {
            std::error_code ec;
            const bool exists = std::filesystem::exists(std::filesystem::symlink_status(path, ec));
            load = exists ? TableLoad::Unreadable : TableLoad::Missing;
            if (!exists) missing.push_back(e.file);
            continue;
        }
        // Without the manifest (a folder copied without it) a table of the
        // right size is used unchecked: nothing says it is damaged.
        if (error != files::FileError::None || bytes.size() != e.size ||
            (manifest && files::checkIntegrity(*manifest, e.file, bytes) != files::Integrity::Intact)) {
            load = TableLoad::Damaged;
            continue;
        }
        table.assign(bytes.begin(), bytes.end());
        load = TableLoad::Loaded;
    }
    t.databasesLoaded = true;
    return missing;
}

std::string endgameLoadReport(const EndgameTables& t) {
    std::string report;
    const auto line = [&](const char* title, TableLoad kind) {
        std::string names;
        for (int i = 0; i < EndgameTableCount; ++i)
            if (t.load[static_cast<std::size_t>(i)] == kind)
                names += (names.empty() ? "" : ", ") + std::string(EndgameTableList[static_cast<std::size_t>(i)].file);
        if (names.empty()) return;
        report += (report.empty() ? "" : "\n") + std::string(title) + names;
    };
    line("Fichier absent : ", TableLoad::Missing);
    line("Fichier illisible : ", TableLoad::Unreadable);
    line("Fichier endommagé : ", TableLoad::Damaged);
    return report;
}

bool anyTableLoaded(const EndgameTables& t) {
    return std::any_of(t.load.begin(), t.load.end(), [](TableLoad l) { return l == TableLoad::Loaded; });
}

namespace {

// Diagonal numbers of each square, for White's kings.
constexpr std::array<int, 33> D1 = {0, 5, 6, 7, 8, 4, 5, 6, 7, 4, 5, 6, 7, 3, 4, 5, 6,
                                    3, 4, 5, 6, 2, 3, 4, 5, 2, 3, 4, 5, 1, 2, 3, 4};
constexpr std::array<int, 33> D2 = {0, 1, 2, 3, 4, 1, 2, 3, 4, 2, 3, 4, 5, 2, 3, 4, 5,
                                    3, 4, 5, 6, 3, 4, 5, 6, 4, 5, 6, 7, 4, 5, 6, 7};

}  // namespace

int kingsVersusMen(const rules::Board& board, rules::Side side) {
    // Black's patterns are White's on the board turned half round, with the
    // colours swapped; the diagonal numbers follow the turn.
    const bool black = side == rules::Black;
    auto at = [&](int s) { return board[black ? 33 - s : s]; };
    const rules::PieceCode ownMan = black ? rules::BlackMan : rules::WhiteMan;
    const rules::PieceCode ownKing = black ? rules::BlackKing : rules::WhiteKing;
    const rules::PieceCode enemyMan = black ? rules::WhiteMan : rules::BlackMan;
    auto own = [&](rules::PieceCode c) { return c == ownMan || c == ownKing; };

    auto touched = [&](int s) {
        for (int d = 0; d < 4; ++d) {
            // Neighbours on the turned board are the turned neighbours.
            const int nb = black ? rules::neighbour(static_cast<rules::Square>(33 - s), 3 - d)
                                 : rules::neighbour(static_cast<rules::Square>(s), d);
            if (nb && own(board[nb])) return true;
        }
        return false;
    };
    auto entry = [&](int a, int b) {
        return (at(a) == ownKing && at(b) == rules::Empty) || (at(b) == ownKing && at(a) == rules::Empty);
    };
    auto everyEnemyMan = [&](auto test) {
        for (int s = 1; s <= rules::NumSquares; ++s)
            if (at(s) == enemyMan && !test(s)) return false;
        return true;
    };
    auto everyOwnMan = [&](auto test) {
        for (int s = 1; s <= rules::NumSquares; ++s)
            if (at(s) == ownMan && !test(s)) return false;
        return true;
    };

    // The search asks at nearly every node of such endings: the men are
    // counted only when a king stands at an entry, and then on square sets.
    const bool longDiagonal = entry(1, 28), fromTwo = entry(2, 20), fromThree = entry(3, 21);
    if (!longDiagonal && !fromTwo && !fromThree) return 0;
    const rules::SquareSets sets = rules::squareSets(board);
    const int n = rules::countSquares(black ? sets.whiteMen : sets.blackMen);

    if (longDiagonal && n < 4) {
        const bool holds = everyEnemyMan([&](int s) { return D1[s] >= 6 && !touched(s); }) &&
                           !(at(4) == enemyMan && at(8) == rules::Empty && at(11) != rules::Empty) &&
                           everyOwnMan([&](int s) { return D1[s] < 5; });
        return holds ? 30000 : 0;
    }
    if (fromTwo && n <= 4) {
        const bool holds = everyEnemyMan([&](int s) { return D1[s] >= 7 && !touched(s); }) &&
                           everyOwnMan([&](int s) { return D1[s] < 6; });
        return holds ? 30000 : 0;
    }
    if (fromThree && n <= 4) {
        const bool holds = (at(2) == rules::Empty || n == 3) &&
                           everyEnemyMan([&](int s) { return D2[s] <= 2 && !touched(s); }) &&
                           everyOwnMan([&](int s) { return D2[s] >= 4; });
        return holds ? 30000 : 0;
    }
    return 0;
}

}  // namespace engine
