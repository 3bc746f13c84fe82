// A Cadmium 1 run's two files given on the command line make one run.
#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/ProgramRun.h"

namespace {

size_t countLines(const std::string& text, const std::string& line) {
    size_t n = 0;
    for (size_t at = 0; (at = text.find(line + "\n", at)) != std::string::npos; at += line.size()) {
        n += (at == 0 || text[at - 1] == '\n') ? 1 : 0;
    }
    return n;
}

TEST(Cadmium1E2ETest, TheMessageAndStateFilesOnTheCommandLineMakeOneRun) {
    if (!ProgramRun::displayAvailable()) {
        GTEST_SKIP() << "the test command provides no display (DISPLAY)";
    }
    const std::string samples = std::string(TESS_SOURCE_DIR) + "/samples/cadmium1/";
    const std::string messages = samples + "forest_messages.txt";
    const std::string states = samples + "forest_state.txt";
    ProgramRun run({"--snapshot", "forest.png", "--time", "end", states, messages});
    ASSERT_EQ(0, run.status()) << run.err();
    EXPECT_EQ("", run.err());
    EXPECT_TRUE(run.exists("forest.png"));
    const std::string log = readFile(run.file("log.txt"));
    EXPECT_EQ(1u, countLines(log, "Importing simulation results from log file: " + messages)) << log;
    EXPECT_EQ(1u, countLines(log, "Importing simulation results from log file: " + states));
    // By hand: the last time line with records is 00:00:03:000:250.
    EXPECT_EQ(1u, countLines(log, "Current time: 00:00:03:000")) << log;
}

}  // namespace
