#include "files/bytes.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace files {

namespace {
// A readable regular file, or CannotOpen.
bool openForReading(std::ifstream& in, const std::string& path, FileError& error) {
    error = FileError::None;
    in.open(path, std::ios::binary);
    std::error_code ec;
    if (!in || std::filesystem::is_directory(path, ec)) {
        error = FileError::CannotOpen;
        return false;
    }
    return true;
}
}  // namespace

std::vector<std::uint8_t> readWholeFile(const std::string& path, FileError& error, std::size_t limit) {
    std::ifstream in;
    if (!openForReading(in, path, error)) return {};
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

std::vector<std::uint8_t> readFileStart(const std::string& path, FileError& error, std::size_t count) {
    std::ifstream in;
    if (!openForReading(in, path, error)) return {};
    std::vector<std::uint8_t> bytes(count);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(count));
    if (in.bad()) {
        error = FileError::CannotOpen;
        return {};
    }
    bytes.resize(static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0)));
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
