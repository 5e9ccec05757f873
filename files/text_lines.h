#pragma once
// Lists of names, ratings and lines kept as whole text files, one entry a
// line ended by CR LF, read and written whole.

#include <optional>
#include <string>
#include <vector>

namespace files {

// The lines of a file without their line ends; nothing when it cannot be read.
std::optional<std::vector<std::string>> readTextLines(const std::string& path);
// Writes every line followed by CR LF, through a temporary file.
bool writeTextLines(const std::string& path, const std::vector<std::string>& lines);

}  // namespace files
