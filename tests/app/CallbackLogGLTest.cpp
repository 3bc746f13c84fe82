// Lines that the main window's handlers log during a GLUT callback are held while it runs and are in the
// log file when it returns.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "gui/VDMainWindow.h"
#include "gui/VDThemeStore.h"
#include "shell/EngineVariables.h"
#include "shell/Log.h"
#include "shell/VDGarbageCan.h"
#include "shell/app/GlutBridge.h"
#include "tests/support/GLTestContext.h"
#include "tests/support/TempDir.h"

namespace {

// The 3D view's stand-in: logs one line per event and notes whether the file already had it then.
class LoggingProbe : public VDWindow {
  public:
    LoggingProbe(const TempDir& dir, std::vector<std::string>* early) : m_dir(dir), m_early(early) {}
    bool handleEvent(VDEvent* event) override {
        const std::string line = std::to_string(++m_count) + ": event " + std::to_string(event->getType());
        logMessage("%s", line.c_str());
        if (readFile(m_dir.file("log.txt")).find(line + "\n") != std::string::npos) {
            m_early->push_back(line);
        }
        return false;
    }

  private:
    const TempDir& m_dir;
    std::vector<std::string>* m_early;
    int m_count = 0;
};

class CallbackLogGLTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(GLTestContext::ensure());
        logdetail::forgetLogFile();
        resetLog();
        createGarbageCan();
        createThemeStore();
        createMainWindow(800, 600, nullptr);
        getMainWindow()->setContentWindow(std::make_unique<LoggingProbe>(dir, &early));
        getEngineVariables()->setBool("file_logging", true);
        flushLog();
        resetLog();
    }
    void TearDown() override {
        getEngineVariables()->setBool("file_logging", false);
        destroyMainWindow();
        destroyThemeStore();
        destroyGarbageCan();
        logdetail::forgetLogFile();
    }
    std::string logged() const { return readFile(dir.file("log.txt")); }

    TempDir dir{true};
    std::vector<std::string> early;
};

TEST_F(CallbackLogGLTest, WhatACallbackLogsIsInTheFileWhenItReturns) {
    onGlutKeyboard('x', 0, 0);
    EXPECT_EQ("1: event 7\n", logged());
    onGlutReshape(640, 480);
    EXPECT_EQ("1: event 7\n2: event 1\n", logged())
        << "the resize itself is not passed to the content window";
    onGlutDisplay();
    onGlutMouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 10, 20);
    onGlutMotion(30, 40);
    onGlutKeyboardUp('x', 0, 0);
    onGlutSpecialUp(GLUT_KEY_LEFT, 0, 0);
    EXPECT_EQ("1: event 7\n2: event 1\n3: event 1\n4: event 5\n5: event 3\n6: event 6\n7: event 6\n",
              logged());
    EXPECT_TRUE(early.empty()) << "a line reached the file before its callback returned: " << early.front();
}

}  // namespace
