#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "files/program_folder.h"

namespace fs = std::filesystem;

TEST(ProgramFolder, FindsNamesWhateverTheirCase) {
    const fs::path base =
        fs::temp_directory_path() / ("tavolex_pf_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
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

// Which folder the program uses: the one given, the data beside the
// executable, or the user's copy seeded once from the installed data.
TEST(ProgramFolder, ChoosesAndSeedsTheFolder) {
    const fs::path base = fs::temp_directory_path() /
                          ("tavolex_choice_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    fs::remove_all(base);
    const fs::path build = base / "build", installed = base / "share" / "tavolex", user = base / "user" / "Tavolex";
    fs::create_directories(build / "Images1");
    fs::create_directories(installed / "IMAGES1");
    std::ofstream(installed / "IMAGES1" / "1pva.bmp") << "installed";
    const fs::path bin = base / "bin";
    fs::create_directories(bin);

    files::FolderChoice c = files::chooseProgramFolder(base / "elsewhere", build, installed, user);
    EXPECT_EQ(c.folder, base / "elsewhere");
    EXPECT_FALSE(c.problem.empty());  // it does not exist

    c = files::chooseProgramFolder({}, build, installed, user);
    EXPECT_EQ(c.folder, build);
    EXPECT_FALSE(c.seeded);

    c = files::chooseProgramFolder({}, bin, installed, user);
    EXPECT_EQ(c.folder, user);
    EXPECT_TRUE(c.seeded);
    EXPECT_TRUE(c.problem.empty());
    EXPECT_TRUE(fs::exists(user / "IMAGES1" / "1pva.bmp"));

    // Later starts keep what the user's folder holds.
    std::ofstream(user / "IMAGES1" / "1pva.bmp") << "changed";
    c = files::chooseProgramFolder({}, bin, installed, user);
    EXPECT_FALSE(c.seeded);
    std::ifstream in(user / "IMAGES1" / "1pva.bmp");
    std::string text;
    in >> text;
    EXPECT_EQ(text, "changed");

    c = files::chooseProgramFolder({}, bin, base / "nothing", base / "user2");
    EXPECT_FALSE(c.problem.empty());
    fs::remove_all(base);
}
