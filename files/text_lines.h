#pragma once
// Lists of names, ratings and lines kept as whole text files, one entry a
// line ended by CR LF, read and written whole.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace files {

// The lines of a file's bytes without their line ends (LF or CR LF; a last
// line without an end counts too).
std::vector<std::string> splitTextLines(std::span<const std::uint8_t> bytes);
// Every line followed by CR LF.
std::vector<std::uint8_t> joinTextLines(const std::vector<std::string>& lines);

// The lines of a file; nothing when it cannot be read.
std::optional<std::vector<std::string>> readTextLines(const std::string& path);
// Writes every line followed by CR LF, through files::saveFile.
bool writeTextLines(const std::string& path, const std::vector<std::string>& lines);

}  // namespace files
