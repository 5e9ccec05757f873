#pragma once
// Shared pieces of tavolex-cli's commands.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "eval/parameter_file.h"
#include "rules/fen.h"

namespace cli {

constexpr int ExitUsage = 2;

// One line on stderr, exit code 2.
int usageError(const char* what);
// The position named on the command line, or the start when none is given;
// false (after one line on stderr) for a malformed one.
bool loadPosition(const std::vector<std::string_view>& args, rules::Position& pos);

// Why a parameter file named on the command line was refused: "no such
// file", "is a folder", "has 12 bytes, a parameter file has N".
std::string parameterProblem(const std::filesystem::path& file, eval::ParameterFileStatus status);

int cmdEgdb(const std::vector<std::string_view>& args, const std::filesystem::path& programDir);

}  // namespace cli
