#include "files/checksum.h"

#include <array>
#include <cstdio>

#include "files/bytes.h"
#include "files/text_lines.h"

namespace files {

namespace {

constexpr std::array<std::uint32_t, 256> CrcTable = [] {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t c = i;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[i] = c;
    }
    return table;
}();

// A field of hexadecimal or decimal digits, whole; nothing otherwise.
std::optional<std::uint64_t> number(std::string_view text, int base) {
    if (text.empty() || text.size() > 16) return std::nullopt;
    std::uint64_t v = 0;
    for (char c : text) {
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            return std::nullopt;
        v = v * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(d);
    }
    return v;
}

}  // namespace

std::uint32_t crc32(std::span<const std::uint8_t> bytes) {
    std::uint32_t c = 0xFFFFFFFFu;
    for (std::uint8_t b : bytes) c = CrcTable[(c ^ b) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

ManifestEntry manifestEntryOf(std::string name, std::span<const std::uint8_t> bytes) {
    return {std::move(name), bytes.size(), crc32(bytes)};
}

std::string manifestText(const Manifest& manifest) {
    std::string text = "# CRC-32, size in bytes, name of each file\n";
    for (const ManifestEntry& e : manifest) {
        char line[48];
        std::snprintf(line, sizeof line, "%08x %llu ", static_cast<unsigned>(e.crc),
                      static_cast<unsigned long long>(e.size));
        text += line;
        text += e.name;
        text += '\n';
    }
    return text;
}

Manifest parseManifest(std::span<const std::uint8_t> text) {
    Manifest manifest;
    for (const std::string& line : splitTextLines(text)) {
        if (line.empty() || line[0] == '#') continue;
        const std::size_t a = line.find(' ');
        if (a == std::string::npos) continue;
        const std::size_t b = line.find(' ', a + 1);
        if (b == std::string::npos) continue;
        const std::optional<std::uint64_t> crc = number(std::string_view(line).substr(0, a), 16);
        const std::optional<std::uint64_t> size = number(std::string_view(line).substr(a + 1, b - a - 1), 10);
        const std::string name = line.substr(b + 1);
        if (!crc || *crc > 0xFFFFFFFFu || !size || name.empty()) continue;
        manifest.push_back({name, *size, static_cast<std::uint32_t>(*crc)});
    }
    return manifest;
}

std::optional<Manifest> readManifest(const std::filesystem::path& file) {
    FileError error = FileError::None;
    const std::vector<std::uint8_t> bytes = readWholeFile(file.string(), error, std::size_t{1} << 20);
    if (error != FileError::None) return std::nullopt;
    return parseManifest(bytes);
}

bool writeManifest(const std::filesystem::path& file, const Manifest& manifest) {
    const std::string text = manifestText(manifest);
    return writeFileAtomically(file.string(),
                               std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

Integrity checkIntegrity(const Manifest& manifest, std::string_view name, std::span<const std::uint8_t> bytes) {
    // A name listed twice must agree both times.
    Integrity verdict = Integrity::Unlisted;
    for (const ManifestEntry& e : manifest) {
        if (e.name != name) continue;
        if (e.size != bytes.size() || e.crc != crc32(bytes)) return Integrity::Damaged;
        verdict = Integrity::Intact;
    }
    return verdict;
}

}  // namespace files
