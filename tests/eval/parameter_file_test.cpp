// Parameter files: the byte layout, the staging block with its reserved
// bytes, refused files, and the default file the build writes.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "eval/accumulators.h"
#include "eval/parameter_file.h"
#include "eval_support.h"
#include "game/core.h"

namespace fs = std::filesystem;

namespace {

class ParameterFiles : public testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("tavolex_par_" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    void writeBytes(const fs::path& p, const std::vector<std::uint8_t>& bytes) {
        std::ofstream(p, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    std::vector<std::uint8_t> readBytes(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::vector<std::uint8_t> randomBytes(std::size_t n, unsigned seed) {
        std::mt19937 rng(seed);
        std::vector<std::uint8_t> v(n);
        for (auto& b : v) b = static_cast<std::uint8_t>(rng());
        return v;
    }

    fs::path dir;
    evaltest::RecordingHost host;
};

TEST_F(ParameterFiles, FieldsSitAtTheirOffsets) {
    eval::EvalParameters p;
    p.manTables[eval::DefaultOpening][1] = 11;
    p.manTables[eval::Variant2Middle][32] = 250;
    p.p1 = 16;
    p.p2 = 10;
    p.p3 = -3;
    p.variant1White[0] = 14;
    p.variant2White[6] = 40;
    p.variant1Black[0] = 9;
    p.variant2Black[6] = -1;
    p.tempoWeights[eval::DefaultOpening] = -128;
    p.tempoWeights[eval::Variant2Middle] = 127;
    eval::ParameterBlock block{};
    eval::writeFields(p, block);
    EXPECT_EQ(block[1], 11);
    EXPECT_EQ(block[231 + 32], 250);
    EXPECT_EQ(block[264], 16);
    EXPECT_EQ(block[265], 10);
    EXPECT_EQ(block[266], 0xFD);
    EXPECT_EQ(block[267], 14);
    EXPECT_EQ(block[274 + 6], 40);
    EXPECT_EQ(block[281], 9);
    EXPECT_EQ(block[288 + 6], 0xFF);
    EXPECT_EQ(block[295], 0x80);
    EXPECT_EQ(block[302], 127);
    EXPECT_EQ(eval::readFields(block), p);
}

TEST_F(ParameterFiles, RoundTripKeepsEveryByteIncludingReserved) {
    const std::vector<std::uint8_t> original = randomBytes(eval::ParameterFileSize, 1);
    writeBytes(dir / "a.par", original);
    eval::EvalState st;
    ASSERT_EQ(eval::loadParameters(st, &host, dir / "a.par"), eval::ParameterFileStatus::Ok);
    ASSERT_EQ(eval::saveParameters(st, &host, dir / "b.par"), eval::ParameterFileStatus::Ok);
    EXPECT_EQ(readBytes(dir / "b.par"), original);
    EXPECT_TRUE(host.errors.empty());
    EXPECT_FALSE(fs::exists(dir / "b.par.tmp"));

    // Changed parameters go out with the reserved bytes of the last file read.
    st.params.p1 = 5;
    ASSERT_EQ(eval::saveParameters(st, &host, dir / "c.par"), eval::ParameterFileStatus::Ok);
    const std::vector<std::uint8_t> c = readBytes(dir / "c.par");
    ASSERT_EQ(c.size(), eval::ParameterFileSize);
    EXPECT_EQ(c[264], 5);
    EXPECT_TRUE(std::equal(c.begin() + eval::ReservedOffset, c.end(), original.begin() + eval::ReservedOffset));
    eval::EvalState fresh;
    ASSERT_EQ(eval::loadParameters(fresh, &host, dir / "c.par"), eval::ParameterFileStatus::Ok);
    EXPECT_EQ(fresh.params, st.params);
}

TEST_F(ParameterFiles, BeforeAnyFileTheReservedBytesAreZero) {
    eval::EvalState st;
    st.params = evaltest::rowParameters();
    ASSERT_EQ(eval::saveParameters(st, &host, dir / "new.par"), eval::ParameterFileStatus::Ok);
    const std::vector<std::uint8_t> bytes = readBytes(dir / "new.par");
    ASSERT_EQ(bytes.size(), eval::ParameterFileSize);
    EXPECT_TRUE(std::all_of(bytes.begin() + eval::ReservedOffset, bytes.end(), [](std::uint8_t b) { return b == 0; }));
}

TEST_F(ParameterFiles, ZeroFileGivesZeroParameters) {
    writeBytes(dir / "zero.par", std::vector<std::uint8_t>(eval::ParameterFileSize, 0));
    eval::EvalState st;
    st.params = evaltest::rowParameters();
    ASSERT_EQ(eval::loadParameters(st, &host, dir / "zero.par"), eval::ParameterFileStatus::Ok);
    EXPECT_EQ(st.params, eval::EvalParameters{});
    // Thresholds of zero: any position with men is an opening.
    eval::selectPhaseAndVariant(st, evaltest::board("W:W21:B1"));
    EXPECT_EQ(st.phase, eval::PhaseOpening);
}

TEST_F(ParameterFiles, LongerFileIsReadUpToOneBlock) {
    std::vector<std::uint8_t> bytes = randomBytes(eval::ParameterFileSize + 100, 2);
    writeBytes(dir / "long.par", bytes);
    eval::EvalState st;
    ASSERT_EQ(eval::loadParameters(st, &host, dir / "long.par"), eval::ParameterFileStatus::Ok);
    EXPECT_TRUE(std::equal(st.staging.begin(), st.staging.end(), bytes.begin()));
}

// A short file is not a parameter set: it is refused with the error box and
// changes nothing, rather than being half taken.
TEST_F(ParameterFiles, RefusedFilesChangeNothing) {
    writeBytes(dir / "good.par", randomBytes(eval::ParameterFileSize, 3));
    eval::EvalState st;
    ASSERT_EQ(eval::loadParameters(st, &host, dir / "good.par"), eval::ParameterFileStatus::Ok);
    const eval::EvalParameters params = st.params;
    const eval::ParameterBlock staging = st.staging;

    struct Case {
        const char* name;
        std::size_t size;
        eval::ParameterFileStatus status;
    };
    const Case cases[] = {
        {"empty.par", 0, eval::ParameterFileStatus::TooShort},
        {"short.par", eval::ParameterFileSize - 1, eval::ParameterFileStatus::TooShort},
        {"missing.par", 0, eval::ParameterFileStatus::CannotOpen},
        {"folder.par", 0, eval::ParameterFileStatus::CannotOpen},
    };
    fs::create_directory(dir / "folder.par");
    for (const Case& c : cases) {
        host.errors.clear();
        if (c.status != eval::ParameterFileStatus::CannotOpen) writeBytes(dir / c.name, randomBytes(c.size, 4));
        EXPECT_EQ(eval::loadParameters(st, &host, dir / c.name), c.status) << c.name;
        ASSERT_EQ(host.errors.size(), 1u) << c.name;
        EXPECT_EQ(host.errors[0], "Impossible d'ouvrir ce fichier");
        EXPECT_EQ(st.params, params) << c.name;
        EXPECT_EQ(st.staging, staging) << c.name;
    }
}

// A save that cannot be written leaves the previous file as it was.
TEST_F(ParameterFiles, FailedSaveKeepsThePreviousFile) {
    const std::vector<std::uint8_t> previous = randomBytes(eval::ParameterFileSize, 5);
    writeBytes(dir / "kept.par", previous);
    fs::permissions(dir / "kept.par", fs::perms(0444));
    eval::EvalState st;
    st.params = evaltest::rowParameters();
    EXPECT_EQ(eval::saveParameters(st, &host, dir / "kept.par"), eval::ParameterFileStatus::ReadOnly);
    ASSERT_EQ(host.errors.size(), 1u);
    EXPECT_EQ(host.errors[0], "Fichier en lecture seule : kept.par");
    EXPECT_EQ(readBytes(dir / "kept.par"), previous);
    EXPECT_EQ(st.staging, eval::ParameterBlock{});
    fs::permissions(dir / "kept.par", fs::perms(0644));

    EXPECT_EQ(eval::saveParameters(st, &host, dir / "no" / "such" / "folder.par"),
              eval::ParameterFileStatus::CannotOpen);
    EXPECT_EQ(host.errors.size(), 2u);
    EXPECT_EQ(host.errors[1], "Impossible d'ouvrir ce fichier");
}

TEST_F(ParameterFiles, StartUpFindsTheDefaultFileWhateverTheCase) {
    fs::create_directories(dir / "parametres");
    writeBytes(dir / "parametres" / "DEFAUT.PAR", randomBytes(eval::ParameterFileSize, 6));
    game::Core core;
    core.host = &host;
    core.programDir = dir;
    EXPECT_EQ(eval::loadDefaultParameters(core), eval::ParameterFileStatus::Ok);
    EXPECT_TRUE(host.errors.empty());

    // Without it: one message, and every parameter stays zero.
    game::Core bare;
    bare.host = &host;
    bare.programDir = dir / "elsewhere";
    EXPECT_EQ(eval::loadDefaultParameters(bare), eval::ParameterFileStatus::CannotOpen);
    EXPECT_EQ(host.errors.size(), 1u);
    EXPECT_EQ(bare.eval.params, eval::EvalParameters{});
}

#ifdef TAVOLEX_DEFAULT_PARAMETERS
// The values shipped in defaut.par make sense for the game.
TEST(DefaultParameters, AreSensible) {
    evaltest::RecordingHost host;
    eval::EvalState st;
    ASSERT_EQ(eval::loadParameters(st, &host, TAVOLEX_DEFAULT_PARAMETERS), eval::ParameterFileStatus::Ok);
    const eval::EvalParameters& p = st.params;
    EXPECT_GT(p.p1, p.p2);
    EXPECT_GT(p.p2, p.p3);
    EXPECT_GT(p.p3, 0);
    EXPECT_LE(p.p1, 24);

    const auto rowAverage = [](const eval::SquareTable& t, int row) {
        return (t[4 * row + 1] + t[4 * row + 2] + t[4 * row + 3] + t[4 * row + 4]) / 4.0;
    };
    for (int i = 0; i < eval::NumManTables; ++i) {
        const eval::SquareTable& t = p.manTables[i];
        // Rising towards promotion: the row before it beats the middle rows,
        // which beat the second row.
        EXPECT_GT(rowAverage(t, 6), rowAverage(t, 4)) << "table " << i;
        EXPECT_GT(rowAverage(t, 4), rowAverage(t, 1)) << "table " << i;
        // In the middle of the board the centre files are worth at least the
        // edge files on the whole (the fit moves single squares either way).
        EXPECT_GE(t[14] + t[15] + t[18] + t[19], t[13] + t[16] + t[17] + t[20]) << "table " << i;
    }
    // Early on, the back-row guards d8 and f8 are worth keeping.
    for (int i : {eval::DefaultOpening, eval::Variant1Opening, eval::Variant2Opening})
        for (int q : {2, 3}) EXPECT_GT(p.manTables[i][q], p.manTables[i][5]) << "table " << i;
    // A row of advance is worth a small share of a man, either way: the
    // tables carry most of the rise towards promotion.
    for (std::int8_t w : p.tempoWeights) EXPECT_TRUE(w >= -20 && w <= 40) << int(w);
    // Condition squares are real squares, and the start recognises neither variant.
    for (const eval::ConditionSquares* squares :
         {&p.variant1White, &p.variant2White, &p.variant1Black, &p.variant2Black})
        for (std::int8_t q : *squares) EXPECT_TRUE(q >= 1 && q <= 32);
    eval::selectPhaseAndVariant(st, rules::startingPosition());
    EXPECT_FALSE(st.variant1);
    EXPECT_FALSE(st.variant2);
    // A white outpost on c5 with its chain against Black's counterattack on the other wing.
    eval::selectPhaseAndVariant(st, evaltest::board("W:W14,17,18,21,22,23,26,27,30,31,32:B1,2,3,5,9,10,15,16,19,20"));
    EXPECT_TRUE(st.variant1);
}
#endif

}  // namespace
