#pragma once
// Saving a file without ever losing the one it replaces. The bytes go to a
// fresh temporary file in the target's own folder, are flushed to the disk,
// and only then take the target's name; until that rename the old file is
// untouched, and after it the new one is whole.
//
// What a save keeps of the file it replaces: its permission bits and owner,
// and a symbolic link, which is followed so that the file it points to gets
// the new bytes and the link stays a link. A read-only target is refused
// rather than replaced. The temporary name is short and unique (mkstemp), so
// a target whose name is as long as the system allows can still be saved and
// no file of the user's that happens to end in ".tmp" is touched.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace files {

enum class SaveStatus {
    Saved,
    ReadOnly,       // the target exists and its permission bits forbid writing
    NotAFile,       // the target is a folder or another kind of special file
    CannotCreate,   // the folder is missing or refuses a new file
    WriteFailed,    // the disk refused part of the bytes (full, I/O error)
};

// Why a save to `path` would be refused before a byte is written: Saved
// when nothing visible stands in the way. A front end that only learnt that
// a save failed asks this to say why.
SaveStatus saveTargetStatus(const std::string& path);

// The one routine every save goes through.
SaveStatus saveFile(const std::string& path, std::span<const std::uint8_t> bytes);

// The error box's text for a failed save of `name`.
std::string saveStatusText(SaveStatus status, const std::string& name);

// Files that belong together (the two books of the active library set):
// either every one of them gets its new bytes or none changes. All are
// written aside first; only when every temporary file is whole are they
// renamed over their targets, and should a rename fail the targets already
// renamed get their old bytes back.
struct FileToSave {
    std::string path;
    std::vector<std::uint8_t> bytes;
};
SaveStatus saveFilesTogether(std::span<const FileToSave> files);

}  // namespace files
