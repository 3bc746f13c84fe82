// The viewer window's frame drawn into a real context and read back.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "console/VDDEVSRotateCameraEvent.h"
#include "control/VCSimulation.h"
#include "gui/VDEvent.h"
#include "gui/VDTheme.h"
#include "gui/VDThemeStore.h"
#include "shell/PropertySet.h"
#include "tests/support/GLTestContext.h"
#include "view3d/VDFirstPersonCamera.h"
#include "view3d/VDTessaronerWindow.h"

namespace {

using Pixel = GLTestContext::Pixel;
const Pixel kGrid{128, 128, 128, 255};

class TessaronerWindowGLTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(GLTestContext::ensure());
        GLTestContext::reset();
        glViewport(0, 0, 800, 600);
        m_window.setRectangle(VDRect(0, 0, 800, 600));
        m_window.initialise();
    }
    void TearDown() override {
        destroySimulation();
        destroyVisualization();
        destroyThemeStore();
    }

    // One frame as the main window runs it: clear, the 2D pass of the theme (when one exists) around the
    // window's drawing.
    void frame(int width = 800, int height = 600) {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        VDTheme* theme = currentTheme();
        if (theme != nullptr) {
            theme->begin2D(static_cast<float>(width), static_cast<float>(height));
        }
        VDRedisplayEvent redisplay;
        m_window.handleEvent(&redisplay);
        if (theme != nullptr) {
            theme->end2D();
        }
    }

    void addCube(float x, float y, float z, float size) {
        PropertySet properties;
        properties.set("type", "CUBE");
        properties.set("position_x", std::to_string(x));
        properties.set("position_y", std::to_string(y));
        properties.set("position_z", std::to_string(z));
        properties.set("size", std::to_string(size));
        ASSERT_GE(getSimulation()->addDetailNode(properties), 0);
    }

    // The bounding rectangle of the cube's pixels (green, no red) in the lower-left width x height.
    struct Extent {
        int minX = 100000, minY = 100000, maxX = -1, maxY = -1, count = 0;
    };
    static Extent cubeExtent(int width, int height) {
        Extent e;
        std::vector<Pixel> pixels = GLTestContext::region(0, 0, width, height);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const Pixel& p = pixels[static_cast<size_t>(y * width + x)];
                if (p.r < 10 && p.g > 20) {
                    e.minX = std::min(e.minX, x);
                    e.maxX = std::max(e.maxX, x);
                    e.minY = std::min(e.minY, y);
                    e.maxY = std::max(e.maxY, y);
                    ++e.count;
                }
            }
        }
        return e;
    }

    VDFirstPersonCamera& camera() { return *dynamic_cast<VDFirstPersonCamera*>(m_window.getCamera()); }

    VDTessaronerWindow m_window;
};

TEST_F(TessaronerWindowGLTest, FirstFrameShowsTheGridFromAboveAndBehindLookingDownMinusZ) {
    frame();
    // Nothing above the horizon; the far edge (z = -10, 11 units ahead, 1 below) just under it.
    EXPECT_EQ(0, GLTestContext::countNear(0, 280, 800, 320, kGrid, 2));
    int highest = -1;
    for (int y = 299; y >= 0 && highest < 0; --y) {
        if (GLTestContext::countNear(0, y, 800, 1, kGrid, 2) > 0) {
            highest = y;
        }
    }
    EXPECT_NEAR(273, highest, 2);
    // The line z = -1 lies 2 ahead and 1 below: a full-width row a quarter of the way up.
    EXPECT_GE(GLTestContext::countNear(0, 148, 800, 5, kGrid, 2), 790);
    // The line x = 0 runs straight ahead up the middle.
    EXPECT_GE(GLTestContext::countNear(398, 160, 5, 100, kGrid, 2), 100);
    // The 3D pass leaves the matrix stacks and depth test as it found them.
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_EQ(1, depth);
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
}

TEST_F(TessaronerWindowGLTest, ButtonStripDrawsOverThePictureWithFourButtons) {
    ASSERT_TRUE(createThemeStore());
    frame();
    // The strip covers the top 40 rows up to x = 600; beyond it the sky stays black.
    int strip = 600 * 40 - GLTestContext::countNear(0, 560, 600, 40, Pixel{0, 0, 0, 255}, 0);
    EXPECT_GT(strip, 600 * 40 / 2);
    EXPECT_EQ(199 * 40, GLTestContext::countNear(601, 560, 199, 40, Pixel{0, 0, 0, 255}, 0));
    // The four buttons look different from the strip's empty right part (no time label or time bar
    // without a visualization).
    auto signature = [](int x1, int x2) {
        std::vector<Pixel> pixels = GLTestContext::region(x1, 570, x2 - x1, 8);
        long sum = 0;
        for (const Pixel& p : pixels) {
            sum += p.r + p.g + p.b;
        }
        return sum / static_cast<long>(pixels.size());
    };
    long empty = signature(400, 440);
    EXPECT_NE(empty, signature(15, 50));
    EXPECT_NE(empty, signature(70, 110));
    EXPECT_NE(empty, signature(115, 160));
    EXPECT_NE(empty, signature(175, 270));
}

TEST_F(TessaronerWindowGLTest, ScenesAreDrawnThroughTheControllerAndCulledByTheCamera) {
    ASSERT_NE(nullptr, createSimulation());
    ASSERT_TRUE(getSimulation()->newVisualization("scene.vis"));
    addCube(0, 1, -4, 2);
    frame();
    Extent ahead = cubeExtent(800, 600);
    EXPECT_GT(ahead.count, 1000);
    EXPECT_NEAR(400, (ahead.minX + ahead.maxX) / 2.0, 2);
    EXPECT_NEAR(300, (ahead.minY + ahead.maxY) / 2.0, 2);

    // Turned to look along -X the cube leaves the picture; turned back it returns.
    VDDEVSRotateCameraEvent left(90, 0, 0);
    EXPECT_TRUE(m_window.handleEvent(&left));
    frame();
    EXPECT_EQ(0, cubeExtent(800, 600).count);
    VDDEVSRotateCameraEvent back(-90, 0, 0);
    m_window.handleEvent(&back);
    frame();
    EXPECT_EQ(ahead.count, cubeExtent(800, 600).count);
}

TEST_F(TessaronerWindowGLTest, ACubeStaysSquareInAWideWindow) {
    ASSERT_NE(nullptr, createSimulation());
    ASSERT_TRUE(getSimulation()->newVisualization("square.vis"));
    addCube(0, 1, -4, 2);
    glViewport(0, 0, 800, 400);
    m_window.setRectangle(VDRect(0, 0, 800, 400));
    frame(800, 400);
    Extent e = cubeExtent(800, 400);
    ASSERT_GT(e.count, 1000);
    // The front face, 4 ahead and 2 wide, spans a quarter of the half-height each way: 100 pixels.
    EXPECT_NEAR(100, e.maxX - e.minX + 1, 3);
    EXPECT_NEAR(100, e.maxY - e.minY + 1, 3);
}

}  // namespace
