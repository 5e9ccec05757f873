#pragma once
// The program folder holds the data the program reads and writes (pictures,
// parameters, books, saved games). Names inside it are matched without
// regard to case, so "Parametres/defaut.par" finds "parametres/DEFAUT.PAR".

#include <filesystem>
#include <string>
#include <string_view>

namespace files {

// The existing path below `base` whose components match `relative` ignoring
// case (an exact match is preferred); when a component does not exist, the
// rest is appended as given, so the result can be used to create it.
std::filesystem::path resolveInFolder(const std::filesystem::path& base, std::string_view relative);
// A folder of the program folder ("Sauve", "Parametres"...), found as above
// and made when `create` asks for it (a failure shows when it is used).
std::filesystem::path subfolder(const std::filesystem::path& base, std::string_view name, bool create);

}  // namespace files

namespace files {

// Where the program's data lives, in this order: the folder given on the
// command line; the folder of the executable when the data sits beside it
// (the build tree); otherwise a writable folder in the user's data
// directory, seeded on first start with a copy of the installed data.
struct FolderChoice {
    std::filesystem::path folder;
    bool seeded = false;   // the installed data was copied there just now
    std::string problem;   // why the folder may be incomplete; empty when all is well
};
FolderChoice chooseProgramFolder(const std::filesystem::path& commandLineFolder,
                                 const std::filesystem::path& executableFolder,
                                 const std::filesystem::path& installedData, const std::filesystem::path& userData);

}  // namespace files
