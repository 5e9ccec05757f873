// Saving never loses the file it replaces: what the old file was (its
// mode, a link to it, a read-only mark) is respected, and a save that fails
// halfway leaves the old bytes and no stray file behind.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "files/save_file.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::uint8_t> bytesOf(std::string_view text) { return {text.begin(), text.end()}; }

class SaveFile : public testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("tavolex_save_" + std::to_string(::getpid()) + "_" +
                                           testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override {
        std::error_code ec;
        fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(dir, ec);
    }
    std::string path(const std::string& name) const { return (dir / name).string(); }
    void write(const std::string& name, std::string_view text) const {
        std::ofstream(dir / name, std::ios::binary) << text;
    }
    std::string read(const std::string& name) const {
        std::ifstream in(dir / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    mode_t mode(const std::string& name) const {
        struct stat st {};
        ::stat(path(name).c_str(), &st);
        return st.st_mode & 07777;
    }
    // The folder holds exactly these names: no temporary file was left.
    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (const auto& e : fs::directory_iterator(dir)) out.push_back(e.path().filename().string());
        std::sort(out.begin(), out.end());
        return out;
    }
    fs::path dir;
};

// A file of at most `bytes` bytes can be written while this lives: the
// process's own limit on file sizes stands in for a full disk.
class DiskFullAfter {
public:
    explicit DiskFullAfter(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &m_saved);
        m_handler = ::signal(SIGXFSZ, SIG_IGN);
        rlimit small = m_saved;
        small.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &small);
    }
    ~DiskFullAfter() {
        ::setrlimit(RLIMIT_FSIZE, &m_saved);
        ::signal(SIGXFSZ, m_handler);
    }

private:
    rlimit m_saved{};
    sighandler_t m_handler;
};

TEST_F(SaveFile, ReplacesTheBytesAndKeepsTheMode) {
    write("game.dam", "old bytes");
    fs::permissions(path("game.dam"), fs::perms(0640));
    ASSERT_EQ(files::saveFile(path("game.dam"), bytesOf("new")), files::SaveStatus::Saved);
    EXPECT_EQ(read("game.dam"), "new");
    EXPECT_EQ(mode("game.dam"), 0640u);
    EXPECT_EQ(names(), std::vector<std::string>{"game.dam"});

    // A new file gets the mode any new file gets here.
    const mode_t mask = ::umask(022);
    ::umask(mask);
    ASSERT_EQ(files::saveFile(path("fresh.dam"), bytesOf("x")), files::SaveStatus::Saved);
    EXPECT_EQ(mode("fresh.dam"), 0666u & ~mask);
}

TEST_F(SaveFile, ReadOnlyTargetsAreRefusedAndKept) {
    write("kept.dam", "old bytes");
    fs::permissions(path("kept.dam"), fs::perms(0444));
    EXPECT_EQ(files::saveTargetStatus(path("kept.dam")), files::SaveStatus::ReadOnly);
    EXPECT_EQ(files::saveFile(path("kept.dam"), bytesOf("new")), files::SaveStatus::ReadOnly);
    EXPECT_EQ(read("kept.dam"), "old bytes");
    EXPECT_EQ(mode("kept.dam"), 0444u);
    EXPECT_EQ(names(), std::vector<std::string>{"kept.dam"});
    EXPECT_EQ(files::saveStatusText(files::SaveStatus::ReadOnly, "kept.dam"), "Fichier en lecture seule : kept.dam");
    EXPECT_EQ(files::saveStatusText(files::SaveStatus::CannotCreate, "x"), "Impossible d'ouvrir ce fichier");
}

TEST_F(SaveFile, SymbolicLinksAreWrittenThrough) {
    fs::create_directories(dir / "real");
    write("real/game.dam", "old bytes");
    // Relative and absolute links, and a link to a link.
    fs::create_symlink("real/game.dam", dir / "relative.dam");
    fs::create_symlink(dir / "real" / "game.dam", dir / "absolute.dam");
    fs::create_symlink("relative.dam", dir / "chain.dam");
    for (const char* link : {"relative.dam", "absolute.dam", "chain.dam"}) {
        ASSERT_EQ(files::saveFile(path(link), bytesOf(link)), files::SaveStatus::Saved) << link;
        EXPECT_TRUE(fs::is_symlink(dir / link)) << link;
        EXPECT_EQ(read("real/game.dam"), link);
    }
    // A link to a file not yet there creates that file.
    fs::create_symlink("real/later.dam", dir / "dangling.dam");
    ASSERT_EQ(files::saveFile(path("dangling.dam"), bytesOf("later")), files::SaveStatus::Saved);
    EXPECT_TRUE(fs::is_symlink(dir / "dangling.dam"));
    EXPECT_EQ(read("real/later.dam"), "later");
    // A loop of links is refused.
    fs::create_symlink("loop2.dam", dir / "loop1.dam");
    fs::create_symlink("loop1.dam", dir / "loop2.dam");
    EXPECT_EQ(files::saveFile(path("loop1.dam"), bytesOf("x")), files::SaveStatus::NotAFile);
}

TEST_F(SaveFile, TheUsersOwnTmpFileIsNotTouched) {
    write("game.dam.tmp", "the user's own file");
    write("game.dam", "old");
    ASSERT_EQ(files::saveFile(path("game.dam"), bytesOf("new")), files::SaveStatus::Saved);
    EXPECT_EQ(read("game.dam.tmp"), "the user's own file");
    EXPECT_EQ(read("game.dam"), "new");
    EXPECT_EQ(names(), (std::vector<std::string>{"game.dam", "game.dam.tmp"}));
}

TEST_F(SaveFile, ANameAsLongAsTheSystemAllowsIsSaved) {
    const std::string longest = std::string(251, 'n') + ".dam";   // 255 bytes
    ASSERT_EQ(files::saveFile(path(longest), bytesOf("a")), files::SaveStatus::Saved);
    ASSERT_EQ(files::saveFile(path(longest), bytesOf("b")), files::SaveStatus::Saved);
    EXPECT_EQ(read(longest), "b");
    EXPECT_EQ(names(), std::vector<std::string>{longest});
    EXPECT_EQ(files::saveFile(path(std::string(252, 'n') + ".dam"), bytesOf("c")), files::SaveStatus::CannotCreate);
}

TEST_F(SaveFile, TargetsThatCannotBeFilesAreRefused) {
    fs::create_directories(dir / "folder.dam");
    const struct {
        std::string path;
        files::SaveStatus status;
    } cases[] = {
        {path("folder.dam"), files::SaveStatus::NotAFile},
        {path("no-such-folder/x.dam"), files::SaveStatus::CannotCreate},
        {"/dev/null", files::SaveStatus::NotAFile},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(files::saveTargetStatus(c.path), c.status) << c.path;
        EXPECT_EQ(files::saveFile(c.path, bytesOf("x")), c.status) << c.path;
    }
    EXPECT_TRUE(fs::is_directory(dir / "folder.dam"));
    EXPECT_EQ(names(), std::vector<std::string>{"folder.dam"});
}

TEST_F(SaveFile, AFullDiskKeepsTheOldFileWhole) {
    write("game.dam", "old bytes");
    const std::vector<std::uint8_t> big(22442, 7);
    {
        DiskFullAfter full(4096);
        EXPECT_EQ(files::saveFile(path("game.dam"), big), files::SaveStatus::WriteFailed);
    }
    EXPECT_EQ(read("game.dam"), "old bytes");
    EXPECT_EQ(names(), std::vector<std::string>{"game.dam"});
}

// ------------------------------------------------------------ together

TEST_F(SaveFile, FilesSavedTogetherChangeAllOrNone) {
    write("b.ouv", "old b");
    write("n.ouv", "old n");
    const files::FileToSave pair[] = {{path("b.ouv"), bytesOf("new b")}, {path("n.ouv"), bytesOf("new n")}};

    // Each way the second file can fail leaves the first one as it was.
    struct Failure {
        const char* name;
        void (*arrange)(const fs::path& dir);
        files::SaveStatus status;
    };
    const Failure failures[] = {
        {"read-only", [](const fs::path& d) { fs::permissions(d / "n.ouv", fs::perms(0444)); },
         files::SaveStatus::ReadOnly},
        {"a folder",
         [](const fs::path& d) {
             fs::remove(d / "n.ouv");
             fs::create_directory(d / "n.ouv");
         },
         files::SaveStatus::NotAFile},
    };
    for (const Failure& f : failures) {
        f.arrange(dir);
        EXPECT_EQ(files::saveFilesTogether(pair), f.status) << f.name;
        EXPECT_EQ(read("b.ouv"), "old b") << f.name;
        EXPECT_EQ(names(), (std::vector<std::string>{"b.ouv", "n.ouv"})) << f.name;
        std::error_code ec;
        fs::permissions(dir / "n.ouv", fs::perms(0644), ec);
        fs::remove(dir / "n.ouv");
        write("n.ouv", "old n");
    }

    // The disk fills while the second file is written.
    const std::vector<std::uint8_t> big(8192, 1);
    const files::FileToSave uneven[] = {{path("b.ouv"), bytesOf("new b")}, {path("n.ouv"), big}};
    {
        DiskFullAfter full(4096);
        EXPECT_EQ(files::saveFilesTogether(uneven), files::SaveStatus::WriteFailed);
    }
    EXPECT_EQ(read("b.ouv"), "old b");
    EXPECT_EQ(read("n.ouv"), "old n");
    EXPECT_EQ(names(), (std::vector<std::string>{"b.ouv", "n.ouv"}));

    ASSERT_EQ(files::saveFilesTogether(pair), files::SaveStatus::Saved);
    EXPECT_EQ(read("b.ouv"), "new b");
    EXPECT_EQ(read("n.ouv"), "new n");
}

}  // namespace
