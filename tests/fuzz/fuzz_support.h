#pragma once
// What the fuzz targets share: the input as a span, and a check that stops
// the run (libFuzzer then keeps the input as a crash) when a property of
// the reader does not hold.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <utility>

namespace fuzzsupport {

inline void check(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "property broken: %s\n", what);
    std::abort();
}

// Two files in one input: the bytes before the first NUL and those after it
// (the second part is empty when there is no NUL).
inline std::pair<std::span<const std::uint8_t>, std::span<const std::uint8_t>> splitAtNul(
    std::span<const std::uint8_t> bytes) {
    for (std::size_t i = 0; i < bytes.size(); ++i)
        if (bytes[i] == 0) return {bytes.first(i), bytes.subspan(i + 1)};
    return {bytes, {}};
}

}  // namespace fuzzsupport
