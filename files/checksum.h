#pragma once
// Checksums of the data files our tools generate and the engine trusts (the
// endgame tables, the search keys). Their layouts have no room for one, so
// each tool writes a manifest beside its files: a text file of lines
//
//   3f1a2b4c 1056 dod.bib
//
// giving each file's CRC-32 (hexadecimal), its size in bytes and its name;
// lines starting with '#' are comments. A loader trusts a file only when it
// is listed and its size and CRC agree: any damage to the file or to its
// line of the manifest makes the file unused, never believed.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace files {

// CRC-32 as in zip and PNG (reflected polynomial 0xEDB88320): every change
// of one byte, and every burst of up to 32 bits, is caught.
std::uint32_t crc32(std::span<const std::uint8_t> bytes);

struct ManifestEntry {
    std::string name;
    std::uint64_t size = 0;
    std::uint32_t crc = 0;
    bool operator==(const ManifestEntry&) const = default;
};
using Manifest = std::vector<ManifestEntry>;

ManifestEntry manifestEntryOf(std::string name, std::span<const std::uint8_t> bytes);
std::string manifestText(const Manifest& manifest);
// Lines that do not read as an entry are left out (their files are then
// unlisted).
Manifest parseManifest(std::span<const std::uint8_t> text);

// Nothing when the manifest file cannot be read.
std::optional<Manifest> readManifest(const std::filesystem::path& file);
bool writeManifest(const std::filesystem::path& file, const Manifest& manifest);

enum class Integrity {
    Intact,     // listed, with this size and CRC
    Damaged,    // listed, but the size or the CRC differs
    Unlisted,   // the manifest has no line for this name
};
Integrity checkIntegrity(const Manifest& manifest, std::string_view name, std::span<const std::uint8_t> bytes);

}  // namespace files
