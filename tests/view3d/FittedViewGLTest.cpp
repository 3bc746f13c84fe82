// The real logs' cell spaces as vis_fit shows them: a 2D space head-on with its rows running down, a 3D
// block whole, clear of the window's edges, the strip and the colour bar.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

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

using Pixel = GLTestContext::Pixel;

bool lit(Pixel p) {
    return p.r > 8 || p.g > 8 || p.b > 8;
}

class FittedViewGLTest : public ::testing::Test {
  protected:
    // Imports a real log into a fresh window, lays out the layers of `layered` when given, and fits it;
    // false without the real logs.
    bool fitted(const char* log, const char* preset = "", const char* layered = nullptr) {
        const std::filesystem::path file = std::filesystem::path(TESS_SHARED_DIR) / "logs" / log;
        if (!std::filesystem::exists(file)) {
            return false;
        }
        destroySimulation();
        destroyVisualization();
        EXPECT_NE(nullptr, createSimulation());
        m_window = std::make_unique<VDTessaronerWindow>();
        m_window->setRectangle(VDRect(0, 0, 800, 600));
        m_window->initialise();
        EXPECT_TRUE(getSimulation()->newVisualization("fit.vis") &&
                    getSimulation()->importLogFile(file.string()));
        BoundingBox box;
        getSimulation()->getCellView()->updateLayout();
        if (layered != nullptr) {
            EXPECT_TRUE(getSimulation()->getCellView()->setLayers(layered, true, 800.0f / 600.0f));
        }
        EXPECT_TRUE(getSimulation()->getCellView()->getBounds(box));
        VDDEVSFitViewEvent fit(box, preset);
        m_window->handleEvent(&fit);
        // The cubes alone on black, and the rectangle of lit pixels (window coordinates, y up).
        GLTestContext::reset();
        VDCamera& camera = *m_window->getCamera();
        glMatrixMode(GL_PROJECTION);
        glLoadMatrixd(camera.getProjectionMatrix());
        glMatrixMode(GL_MODELVIEW);
        glLoadMatrixd(camera.getViewMatrix());
        glEnable(GL_DEPTH_TEST);
        getSimulation()->getCellView()->render(camera.getFrustum());
        m_picture = GLTestContext::region(0, 0, 800, 600);
        m_lit = VDRect(800, 600, -1, -1);
        for (int y = 0; y < 600; ++y) {
            for (int x = 0; x < 800; ++x) {
                if (lit(at(x, y))) {
                    m_lit = VDRect(std::min(m_lit.getX1(), float(x)), std::min(m_lit.getY1(), float(y)),
                                   std::max(m_lit.getX2(), float(x)), std::max(m_lit.getY2(), float(y)));
                }
            }
        }
        return true;
    }
    void SetUp() override {
        ASSERT_TRUE(GLTestContext::ensure());
        glViewport(0, 0, 800, 600);
        ASSERT_TRUE(createThemeStore());
    }
    void TearDown() override {
        destroySimulation();
        destroyVisualization();
        destroyThemeStore();
    }
    Pixel at(int x, int y) const { return m_picture[static_cast<size_t>(y) * 800 + static_cast<size_t>(x)]; }
    int rowWidth(int y) const {
        int first = -1, last = -1;
        for (int x = 0; x < 800; ++x) {
            first = lit(at(x, y)) && first < 0 ? x : first;
            last = lit(at(x, y)) ? x : last;
        }
        return last - first + 1;
    }
    // Inside the window with a margin, off the strip and the colour bar.
    void expectClear() {
        const VDCellOverlay overlay(m_window->getCamera()->getProjectionMatrix(),
                                    m_window->getCamera()->getViewMatrix(), VDRect(0, 0, 800, 600));
        EXPECT_TRUE(m_lit.getX1() >= 10 && m_lit.getY1() >= 10 && m_lit.getY2() <= 590 &&
                    m_lit.getX2() < overlay.barRectangle().getX1() &&
                    m_lit.getY2() < m_window->getPanel()->getRectangle().getY1());
    }

    // The lit runs along row y of the picture: where each starts and how wide it is.
    std::vector<std::pair<int, int>> runs(int y) const {
        std::vector<std::pair<int, int>> found;
        for (int x = 0; x < 800; ++x) {
            if (lit(at(x, y))) {
                if (found.empty() || found.back().first + found.back().second != x) {
                    found.emplace_back(x, 0);
                }
                ++found.back().second;
            }
        }
        return found;
    }

    std::unique_ptr<VDTessaronerWindow> m_window;
    std::vector<Pixel> m_picture;
    VDRect m_lit;
};

TEST_F(FittedViewGLTest, A2DSpaceIsSeenHeadOnWithItsRowsRunningDown) {
    if (!fitted("water_spread_2d_25x25.log")) {
        GTEST_SKIP() << "no real logs";
    }
    // 25 x 25 cells: the first row (a quarter of a pitch inside the top) as wide as the last, within 2 %.
    const float quarter = m_lit.getHeight() / 24.5f / 4.0f;
    const int top = rowWidth(static_cast<int>(m_lit.getY2() - quarter));
    EXPECT_NEAR(top, rowWidth(static_cast<int>(m_lit.getY1() + quarter)), 0.02 * top);
    EXPECT_NEAR(m_lit.getWidth(), m_lit.getHeight(), 0.02 * top) << "a square";
    expectClear();

    // opening(1,4): eight cubes of 0.5, one unit apart, 7.5 units edge to edge; the fifth across, the second
    // down, is lit and picked there.
    ASSERT_TRUE(fitted("morph_filter_2d_8x8.log"));
    const int x = static_cast<int>(m_lit.getX1() + 4.25f * (m_lit.getWidth() + 1) / 7.5f);
    const int y = static_cast<int>(m_lit.getY2() - 1.25f * (m_lit.getHeight() + 1) / 7.5f);
    EXPECT_TRUE(lit(at(x, y)));
    EXPECT_FALSE(lit(at(static_cast<int>(x + 0.5f * (m_lit.getWidth() + 1) / 7.5f), y))) << "between columns";
    VDCamera& camera = *m_window->getCamera();
    VDCellSelection selection;
    ASSERT_TRUE(selection.pick(
        getSimulation(),
        VDPickRay::through(camera.getProjectionMatrix(), camera.getViewMatrix(), x, y, 800, 600), 1e9f));
    EXPECT_EQ("opening(1,4,0)", selection.getModel() + "(" + std::to_string(selection.getX()) + "," +
                                    std::to_string(selection.getY()) + "," +
                                    std::to_string(selection.getZ()) + ")");
}

TEST_F(FittedViewGLTest, FittedBlocksAreWholeAndClearOfTheEdgesTheStripAndTheLegend) {
    for (const auto& [log, preset] : {std::pair{"falling_mass_3d_8x8x8.log", ""},
                                      {"thermal_cube_3d_4x4x4.log", ""},
                                      {"thermal_cube_3d_4x4x4.log", "top"},
                                      {"falling_mass_3d_8x8x8.log", "right"}}) {
        SCOPED_TRACE(std::string(log) + " " + preset);
        if (!fitted(log, preset)) {
            GTEST_SKIP() << "no real logs";
        }
        ASSERT_GT(m_lit.getWidth(), 0.0f);
        expectClear();
    }
}

TEST_F(FittedViewGLTest, MapsAreFlatSquaresSeenHeadOnAndLaidOutLayersGetRoom) {
    // water_spread: 25 squares along the middle row; head-on and without side faces the outermost is as
    // wide as the middle one (cubes would add a side face of some pixels to the outer ones).
    if (!fitted("water_spread_2d_25x25.log")) {
        GTEST_SKIP() << "no real logs";
    }
    const auto across = runs(static_cast<int>((m_lit.getY1() + m_lit.getY2()) / 2.0f));
    ASSERT_EQ(25u, across.size());
    EXPECT_NEAR(across[12].second, across.front().second, 1);
    EXPECT_NEAR(across[12].second, across.back().second, 1);

    // falling_mass laid out: 3 x 3 maps of 8 x 8 (less one), 25.5 units from the first cube's left edge to
    // the last one's right edge either way; vis_fit looks at them head-on, so the grid is square on the
    // screen, and each cell (a unit, its cube and the gap) gets at least 12 pixels.
    ASSERT_TRUE(fitted("falling_mass_3d_8x8x8.log", "", "fallrock"));
    EXPECT_NEAR(m_lit.getWidth(), m_lit.getHeight(), 2.0f);
    EXPECT_GE((m_lit.getWidth() + 1.0f) / 25.5f, 12.0f);
    expectClear();
}

}  // namespace
