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

std::filesystem::path subfolder(const std::filesystem::path& base, std::string_view name, bool create) {
    const std::filesystem::path folder = resolveInFolder(base, name);
    std::error_code ec;
    if (create) std::filesystem::create_directories(folder, ec);
    return folder;
}

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

namespace files {

namespace {
// The data beside an executable: its pictures folder is the sign.
bool holdsData(const std::filesystem::path& folder) {
    std::error_code ec;
    return !folder.empty() && std::filesystem::is_directory(resolveInFolder(folder, "Images1"), ec);
}
}  // namespace

FolderChoice chooseProgramFolder(const std::filesystem::path& commandLineFolder,
                                 const std::filesystem::path& executableFolder,
                                 const std::filesystem::path& installedData, const std::filesystem::path& userData) {
    namespace fs = std::filesystem;
    FolderChoice choice;
    if (!commandLineFolder.empty()) {
        choice.folder = commandLineFolder;
        std::error_code ec;
        if (!fs::is_directory(commandLineFolder, ec)) choice.problem = "no such folder: " + commandLineFolder.string();
        return choice;
    }
    if (holdsData(executableFolder)) {
        choice.folder = executableFolder;
        return choice;
    }
    choice.folder = userData;
    if (holdsData(userData)) return choice;
    std::error_code ec;
    if (!fs::is_directory(installedData, ec)) {
        choice.problem = "no installed data in " + installedData.string();
        return choice;
    }
    // First start: copy the installed data, keeping whatever the user
    // already has there.
    fs::create_directories(userData, ec);
    if (!ec) fs::copy(installedData, userData, fs::copy_options::recursive | fs::copy_options::skip_existing, ec);
    if (ec) {
        choice.problem = "cannot copy " + installedData.string() + " to " + userData.string() + ": " + ec.message();
        return choice;
    }
    choice.seeded = true;
    return choice;
}

}  // namespace files
