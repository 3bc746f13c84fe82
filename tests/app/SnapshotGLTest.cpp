// Snapshots of the real main window, built as start-up builds it, compared with what the same frame puts
// into the window's own buffer.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "console/VDDEVSConsoleParser.h"
#include "control/VCSimulation.h"
#include "gui/VDConsole.h"
#include "gui/VDMainWindow.h"
#include "gui/VDMessageBox.h"
#include "gui/VDThemeStore.h"
#include "shell/EngineVariables.h"
#include "shell/GLExtensions.h"
#include "shell/Log.h"
#include "shell/VDGarbageCan.h"
#include "shell/app/GlutBridge.h"
#include "shell/app/Snapshot.h"
#include "tests/support/GLTestContext.h"
#include "tests/support/PngPicture.h"
#include "tests/support/TempDir.h"
#include "view3d/VDTessaronerWindow.h"

namespace {

class SnapshotGLTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(GLTestContext::ensure());
        GLTestContext::reset();
        resetLog();
        getEngineVariables()->setBool("file_logging", true);
        ASSERT_NE(nullptr, createGarbageCan());
        ASSERT_NE(nullptr, createMainWindow(800, 600, std::make_unique<VDDEVSConsoleParser>()));
        ASSERT_NE(nullptr, createGLExtensions());
        ASSERT_TRUE(createThemeStore());
        ASSERT_NE(nullptr, createSimulation());
        getMainWindow()->setContentWindow(std::make_unique<VDTessaronerWindow>());
        onGlutReshape(800, 600);
        ASSERT_TRUE(getSimulation()->newVisualization("life_20x20"));
        ASSERT_TRUE(getSimulation()->importLogFile(std::string(TESS_SOURCE_DIR) + "/samples/life_20x20.log"));
        getConsole()->close();
    }
    void TearDown() override {
        destroySimulation();
        destroyGLExtensions();
        destroyThemeStore();
        destroyMainWindow();
        destroyGarbageCan();
        getEngineVariables()->setBool("file_logging", false);
    }

    TempDir dir{true};
};

TEST_F(SnapshotGLTest, ThePictureIsTheFrameTheWindowShows) {
    ASSERT_TRUE(getMainWindow()->drawFrame());
    const std::vector<GLTestContext::Pixel> window = GLTestContext::region(0, 0, 800, 600);

    int width = 0;
    int height = 0;
    std::string error;
    ASSERT_TRUE(writeSnapshot("shot.png", width, height, error)) << error;
    EXPECT_EQ(800, width);
    EXPECT_EQ(600, height);
    const PngPicture picture = PngPicture::read(dir.file("shot.png"));
    ASSERT_EQ(800, picture.width);
    ASSERT_EQ(600, picture.height);

    // The window's buffer is drawn with its origin at the top, the frame with its origin at the bottom, so
    // the edges of smoothed lines fall a little differently (by a few levels, where a line crosses a cell
    // too); every other pixel is the same.
    int cellPixels = 0;
    int cellsDifferent = 0;
    int different = 0;
    for (int y = 0; y < 600; ++y) {
        for (int x = 0; x < 800; ++x) {
            const GLTestContext::Pixel& w = window[static_cast<size_t>(599 - y) * 800 + x];
            const uint8_t* p = picture.at(x, y);
            const bool same = p[0] == w.r && p[1] == w.g && p[2] == w.b;
            different += same ? 0 : 1;
            if (w.r < 10 && w.g > 100 && w.g > w.b + 30) {
                ++cellPixels;
                cellsDifferent += same ? 0 : 1;
            }
        }
    }
    EXPECT_GT(cellPixels, 400 * 100) << "the 400 cells of the run are in the picture";
    EXPECT_LT(cellsDifferent, cellPixels / 100);
    EXPECT_LT(different, 800 * 600 / 30);

    // The window's own buffer is left as it was, and drawing goes to the window again.
    const std::vector<GLTestContext::Pixel> after = GLTestContext::region(0, 0, 800, 600);
    EXPECT_EQ(0, std::memcmp(window.data(), after.data(), window.size() * sizeof window[0]));
    GLint framebuffer = -1;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &framebuffer);
    EXPECT_EQ(0, framebuffer);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(800, viewport[2]);
}

// vis_snapshot's picture: the view as --snapshot draws it, whatever the console or a question shows over
// it; with --window, the window as it is.
TEST_F(SnapshotGLTest, TheViewAloneLeavesTheConsoleAndAQuestionOutTheWindowKeepsThem) {
    int width = 0;
    int height = 0;
    std::string error;
    ASSERT_TRUE(writeSnapshot("clear.png", width, height, error)) << error;
    getConsole()->open();
    getMainWindow()->showMessageBox(VDMessageBox::KIND_YES_NO, "Are you sure?", nullptr);
    ASSERT_TRUE(writeCommandSnapshot("view.png", false, width, height, error)) << error;
    ASSERT_TRUE(writeCommandSnapshot("window.png", true, width, height, error)) << error;
    const PngPicture clear = PngPicture::read(dir.file("clear.png"));
    const PngPicture view = PngPicture::read(dir.file("view.png"));
    const PngPicture window = PngPicture::read(dir.file("window.png"));
    ASSERT_EQ(800, view.width);
    ASSERT_EQ(600, view.height);
    int viewDiffers = 0;
    int windowDiffers = 0;
    for (int y = 0; y < 600; ++y) {
        for (int x = 0; x < 800; ++x) {
            viewDiffers += std::memcmp(clear.at(x, y), view.at(x, y), 3) != 0 ? 1 : 0;
            windowDiffers += std::memcmp(clear.at(x, y), window.at(x, y), 3) != 0 ? 1 : 0;
        }
    }
    EXPECT_EQ(0, viewDiffers);
    EXPECT_GT(windowDiffers, 780 * 500 / 2) << "the console covers most of the window";
}

}  // namespace
