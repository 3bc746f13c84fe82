// The logs of the command line, one after another: what each import's end leads to.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "control/VCImportHost.h"
#include "control/VCSimulation.h"
#include "shell/app/OpenLogs.h"
#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDDevsModelList.h"
#include "simdata/SDEventList.h"
#include "simdata/SDVisualization.h"
#include "tests/support/LogRecorder.h"
#include "tests/support/TempDir.h"

namespace {

const std::string kSample = std::string(TESS_SOURCE_DIR) + "/samples/life_20x20.log";

// Each import waits for the test to read it, as for the program's loop.
class ManualHost : public VCImportHost {
  public:
    void importStarted() override {}
    void importEnded() override {}
};

class CommandLineImportsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(nullptr, createSimulation());
        getSimulation()->setImportHost(std::make_unique<ManualHost>());
    }
    void TearDown() override { destroySimulation(); }

    static void readToTheEnd() {
        while (getSimulation()->continueImport(50.0)) {
        }
    }

    LogRecorder rec;
};

TEST_F(CommandLineImportsTest, EachEndStartsTheNextLogAndFailuresAreReportedOnTheWay) {
    CommandLineImports imports({kSample, "missing.log", kSample});
    testing::internal::CaptureStderr();
    imports.start();
    EXPECT_EQ("life_20x20", getVisualization()->getName());
    EXPECT_TRUE(getSimulation()->isImporting());
    imports.advance();  // nothing has ended yet
    EXPECT_EQ(1u, rec.count("Importing simulation results from log file: " + kSample));
    readToTheEnd();
    const size_t once = getVisualization()->getEventList()->size();

    // The missing log ends at once; the third starts in its place.
    imports.advance();
    EXPECT_TRUE(getSimulation()->isImporting());
    EXPECT_FALSE(imports.done());
    readToTheEnd();
    imports.advance();
    EXPECT_TRUE(imports.done());
    EXPECT_FALSE(imports.allImported());
    EXPECT_EQ("tessaron: missing.log: Unable to open log file for import\n",
              testing::internal::GetCapturedStderr());
    EXPECT_EQ(2 * once, getVisualization()->getEventList()->size());
}

TEST_F(CommandLineImportsTest, ACancelledImportEndsTheSequence) {
    CommandLineImports imports({kSample, kSample});
    testing::internal::CaptureStderr();
    imports.start();
    ASSERT_TRUE(getSimulation()->continueImport(0.01));
    getSimulation()->cancelImport();
    const long long read = getSimulation()->getImportProgress().lines;
    imports.advance();
    EXPECT_TRUE(imports.done());
    EXPECT_FALSE(imports.allImported());
    EXPECT_FALSE(getSimulation()->isImporting());
    EXPECT_EQ("tessaron: " + kSample + ": Import cancelled after " + std::to_string(read) + " lines\n",
              testing::internal::GetCapturedStderr());
    EXPECT_EQ(1u, rec.count("Importing simulation results from log file: " + kSample))
        << "the second is not read";
}

TEST_F(CommandLineImportsTest, WithoutAHostEveryLogIsReadBeforeStartReturns) {
    getSimulation()->setImportHost(nullptr);
    CommandLineImports imports({kSample, kSample});
    imports.start();
    EXPECT_TRUE(imports.done());
    EXPECT_TRUE(imports.allImported());
    EXPECT_EQ(2u, rec.count("Importing simulation results from log file: " + kSample));

    CommandLineImports none({});
    none.start();
    EXPECT_TRUE(none.done());
    EXPECT_TRUE(none.allImported());
}

TEST_F(CommandLineImportsTest, ModelFilesAreReadInTheirTurnAndTheRunIsNamedAfterTheLog) {
    TempDir dir;
    const std::string model = dir.write("life.ma", "[life]\ndim : (30,20)\nrows\n");
    CommandLineImports imports({model, kSample, dir.file("none.ma")});
    testing::internal::CaptureStderr();
    imports.start();
    EXPECT_EQ("life_20x20", getVisualization()->getName());
    readToTheEnd();  // the model file, in slices
    EXPECT_EQ(1u, rec.count("Model file " + model + " read: 1 model, 1 line skipped"));
    imports.advance();
    readToTheEnd();
    imports.advance();
    EXPECT_TRUE(imports.done());
    EXPECT_FALSE(imports.allImported()) << "none.ma cannot be read";
    EXPECT_EQ("tessaron: " + model + ": Model file " + model +
                  ", line 3: no ':' between a key and its value\n" + "tessaron: " + dir.file("none.ma") +
                  ": Unable to open model file for import\n",
              testing::internal::GetCapturedStderr());
    EXPECT_EQ(
        30u,
        dynamic_cast<SDCELLDevsModel*>(getVisualization()->getModelList()->findModel("life"))->getWidth());
}

TEST_F(CommandLineImportsTest, ACancelledModelFileEndsTheSequence) {
    TempDir dir;
    const std::string model = dir.write("life.ma", "[life]\ndim : (30,20)\n" + std::string(2000, '\n'));
    CommandLineImports imports({kSample, model, kSample});
    testing::internal::CaptureStderr();
    imports.start();
    readToTheEnd();
    imports.advance();
    ASSERT_TRUE(getSimulation()->continueImport(0.0));
    getSimulation()->cancelImport();
    const long long read = getSimulation()->getImportProgress().lines;
    imports.advance();
    EXPECT_TRUE(imports.done());
    EXPECT_FALSE(imports.allImported());
    EXPECT_EQ("tessaron: " + model + ": Model file " + model + " cancelled after " + std::to_string(read) +
                  " lines: nothing of it was applied\n",
              testing::internal::GetCapturedStderr());
    EXPECT_EQ(1u, rec.count("Importing simulation results from log file: " + kSample))
        << "the last log is not read";
}

TEST_F(CommandLineImportsTest, ScenariosAreReadBeforeTheLogsWhateverTheirPlaceAndName) {
    TempDir dir;
    const std::string scenario = dir.write(
        "life.cfg", R"({"scenario":{"shape":[20,20]},"cells":{"default":{"model":"life","state":{"a":0}}}})");
    const std::string broken = dir.write("broken.json", "{\"scenario\":\n");
    CommandLineImports imports({kSample, scenario, broken});
    testing::internal::CaptureStderr();
    imports.start();
    EXPECT_EQ("life_20x20", getVisualization()->getName()) << "named after the log all the same";
    while (!imports.done()) {
        readToTheEnd();
        imports.advance();
    }
    EXPECT_FALSE(imports.allImported());
    EXPECT_EQ("tessaron: " + broken + ": Scenario file " + broken +
                  ": invalid JSON at line 2: syntax error while parsing value - unexpected end of input; "
                  "expected '[', '{', or a literal\n",
              testing::internal::GetCapturedStderr());
    std::vector<std::string> order;
    for (const std::string& line : rec.lines()) {
        if (line.rfind("Importing", 0) == 0) {
            order.push_back(line);
        }
    }
    EXPECT_EQ(
        (std::vector<std::string>{"Importing model file: " + scenario, "Importing model file: " + broken,
                                  "Importing simulation results from log file: " + kSample}),
        order);
    auto* life = dynamic_cast<SDCELLDevsModel*>(getVisualization()->getModelList()->findModel("life"));
    ASSERT_NE(nullptr, life);
    double value = -1.0;
    EXPECT_TRUE(life->initialValue(19, 19, 0, value));
    EXPECT_EQ(0.0, value);
}

}  // namespace
