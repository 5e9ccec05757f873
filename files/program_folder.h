#pragma once
// The program folder holds the data the program reads and writes (pictures,
// parameters, books, saved games). Names inside it are matched without
// regard to case, so "Parametres/defaut.par" finds "parametres/DEFAUT.PAR".

#include <filesystem>
#include <string_view>

namespace files {

// The existing path below `base` whose components match `relative` ignoring
// case (an exact match is preferred); when a component does not exist, the
// rest is appended as given, so the result can be used to create it.
std::filesystem::path resolveInFolder(const std::filesystem::path& base, std::string_view relative);

}  // namespace files
