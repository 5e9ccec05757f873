#pragma once
// Little-endian byte images, field by field, with every read bounds-checked:
// files are never written or read as raw structs.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace files {

class ByteWriter {
public:
    void u8(std::uint8_t v) { m_bytes.push_back(v); }
    void i8(std::int8_t v) { u8(static_cast<std::uint8_t>(v)); }
    void u16(std::uint16_t v) {
        u8(static_cast<std::uint8_t>(v));
        u8(static_cast<std::uint8_t>(v >> 8));
    }
    void i16(std::int16_t v) { u16(static_cast<std::uint16_t>(v)); }
    void i32(std::int32_t v) {
        const auto u = static_cast<std::uint32_t>(v);
        for (int shift = 0; shift < 32; shift += 8) u8(static_cast<std::uint8_t>(u >> shift));
    }
    void bytes(std::span<const std::uint8_t> b) { m_bytes.insert(m_bytes.end(), b.begin(), b.end()); }
    void zeros(std::size_t n) { m_bytes.insert(m_bytes.end(), n, 0); }
    const std::vector<std::uint8_t>& data() const { return m_bytes; }
    std::size_t size() const { return m_bytes.size(); }

private:
    std::vector<std::uint8_t> m_bytes;
};

class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}
    // Once a read runs past the end every later read gives 0 and ok() is false.
    bool ok() const { return m_ok; }
    std::size_t position() const { return m_pos; }
    std::size_t remaining() const { return m_bytes.size() - m_pos; }

    std::uint8_t u8() {
        if (m_pos >= m_bytes.size()) {
            m_ok = false;
            return 0;
        }
        return m_bytes[m_pos++];
    }
    std::int8_t i8() { return static_cast<std::int8_t>(u8()); }
    std::uint16_t u16() {
        const std::uint16_t lo = u8();
        return static_cast<std::uint16_t>(lo | (u8() << 8));
    }
    std::int16_t i16() { return static_cast<std::int16_t>(u16()); }
    std::int32_t i32() {
        std::uint32_t v = 0;
        for (int shift = 0; shift < 32; shift += 8) v |= static_cast<std::uint32_t>(u8()) << shift;
        return static_cast<std::int32_t>(v);
    }
    void bytes(std::span<std::uint8_t> out) {
        for (auto& b : out) b = u8();
    }
    void skip(std::size_t n) {
        for (std::size_t i = 0; i < n; ++i) u8();
    }

private:
    std::span<const std::uint8_t> m_bytes;
    std::size_t m_pos = 0;
    bool m_ok = true;
};

enum class FileError {
    None,
    CannotOpen,   // missing, unreadable, or not writable
    WrongSize,    // not the size this kind of file always has
    BadContent,   // values no file of ours can hold
};

// The whole file, or nothing (error set) when it cannot be read.
std::vector<std::uint8_t> readWholeFile(const std::string& path, FileError& error, std::size_t limit = 1u << 26);
// At most the first `count` bytes of a file (text import reads a fixed
// buffer's worth and ignores the rest).
std::vector<std::uint8_t> readFileStart(const std::string& path, FileError& error, std::size_t count);
// saveFile (save_file.h) for callers that only need to know whether it
// worked.
bool writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);

}  // namespace files
