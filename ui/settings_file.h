#pragma once
// "tavolex.ini" in the program folder: what the window keeps from one run
// to the next beside the games (its size and place, the number of search
// threads). The game files carry their own settings and are not touched.

#include <filesystem>
#include <memory>

class QSettings;

namespace ui {

std::unique_ptr<QSettings> settingsFile(const std::filesystem::path& programDir);

// The number of search threads kept by the last run, brought within what a
// machine of `cores` processors allows; the machine's default when none is
// kept or what is kept is not a number.
int keptSearchThreads(const std::filesystem::path& programDir, unsigned cores);
void keepSearchThreads(const std::filesystem::path& programDir, int threads);

}  // namespace ui
