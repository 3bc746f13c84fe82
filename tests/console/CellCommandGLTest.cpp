// vis_color and vis_fit as typed into the console: what they change, and every reply once in the console
// and once in log.txt.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "console/VDDEVSConsoleParser.h"
#include "console/VDDEVSFitViewEvent.h"
#include "control/VCCellView.h"
#include "control/VCModelView.h"
#include "control/VCSimulation.h"
#include "gui/VDConsole.h"
#include "gui/VDMainWindow.h"
#include "gui/VDStringLog.h"
#include "gui/VDTextBox.h"
#include "gui/VDThemeStore.h"
#include "shell/EngineVariables.h"
#include "shell/Log.h"
#include "shell/VDGarbageCan.h"
#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDDevsModelList.h"
#include "simdata/SDVisualization.h"
#include "tests/support/GLTestContext.h"
#include "tests/support/TempDir.h"

namespace {

using Lines = std::vector<std::string>;

// Stands in for the 3D view and keeps the boxes it is asked to fit.
class FitProbe : public VDWindow {
  public:
    bool handleEvent(VDEvent* event) override {
        if (auto* fit = dynamic_cast<VDDEVSFitViewEvent*>(event)) {
            boxes.push_back(fit->getBox());
        }
        return true;
    }
    std::vector<BoundingBox> boxes;
};

class CellCommandGLTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(GLTestContext::ensure());
        logdetail::forgetLogFile();
        resetLog();
        getEngineVariables()->setBool("file_logging", true);
        getEngineVariables()->setBool("console_logging", true);
        createGarbageCan();
        createMainWindow(800, 600, std::make_unique<VDDEVSConsoleParser>());
        createThemeStore();
        createSimulation();
        auto probe = std::make_unique<FitProbe>();
        view = probe.get();
        getMainWindow()->setContentWindow(std::move(probe));
    }
    void TearDown() override {
        destroySimulation();
        destroyThemeStore();
        destroyMainWindow();
        destroyGarbageCan();
        getEngineVariables()->removeVariable("file_logging");
        getEngineVariables()->removeVariable("console_logging");
        logdetail::forgetLogFile();
    }
    void key(int value) {
        VDKeyDownEvent down(value);
        getMainWindow()->handleEvent(&down);
        VDKeyUpEvent up(value);
        getMainWindow()->handleEvent(&up);
    }
    // Types the line and Enter; returns what the console printed for it.
    Lines enter(const std::string& line) {
        const size_t before = output().size();
        for (char c : line) {
            key(static_cast<unsigned char>(c));
        }
        key(VDKey::KEY_ENTER);
        Lines all = output();
        return Lines(all.begin() + static_cast<long>(before), all.end());
    }
    static Lines output() {
        const VDStringLog& log = getConsole()->getOutput()->getLog();
        Lines lines(log.begin(), log.end());
        std::reverse(lines.begin(), lines.end());
        return lines;
    }
    size_t inLogFile(const std::string& line) const {
        flushLog();  // as the GLUT callback that ran the command does when it returns
        std::istringstream text(readFile(dir.file("log.txt")));
        size_t count = 0;
        for (std::string read; std::getline(text, read);) {
            count += read == line;
        }
        return count;
    }
    // The console shows an empty line and then exactly these lines (the reply, then what the command
    // logged), each also once more in the log file.
    void expectReplies(const std::string& line, const Lines& replies) {
        std::vector<size_t> before;
        for (const std::string& reply : replies) {
            before.push_back(inLogFile(reply));
        }
        Lines expected{""};
        expected.insert(expected.end(), replies.begin(), replies.end());
        EXPECT_EQ(expected, enter(line)) << line;
        for (size_t i = 0; i < replies.size(); ++i) {
            EXPECT_EQ(before[i] + 1, inLogFile(replies[i])) << replies[i];
        }
    }
    SDCELLDevsModel* cells(const std::string& name) {
        return dynamic_cast<SDCELLDevsModel*>(getVisualization()->getModelList()->findModel(name));
    }
    void openRun() {
        enter("vis_new run");
        const std::string log =
            dir.write("run.log",
                      "msg Y / 00:00:01:000 / plane(2,2)(07) / out / 0.50000 to plane(01)\n"
                      "msg Y / 00:00:01:000 / cube(1,1,1)(07) / out / 0.50000 to cube(01)\n"
                      "msg Y / 00:00:01:000 / gunner(02) / out / 1.00000 to top(01)\n");
        enter("vis_import_logfile " + log);
        ASSERT_NE(nullptr, cells("plane"));
    }

    TempDir dir{true};
    FitProbe* view = nullptr;
};

const std::string kSetting = "Setting cell colours...";
const std::string kFitting = "Fitting the view...";
const std::string kColorUsage =
    "usage: vis_color $model $low $high $r $g $b [$a] | $model clear | $model none $r $g $b [$a] | "
    "$model.$port $low $high $r $g $b [$a] | $model.$port clear | $model.$port ramp";

TEST_F(CellCommandGLTest, VisColorRefusesBadArgumentsAndUnknownModels) {
    expectReplies("vis_color", {kColorUsage});
    expectReplies("vis_color plane 1 2 3", {kColorUsage});
    expectReplies("vis_color plane 1 2 3 4 5 6 7", {kColorUsage});
    expectReplies("vis_color plane clear now", {kColorUsage});
    expectReplies("vis_color plane none 1 1", {kColorUsage});
    expectReplies("vis_color plane clear",
                  {kSetting, "Unable to colour cells. Visualization does not exist."});

    openRun();
    expectReplies("vis_color ghost 0 1 1 0 0", {kSetting, "No model named ghost"});
    expectReplies("vis_color top clear", {kSetting, "top is not a Cell-DEVS model"});
    expectReplies("vis_color plane 2 1 1 0 0",
                  {"Rule refused: its low end 2.000000 is above its high end 1.000000"});
    EXPECT_EQ(0u, cells("plane")->getRules().getNumRules());
    EXPECT_EQ(nullptr, cells("Plane")) << "names are exact";
}

TEST_F(CellCommandGLTest, VisColorAddsRulesInOrderSetsTheNoValueLookAndClears) {
    openRun();
    expectReplies(
        "vis_color plane 0 1 1.5 -2 abc",
        {kSetting, "Colour components lie between 0 and 1: read as colour (1.000, 0.000, 0.000, 1.000)",
         "plane rule 1: 0.000000 <= value <= 1.000000 is colour (1.000, 0.000, 0.000, 1.000)"});
    expectReplies("vis_color plane 0.5 3 0 0 1 0",
                  {kSetting, "plane rule 2: 0.500000 <= value <= 3.000000 is hidden",
                   "Where it overlaps rule 1, rule 1 comes first and wins"});
    expectReplies(
        "vis_color plane 0.44444 0.44444 0 1 0 0.5",
        {kSetting, "plane rule 3: 0.444440 <= value <= 0.444440 is colour (0.000, 1.000, 0.000, 0.500)",
         "Where it overlaps rule 1, rule 1 comes first and wins"});
    SDCELLDevsModel* plane = cells("plane");
    ASSERT_EQ(3u, plane->getRules().getNumRules());
    SDCellLook::Colour colour{};
    ASSERT_TRUE(plane->getLook().ruleColour(plane->getRules(), 0.7, colour));
    EXPECT_EQ((SDCellLook::Colour{1, 0, 0, 1}), colour);
    ASSERT_TRUE(plane->getLook().ruleColour(plane->getRules(), 2.0, colour));
    EXPECT_EQ(0.0f, colour[3]);
    // Bounds are read as the log's values are, so a bound typed as the log writes a value holds it.
    EXPECT_TRUE(plane->getRules().getRule(2)->appliesTo(1, "out", 0.44444));

    expectReplies("vis_color plane none 0 0 1",
                  {kSetting, "plane cells with no value are colour (0.000, 0.000, 1.000, 1.000)"});
    EXPECT_EQ((SDCellLook::Colour{0, 0, 1, 1}), plane->getLook().getNoValueColour());
    expectReplies("vis_color cube none 0 0 1 0", {kSetting, "cube cells with no value are hidden"});
    expectReplies("vis_color plane clear", {kSetting, "Removed 3 colour rules of plane"});
    EXPECT_EQ(0u, plane->getRules().getNumRules());
    EXPECT_EQ((SDCellLook::Colour{0, 0, 1, 1}), plane->getLook().getNoValueColour())
        << "clear keeps the look";
}

TEST_F(CellCommandGLTest, VisFitSendsTheBoxOfEveryDrawnModelToTheView) {
    expectReplies("vis_fit now", {"usage: vis_fit"});
    expectReplies("vis_fit", {kFitting, "Unable to fit the view. Visualization does not exist."});
    enter("vis_new empty");
    expectReplies("vis_fit", {kFitting, "Nothing to fit: no Cell-DEVS model is drawn"});
    EXPECT_TRUE(view->boxes.empty());
    enter("vis_close");

    openRun();
    // The two cell spaces, and the hierarchy of the plain model beside them: top holding gunner. The
    // view is fitted to the cells; the hierarchy stands to their right, beyond the box.
    expectReplies("vis_fit", {kFitting, "View fitted to 4 models"});
    ASSERT_EQ(1u, view->boxes.size());
    BoundingBox cells;
    ASSERT_TRUE(getSimulation()->getCellView()->getBounds(cells));
    BoundingBox models;
    ASSERT_TRUE(getSimulation()->getModelView()->getBounds(models));
    EXPECT_EQ(cells.getMin(), view->boxes[0].getMin());
    EXPECT_EQ(cells.getMax(), view->boxes[0].getMax());
    EXPECT_GT(models.getMin().x, view->boxes[0].getMax().x) << "the hierarchy stands right of the cells";
}

TEST_F(CellCommandGLTest, ModelFilesPalettesAndRangesReplyInTheConsoleAndTheLogFile) {
    const std::string importing = "Importing model file: ";
    expectReplies("vis_import_model", {"usage: vis_import_model $modelfile"});
    expectReplies(
        "vis_import_model run.ma",
        {importing + "run.ma", "Unable to import from model file: no visualization currently exists."});
    const std::string rangeUsage =
        "usage: vis_range $model robust | $model all | $model log | $model now | $model $low $high";
    expectReplies("vis_range plane", {rangeUsage});
    expectReplies("vis_range plane later", {rangeUsage});
    expectReplies("vis_range plane 3 1",
                  {"Range refused: its low end 3.000000 is above its high end 1.000000"});
    expectReplies("vis_palette plane", {"usage: vis_palette $model $palettefile"});

    openRun();
    dir.write("run.ma", "[plane]\ndim : (4,3)\ninitialvalue : 0\n[top]\nlink : out@gunner in\nrows 1\n");
    expectReplies("vis_import_model run.ma",
                  {importing + "run.ma", "Model file run.ma, line 6: no ':' between a key and its value",
                   "Model plane: Cell-DEVS, dim 4x3, initial value 0",
                   "Model top: 0 components, 0 input ports, 0 output ports, 1 link",
                   "Model file run.ma read: 2 models, 1 line skipped"});
    EXPECT_EQ(4u, cells("plane")->getWidth());
    expectReplies("vis_import_model none.ma",
                  {importing + "none.ma", "Unable to open model file for import"});

    const std::string reading = "Reading palette: ";
    dir.write("run.pal", "[0;0.4] 255 0 0\n[0.4;1] 0 0 255 x\n[0.5;1] 0 0 255\n");
    expectReplies("vis_palette plane run.pal",
                  {reading + "run.pal", "Palette file run.pal, line 2: a colour is written [low;high] r g b",
                   "plane rule 1: 0.000000 <= value <= 0.400000 is colour (1.000, 0.000, 0.000, 1.000)",
                   "plane rule 2: 0.500000 <= value <= 1.000000 is colour (0.000, 0.000, 1.000, 1.000)",
                   "Palette run.pal: 2 colour rules for plane"});
    expectReplies("vis_palette top run.pal", {reading + "run.pal", "top is not a Cell-DEVS model"});
    expectReplies("vis_palette plane none.pal",
                  {reading + "none.pal", "Unable to open palette file for import"});
    EXPECT_EQ(2u, cells("plane")->getRules().getNumRules());

    // The plane's values: twelve initial 0s and one 0.5; 13 values, k = 1: 0 .. 0.5 whichever way.
    const std::string setting = "Setting the colour range...";
    const std::string ramp = "Setting the colour ramp...";
    const std::string scale = "Setting the colour scale...";
    struct Case {
        std::string command;
        std::vector<std::string> replies;
    };
    const Case cases[] = {
        {"vis_range plane now", {setting, "Colour range of plane: 0 .. 0 (now)"}},
        {"vis_range plane -1 2.5", {setting, "Colour range of plane: -1 .. 2.5 (fixed)"}},
        {"vis_ramp plane auto",
         {ramp, "Colour ramp of plane: coolwarm (auto)", "Colour range of plane: -1 .. 2.5 (fixed)"}},
        {"vis_ramp plane grey",
         {ramp, "Colour ramp of plane: grey", "Colour range of plane: -1 .. 2.5 (fixed)"}},
        {"vis_range plane log", {setting, "Colour range of plane: 0 .. 0.5 (all)"}},
        {"vis_range plane all", {setting, "Colour range of plane: 0 .. 0.5 (all)"}},
        {"vis_range plane robust", {setting, "Colour range of plane: 0 .. 0.5 (robust)"}},
        // Above 0 only the 0.5.
        {"vis_scale plane log",
         {scale, "Colour scale of plane: log", "Colour range of plane: 0.5 .. 0.5 (robust)"}},
        {"vis_scale plane linear",
         {scale, "Colour scale of plane: linear", "Colour range of plane: 0 .. 0.5 (robust)"}},
        {"vis_ramp plane pink", {"usage: vis_ramp $model inferno|viridis|coolwarm|grey|auto"}},
        {"vis_scale plane cubic", {"usage: vis_scale $model linear | log"}},
        {"vis_ramp ghost grey", {ramp, "No model named ghost"}},
    };
    for (const Case& c : cases) {
        expectReplies(c.command, c.replies);
    }
    EXPECT_EQ(SDCellLook::Range::Robust, cells("plane")->getLook().getRange());
    EXPECT_EQ(SDColourRamp::Map::Grey, cells("plane")->getLook().getMap());
    expectReplies("vis_range ghost log", {setting, "No model named ghost"});
}

}  // namespace
