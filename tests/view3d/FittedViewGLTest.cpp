// The real logs' cell spaces as vis_fit shows them: a 2D space head-on with its rows running down, a 3D
// block whole, clear of the window's edges, the strip and the colour bar.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "console/VDDEVSFitViewEvent.h"
#include "control/VCCellView.h"
#include "control/VCSimulation.h"
#include "gui/VDPanel.h"
#include "gui/VDThemeStore.h"
#include "tests/support/GLTestContext.h"
#include "view3d/VDCellOverlay.h"
#include "view3d/VDCellSelection.h"
#include "view3d/VDPickRay.h"
#include "view3d/VDTessaronerWindow.h"

namespace {

namespace fs = std::filesystem;
using Pixel = GLTestContext::Pixel;

// Where the cubes are in a picture of cubes alone on black: the rectangle of lit pixels, window
// coordinates (y up), and how many lit pixels a row of it holds.
struct Lit {
    int left = 800, right = -1, bottom = 600, top = -1;
};

bool lit(Pixel p) {
    return p.r > 8 || p.g > 8 || p.b > 8;
}

class FittedViewGLTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(GLTestContext::ensure());
        GLTestContext::reset();
        glViewport(0, 0, 800, 600);
        ASSERT_TRUE(createThemeStore());
        m_window.setRectangle(VDRect(0, 0, 800, 600));
        m_window.initialise();
        ASSERT_NE(nullptr, createSimulation());
        ASSERT_TRUE(getSimulation()->newVisualization("fit.vis"));
    }
    void TearDown() override {
        destroySimulation();
        destroyVisualization();
        destroyThemeStore();
    }
    // False (and the test skipped) without the real logs.
    bool importAndFit(const char* name, const char* preset = "") {
        const fs::path file = fs::path(TESS_SHARED_DIR) / "logs" / name;
        if (!fs::exists(file)) {
            return false;
        }
        EXPECT_TRUE(getSimulation()->importLogFile(file.string()));
        getSimulation()->timeLast();
        VCCellView* cells = getSimulation()->getCellView();
        cells->updateLayout();
        BoundingBox box;
        EXPECT_TRUE(cells->getBounds(box));
        VDDEVSFitViewEvent fit(box, preset);
        EXPECT_TRUE(m_window.handleEvent(&fit));
        return true;
    }
    // The cubes alone, as the window's camera sees them, and where they came out.
    Lit cubes() {
        GLTestContext::reset();
        VDCamera& camera = *m_window.getCamera();
        glMatrixMode(GL_PROJECTION);
        glLoadMatrixd(camera.getProjectionMatrix());
        glMatrixMode(GL_MODELVIEW);
        glLoadMatrixd(camera.getViewMatrix());
        glEnable(GL_DEPTH_TEST);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        getSimulation()->getCellView()->render(camera.getFrustum());
        glFinish();
        m_picture = GLTestContext::region(0, 0, 800, 600);
        Lit found;
        for (int y = 0; y < 600; ++y) {
            for (int x = 0; x < 800; ++x) {
                if (lit(at(x, y))) {
                    found.left = std::min(found.left, x);
                    found.right = std::max(found.right, x);
                    found.bottom = std::min(found.bottom, y);
                    found.top = std::max(found.top, y);
                }
            }
        }
        return found;
    }
    Pixel at(int x, int y) const { return m_picture[static_cast<size_t>(y) * 800 + static_cast<size_t>(x)]; }
    // From the first to the last lit pixel of a picture row.
    int rowWidth(int y) const {
        int first = -1, last = -1;
        for (int x = 0; x < 800; ++x) {
            if (lit(at(x, y))) {
                first = first < 0 ? x : first;
                last = x;
            }
        }
        return first < 0 ? 0 : last - first + 1;
    }
    static bool overlaps(const Lit& a, const VDRect& r) {
        return a.left <= r.getX2() && a.right >= r.getX1() && a.bottom <= r.getY2() && a.top >= r.getY1();
    }

    VDTessaronerWindow m_window;
    std::vector<Pixel> m_picture;
};

TEST_F(FittedViewGLTest, A2DSpaceIsSeenHeadOnWithItsRowsRunningDown) {
    if (!importAndFit("water_spread_2d_25x25.log")) {
        GTEST_SKIP() << "no real logs";
    }
    const Lit water = cubes();
    ASSERT_LT(water.left, water.right);
    // A square of 25 by 25 cells: the first row (a cube's height, half a cell pitch, inside the top) as
    // wide as the last.
    const float pitch = static_cast<float>(water.top - water.bottom) / 24.5f;
    const int top = rowWidth(water.top - static_cast<int>(pitch / 4.0f));
    const int bottom = rowWidth(water.bottom + static_cast<int>(pitch / 4.0f));
    EXPECT_NEAR(top, bottom, 0.02 * top) << top << " and " << bottom;
    EXPECT_NEAR(water.right - water.left, water.top - water.bottom, 0.02 * top) << "a square";
    // Inside the picture, below the strip and left of the colour bar.
    EXPECT_GT(water.left, 10);
    EXPECT_GT(water.bottom, 10);
    EXPECT_FALSE(overlaps(water, m_window.getPanel()->getRectangle()));
    const VDCellOverlay overlay(m_window.getCamera()->getProjectionMatrix(),
                                m_window.getCamera()->getViewMatrix(), VDRect(0, 0, 800, 600));
    EXPECT_FALSE(overlaps(water, overlay.barRectangle()));
}

TEST_F(FittedViewGLTest, Opening14IsInTheSecondRowFromTheTopAndTheFifthColumnFromTheLeft) {
    if (!importAndFit("morph_filter_2d_8x8.log")) {
        GTEST_SKIP() << "no real logs";
    }
    const Lit opening = cubes();
    // Eight cubes of half a unit, one unit apart: 7.5 units from the first cube's edge to the last's.
    // The middle of the fifth cube across and the second down, as the picture shows them.
    const float across = static_cast<float>(opening.right + 1 - opening.left) / 7.5f;
    const float down = static_cast<float>(opening.top + 1 - opening.bottom) / 7.5f;
    const int x = opening.left + static_cast<int>(4.25f * across);
    const int y = opening.top - static_cast<int>(1.25f * down);
    EXPECT_TRUE(lit(at(x, y)));
    EXPECT_FALSE(lit(at(opening.left + static_cast<int>(4.75f * across), y))) << "between the columns";
    VDCamera& camera = *m_window.getCamera();
    const VDPickRay ray =
        VDPickRay::through(camera.getProjectionMatrix(), camera.getViewMatrix(), x, y, 800.0f, 600.0f);
    VDCellSelection selection;
    ASSERT_TRUE(selection.pick(getSimulation(), ray, 1e9f));
    EXPECT_EQ("opening", selection.getModel());
    EXPECT_EQ(1u, selection.getX());
    EXPECT_EQ(4u, selection.getY());
}

TEST_F(FittedViewGLTest, FittedBlocksAreWholeAndClearOfTheEdgesTheStripAndTheLegend) {
    struct Case {
        const char* log;
        const char* preset;
    };
    const Case cases[] = {
        {"falling_mass_3d_8x8x8.log", ""},
        {"thermal_cube_3d_4x4x4.log", ""},
        {"thermal_cube_3d_4x4x4.log", "top"},
        {"falling_mass_3d_8x8x8.log", "right"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.log) + " " + c.preset);
        TearDown();
        SetUp();
        if (!importAndFit(c.log, c.preset)) {
            GTEST_SKIP() << "no real logs";
        }
        const Lit block = cubes();
        ASSERT_LT(block.left, block.right);
        EXPECT_GE(block.left, 10);
        EXPECT_LE(block.right, 790);
        EXPECT_GE(block.bottom, 10);
        EXPECT_LE(block.top, 590);
        EXPECT_FALSE(overlaps(block, m_window.getPanel()->getRectangle()));
        const VDCellOverlay overlay(m_window.getCamera()->getProjectionMatrix(),
                                    m_window.getCamera()->getViewMatrix(), VDRect(0, 0, 800, 600));
        EXPECT_FALSE(overlaps(block, overlay.barRectangle()));
        // Big enough to read: the block spans most of the room it was given.
        EXPECT_GT(std::max(block.right - block.left, block.top - block.bottom), 300);
    }
}

}  // namespace
