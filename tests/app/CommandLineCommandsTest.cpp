// The command line's commands: the lines after an import wait for its end, and a cancelled import ends them
// and fails the run.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "control/VCImportHost.h"
#include "control/VCSimulation.h"
#include "shell/VDGarbageCan.h"
#include "shell/app/CommandLineCommands.h"
#include "tests/support/LogRecorder.h"

namespace {

// Each import waits for the test to read it, as for the program's loop.
class ManualHost : public VCImportHost {
  public:
    void importStarted() override {}
    void importEnded() override {}
};

TEST(CommandLineCommandsTest, ACancelledImportEndsTheLinesThatWaitedForIt) {
    LogRecorder rec;
    createGarbageCan();
    createSimulation()->setImportHost(std::make_unique<ManualHost>());
    ASSERT_TRUE(getSimulation()->newVisualization("run"));
    const std::string import =
        "vis_import_logfile " + std::string(TESS_SOURCE_DIR) + "/samples/life_20x20.log";
    CommandLineCommands commands({import, "time_goto end"});
    testing::internal::CaptureStderr();
    commands.start();
    commands.advance();  // nothing has ended yet
    EXPECT_FALSE(commands.done());
    ASSERT_TRUE(getSimulation()->continueImport(0.01));
    getSimulation()->cancelImport();
    commands.advance();
    const std::string read = std::to_string(getSimulation()->getImportProgress().lines);
    EXPECT_EQ("tessaron: --command '" + import + "': Import cancelled after " + read + " lines\n",
              testing::internal::GetCapturedStderr());
    EXPECT_TRUE(commands.done());
    EXPECT_FALSE(commands.allRan());
    EXPECT_EQ(0u, rec.count("Moving to end...")) << "the line after it does not run";
    destroySimulation();
    destroyGarbageCan();
}

}  // namespace
