#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "gui/VDConsole.h"
#include "gui/VDMainWindow.h"
#include "gui/VDThemeStore.h"
#include "shell/VDDisposable.h"
#include "shell/VDGarbageCan.h"
#include "shell/app/GlutBridge.h"
#include "tests/support/GLTestContext.h"

namespace {

using Journal = std::vector<std::string>;

// Stands in for the 3D view; notes events, placements and the garbage can's state at each redisplay.
class BridgeProbe : public VDWindow {
  public:
    explicit BridgeProbe(Journal* journal) : m_journal(journal) {}
    bool handleEvent(VDEvent* event) override {
        std::string entry = std::to_string(event->getType());
        if (event->getType() == VDEvent::REDISPLAY) {
            entry += " pending " + std::to_string(getGarbageCan()->pendingCount());
        }
        m_journal->push_back(entry);
        return false;
    }
    void setRectangle(const VDRect& rect) override {
        m_journal->push_back("placed " + std::to_string(static_cast<int>(rect.getX2())) + "x" +
                             std::to_string(static_cast<int>(rect.getY2())));
        VDWindow::setRectangle(rect);
    }

  private:
    Journal* m_journal;
};

class GlutBridgeGLTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(GLTestContext::ensure());
        createGarbageCan();
        createThemeStore();
        createMainWindow(800, 600, nullptr);
        getMainWindow()->setContentWindow(std::make_unique<BridgeProbe>(&journal));
        journal.clear();
    }
    void TearDown() override {
        destroyMainWindow();
        destroyThemeStore();
        destroyGarbageCan();
    }
    Journal journal;
};

TEST_F(GlutBridgeGLTest, DisplayEmptiesTheGarbageCanBeforeTheFrame) {
    getGarbageCan()->dispose(new VDDisposable());
    onGlutDisplay();
    EXPECT_EQ((Journal{"1 pending 0"}), journal);
}

TEST_F(GlutBridgeGLTest, ReshapeResizesThenRedraws) {
    onGlutReshape(640, 480);
    EXPECT_EQ((Journal{"placed 640x480", "1 pending 0"}), journal);
    EXPECT_EQ(640, getMainWindow()->getWidth());
    EXPECT_EQ(480, getMainWindow()->getHeight());
}

TEST_F(GlutBridgeGLTest, InputReachesTheMainWindowInItsCoordinates) {
    onGlutKeyboard('x', 0, 0);
    onGlutKeyboardUp('x', 0, 0);
    onGlutSpecial(GLUT_KEY_LEFT, 0, 0);
    onGlutMouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 10, 20);
    onGlutMouse(GLUT_LEFT_BUTTON, GLUT_UP, 10, 20);
    onGlutMouse(5, GLUT_DOWN, 10, 20);  // no such button: nothing
    onGlutMotion(30, 40);
    EXPECT_EQ((Journal{"7", "6", "7", "5", "4", "3"}), journal);
}

}  // namespace
