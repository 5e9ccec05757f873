#pragma once
// Shared pieces of tavolex-cli's commands.

#include <filesystem>
#include <string_view>
#include <vector>

#include "rules/fen.h"

namespace cli {

constexpr int ExitUsage = 2;

// One line on stderr, exit code 2.
int usageError(const char* what);
// The position named on the command line, or the start when none is given;
// false (after one line on stderr) for a malformed one.
bool loadPosition(const std::vector<std::string_view>& args, rules::Position& pos);

int cmdEgdb(const std::vector<std::string_view>& args, const std::filesystem::path& programDir);

}  // namespace cli
