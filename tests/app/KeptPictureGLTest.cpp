// The 3D picture is drawn again from the kept copy while nothing it shows has changed, and drawn afresh as
// soon as any of its inputs changes. Driven through the program's own input callbacks.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "console/VDDEVSConsoleParser.h"
#include "control/VCSimulation.h"
#include "gui/VDConsole.h"
#include "gui/VDMainWindow.h"
#include "gui/VDThemeStore.h"
#include "shell/GLExtensions.h"
#include "shell/Log.h"
#include "shell/PropertySet.h"
#include "shell/VDGarbageCan.h"
#include "shell/app/GlutBridge.h"
#include "tests/support/GLTestContext.h"
#include "tests/support/LogRecorder.h"
#include "view3d/VDFirstPersonCamera.h"
#include "view3d/VDTessaronerWindow.h"

namespace {

using Picture = std::vector<GLTestContext::Pixel>;

void type(const std::string& text) {
    for (char c : text) {
        onGlutKeyboard(static_cast<unsigned char>(c), 0, 0);
        onGlutKeyboardUp(static_cast<unsigned char>(c), 0, 0);
    }
}

// A command typed into the console, which is closed again for the picture.
void command(const std::string& line) {
    getConsole()->open();
    type(line + "\r");
    getConsole()->close();
}

class KeptPictureGLTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(GLTestContext::ensure());
        GLTestContext::reset();
        ASSERT_NE(nullptr, createGarbageCan());
        ASSERT_NE(nullptr, createMainWindow(800, 600, std::make_unique<VDDEVSConsoleParser>()));
        ASSERT_NE(nullptr, createGLExtensions());
        ASSERT_TRUE(createThemeStore());
        ASSERT_NE(nullptr, createSimulation());
        getMainWindow()->setContentWindow(std::make_unique<VDTessaronerWindow>());
        onGlutReshape(800, 600);
        ASSERT_TRUE(getSimulation()->newVisualization("life_20x20"));
        ASSERT_TRUE(getSimulation()->importLogFile(std::string(TESS_SOURCE_DIR) + "/samples/life_20x20.log"));
        ASSERT_TRUE(getSimulation()->timeNext());  // the cells hold 0 and 1
        getConsole()->close();
        type("f");  // all of life in view
    }
    void TearDown() override {
        destroySimulation();
        destroyGLExtensions();
        destroyThemeStore();
        destroyMainWindow();
        destroyGarbageCan();
    }
    static VDTessaronerWindow* viewer() {
        return dynamic_cast<VDTessaronerWindow*>(getMainWindow()->getContentWindow());
    }
    // The frame, the strip over the picture included.
    static Picture frame() {
        EXPECT_TRUE(getMainWindow()->drawFrame());
        return GLTestContext::region(0, 0, getMainWindow()->getWidth(), getMainWindow()->getHeight());
    }

    LogRecorder quiet;
};

struct Change {
    const char* what;
    std::function<void()> make;
};

TEST_F(KeptPictureGLTest, EachInputOfThePictureHasItDrawnAfreshAndNothingElseDoes) {
    const std::vector<Change> changes{
        {"the time", [] { getSimulation()->timeNext(); }},
        {"the camera",
         [] { dynamic_cast<VDFirstPersonCamera*>(viewer()->getCamera())->move(0.0f, 1.0f, 0.0f); }},
        {"the colours", [] { command("vis_color life 0 0 1 0 0"); }},
        {"visibility", [] { command("vis_color life 1 1 0 0 0 0"); }},
        {"the scene",
         [] {
             PropertySet cube;
             cube.set("type", "CUBE");
             cube.set("position_z", "-5");  // in the middle of life's box
             cube.set("size", "8");
             getSimulation()->addDetailNode(cube);
         }},
        {"a pick",
         [] {
             // The middle of a cube of the fitted 20 x 20 cells (they stand 26 pixels apart, from x = 83).
             onGlutMouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 289, 391);
             onGlutMouse(GLUT_LEFT_BUTTON, GLUT_UP, 289, 391);
         }},
        {"the window's size", [] { onGlutReshape(640, 480); }},
    };
    const VDKeptPicture& kept = viewer()->getKeptPicture();
    for (const Change& change : changes) {
        SCOPED_TRACE(change.what);
        const Picture drawn = frame();
        const uint64_t captured = kept.captureCount();
        const uint64_t reused = kept.reuseCount();

        // Typing, the console and the strip leave the scene as it is.
        getConsole()->open();
        type("vis_");
        getConsole()->close();
        EXPECT_TRUE(GLTestContext::sameColours(drawn, frame())) << "the kept picture is the picture";
        EXPECT_EQ(captured, kept.captureCount());
        EXPECT_EQ(reused + 1, kept.reuseCount());
        getConsole()->open();
        type("\b\b\b\b");  // the half-typed line goes
        getConsole()->close();

        change.make();
        const Picture after = frame();
        EXPECT_EQ(captured + 1, kept.captureCount()) << "drawn afresh";
        EXPECT_FALSE(GLTestContext::sameColours(drawn, after)) << "and it shows the change";
        EXPECT_TRUE(GLTestContext::sameColours(after, frame()))
            << "which the next frame shows from the kept picture, strip and all";
    }
}

}  // namespace
