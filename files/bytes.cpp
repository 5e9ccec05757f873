#include "files/bytes.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace files {

std::vector<std::uint8_t> readWholeFile(const std::string& path, FileError& error, std::size_t limit) {
    error = FileError::None;
    std::ifstream in(path, std::ios::binary);
    std::error_code ec;
    if (!in || std::filesystem::is_directory(path, ec)) {
        error = FileError::CannotOpen;
        return {};
    }
    std::vector<std::uint8_t> bytes;
    char buffer[65536];
    while (in) {
        in.read(buffer, sizeof buffer);
        const std::streamsize got = in.gcount();
        if (got <= 0) break;
        if (bytes.size() + static_cast<std::size_t>(got) > limit) {
            error = FileError::WrongSize;
            return {};
        }
        bytes.insert(bytes.end(), buffer, buffer + got);
    }
    if (in.bad()) {
        error = FileError::CannotOpen;
        return {};
    }
    return bytes;
}

bool writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes) {
    namespace fs = std::filesystem;
    const std::string temp = path + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            out.close();
            std::error_code ec;
            fs::remove(temp, ec);
            return false;
        }
    }
    std::error_code ec;
    fs::rename(temp, path, ec);
    if (ec) {
        fs::remove(temp, ec);
        return false;
    }
    return true;
}

}  // namespace files
