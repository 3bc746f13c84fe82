// The window paints the key of block colours while model blocks are drawn, and the triad's x running down
// the rows while a cell space is drawn.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>

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

TEST_F(LegendsGLTest, TheKeyOfBlockColoursAndTheTriadOfCellCoordinatesArePainted) {
    // By hand: gun_loader_crew has atomic models and no cell space; falling_mass one 8 x 8 x 8 space. The
    // camera starts looking along -z, the world's x to the right.
    const Pixel key[4] = {{255, 209, 51, 255}, {64, 128, 255, 255}, {107, 112, 122, 255}, {56, 56, 56, 255}};
    const Pixel red{255, 64, 64, 255};
    for (const auto& [log, blocks] :
         {std::pair{"gun_loader_crew", true}, std::pair{"falling_mass_3d_8x8x8", false}}) {
        SCOPED_TRACE(log);
        ASSERT_TRUE(getSimulation()->newVisualization("legends.vis"));
        ASSERT_TRUE(getSimulation()->importLogFile(std::string(TESS_SHARED_DIR) + "/logs/" + log + ".log"));
        BoundingBox box;
        getSimulation()->getCellView()->updateLayout();
        if (getSimulation()->getCellView()->getBounds(box)) {
            VDDEVSFitViewEvent fit(box);  // the cells clear of the legends' margin
            EXPECT_TRUE(m_window.handleEvent(&fit));
        }
        frame();
        // The key's rows from the top, amber, blue, slate and dark grey, in the middle of the right edge.
        const VCCellView::DrawnModel keyModel = VDCellLegends::blockKey();
        VDCellLegends legends(VDRect(0, 0, 800, 600), 8.0f, 13.0f);
        legends.place({}, &keyModel);
        const VDCellLegends::Placed& placed = legends.getPlaced().at(0);
        const int x = static_cast<int>(placed.column.getX1() + placed.column.getX2()) / 2;
        for (int row = 0; row < 4; ++row) {
            const int y = static_cast<int>(placed.column.getY2() - (row + 0.5f) * placed.rowHeight);
            EXPECT_EQ(blocks, GLTestContext::countNear(x, y, 1, 1, key[row], 6) == 1) << row;
        }
        // The triad's red arm from its centre in the bottom-left corner: x down the rows, or the world's x.
        const int centre = static_cast<int>(VDAxesTriad::kInset);
        EXPECT_EQ(!blocks, GLTestContext::countNear(centre - 4, centre - 28, 9, 24, red, 40) > 10);
        EXPECT_EQ(blocks, GLTestContext::countNear(centre + 4, centre - 4, 24, 9, red, 40) > 10);
        getSimulation()->closeVisualization();
    }
}

}  // namespace
