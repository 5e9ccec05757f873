#include "files/program_folder.h"

#include <algorithm>
#include <cctype>
#include <system_error>

namespace files {

namespace {
bool sameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}
}  // namespace

std::filesystem::path resolveInFolder(const std::filesystem::path& base, std::string_view relative) {
    namespace fs = std::filesystem;
    fs::path current = base;
    bool exists = true;
    for (const fs::path& part : fs::path(relative).relative_path()) {
        const std::string name = part.string();
        if (name.empty() || name == ".") continue;
        if (exists) {
            std::error_code ec;
            if (fs::exists(current / part, ec)) {
                current /= part;
                continue;
            }
            bool found = false;
            for (fs::directory_iterator it(current, ec), end; !ec && it != end; it.increment(ec)) {
                const std::string entry = it->path().filename().string();
                if (sameIgnoringCase(entry, name)) {
                    current /= entry;
                    found = true;
                    break;
                }
            }
            if (found) continue;
            exists = false;
        }
        current /= part;
    }
    return current;
}

}  // namespace files
