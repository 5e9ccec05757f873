#include "files/save_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

#include "files/bytes.h"

namespace files {

namespace fs = std::filesystem;

namespace {

// Links are followed at most this many times; a longer chain is a loop.
constexpr int MaxLinkHops = 40;

// The file a path finally names, its symbolic links followed (a link to a
// file not yet there gives the path the new file will have). Nothing for a
// loop of links.
std::optional<fs::path> followLinks(const std::string& path) {
    fs::path p = path;
    for (int hop = 0; hop < MaxLinkHops; ++hop) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(p, ec))) return p;
        const fs::path target = fs::read_symlink(p, ec);
        if (ec) return std::nullopt;
        p = target.is_absolute() ? target : p.parent_path() / target;
    }
    return std::nullopt;
}

fs::path folderOf(const fs::path& file) {
    const fs::path parent = file.parent_path();
    return parent.empty() ? fs::path(".") : parent;
}

// `existed` is set when the target is there, `st` then describes it.
SaveStatus targetStatus(const fs::path& target, bool& existed, struct stat& st) {
    existed = false;
    if (::stat(target.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode)) return SaveStatus::NotAFile;
        // The permission bits decide even for the superuser, who could
        // write anyway: a file marked read-only is the user's choice.
        if ((st.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0) return SaveStatus::ReadOnly;
        existed = true;
    } else if (errno != ENOENT) {
        return SaveStatus::CannotCreate;
    }
    // The new file is made in the target's folder and renamed there.
    struct stat dir {};
    const fs::path folder = folderOf(target);
    if (::stat(folder.c_str(), &dir) != 0 || !S_ISDIR(dir.st_mode) || ::access(folder.c_str(), W_OK | X_OK) != 0)
        return SaveStatus::CannotCreate;
    return SaveStatus::Saved;
}

// The permission bits a new file gets by default. Read from the process's
// status rather than set and reset with umask(), which would be visible to
// other threads creating files meanwhile.
mode_t newFileMode() {
    mode_t mask = 022;
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("Umask:", 0) == 0) {
            mask = static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8));
            break;
        }
    }
    return 0666 & ~mask;
}

bool writeAll(int fd, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// The bytes in a new file beside `target`, with the mode and owner of the
// file it will replace (`existing`, or null for a new file). The temporary
// name is short whatever the target's length.
SaveStatus writeAside(const fs::path& target, const struct stat* existing, std::span<const std::uint8_t> bytes,
                      fs::path& temporary) {
    std::string name = (folderOf(target) / ".tavolex-XXXXXX").string();
    const int fd = ::mkstemp(name.data());
    if (fd < 0) return SaveStatus::CannotCreate;
    temporary = name;
    bool ok = writeAll(fd, bytes);
    if (existing) {
        ok = ok && ::fchmod(fd, existing->st_mode & 07777) == 0;
        // Only the superuser can give a file away; anyone else saves files
        // that are theirs already.
        if (ok && (existing->st_uid != ::geteuid() || existing->st_gid != ::getegid())) {
            if (::fchown(fd, existing->st_uid, existing->st_gid) != 0) {
                // The new file stays the saver's: still the right bytes.
            }
        }
    } else {
        ok = ok && ::fchmod(fd, newFileMode()) == 0;
    }
    // Flushed before the rename, so that the name never points at a file
    // whose bytes are not yet on the disk.
    ok = ::fsync(fd) == 0 && ok;
    ok = ::close(fd) == 0 && ok;
    if (!ok) {
        ::unlink(name.c_str());
        return SaveStatus::WriteFailed;
    }
    return SaveStatus::Saved;
}

struct Prepared {
    fs::path target;
    bool existed = false;
    struct stat st {};
};

SaveStatus prepare(const std::string& path, Prepared& out) {
    const std::optional<fs::path> target = followLinks(path);
    if (!target) return SaveStatus::NotAFile;
    out.target = *target;
    return targetStatus(out.target, out.existed, out.st);
}

}  // namespace

SaveStatus saveTargetStatus(const std::string& path) {
    Prepared p;
    return prepare(path, p);
}

SaveStatus saveFile(const std::string& path, std::span<const std::uint8_t> bytes) {
    Prepared p;
    if (const SaveStatus s = prepare(path, p); s != SaveStatus::Saved) return s;
    fs::path temporary;
    if (const SaveStatus s = writeAside(p.target, p.existed ? &p.st : nullptr, bytes, temporary);
        s != SaveStatus::Saved)
        return s;
    if (::rename(temporary.c_str(), p.target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return SaveStatus::CannotCreate;
    }
    return SaveStatus::Saved;
}

SaveStatus saveFilesTogether(std::span<const FileToSave> files) {
    // Step 1. Every target must be savable, and the old bytes of each are
    // kept to be put back should a later rename fail.
    std::vector<Prepared> prepared(files.size());
    std::vector<std::optional<std::vector<std::uint8_t>>> old(files.size());
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (const SaveStatus s = prepare(files[i].path, prepared[i]); s != SaveStatus::Saved) return s;
        if (prepared[i].existed) {
            FileError error = FileError::None;
            old[i] = readWholeFile(prepared[i].target.string(), error, std::size_t{1} << 30);
            if (error != FileError::None) return SaveStatus::CannotCreate;
        }
    }

    // Step 2. All the new bytes aside.
    std::vector<fs::path> temporary(files.size());
    const auto discard = [&](std::size_t from) {
        for (std::size_t i = from; i < temporary.size(); ++i)
            if (!temporary[i].empty()) ::unlink(temporary[i].c_str());
    };
    for (std::size_t i = 0; i < files.size(); ++i) {
        const Prepared& p = prepared[i];
        const SaveStatus s = writeAside(p.target, p.existed ? &p.st : nullptr, files[i].bytes, temporary[i]);
        if (s != SaveStatus::Saved) {
            discard(0);
            return s;
        }
    }

    // Step 3. The renames; a failure puts back what was already replaced.
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (::rename(temporary[i].c_str(), prepared[i].target.c_str()) == 0) continue;
        discard(i);
        for (std::size_t j = 0; j < i; ++j) {
            if (old[j])
                saveFile(prepared[j].target.string(), *old[j]);
            else
                ::unlink(prepared[j].target.c_str());
        }
        return SaveStatus::CannotCreate;
    }
    return SaveStatus::Saved;
}

std::string saveStatusText(SaveStatus status, const std::string& name) {
    switch (status) {
        case SaveStatus::Saved: return {};
        case SaveStatus::ReadOnly: return "Fichier en lecture seule : " + name;
        default: return "Impossible d'ouvrir ce fichier";
    }
}

}  // namespace files
