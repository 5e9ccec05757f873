#include "files/text_lines.h"

#include "files/bytes.h"

namespace files {

std::vector<std::string> splitTextLines(std::span<const std::uint8_t> bytes) {
    std::vector<std::string> lines;
    std::string line;
    for (std::uint8_t b : bytes) {
        if (b == '\n') {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines.push_back(line);
            line.clear();
        } else {
            line += static_cast<char>(b);
        }
    }
    if (!line.empty()) {
        if (line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::uint8_t> joinTextLines(const std::vector<std::string>& lines) {
    std::vector<std::uint8_t> bytes;
    for (const std::string& l : lines) {
        bytes.insert(bytes.end(), l.begin(), l.end());
        bytes.push_back('\r');
        bytes.push_back('\n');
    }
    return bytes;
}

std::optional<std::vector<std::string>> readTextLines(const std::string& path) {
    FileError error = FileError::None;
    const std::vector<std::uint8_t> bytes = readWholeFile(path, error);
    if (error != FileError::None) return std::nullopt;
    return splitTextLines(bytes);
}

bool writeTextLines(const std::string& path, const std::vector<std::string>& lines) {
    return writeFileAtomically(path, joinTextLines(lines));
}

}  // namespace files
