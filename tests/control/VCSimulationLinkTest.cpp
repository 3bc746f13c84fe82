// The link between a log import and the controller's views.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "control/VCEventList.h"
#include "control/VCModelList.h"
#include "control/VCSimulationLink.h"
#include "shell/Log.h"
#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDDevsModelList.h"
#include "simdata/SDEventList.h"
#include "tests/support/LogRecorder.h"
#include "tests/support/TempDir.h"

namespace {

using Lines = std::vector<std::string>;

const std::string kLog =
    "msg X / 00:00:00:100 / Root(00) / in / 1 to top(01)\n"
    "msg D / 00:00:00:100 / top(01) / ... to Root(00)\n"
    "msg Y / 00:00:00:200 / top(01) / out / 2 to Root(00)\n";

class VCSimulationLinkTest : public ::testing::Test {
  protected:
    LogRecorder rec;
    TempDir dir;
    const std::string path = dir.write("run.log", kLog);
    SDDevsModelList models;
    SDEventList events;
    VCModelList modelView{&models};
    VCEventList eventView{&events};
};

TEST_F(VCSimulationLinkTest, ImportsIntoTheViewsAndMergesASecondImport) {
    {
        VCSimulationLink link(&modelView, &eventView);
        EXPECT_TRUE(link.loadLogFile(path));
        EXPECT_FALSE(link.isLoading());
    }
    ASSERT_EQ(2u, models.size());
    EXPECT_EQ((Lines{"in"}), models.findModel("top")->getInputPorts());
    EXPECT_EQ((Lines{"out"}), models.findModel("top")->getOutputPorts());
    EXPECT_EQ(2u, events.size());

    VCSimulationLink again(&modelView, &eventView);
    EXPECT_TRUE(again.loadLogFile(path));
    EXPECT_EQ(2u, models.size());
    EXPECT_EQ(1u, models.findModel("top")->getInputPorts().size());
    EXPECT_EQ(4u, events.size());
}

// Calls back into its own link from inside the import, as only a loader can.
class ReentrantLink : public VCSimulationLink {
  public:
    using VCSimulationLink::VCSimulationLink;
    bool offerModel(const SDDevsModel& model) override {
        if (nestedCalls++ == 0) {
            nestedResult = loadLogFile(nestedPath);
        }
        return VCSimulationLink::offerModel(model);
    }
    std::string nestedPath;
    int nestedCalls = 0;
    bool nestedResult = true;
};

TEST_F(VCSimulationLinkTest, ASecondImportFromInsideTheFirstIsRefused) {
    ReentrantLink link(&modelView, &eventView);
    link.nestedPath = path;
    EXPECT_TRUE(link.loadLogFile(path));
    EXPECT_FALSE(link.nestedResult);
    EXPECT_EQ(1u,
              rec.count("Unable to load log file as a simulation link since the simulation link is already "
                        "linked to something else"));
    // The running import went on: nothing of the refused one, everything of the first.
    EXPECT_EQ(2u, events.size());
    EXPECT_EQ(2u, models.size());
}

TEST_F(VCSimulationLinkTest, MissingViewsRefuseEverything) {
    VCSimulationLink link(nullptr, nullptr);
    EXPECT_TRUE(link.loadLogFile(path));
    EXPECT_EQ(2u, rec.count("***Event already in event list***"));

    VCSimulationLink modelsOnly(&modelView, nullptr);
    EXPECT_TRUE(modelsOnly.loadLogFile(path));
    EXPECT_EQ(2u, models.size());
    EXPECT_EQ(0u, events.size());
    // The sanitizer build reports the refused records and events if the loader did not delete them.
}

TEST_F(VCSimulationLinkTest, AFailedImportLeavesTheLinkReady) {
    VCSimulationLink link(&modelView, &eventView);
    EXPECT_FALSE(link.loadLogFile(dir.file("missing.log")));
    EXPECT_EQ(1u, rec.count("Unable to open log file for import"));
    EXPECT_FALSE(link.isLoading());
    EXPECT_TRUE(link.loadLogFile(path));
    EXPECT_EQ(2u, events.size());
}

// With no log to write, as past the first 100,000 messages of an import, a record that the registry showed
// to hold already is not offered again; every line that brings something new still is. No D lines here:
// they would size the space on their own. Read by hand: grid grows to 5 x 6 and gets outputs out and alarm
// (alarm on a cell the space holds already) and inputs in and go; top gets no port.
TEST(VCSimulationLinkOffersTest, RecordsThatChangeNothingAreLeftOutAndEveryChangeIsKept) {
    ASSERT_FALSE(logWanted());
    TempDir dir;
    const std::string path = dir.write("grid.log",
                                       "msg Y / 00:00:00:100 / grid(2,3)(05) / out / 1 to grid(02)\n"
                                       "msg Y / 00:00:00:100 / grid(1,1)(05) / out / 1 to grid(02)\n"
                                       "msg Y / 00:00:00:200 / grid(1,1)(05) / alarm / 1 to grid(02)\n"
                                       "msg Y / 00:00:00:200 / grid(0,0)(05) / out / 1 to grid(02)\n"
                                       "msg Y / 00:00:00:300 / grid(2,5)(05) / out / 1 to grid(02)\n"
                                       "msg Y / 00:00:00:300 / grid(1,1)(05) / out / 1 to grid(02)\n"
                                       "msg Y / 00:00:00:300 / grid(4,0)(05) / out / 1 to grid(02)\n"
                                       "msg X / 00:00:00:400 / top(01) / in / 1 to grid(1,1)(05)\n"
                                       "msg X / 00:00:00:400 / top(01) / go / 1 to grid(1,1)(05)\n");
    SDDevsModelList models;
    SDEventList events;
    VCModelList modelView{&models};
    VCEventList eventView{&events};
    VCSimulationLink link(&modelView, &eventView);
    ASSERT_TRUE(link.loadLogFile(path));
    EXPECT_EQ(9u, events.size());
    EXPECT_EQ(2u, models.size());
    const auto* grid = dynamic_cast<const SDCELLDevsModel*>(models.findModel("grid"));
    ASSERT_NE(nullptr, grid);
    EXPECT_EQ(5u, grid->getWidth());
    EXPECT_EQ(6u, grid->getHeight());
    EXPECT_EQ((Lines{"out", "alarm"}), grid->getOutputPorts());
    EXPECT_EQ((Lines{"in", "go"}), grid->getInputPorts());
    ASSERT_NE(nullptr, models.findModel("top"));
    EXPECT_TRUE(models.findModel("top")->getInputPorts().empty());
    EXPECT_TRUE(models.findModel("top")->getOutputPorts().empty());
}

}  // namespace
