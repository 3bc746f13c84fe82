// Model files read in slices through a host, as logs are: nothing applied until the last line is read, a
// cancel that applies nothing, one import at a time; and the size each form of a model file's size is read
// as, in the reply.
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

class CountingHost : public VCImportHost {
  public:
    CountingHost(int& started, int& ended) : m_started(started), m_ended(ended) {}
    void importStarted() override { ++m_started; }
    void importEnded() override { ++m_ended; }

  private:
    int& m_started;
    int& m_ended;
};

class ModelFileImportTest : public ::testing::Test {
  protected:
    void SetUp() override {
        simulation.setImportHost(std::make_unique<CountingHost>(started, ended));
        ASSERT_TRUE(simulation.newVisualization("run"));
        // 1 + 1,000 + 4 = 1,005 lines: a coupled model of 1,000 links, then a cell space.
        std::string text = "[top]\n";
        for (int i = 0; i < 1000; ++i) {
            text += "link : out@m" + std::to_string(i) + " in@m" + std::to_string(i + 1) + "\n";
        }
        text += "[plane]\nwidth : 10\nheight : 3\ninitialvalue : 2\n";
        path = dir.write("run.ma", text);
    }
    void TearDown() override { simulation.closeVisualization(); }

    size_t links() const {
        const SDCoupledModel* top = getVisualization()->getCouplings()->find("top");
        return top == nullptr ? 0 : top->links.size();
    }
    SDCELLDevsModel* plane() const {
        return dynamic_cast<SDCELLDevsModel*>(getVisualization()->getModelList()->findModel("plane"));
    }

    TempDir dir;
    std::string path;
    int started = 0;
    int ended = 0;
    VCSimulation simulation;
};

TEST_F(ModelFileImportTest, SlicesApplyTheWholeFileOnceTheLastLineIsRead) {
    LogRecorder rec;
    ASSERT_TRUE(simulation.startModelFile(path));
    EXPECT_EQ(1, started);
    EXPECT_TRUE(simulation.isImporting());
    int slices = 0;
    long long lines = 0;
    while (simulation.continueImport(0.001)) {
        ++slices;
        const VCImportProgress progress = simulation.getImportProgress();
        EXPECT_GT(progress.lines, lines);
        EXPECT_EQ(path, progress.fileName);
        lines = progress.lines;
        EXPECT_EQ(0u, links()) << "nothing is applied while lines remain";
        EXPECT_EQ(nullptr, plane());
    }
    EXPECT_GE(slices, 3) << "a slice looks at the clock every few hundred lines";
    EXPECT_EQ(1, ended);
    EXPECT_FALSE(simulation.isImporting());
    EXPECT_EQ("", simulation.getImportFailure());
    EXPECT_EQ(1005, simulation.getImportProgress().lines);
    EXPECT_EQ(1.0, simulation.getImportProgress().fraction());
    EXPECT_EQ(1000u, links());
    ASSERT_NE(nullptr, plane());
    EXPECT_EQ(10u, plane()->getWidth());
    EXPECT_EQ(1u, rec.count("Model file " + path + " read: 2 models"));
}

TEST_F(ModelFileImportTest, ACancelledFileAppliesNothingAndSaysSo) {
    LogRecorder rec;
    ASSERT_TRUE(simulation.startModelFile(path));
    ASSERT_TRUE(simulation.continueImport(0.001));
    const long long read = simulation.getImportProgress().lines;
    ASSERT_GT(read, 0);
    ASSERT_LT(read, 1005);
    EXPECT_TRUE(simulation.cancelImport());
    EXPECT_FALSE(simulation.isImporting());
    EXPECT_EQ(1, ended);
    const std::string message = "Model file " + path + " cancelled after " + std::to_string(read) +
                                " lines: nothing of it was applied";
    EXPECT_EQ(message, simulation.getImportFailure());
    EXPECT_EQ(1u, rec.count(message));
    EXPECT_TRUE(simulation.wasImportCancelled());
    EXPECT_EQ(0u, links());
    EXPECT_EQ(nullptr, plane());
    EXPECT_EQ(0u, rec.count("Model file " + path + " read: 2 models"));

    // Read again, it is applied whole.
    ASSERT_TRUE(simulation.startModelFile(path));
    while (simulation.continueImport(50.0)) {
    }
    EXPECT_FALSE(simulation.wasImportCancelled());
    EXPECT_EQ(1000u, links());
    ASSERT_NE(nullptr, plane());
}

TEST_F(ModelFileImportTest, OneFileAtATime) {
    const std::string busyLog =
        "Unable to load log file as a simulation link since the simulation link is "
        "already linked to something else";
    struct Case {
        bool modelFirst;  // what runs: a model file, or a log
        bool modelNext;   // what is asked for meanwhile
        bool sliced;      // asked for as startImport / startModelFile, or read whole
        std::string refusal;
    };
    const std::vector<Case> cases = {
        {true, false, true, "Unable to import from log file while a model file is being imported"},
        {true, false, false, "Unable to import from log file while a model file is being imported"},
        {true, true, true, "Unable to import from model file while another one is being imported"},
        {true, true, false, "Unable to import from model file while another one is being imported"},
        {false, true, true, "Unable to import from model file while a log file is being imported"},
        {false, true, false, "Unable to import from model file while a log file is being imported"},
        {false, false, true, busyLog},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.refusal + (c.sliced ? " (sliced)" : " (whole)"));
        ASSERT_TRUE(c.modelFirst ? simulation.startModelFile(path) : simulation.startImport(kSample));
        ASSERT_TRUE(simulation.continueImport(0.001));
        const long long read = simulation.getImportProgress().lines;
        LogRecorder rec;
        const bool refused =
            c.modelNext ? (c.sliced ? simulation.startModelFile(path) : simulation.importModelFile(path))
                        : (c.sliced ? simulation.startImport(kSample) : simulation.importLogFile(kSample));
        EXPECT_FALSE(refused);
        EXPECT_EQ((std::vector<std::string>{c.refusal}), rec.lines());
        EXPECT_TRUE(simulation.isImporting()) << "the running import goes on";
        EXPECT_EQ(read, simulation.getImportProgress().lines);
        simulation.cancelImport();
    }
}

TEST_F(ModelFileImportTest, WidthCountsRowsAndTheReplySaysSo) {
    struct Case {
        std::string size;
        std::string reply;
        unsigned width, height;
    };
    const std::vector<Case> cases = {
        {"width : 10\nheight : 3", "dim 10x3 (10 rows, 3 columns)", 10, 3},
        {"height : 3\nwidth : 10", "dim 10x3 (10 rows, 3 columns)", 10, 3},
        {"width : 1\nheight : 1", "dim 1x1 (1 row, 1 column)", 1, 1},
        {"dim : (4,3)", "dim 4x3", 4, 3},
        {"dim : (4,3)\nwidth : 10\nheight : 3", "dim 4x3", 4, 3},  // dim wins
        {"dim : (2,3,4)", "dim 2x3x4", 2, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        simulation.closeVisualization();
        ASSERT_TRUE(simulation.newVisualization("sizes"));
        LogRecorder rec;
        ASSERT_TRUE(
            simulation.importModelFile(dir.write("size.ma", "[grid]\n" + c.size + "\ninitialvalue : 0\n")));
        EXPECT_EQ(1u, rec.count("Model grid: Cell-DEVS, " + c.reply + ", initial value 0")) << rec.text();
        const auto* grid =
            dynamic_cast<SDCELLDevsModel*>(getVisualization()->getModelList()->findModel("grid"));
        ASSERT_NE(nullptr, grid);
        EXPECT_EQ(c.width, grid->getWidth());
        EXPECT_EQ(c.height, grid->getHeight());
    }
}

}  // namespace
