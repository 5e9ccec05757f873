// tavolex-cli: the headless front end over the same core as the window.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "cli/commands.h"
#include "cli/engine_commands.h"
#include "engine/search.h"
#include "eval/accumulators.h"
#include "eval/evaluate.h"
#include "eval/parameter_file.h"
#include "files/program_folder.h"
#include "game/host.h"
#include "rules/fen.h"
#include "rules/movegen.h"
#include "rules/perft.h"

namespace {

using cli::ExitUsage;
using cli::loadPosition;

constexpr const char* HelpText =
    "usage: tavolex-cli perft [--divide] [FEN] DEPTH\n"
    "       tavolex-cli moves [FEN]\n"
    "       tavolex-cli show [FEN]\n"
    "       tavolex-cli egdb [FEN]\n"
    "       tavolex-cli eval [--params FILE] [FEN]\n"
    "       tavolex-cli analyse [--level N | --depth D | --movetime S] [--threads N] [FEN]\n"
    "       tavolex-cli bench [--threads N] [DEPTH]\n"
    "       tavolex-cli hub\n"
    "       tavolex-cli match [--games N] [--level N | --depth D | --movetime S]\n"
    "                         [--level2 N | --depth2 D | --movetime2 S] [--params A.par] [--params2 B.par]\n"
    "                         [--material] [--material2] [--opponent \"COMMAND\"]\n"
    "FEN: W:W21-32:B1-12 (side to move, then each side's squares by number\n"
    "or name; K marks a king; without FEN the starting position)\n"
    "eval: the static evaluation for each side as the window shows it, after\n"
    "a search from the position has chosen the phase, with each term in\n"
    "1/200 of a man; parameters from Parametres/defaut.par of the program\n"
    "folder unless --params names a file\n"
    "analyse: the engine's search with its thinking lines, then bestmove and\n"
    "score (1/100 of a man); --level takes a level number (0-8, 11-17)\n"
    "bench: fixed positions searched to DEPTH (default 9) with fresh tables;\n"
    "the total node count is the search's signature (with one thread only)\n"
    "--threads: search threads sharing the table, 1 to 8 (default 1); one\n"
    "thread gives the same result every run, more are faster but vary\n"
    "hub: the engine behind the hub protocol on standard input and output\n"
    "(docs/protocol.md)\n"
    "match: engine against engine (the second takes the first's limits unless\n"
    "given its own), every opening played twice with colours swapped; wins,\n"
    "draws and losses of the first, and the Elo difference; --material makes\n"
    "the first (--material2 the second) evaluate material only; --opponent runs\n"
    "COMMAND through the shell as the second engine, spoken to by the hub\n"
    "protocol (it plays at --depth2/--movetime2, or at the first's limits)\n";

static_assert(engine::MaxSearchThreads == 8, "the help text names the most search threads");

int usage(const char* what = "wrong arguments") { return cli::usageError(what); }

// The folder holding the program's data: the executable's own.
std::filesystem::path programDir() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::current_path() : exe.parent_path();
}

bool parseDepth(std::string_view text, int& depth) {
    if (text.empty() || text.size() > 3) return false;
    depth = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        depth = depth * 10 + (c - '0');
    }
    return depth >= 1 && depth < rules::MaxPly;
}

int cmdPerft(std::vector<std::string_view> args) {
    bool divide = false;
    if (!args.empty() && args[0] == "--divide") {
        divide = true;
        args.erase(args.begin());
    }
    if (args.empty() || args.size() > 2) return usage();
    int depth = 0;
    if (!parseDepth(args.back(), depth)) {
        std::fprintf(stderr, "tavolex-cli: depth must be a number from 1 to %d\n", rules::MaxPly - 1);
        return ExitUsage;
    }
    args.pop_back();
    rules::Position pos;
    if (!loadPosition(args, pos)) return ExitUsage;

    rules::RulesState r;
    r.board = pos.board;
    const auto start = std::chrono::steady_clock::now();
    std::uint64_t total = 0;
    if (divide) {
        for (const rules::DivideEntry& e : rules::perftDivide(r, pos.side, depth)) {
            std::printf("%s %llu\n", rules::moveText(e.move).c_str(), static_cast<unsigned long long>(e.nodes));
            total += e.nodes;
        }
        std::printf("total %llu\n", static_cast<unsigned long long>(total));
    } else {
        for (int d = 1; d <= depth; ++d) {
            const std::uint64_t n = rules::perft(r, pos.side, d);
            std::printf("perft %d %llu\n", d, static_cast<unsigned long long>(n));
            std::fflush(stdout);
            total += n;
        }
    }
    const auto us =
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start).count();
    const double rate = us > 0 ? static_cast<double>(total) * 1e6 / static_cast<double>(us) : 0.0;
    std::printf("time %lld ms, %.0f nodes/s\n", static_cast<long long>(us / 1000), rate);
    return 0;
}

int cmdMoves(const std::vector<std::string_view>& args) {
    if (args.size() > 1) return usage();
    rules::Position pos;
    if (!loadPosition(args, pos)) return ExitUsage;
    rules::RulesState r;
    r.board = pos.board;
    const int n = rules::generateRootMoves(r, pos.side);
    for (int i = 0; i < n; ++i) std::printf("%s\n", rules::moveText(r.rootList()[i]).c_str());
    return 0;
}

int cmdShow(const std::vector<std::string_view>& args) {
    if (args.size() > 1) return usage();
    rules::Position pos;
    if (!loadPosition(args, pos)) return ExitUsage;
    // w/b men, W/B kings, '.' an empty dark square, ' ' a light one.
    for (int row = 0; row < 8; ++row) {
        std::printf("%d ", 8 - row);
        for (int file = 0; file < 8; ++file) {
            const rules::Square s = rules::squareAt(row, file);
            char c = ' ';
            if (s) {
                switch (pos.board[s]) {
                    case rules::WhiteMan: c = 'w'; break;
                    case rules::WhiteKing: c = 'W'; break;
                    case rules::BlackMan: c = 'b'; break;
                    case rules::BlackKing: c = 'B'; break;
                    default: c = '.'; break;
                }
            }
            std::printf(" %c", c);
        }
        std::printf("\n");
    }
    std::printf("   a b c d e f g h\n");
    std::printf("%s to move\n", pos.side == rules::White ? "White" : "Black");
    std::printf("%s\n", rules::toFen(pos.board, pos.side).c_str());
    return 0;
}

// The command line's Host: the error box becomes a line on stderr.
class CliHost : public game::Host {
public:
    std::int64_t readClock() override { return 0; }
    void showError(std::string_view text) override {
        std::fprintf(stderr, "Erreur: %.*s\n", static_cast<int>(text.size()), text.data());
    }
};

void printTrace(const char* title, const eval::EvalTrace& t) {
    std::printf("%s\n", title);
    const auto line = [](const char* name, int v) { std::printf("  %-22s%6d\n", name, v); };
    line("king value", t.kingValue);
    line("material", t.material);
    if (t.earlyExit) {
        std::printf("  (answered from material alone)\n");
        return;
    }
    line("long diagonal", t.longDiagonal);
    line("positional", t.positional);
    line("tempo", t.tempo);
    line("centre and wings", t.centreAndWings);
    line("group clamp (45)", t.groupClamp);
    line("wing balance", t.wingBalance);
    line("structure", t.structure);
    line("man safety", t.manSafety);
    line("last move", t.lastMove);
    line("clamp (170)", t.finalClamp);
    line("breakthrough", t.breakthrough);
    line("kings and tempo", t.kingsAndTempo);
    line("shot", t.shot);
    line("root move", t.rootMove);
    line("endgame", t.endgame);
    line("divided by four", t.quarter);
    line("total", t.total);
}

int cmdEval(std::vector<std::string_view> args) {
    std::filesystem::path paramFile;
    if (!args.empty() && args[0] == "--params") {
        if (args.size() < 2) return usage("--params needs a file");
        paramFile = std::filesystem::path(std::string(args[1]));
        args.erase(args.begin(), args.begin() + 2);
    }
    if (args.size() > 1) return usage();
    rules::Position pos;
    if (!loadPosition(args, pos)) return ExitUsage;

    CliHost host;
    eval::EvalState st;
    if (paramFile.empty()) {
        // As at start-up: without the default file the evaluation runs on
        // zeros, after the error box.
        eval::loadParameters(st, &host, files::resolveInFolder(programDir(), "Parametres/defaut.par"));
    } else if (const eval::ParameterFileStatus s = eval::loadParameters(st, nullptr, paramFile);
               s != eval::ParameterFileStatus::Ok) {
        // A file the user named and that cannot be used evaluates nothing.
        std::fprintf(stderr, "tavolex-cli: parameter file %s: %s\n", paramFile.string().c_str(),
                     cli::parameterProblem(paramFile, s).c_str());
        return ExitUsage;
    }

    // As after a search from this position: the phase and table chosen.
    selectPhaseAndVariant(st, pos.board);
    eval::EvalTrace white, black;
    const int whiteValue = eval::evaluateStaticTraced(st, pos.board, rules::White, white);
    const int blackValue = eval::evaluateStaticTraced(st, pos.board, rules::Black, black);

    // Shown halved, in 1/100 of a man, as beside the board.
    std::printf("Eval stat blancs:%4d\n", whiteValue / 2);
    std::printf("Eval stat noirs:%4d\n", blackValue / 2);
    static constexpr const char* PhaseNames[] = {"opening", "middle game", "pre-endgame", "endgame"};
    std::printf("phase %d (%s), variant 1 %s, variant 2 %s\n", st.phase, PhaseNames[st.phase],
                st.variant1 ? "yes" : "no", st.variant2 ? "yes" : "no");
    printTrace("White's view, Black to move (1/200 of a man):", white);
    printTrace("Black's view, White to move (1/200 of a man):", black);
    return 0;
}

}  // namespace

namespace cli {

// Refused command lines get one line on stderr and nothing else.
int usageError(const char* what) {
    std::fprintf(stderr, "tavolex-cli: %s (tavolex-cli help shows the commands)\n", what);
    return ExitUsage;
}

std::string parameterProblem(const std::filesystem::path& file, eval::ParameterFileStatus status) {
    std::error_code ec;
    if (status == eval::ParameterFileStatus::TooShort)
        return "has " + std::to_string(std::filesystem::file_size(file, ec)) + " bytes, a parameter file has " +
               std::to_string(eval::ParameterFileSize);
    if (std::filesystem::is_directory(file, ec)) return "is a folder";
    if (!std::filesystem::exists(file, ec)) return "no such file";
    return "cannot be read";
}

bool loadPosition(const std::vector<std::string_view>& args, rules::Position& pos) {
    if (args.empty()) {
        pos.board = rules::startingPosition();
        pos.side = rules::White;
        return true;
    }
    rules::FenResult r = rules::parseFen(args[0]);
    if (!r.position) {
        std::fprintf(stderr, "tavolex-cli: bad position: %s\n", r.error.c_str());
        return false;
    }
    pos = *r.position;
    return true;
}

}  // namespace cli

namespace {

int runCommand(int argc, char** argv) {
    if (argc < 2) return usage("no command");
    const std::string_view cmd = argv[1];
    if (cmd == "help" || cmd == "--help" || cmd == "-h") {
        std::fputs(HelpText, stdout);
        return 0;
    }
    std::vector<std::string_view> args(argv + 2, argv + argc);
    if (cmd == "perft") return cmdPerft(std::move(args));
    if (cmd == "moves") return cmdMoves(args);
    if (cmd == "show") return cmdShow(args);
    if (cmd == "egdb") return cli::cmdEgdb(args, programDir());
    if (cmd == "eval") return cmdEval(std::move(args));
    if (cmd == "analyse") return cli::cmdAnalyse(std::move(args), programDir());
    if (cmd == "bench") return cli::cmdBench(std::move(args), programDir());
    if (cmd == "hub") return cli::cmdHub(std::move(args), programDir());
    if (cmd == "match") return cli::cmdMatch(std::move(args), programDir());
    return usage("unknown command");
}

}  // namespace

// Nothing escapes to the runtime: whatever a command throws (memory
// refused, a fault in a library) ends it with one line and exit code 1,
// never with an abort.
int main(int argc, char** argv) {
    try {
        return runCommand(argc, argv);
    } catch (const std::exception& e) {
        std::fflush(stdout);
        std::fprintf(stderr, "tavolex-cli: internal error: %s\n", e.what());
    } catch (...) {
        std::fflush(stdout);
        std::fprintf(stderr, "tavolex-cli: internal error\n");
    }
    return 1;
}
