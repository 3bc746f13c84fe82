#include "shell/app/OpenLogs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "control/VCSimulation.h"
#include "simdata/SDEventList.h"
#include "simdata/SDVisualization.h"
#include "tests/support/LogRecorder.h"
#include "tests/support/TempDir.h"

namespace {

const std::string kLine = "msg Y / 00:00:00:100 / life(1,2)(9) / out / 1 to life(02)\n";

class OpenLogsTest : public ::testing::Test {
  protected:
    void SetUp() override { createSimulation(); }
    void TearDown() override { destroySimulation(); }
    size_t events() const { return getVisualization()->getEventList()->size(); }

    LogRecorder rec;
    TempDir dir;
};

TEST_F(OpenLogsTest, NamesTheRunAfterTheFirstLogAndImportsEachInOrderEvenTwice) {
    const std::string one = dir.write("first.run.log", kLine);
    const std::string two = dir.write("second.log", kLine + kLine);
    EXPECT_TRUE(openLogs({one, two, one}));
    ASSERT_NE(nullptr, getVisualization());
    EXPECT_EQ("first.run", getVisualization()->getName());
    EXPECT_EQ(4u, events());
    const std::vector<std::string> expected = {"Creating new visualization context named: first.run",
                                               "Importing simulation results from log file: " + one,
                                               "Importing simulation results from log file: " + two,
                                               "Importing simulation results from log file: " + one};
    std::vector<std::string> said;
    for (const std::string& line : rec.lines()) {
        if (line.rfind("Creating", 0) == 0 || line.rfind("Importing", 0) == 0) {
            said.push_back(line);
        }
    }
    EXPECT_EQ(expected, said);
}

TEST_F(OpenLogsTest, ALogThatCannotBeReadIsReportedWithTheLoadersMessageAndTheRestStillCome) {
    const std::string good = dir.write("good.log", kLine);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(openLogs({dir.file("missing.log"), dir.path(), good}));
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_EQ("tessaron: " + dir.file("missing.log") + ": Unable to open log file for import\n" +
                  "tessaron: " + dir.path() + ": Unable to open log file for import\n",
              errors);
    EXPECT_EQ("missing", getVisualization()->getName());
    EXPECT_EQ(1u, events());
}

TEST_F(OpenLogsTest, NoLogsOpenNothing) {
    EXPECT_TRUE(openLogs({}));
    EXPECT_EQ(nullptr, getVisualization());
}

}  // namespace
