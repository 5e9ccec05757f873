#include "files/text_lines.h"

#include "files/bytes.h"
#include "files/text_export.h"

namespace files {

std::optional<std::vector<std::string>> readTextLines(const std::string& path) {
    FileError error = FileError::None;
    const std::vector<std::uint8_t> bytes = readWholeFile(path, error);
    if (error != FileError::None) return std::nullopt;
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

bool writeTextLines(const std::string& path, const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& l : lines) {
        text += l;
        text += "\r\n";
    }
    return writeTextFile(path, text);
}

}  // namespace files
