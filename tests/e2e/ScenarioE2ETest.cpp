// A grid scenario on the real program's command line, after the log it belongs to: read first, its space's
// size, starting values and colours reported; a broken one reported on standard error.
#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/ProgramRun.h"
#include "tests/support/TempDir.h"

namespace {

const std::string kSamples = std::string(TESS_SOURCE_DIR) + "/samples/";

TEST(ScenarioE2ETest, AScenarioAfterItsLogIsReadFirst) {
    if (!ProgramRun::displayAvailable()) {
        GTEST_SKIP() << "the test command provides no display (DISPLAY)";
    }
    struct Case {
        std::string scenario;
        int status;
        std::string err;
        std::string line;  // in log.txt
    };
    TempDir dir;
    const std::string broken = dir.write("broken.txt", "{\"scenario\": {\"shape\": [0]}}");
    const std::string good = kSamples + "scenarios/heat_40x40.json";
    const std::vector<Case> cases = {
        {good, 0, "",
         "Model heat: Cell-DEVS, dim 40x40, initial value 24, initial values of 6 cells, not wrapped"},
        {broken, 1,
         "tessaron: " + broken + ": Scenario file " + broken +
             ": scenario.shape must be 1 to 3 positive whole numbers, not [0]\n",
         "Importing simulation results from log file: " + kSamples + "heat_40x40.log"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scenario);
        ProgramRun run({"--snapshot", "heat.png", kSamples + "heat_40x40.log", c.scenario});
        EXPECT_EQ(c.status, run.status()) << run.err();
        EXPECT_EQ(c.err, run.err());
        const std::string log = readFile(run.file("log.txt"));
        EXPECT_NE(std::string::npos, log.find(c.line)) << log.substr(0, 2000);
        const size_t scenario = log.find("Importing model file: " + c.scenario);
        EXPECT_LT(scenario, log.find("Importing simulation results from log file"));
    }
}

}  // namespace
