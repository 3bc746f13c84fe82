// The legends as the window paints them for the real logs: the key of block colours while model blocks
// are drawn, the "no value" swatch of cells without a value, and the triad's x running down the rows while
// a cell space is drawn.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "console/VDDEVSFitViewEvent.h"
#include "control/VCCellView.h"
#include "control/VCSimulation.h"
#include "gui/VDEvent.h"
#include "gui/VDTheme.h"
#include "gui/VDThemeStore.h"
#include "simdata/SDVisualization.h"
#include "tests/support/GLTestContext.h"
#include "view3d/VDAxesTriad.h"
#include "view3d/VDCellLegends.h"
#include "view3d/VDTessaronerWindow.h"

namespace {

namespace fs = std::filesystem;
using Pixel = GLTestContext::Pixel;

class LegendsGLTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!fs::is_directory(fs::path(TESS_SHARED_DIR) / "logs")) {
            GTEST_SKIP() << "no real logs at " << TESS_SHARED_DIR;
        }
        ASSERT_TRUE(GLTestContext::ensure());
        GLTestContext::reset();
        glViewport(0, 0, 800, 600);
        ASSERT_TRUE(createThemeStore());
        m_window.setRectangle(VDRect(0, 0, 800, 600));
        m_window.initialise();
        ASSERT_NE(nullptr, createSimulation());
    }
    void TearDown() override {
        destroySimulation();
        destroyVisualization();
        destroyThemeStore();
    }
    void frame() {
        currentTheme()->clearScreen();
        currentTheme()->begin2D(800, 600);
        VDRedisplayEvent redisplay;
        m_window.handleEvent(&redisplay);
        currentTheme()->end2D();
    }

    VDTessaronerWindow m_window;
};

TEST_F(LegendsGLTest, TheKeyOfBlocksTheNoValueSwatchAndTheTriadOfCellsArePainted) {
    // By hand: gun_loader_crew has atomic models and no cell space; falling_mass one 8 x 8 x 8 space and
    // no atomic model, most of its cells never sending a value. The camera starts looking along -z, the
    // world's x to the right.
    struct Case {
        const char* log;
        bool key;
        bool noValue;
        bool cellTriad;
    };
    const std::vector<Case> cases = {
        {"gun_loader_crew", true, false, false},
        {"falling_mass_3d_8x8x8", false, true, true},
    };
    const Pixel amber{255, 209, 51, 255};
    const Pixel green{0, 204, 102, 255};
    const Pixel red{255, 64, 64, 255};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.log);
        ASSERT_TRUE(getSimulation()->newVisualization("legends.vis"));
        ASSERT_TRUE(
            getSimulation()->importLogFile((fs::path(TESS_SHARED_DIR) / "logs" / c.log).string() + ".log"));
        // Fitted, the cells keep clear of the legends' margin.
        BoundingBox box;
        getSimulation()->getCellView()->updateLayout();
        if (getSimulation()->getCellView()->getBounds(box)) {
            VDDEVSFitViewEvent fit(box);
            EXPECT_TRUE(m_window.handleEvent(&fit));
        }
        frame();
        // One legend: it stands in the middle of the right edge, in the margin kept for it.
        const int right = 800 - static_cast<int>(VDCellLegends::kMargin);
        const int width = static_cast<int>(VDCellLegends::kBarWidth);
        const int inMargin = GLTestContext::countNear(right - width, 100, width, 400, amber, 6);
        EXPECT_EQ(c.key, inMargin > 100) << inMargin << " amber pixels";
        if (c.key) {
            // Its rows from the top: amber, blue, slate, dark grey.
            const VCCellView::DrawnModel key = VDCellLegends::blockKey();
            VDCellLegends legends(VDRect(0, 0, 800, 600), 8.0f, 13.0f);
            legends.place({}, &key);
            ASSERT_EQ(1u, legends.getPlaced().size());
            const VDCellLegends::Placed& placed = legends.getPlaced()[0];
            const Pixel expected[4] = {amber, Pixel{64, 128, 255, 255}, Pixel{107, 112, 122, 255},
                                       Pixel{56, 56, 56, 255}};
            for (size_t row = 0; row < 4; ++row) {
                const int y = static_cast<int>(placed.column.getY2() - (row + 0.5f) * placed.rowHeight);
                EXPECT_EQ(1, GLTestContext::countNear(right - width / 2, y, 1, 1, expected[row], 6)) << row;
            }
        }
        const int greenInMargin = GLTestContext::countNear(right - width, 100, width, 400, green, 6);
        EXPECT_EQ(c.noValue, greenInMargin > 100) << greenInMargin << " green pixels";
        // The triad's red arm, around its centre in the bottom-left corner.
        const int centre = static_cast<int>(VDAxesTriad::kInset);
        const int below = GLTestContext::countNear(centre - 4, centre - 28, 9, 24, red, 40);
        const int rightOf = GLTestContext::countNear(centre + 4, centre - 4, 24, 9, red, 40);
        EXPECT_EQ(c.cellTriad, below > 10) << below;
        EXPECT_EQ(!c.cellTriad, rightOf > 10) << rightOf;
        getSimulation()->closeVisualization();
    }
}

}  // namespace
