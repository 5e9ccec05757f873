// tavolex-cli hub as an interface drives it: line by line, with the answers
// checked as they come, during searches too.

#include <gtest/gtest.h>

#include <chrono>
#include <regex>

#include "cli/child_process.h"
#include "cli/hub_protocol.h"
#include "rules/fen.h"

namespace {

constexpr const char* StartPosition = "Wbbbbbbbbbbbbeeeeeeeewwwwwwwwwwww";
const std::regex InfoLine(
    R"(info depth=\d+ score=-?\d+\.\d\d( win(=\d+)?| loss(=\d+)?)? nodes=\d+ time=\d+\.\d{3} pv=("[0-9x\- ]*"|[0-9x\-]+))");
const std::regex DoneLine(R"(done move=\d+[-x]\d+(x\d+)*( ponder=\d+[-x]\d+(x\d+)*)?)");

class HubSession : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_hub.start(std::string(TAVOLEX_CLI) + " hub 2>/dev/null"));
        send("hub");
        EXPECT_TRUE(std::regex_match(next(), std::regex(R"(id name=Tavolex version=[0-9.]+ .*)")));
        EXPECT_EQ(next(), "param name=threads value=1 type=int min=1 max=8");
        EXPECT_EQ(next(), "wait");
        send("init");
        EXPECT_EQ(next(), "ready");
    }

    void send(const std::string& line) { ASSERT_TRUE(m_hub.send(line)) << line; }
    // The next line, or "(none)" when none comes within `ms`.
    std::string next(int ms = 30000) { return m_hub.readLine(ms).value_or("(none)"); }
    // The lines up to the first that is not thinking; every one of them is
    // checked as it comes.
    std::vector<std::string> thinkingThen(std::string& last, int ms = 30000) {
        std::vector<std::string> infos;
        for (;;) {
            last = next(ms);
            if (!last.starts_with("info ")) return infos;
            EXPECT_TRUE(std::regex_match(last, InfoLine)) << last;
            infos.push_back(last);
        }
    }
    // Milliseconds since `start`.
    static long long since(std::chrono::steady_clock::time_point start) {
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    }

    cli::ChildProcess m_hub;
};

TEST_F(HubSession, AnswersEveryLineAndRefusesWhatItCannotUse) {
    const struct {
        const char* line;
        const char* answer;  // nothing: no answer, which the "ping" after it shows
    } cases[] = {
        {"frobnicate", "error message=\"unknown command: frobnicate\""},
        {"level depth=99", "error message=\"level: depth takes a number from 1 to 30: level depth=99\""},
        {"level time=ten", "error message=\"level: time takes seconds, such as 60 or 0.5: level time=ten\""},
        {"level depth=\"4",
         "error message=\"malformed line (the value of depth lacks its closing quote): level depth='4\""},
        {"level depth=3 speed=9", nullptr},  // pairs the protocol does not know are passed over
        {"level moves=40 time=300 inc=2", nullptr},
        {"go think=1", "error message=\"go takes one of think, ponder and analyze, without a value: go think=1\""},
        {"go", "error message=\"go needs think, ponder or analyze: go\""},
        {"pos pos=Wbbbb", "error message=\"malformed position: pos pos=Wbbbb\""},
        {"pos pos=Wbbbbbbbbbbbbeeeeeeeewwwwwwwwwwww moves=\"22-18 11-14\"", "error message=\"illegal move: 11-14\""},
        {"new-game", nullptr},
        {"stop", nullptr},
        {"ponder-hit", nullptr},
        {"set-param name=book value=false", nullptr},
    };
    for (const auto& c : cases) {
        send(c.line);
        if (c.answer) {
            EXPECT_EQ(next(), c.answer) << c.line;
        }
        send("ping");
        EXPECT_EQ(next(), "pong") << c.line;
    }
}

TEST_F(HubSession, ThinksToTheDepthAskedAndNoDeeper) {
    send(std::string("pos pos=") + StartPosition + " moves=\"22-18\"");
    send("level depth=8");
    send("go think");
    std::string last;
    const auto infos = thinkingThen(last);
    EXPECT_TRUE(std::regex_match(last, DoneLine)) << last;
    ASSERT_FALSE(infos.empty());
    int deepest = 0;
    for (const std::string& i : infos) deepest = std::max(deepest, std::stoi(i.substr(11)));
    EXPECT_EQ(deepest, 8);
}

TEST_F(HubSession, PlansItsMoveFromTheClockItIsSent) {
    send(std::string("pos pos=") + StartPosition);
    send("level time=10 inc=0.5");
    const auto start = std::chrono::steady_clock::now();
    send("go think");
    std::string last;
    thinkingThen(last);
    EXPECT_TRUE(std::regex_match(last, DoneLine)) << last;
    // Well inside the ten seconds on the clock.
    EXPECT_LT(since(start), 10000);
}

TEST_F(HubSession, AnalysesUntilStoppedAndAnswersPingMeanwhile) {
    send(std::string("pos pos=") + StartPosition);
    send("level depth=2");  // "go analyze" knows no limit
    send("go analyze");
    std::string last;
    EXPECT_TRUE(std::regex_match(next(), InfoLine));
    send("ping");
    thinkingThen(last);
    EXPECT_EQ(last, "pong");
    send("stop");
    thinkingThen(last);
    EXPECT_TRUE(std::regex_match(last, DoneLine)) << last;
    send("ping");
    EXPECT_EQ(next(), "pong");
}

TEST_F(HubSession, PondersUntilThePonderHitThenMovesOnItsTime) {
    send(std::string("pos pos=") + StartPosition + " moves=\"22-18\"");
    send("level move-time=0.3");
    send("go ponder");
    // No move while the opponent is thinking.
    const auto start = std::chrono::steady_clock::now();
    while (since(start) < 700) {
        const auto line = m_hub.readLine(100);
        if (line) {
            EXPECT_TRUE(line->starts_with("info ")) << *line;
        }
    }
    send("ponder-hit");
    std::string last;
    thinkingThen(last, 10000);
    EXPECT_TRUE(std::regex_match(last, DoneLine)) << last;

    // A ponder that missed: "stop" ends it with a move all the same.
    send("go ponder");
    send("stop");
    thinkingThen(last);
    EXPECT_TRUE(std::regex_match(last, DoneLine)) << last;
}

TEST_F(HubSession, EndOfInputDuringASearchEndsTheProgram) {
    send("go analyze");
    EXPECT_TRUE(std::regex_match(next(), InfoLine));
    m_hub.closeInput();
    EXPECT_EQ(m_hub.wait(10000), 0);
    // Whatever thinking was on its way, no move follows.
    while (const auto line = m_hub.readLine(1000)) EXPECT_TRUE(line->starts_with("info ")) << *line;
}

TEST_F(HubSession, QuitDuringASearchEndsTheProgram) {
    send("go analyze");
    EXPECT_TRUE(std::regex_match(next(), InfoLine));
    send("quit");
    EXPECT_EQ(m_hub.wait(10000), 0);
}

TEST_F(HubSession, MarksAForcedWin) {
    // White takes Black's last piece: won after one ply.
    const rules::Position pos = *rules::parseFen("W:W22:B18").position;
    send("pos pos=" + cli::hub::positionText(pos.board, pos.side));
    send("go analyze");  // a single move is still searched in an analysis
    std::string last;
    const auto infos = thinkingThen(last);
    ASSERT_FALSE(infos.empty());
    EXPECT_NE(infos.back().find(" win=1 "), std::string::npos) << infos.back();
    EXPECT_EQ(last, "done move=22x15x18");
}

}  // namespace
