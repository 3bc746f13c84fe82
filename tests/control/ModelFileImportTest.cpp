// Model files read in slices through a host, as logs are, and what their sizes are read as.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "control/VCImportHost.h"
#include "control/VCSimulation.h"
#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDCouplings.h"
#include "simdata/SDDevsModelList.h"
#include "simdata/SDVisualization.h"
#include "tests/support/LogRecorder.h"
#include "tests/support/TempDir.h"

namespace {

const std::string kSample = std::string(TESS_SOURCE_DIR) + "/samples/life_20x20.log";

// The test reads each slice itself, as the program's loop would; a slice of 0 ms is one batch of lines.
class ManualHost : public VCImportHost {
  public:
    void importStarted() override {}
    void importEnded() override {}
};

class ModelFileImportTest : public ::testing::Test {
  protected:
    void SetUp() override {
        simulation.setImportHost(std::make_unique<ManualHost>());
        ASSERT_TRUE(simulation.newVisualization("run"));
        // 1 + 1,000 + 8 = 1,009 lines: a coupled model of 1,000 links, then two cell spaces.
        std::string text = "[top]\n";
        for (int i = 0; i < 1000; ++i) {
            text += "link : out@m" + std::to_string(i) + " in@m" + std::to_string(i + 1) + "\n";
        }
        text += "[plane]\nwidth : 10\nheight : 3\ninitialvalue : 2\n";
        path = dir.write("run.ma", text + "[dot]\nheight : 1\nwidth : 1\ninitialvalue : 0\n");
    }
    void TearDown() override { simulation.closeVisualization(); }

    size_t links() const {
        const SDCoupledModel* top = getVisualization()->getCouplings()->find("top");
        return top == nullptr ? 0 : top->links.size();
    }
    SDCELLDevsModel* model(const std::string& name) const {
        return dynamic_cast<SDCELLDevsModel*>(getVisualization()->getModelList()->findModel(name));
    }

    TempDir dir;
    std::string path;
    VCSimulation simulation;
};

TEST_F(ModelFileImportTest, ACancelAppliesNothingAndAReadToTheEndAppliesAll) {
    LogRecorder rec;
    ASSERT_TRUE(simulation.startModelFile(path));
    ASSERT_TRUE(simulation.continueImport(0.0));
    const long long read = simulation.getImportProgress().lines;
    ASSERT_TRUE(read > 0 && read < 1009) << read;
    EXPECT_TRUE(simulation.cancelImport());
    EXPECT_EQ(1u, rec.count("Model file " + path + " cancelled after " + std::to_string(read) +
                            " lines: nothing of it was applied"));
    EXPECT_EQ(0u, links());
    EXPECT_EQ(nullptr, model("plane"));

    ASSERT_TRUE(simulation.startModelFile(path));
    while (simulation.continueImport(50.0)) {
    }
    EXPECT_EQ(1009, simulation.getImportProgress().lines);
    EXPECT_EQ(1000u, links());
    EXPECT_EQ(1u, rec.count("Model file " + path + " read: 3 models"));
    ASSERT_NE(nullptr, model("plane"));
    EXPECT_EQ(10u, model("plane")->getWidth()) << "width counts rows, as stored files have it";
    EXPECT_EQ(1u, rec.count("Model plane: Cell-DEVS, dim 10x3 (10 rows, 3 columns), initial value 2"));
    EXPECT_EQ(1u, rec.count("Model dot: Cell-DEVS, dim 1x1 (1 row, 1 column), initial value 0"));
}

TEST_F(ModelFileImportTest, OneFileAtATime) {
    struct Case {
        bool modelFirst;  // then the other kind is asked for
        std::string refusal;
    };
    const std::vector<Case> cases = {
        {true, "Unable to import from log file while a model file is being imported"},
        {false, "Unable to import from model file while a log file is being imported"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.refusal);
        ASSERT_TRUE(c.modelFirst ? simulation.startModelFile(path) : simulation.startImport(kSample));
        ASSERT_TRUE(simulation.continueImport(0.0));
        LogRecorder rec;
        EXPECT_FALSE(c.modelFirst ? simulation.importLogFile(kSample) : simulation.importModelFile(path));
        EXPECT_EQ((std::vector<std::string>{c.refusal}), rec.lines());
        EXPECT_TRUE(simulation.isImporting()) << "the running import goes on";
        simulation.cancelImport();
    }
}

}  // namespace
