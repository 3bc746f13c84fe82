#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "console/VDAddDetailNodeCommand.h"
#include "console/VDDEVSConsoleParser.h"
#include "console/VDMoveCameraCommand.h"
#include "console/VDRotateCameraCommand.h"
#include "control/VCCellView.h"
#include "control/VCImportHost.h"
#include "control/VCModelView.h"
#include "control/VCSimulation.h"
#include "gui/VDConsole.h"
#include "gui/VDStringLog.h"
#include "gui/VDTextBox.h"
#include "scene/SDNodeList.h"
#include "scene/SDSceneGraph.h"
#include "shell/EngineVariables.h"
#include "shell/VDGarbageCan.h"
#include "simdata/SDVisualization.h"
#include "tests/console/CommandFixture.h"
#include "tests/support/LogRecorder.h"
#include "tests/support/TempDir.h"

namespace {

const std::string kDashes = "----------------------";

TEST_F(CommandTest, RepliesAndUsageTexts) {
    struct Case {
        std::string good, reply, bad, usage;
    };
    const std::vector<Case> cases = {
        {"exit", "Exiting...", "exit now", "usage: exit"},
        {"vis_new run", "Creating new visualization context named: run.vis", "vis_new",
         "usage: vis_new $visualization_name"},
        {"vis_import_logfile a/b.log", "Importing simulation results from log file: a/b.log",
         "vis_import_logfile", "usage: vis_import_logfile $logfile"},
        {"vis_close", "Closing visualization context...", "vis_close all", "usage: vis_close"},
        {"print VIS_EL", "Printing object info...", "print vis",
         "usage: print VIS | VIS_NL | VIS_ML | VIS_EL"},
        {"vis_add_detail_node CUBE 1 2 3 4", "Adding node object...", "vis_add_detail_node SPHERE 1 2 3 4",
         "usage: vis_add_detail_node (CUBE) $x_pos $y_pos $z_pos $size"},
        {"cam_move 1 2 3", "Moving camera...", "cam_move 1 2",
         "usage: cam_move $side_movement $vertical_movement $forward_movement"},
        {"cam_rotate 1 2 3", "Rotating camera...", "cam_rotate 1 2 3 4",
         "usage: cam_rotate $yaw_change $pitch_change $roll_change"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.reply, check(c.good));
        EXPECT_NE(nullptr, parsed) << c.good;
        EXPECT_EQ(c.usage, check(c.bad));
        EXPECT_EQ(nullptr, parsed) << c.bad;
    }
    EXPECT_EQ("usage: print VIS | VIS_NL | VIS_ML | VIS_EL", check("print"));
    EXPECT_EQ("usage: vis_add_detail_node (CUBE) $x_pos $y_pos $z_pos $size",
              check("vis_add_detail_node CUBE 1 2 3"));
}

TEST_F(CommandTest, VisIsAddedUnlessTheNameAlreadyContainsIt) {
    EXPECT_EQ("Creating new visualization context named: run.vis", check("vis_new run"));
    EXPECT_EQ("Creating new visualization context named: run.vis", check("vis_new run.vis"));
    EXPECT_EQ("Creating new visualization context named: run.visual", check("vis_new run.visual"));
    EXPECT_EQ("Creating new visualization context named: my.vis.old", check("vis_new my.vis.old"));

    run("vis_new run.visual");
    ASSERT_NE(nullptr, getVisualization());
    EXPECT_EQ("run.visual", getVisualization()->getName());
    EXPECT_EQ((Lines{"Cannot create new visualization. Please close open visualization first"}),
              run("vis_new b"));
    run("vis_close");
    EXPECT_EQ(nullptr, getVisualization());
}

TEST_F(CommandTest, NumbersAreReadLikeFormattedInput) {
    check("vis_add_detail_node CUBE 2.5abc -1e1 abc \t7");
    auto* node = dynamic_cast<VDAddDetailNodeCommand*>(parsed);
    ASSERT_NE(nullptr, node);
    EXPECT_FLOAT_EQ(2.5f, node->getX());
    EXPECT_FLOAT_EQ(-10.0f, node->getY());
    EXPECT_FLOAT_EQ(0.0f, node->getZ()) << "a token that is no number reads as 0";
    EXPECT_FLOAT_EQ(7.0f, node->getSize()) << "leading blanks are skipped";
    EXPECT_EQ("CUBE", node->getNodeType());

    check("vis_add_detail_node CUBE nan inf 1e39 -inf");
    node = dynamic_cast<VDAddDetailNodeCommand*>(parsed);
    ASSERT_NE(nullptr, node);
    EXPECT_EQ(0.0f, node->getX()) << "numbers that are not finite read as 0";
    EXPECT_EQ(0.0f, node->getY());
    EXPECT_EQ(0.0f, node->getZ());
    EXPECT_EQ(0.0f, node->getSize());

    check("cam_move 1 2 3");
    auto* move = dynamic_cast<VDMoveCameraCommand*>(parsed);
    ASSERT_NE(nullptr, move);
    EXPECT_FLOAT_EQ(1.0f, move->getSideMovement());
    EXPECT_FLOAT_EQ(2.0f, move->getVerticalMovement());
    EXPECT_FLOAT_EQ(3.0f, move->getForwardMovement());

    check("cam_rotate 10 20 30");
    auto* rotate = dynamic_cast<VDRotateCameraCommand*>(parsed);
    ASSERT_NE(nullptr, rotate);
    EXPECT_FLOAT_EQ(10.0f, rotate->getYawChange());
    EXPECT_FLOAT_EQ(20.0f, rotate->getPitchChange());
    EXPECT_FLOAT_EQ(30.0f, rotate->getRollChange());
}

TEST_F(CommandTest, PrintWithoutAVisualizationSaysSo) {
    EXPECT_EQ((Lines{"Unable to print out visualization. Visualization does not exist."}), run("print VIS"));
    EXPECT_EQ((Lines{"Unable to print out visualization node list. Visualization does not exist."}),
              run("print VIS_NL"));
    EXPECT_EQ((Lines{"Unable to print out visualization model list. Visualization does not exist."}),
              run("print VIS_ML"));
    EXPECT_EQ((Lines{"Unable to print out visualization event list. Visualization does not exist."}),
              run("print VIS_EL"));
    EXPECT_EQ(4u, getGarbageCan()->pendingCount()) << "each executed command disposes of itself";
}

TEST_F(CommandTest, PrintListsTheVisualizationAndItsNodes) {
    run("vis_new demo");
    EXPECT_EQ(
        (Lines{kDashes, "Current Visualization:", "Name: demo.vis", "Current Time: 00:00:00:000", kDashes}),
        run("print VIS"));
    EXPECT_EQ((Lines{kDashes, "Node List:", "List Size: 0", kDashes, kDashes}), run("print VIS_NL"));

    EXPECT_TRUE(run("vis_add_detail_node CUBE 1 2 3 4").empty());
    SDNodeList* nodes = getVisualization()->getSceneGraph()->getNodeList();
    ASSERT_EQ(1, nodes->getNumNodes());
    const std::string text = nodes->getNodeInfo(0)->getNode()->print();
    EXPECT_NE(std::string::npos, text.find("{-1.0,0.0,1.0} -> {3.0,4.0,5.0}")) << text;
    EXPECT_EQ((Lines{kDashes, "Node List:", "List Size: 1", kDashes, "Node 0", text, kDashes}),
              run("print VIS_NL"));
}

TEST_F(CommandTest, ModelAndEventListsReachTheConsoleThroughTheLog) {
    TempDir dir;
    const std::string log = dir.write("two.log",
                                      "msg X / 00:00:00:100 / top(01) / in /      2.00000 to gen(03)\n"
                                      "msg Y / 00:00:00:200 / gen(03) / out /      1.00000 to top(01)\n");
    run("vis_new demo");
    run("vis_import_logfile " + log);
    getEngineVariables()->setBool("console_logging", true);

    Lines models = run("print VIS_ML");
    ASSERT_GE(models.size(), 4u);
    EXPECT_EQ(kDashes, models[0]);
    EXPECT_EQ("Model List:", models[1]);
    EXPECT_EQ(kDashes, models.back());
    EXPECT_EQ(1, std::count(models.begin(), models.end(), "DEVS model: gen"))
        << ::testing::PrintToString(models);

    Lines events = run("print VIS_EL");
    ASSERT_EQ(5u, events.size()) << ::testing::PrintToString(events);
    EXPECT_EQ("Event List:", events[1]);
    EXPECT_EQ(0u, events[2].rfind("EVENT: Type: EXTERNAL;Time: 00:00:00:100;", 0)) << events[2];
    EXPECT_EQ(0u, events[3].rfind("EVENT: Type: OUTPUT;Time: 00:00:00:200;", 0)) << events[3];
}

// The program's loop reads the file after the command has run; the test is the loop here.
class LoopHost : public VCImportHost {
  public:
    void importStarted() override {}
    void importEnded() override {}
};

TEST_F(CommandTest, AnImportReadInSlicesDisposesOfItsCommandOnceItHasEnded) {
    const std::string log = std::string(TESS_SOURCE_DIR) + "/samples/life_20x20.log";
    getSimulation()->setImportHost(std::make_unique<LoopHost>());
    run("vis_new demo");
    getGarbageCan()->empty();

    // Read to the end: the command's own last log line comes after the import's, as with a whole read.
    run("vis_import_logfile " + log);
    ASSERT_TRUE(getSimulation()->isImporting());
    EXPECT_EQ(0u, getGarbageCan()->pendingCount());
    while (getSimulation()->continueImport(1.0)) {
        EXPECT_EQ(0u, getGarbageCan()->pendingCount());
    }
    EXPECT_EQ(1u, getGarbageCan()->pendingCount());

    // Cancelled: the same, after the cancellation's line.
    getGarbageCan()->empty();
    run("vis_import_logfile " + log);
    ASSERT_TRUE(getSimulation()->continueImport(0.01));
    EXPECT_EQ(0u, getGarbageCan()->pendingCount());
    getSimulation()->cancelImport();
    EXPECT_EQ(1u, getGarbageCan()->pendingCount());

    // One that cannot begin is disposed of at once.
    getGarbageCan()->empty();
    run("vis_import_logfile missing.log");
    EXPECT_EQ(1u, getGarbageCan()->pendingCount());
}

// vis_structure, and the words of vis_plot that hide, show and place the plot: what they take, what they
// refuse with the usage line, and that the structure is the open run's (the next one draws it again).
TEST_F(CommandTest, StructureAndPlotPanelCommands) {
    const std::string structure = "usage: vis_structure on | off";
    const std::string plot =
        "usage: vis_plot $model $x [$y [$z]] | $model.$port | $model | clear | hide | show "
        "| place $x $y $width $height";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"vis_structure off", "Hiding the model structure..."},
        {"vis_structure OFF", structure},
        {"vis_structure on off", structure},
        {"vis_plot hide", "Hiding the plot..."},
        {"vis_plot show", "Showing the plot..."},
        {"vis_plot place -10 +20 0 -1", "Placing the plot..."},
        {"vis_plot hide now", plot},
        {"vis_plot place 10 20 300", plot},
        {"vis_plot place 10 20 300.5 200", plot},
    };
    for (const auto& [line, reply] : cases) {
        EXPECT_EQ(reply, check(line)) << line;
        EXPECT_EQ(reply.rfind("usage: ", 0) != 0, parsed != nullptr) << line;
    }
    LogRecorder rec;
    run("vis_structure off");
    EXPECT_EQ(1u, rec.count("Unable to show or hide the model structure. Visualization does not exist."));
    ASSERT_TRUE(getSimulation()->newVisualization("one"));
    run("vis_structure off");
    EXPECT_FALSE(getSimulation()->getModelView()->isShown()) << rec.text();
    getSimulation()->closeVisualization();
    ASSERT_TRUE(getSimulation()->newVisualization("two"));
    EXPECT_TRUE(getSimulation()->getModelView()->isShown());
}

// vis_changes: what it takes, the state it reports alone, and that the choice holds for the next run.
TEST_F(CommandTest, ChangesFramesAreSetAndReported) {
    const std::string usage = "usage: vis_changes [on | off]";
    const std::string on = "Changes framed: cells and blocks that changed at the current time";
    const std::string off = "Changes not framed";
    struct Case {
        std::string line;
        std::string reply;  // empty: taken without a reply
        std::string logged;
    };
    const std::vector<Case> cases = {
        {"vis_changes", "", off},
        {"vis_changes on", "Setting the frames of changes...", on},
        {"vis_changes", "", on},
        {"vis_changes ON", usage, ""},
        {"vis_changes on off", usage, ""},
        {"vis_changes maybe", usage, ""},
        {"vis_changes", "", on},
        {"vis_changes off", "Setting the frames of changes...", off},
        {"vis_changes off", "Setting the frames of changes...", off},
    };
    ASSERT_TRUE(getSimulation()->newVisualization("one"));
    for (const Case& c : cases) {
        EXPECT_EQ(c.reply, check(c.line)) << c.line;
        LogRecorder rec;
        run(c.line);
        EXPECT_EQ(c.logged.empty() ? 0u : 1u, rec.count(c.logged)) << c.line << ": " << rec.text();
    }
    run("vis_changes on");
    getSimulation()->closeVisualization();
    ASSERT_TRUE(getSimulation()->newVisualization("two"));
    EXPECT_TRUE(getSimulation()->getCellView()->areChangesShown());
}

TEST(CommandWithoutControllerTest, AddingANodeNeedsTheController) {
    createGarbageCan();
    setConsole(std::make_unique<VDConsole>(nullptr));
    getConsole()->initialise();
    VDDEVSConsoleParser parser;
    VDConsoleCommand* command = nullptr;
    std::string reply;
    ASSERT_TRUE(parser.parse("vis_add_detail_node CUBE 1 2 3 4", &command, reply));
    command->execute();
    const VDStringLog& log = getConsole()->getOutput()->getLog();
    ASSERT_EQ(1, log.getCount());
    EXPECT_EQ("Unable to add detail node. SimulationControl object does not exist.", *log.begin());
    destroyConsole();
    destroyGarbageCan();
}

}  // namespace
