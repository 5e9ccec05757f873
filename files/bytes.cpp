#include "files/bytes.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "files/save_file.h"

namespace files {

namespace {
// A readable regular file, or CannotOpen. Anything else (a folder, a pipe,
// a device) is refused before it is opened: reading a folder fails inside
// the stream, and a pipe would wait for a writer.
bool openForReading(std::ifstream& in, const std::string& path, FileError& error) {
    error = FileError::None;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        error = FileError::CannotOpen;
        return false;
    }
    in.open(path, std::ios::binary);
    if (!in) {
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
    return saveFile(path, bytes) == SaveStatus::Saved;
}

}  // namespace files
