#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "files/program_folder.h"

namespace fs = std::filesystem;

TEST(ProgramFolder, FindsNamesWhateverTheirCase) {
    const fs::path base = fs::temp_directory_path() / ("tavolex_pf_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    fs::remove_all(base);
    fs::create_directories(base / "parametres");
    std::ofstream(base / "parametres" / "DEFAUT.PAR") << "x";

    EXPECT_EQ(files::resolveInFolder(base, "Parametres/defaut.par"), base / "parametres" / "DEFAUT.PAR");
    // A missing part is appended as given, ready to be created.
    EXPECT_EQ(files::resolveInFolder(base, "Parametres/autre.par"), base / "parametres" / "autre.par");
    EXPECT_EQ(files::resolveInFolder(base, "Sauve/partie.dam"), base / "Sauve" / "partie.dam");
    // Leading separators, as in "\Sauve", stay inside the folder.
    EXPECT_EQ(files::resolveInFolder(base, "/PARAMETRES"), base / "parametres");
    fs::remove_all(base);
}
