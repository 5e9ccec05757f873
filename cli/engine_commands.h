#pragma once
// tavolex-cli's engine commands: analyse, bench, hub, match.

#include <filesystem>
#include <string_view>
#include <vector>

namespace cli {

int cmdAnalyse(std::vector<std::string_view> args, const std::filesystem::path& programDir);
int cmdBench(std::vector<std::string_view> args, const std::filesystem::path& programDir);
int cmdHub(std::vector<std::string_view> args, const std::filesystem::path& programDir);
int cmdMatch(std::vector<std::string_view> args, const std::filesystem::path& programDir);

}  // namespace cli
