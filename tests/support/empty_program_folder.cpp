// Every test runs in an empty temporary folder of its own. A core whose
// program folder was not given reads its data from the current folder, so
// what a test finds there must not depend on where it was started: run
// from the build folder it would otherwise find the endgame tables, the
// learned positions and the books the build made, and answer differently.
// Tests that want data give the core a program folder.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

class EmptyProgramFolder : public testing::Environment {
public:
    void SetUp() override {
        std::error_code ec;
        m_previous = std::filesystem::current_path(ec);
        std::string pattern = (std::filesystem::temp_directory_path(ec) / "tavolex-test-XXXXXX").string();
        if (!mkdtemp(pattern.data())) FAIL() << "no temporary folder for the tests";
        m_folder = pattern;
        std::filesystem::current_path(m_folder, ec);
        if (ec) FAIL() << "cannot enter " << m_folder << ": " << ec.message();
    }
    void TearDown() override {
        std::error_code ec;
        if (!m_previous.empty()) std::filesystem::current_path(m_previous, ec);
        if (!m_folder.empty()) std::filesystem::remove_all(m_folder, ec);
    }

private:
    std::filesystem::path m_previous;
    std::filesystem::path m_folder;
};

[[maybe_unused]] testing::Environment* const kEmptyProgramFolder =
    testing::AddGlobalTestEnvironment(new EmptyProgramFolder);

}  // namespace
