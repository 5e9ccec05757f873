#pragma once
// Parameter files ("*.par"): one EvalParameters set as a raw 1162-byte image,
// every field a single byte, no header. Bytes 303..1161 are reserved: never
// interpreted, but carried from the last file read to the next file written
// through a staging copy of the whole block.
//
// Layout: eight man tables of 33 bytes (offsets 0, 33, ... 231, in the order
// of ManTableIndex); 264 P1, 265 P2, 266 P3; 267 variant 1 white squares,
// 274 variant 2 white squares, 281 variant 1 black squares, 288 variant 2
// black squares (7 each); 295 the eight tempo weights; 303 reserved.

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>

namespace game {
class Host;
struct Core;
}  // namespace game

namespace eval {

struct EvalParameters;
struct EvalState;

constexpr std::size_t ParameterFileSize = 1162;
constexpr std::size_t ReservedOffset = 303;
using ParameterBlock = std::array<std::uint8_t, ParameterFileSize>;

// Field by field between the parameters and a block; writing leaves the
// reserved bytes as they are.
void writeFields(const EvalParameters& p, ParameterBlock& block);
EvalParameters readFields(const ParameterBlock& block);

enum class ParameterFileStatus {
    Ok,
    CannotOpen,    // missing, unreadable, or cannot be created
    TooShort,      // fewer than 1162 bytes: not a whole parameter set
    WriteFailed,   // the disk refused part of the file; the old file is kept
    ReadOnly,      // the target is marked read-only: refused, left as it is
};

// The first block of a file's bytes; TooShort (and `block` untouched) when
// there is less than a whole block.
ParameterFileStatus decodeParameters(std::span<const std::uint8_t> bytes, ParameterBlock& block);

// Reads a whole parameter set into the staging block and the parameters.
// A file longer than a block is read up to its first 1162 bytes. On any
// failure the host shows "Impossible d'ouvrir ce fichier" and neither the
// parameters nor the staging block change.
ParameterFileStatus loadParameters(EvalState& st, game::Host* host, const std::filesystem::path& file);

// Copies the parameters into the staging block and writes it whole through
// files::saveFile, so a failed save never leaves a damaged file behind.
// Failures show the same message as loading, except a read-only target,
// which is named as such.
ParameterFileStatus saveParameters(EvalState& st, game::Host* host, const std::filesystem::path& file);

// Start-up: "defaut.par" in the folder "Parametres" of the program folder,
// both names matched without regard to case. Without it every parameter
// stays zero (after the error box).
ParameterFileStatus loadDefaultParameters(game::Core& core);

}  // namespace eval
