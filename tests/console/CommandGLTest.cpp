#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "console/VDDEVSConsoleParser.h"
#include "console/VDDEVSMoveCameraEvent.h"
#include "console/VDDEVSRotateCameraEvent.h"
#include "console/VDExitCommand.h"
#include "control/VCSimulation.h"
#include "gui/VDConsole.h"
#include "gui/VDEditBox.h"
#include "gui/VDMainWindow.h"
#include "gui/VDMessageBox.h"
#include "gui/VDThemeStore.h"
#include "shell/GLExtensions.h"
#include "shell/VDGarbageCan.h"
#include "tests/support/GLTestContext.h"
#include "tests/support/LogRecorder.h"

namespace {

// Stands in for the 3D view and keeps the camera events it receives.
class CameraProbe : public VDWindow {
  public:
    bool handleEvent(VDEvent* event) override {
        if (auto* move = dynamic_cast<VDDEVSMoveCameraEvent*>(event)) {
            moves.push_back(
                {move->getForwardMovement(), move->getSideMovement(), move->getVerticalMovement()});
        }
        if (auto* rotate = dynamic_cast<VDDEVSRotateCameraEvent*>(event)) {
            rotations.push_back({rotate->getYawChange(), rotate->getPitchChange(), rotate->getRollChange()});
        }
        types.push_back(event->getType());
        return true;
    }
    std::vector<std::vector<float>> moves;
    std::vector<std::vector<float>> rotations;
    std::vector<int> types;
};

std::unique_ptr<VDConsoleCommand> makeExit() {
    return std::make_unique<VDExitCommand>();
}

// The program's objects as start-up builds them, driven through the main window as the GLUT bridge does.
class CommandGLTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(GLTestContext::ensure());
        createGarbageCan();
        createMainWindow(800, 600, std::make_unique<VDDEVSConsoleParser>());
        getMainWindow()->setEscapeCommandFactory(&makeExit);
        createThemeStore();
        createSimulation();
        auto probe = std::make_unique<CameraProbe>();
        view = probe.get();
        getMainWindow()->setContentWindow(std::move(probe));
    }
    void TearDown() override {
        destroySimulation();
        destroyThemeStore();
        destroyMainWindow();
        destroyGarbageCan();
    }
    void key(int value) {
        VDKeyDownEvent down(value);
        getMainWindow()->handleEvent(&down);
        VDKeyUpEvent up(value);
        getMainWindow()->handleEvent(&up);
    }
    void enter(const std::string& line) {
        for (char c : line) {
            key(static_cast<unsigned char>(c));
        }
        key(VDKey::KEY_ENTER);
    }
    void clickAt(int x, int guiY) {
        VDMouseDownEvent down(VDMouseButtonEvent::LEFT, x, 600 - guiY);
        getMainWindow()->handleEvent(&down);
        VDMouseUpEvent up(VDMouseButtonEvent::LEFT, x, 600 - guiY);
        getMainWindow()->handleEvent(&up);
    }

    CameraProbe* view = nullptr;
};

TEST_F(CommandGLTest, CameraCommandsReachTheViewPastTheOpenConsole) {
    ASSERT_TRUE(getConsole()->isOpen());
    enter("cam_move 1 2 3");
    enter("cam_rotate 10 20 30");
    ASSERT_EQ(1u, view->moves.size());
    EXPECT_EQ((std::vector<float>{3, 1, 2}), view->moves[0]) << "forward, side, vertical";
    ASSERT_EQ(1u, view->rotations.size());
    EXPECT_EQ((std::vector<float>{10, 20, 30}), view->rotations[0]);
    EXPECT_EQ((std::vector<int>{65000, 65001}), view->types) << "the typed keys stay with the console";
    EXPECT_EQ(2u, getGarbageCan()->pendingCount());
}

// An infinite or undefined camera could never be brought back: numbers that are not finite (1e40 does not fit
// a float) are accepted and read as 0, so such a command moves and turns nothing.
TEST_F(CommandGLTest, CameraCommandsReadNumbersThatAreNotFiniteAsZero) {
    enter("cam_move inf nan 1e40");
    enter("cam_rotate -inf 1e40 NAN");
    ASSERT_EQ(1u, view->moves.size());
    EXPECT_EQ((std::vector<float>{0, 0, 0}), view->moves[0]);
    ASSERT_EQ(1u, view->rotations.size());
    EXPECT_EQ((std::vector<float>{0, 0, 0}), view->rotations[0]);
}

TEST_F(CommandGLTest, ExitAnsweredNoLeavesEverythingRunning) {
    enter("exit");
    VDMessageBox* box = getMainWindow()->getMessageBox();
    ASSERT_NE(nullptr, box);
    EXPECT_EQ("Are you sure you want to exit?", box->getMessage());
    EXPECT_EQ(0u, getGarbageCan()->pendingCount()) << "the command waits for the answer";

    clickAt(445, 285);  // "No"
    EXPECT_EQ(nullptr, getMainWindow()->getMessageBox());
    EXPECT_EQ(2u, getGarbageCan()->pendingCount()) << "the box and the command";
    LogRecorder rec;
    getGarbageCan()->empty();
    EXPECT_EQ(2u, rec.lines().size());
    EXPECT_NE(nullptr, getSimulation());
    EXPECT_NE(nullptr, getConsole());
}

TEST_F(CommandGLTest, EscapeAsksTheSameQuestion) {
    key(VDKey::KEY_ESCAPE);
    ASSERT_NE(nullptr, getMainWindow()->getMessageBox());
    EXPECT_EQ("Are you sure you want to exit?", getMainWindow()->getMessageBox()->getMessage());
    key(VDKey::KEY_TAB);
    key(VDKey::KEY_ENTER);  // on "No"
    EXPECT_EQ(nullptr, getMainWindow()->getMessageBox());
    EXPECT_EQ(2u, getGarbageCan()->pendingCount());
}

// Yes takes everything down in order, the command included, and ends the process with status 0: a leak or
// a use of something already destroyed would end it otherwise. (The log of the teardown is checked end to
// end.) The child process starts afresh, since a forked copy of the GL driver's threads would hang.
TEST_F(CommandGLTest, ExitAnsweredYesEndsTheProcessAfterAnOrderlyTeardown) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    ASSERT_NE(nullptr, createGLExtensions());
    EXPECT_EXIT(
        {
            enter("exit");
            key(VDKey::KEY_ENTER);  // on the focused "Yes"
        },
        ::testing::ExitedWithCode(0), "");
    destroyGLExtensions();
}

}  // namespace
