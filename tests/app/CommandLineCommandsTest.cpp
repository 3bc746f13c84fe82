// A cancelled import ends the command line's lines that waited for it and fails the run.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "control/VCImportHost.h"
#include "control/VCSimulation.h"
#include "shell/VDGarbageCan.h"
#include "shell/app/CommandLineCommands.h"
#include "tests/support/LogRecorder.h"

namespace {

// Slices are read when the test says so.
struct ManualHost : VCImportHost {
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
    commands.start();
    ASSERT_TRUE(getSimulation()->isImporting());
    getSimulation()->cancelImport();
    commands.advance();
    EXPECT_TRUE(commands.done());
    EXPECT_FALSE(commands.allRan());
    EXPECT_EQ(0u, rec.count("Moving to end..."));
    destroySimulation();
    destroyGarbageCan();
}

}  // namespace
