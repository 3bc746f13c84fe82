// The viewer window with cell spaces: vis_fit brings every block into the picture, each model's name is
// written by its block, and the colour bar shows the ramp of the model nearest the middle of the view.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <utility>

#include "console/VDDEVSFitViewEvent.h"
#include "control/VCCellView.h"
#include "control/VCModelList.h"
#include "control/VCSimulation.h"
#include "gui/VDEvent.h"
#include "gui/VDTheme.h"
#include "gui/VDThemeStore.h"
#include "scene/SDCellBatch.h"
#include "scene/SDColourRamp.h"
#include "simdata/SDCELLDevsModel.h"
#include "tests/support/GLTestContext.h"
#include "view3d/VDAxesTriad.h"
#include "view3d/VDCellLegends.h"
#include "view3d/VDCellOverlay.h"
#include "view3d/VDFirstPersonCamera.h"
#include "view3d/VDTessaronerWindow.h"

namespace {

using Pixel = GLTestContext::Pixel;
const Pixel kBlack{0, 0, 0, 255};
const Pixel kText{217, 217, 217, 255};

class CellOverlayGLTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(GLTestContext::ensure());
        GLTestContext::reset();
        glViewport(0, 0, 800, 600);
        ASSERT_TRUE(createThemeStore());
        m_window.setRectangle(VDRect(0, 0, 800, 600));
        m_window.initialise();
        ASSERT_NE(nullptr, createSimulation());
        ASSERT_TRUE(getSimulation()->newVisualization("cells.vis"));
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
    SDCELLDevsModel* addModel(const std::string& name, unsigned width, unsigned height, unsigned length) {
        auto record = std::make_unique<SDCELLDevsModel>();
        record->setName(name);
        record->ensureCell(width - 1, height - 1, length - 1);
        SDCELLDevsModel* model = record.get();
        if (getSimulation()->getModelList()->addModel(model)) {
            record.release();
        }
        return model;
    }
    void fit() {
        getSimulation()->getCellView()->updateLayout();
        BoundingBox box;
        ASSERT_TRUE(getSimulation()->getCellView()->getBounds(box));
        VDDEVSFitViewEvent event(box);
        EXPECT_TRUE(m_window.handleEvent(&event));
    }
    VDCellOverlay overlay() {
        return VDCellOverlay(camera().getProjectionMatrix(), camera().getViewMatrix(),
                             VDRect(0, 0, 800, 600));
    }
    VDFirstPersonCamera& camera() { return *dynamic_cast<VDFirstPersonCamera*>(m_window.getCamera()); }

    VDTessaronerWindow m_window;
};

TEST_F(CellOverlayGLTest, NamesStandByTheirBlocksAndTheBarShowsTheRampOfTheModelInTheMiddle) {
    SDCELLDevsModel* plane = addModel("plane", 25, 25, 1);
    plane->getValues().widenRange(-3.5);
    plane->getValues().widenRange(7.25);
    fit();
    frame();

    // The name, in the theme's font, just above the block's top-left corner, with no cube under it.
    const VCCellView::DrawnModel model = getSimulation()->getCellView()->getDrawnModels().at(0);
    float x = 0;
    float y = 0;
    ASSERT_TRUE(overlay().nameSpot(model, 50, 16, {}, x, y));
    EXPECT_LT(y, 560 - 16) << "below the button strip";
    EXPECT_GT(GLTestContext::countNear(static_cast<int>(x), static_cast<int>(y), 50, 16, kText, 30), 10);
    EXPECT_EQ(0, GLTestContext::countNear(static_cast<int>(x), static_cast<int>(y), 50, 16,
                                          Pixel{0, 204, 102, 255}, 30));
    EXPECT_GT(GLTestContext::countNear(static_cast<int>(x), static_cast<int>(y) - 20, 50, 16,
                                       Pixel{0, 204, 102, 255}, 30),
              100)
        << "the cubes are right below it";

    // The bar: the ramp from the minimum at the bottom to the maximum at the top; -3.5 .. 7.25 runs across
    // 0, so coolwarm centred on 0, 7.25 at its top and -3.5 that share of its lower half.
    const VDRect bar = overlay().barRectangle();
    const int middle = static_cast<int>((bar.getX1() + bar.getX2()) / 2);
    const SDColourRamp::Map coolwarm = SDColourRamp::Map::Coolwarm;
    const SDCellBatch::Rgba8 low = SDCellBatch::toRgba8(SDColourRamp::at(0.5 - 0.5 * 3.5 / 7.25, coolwarm));
    const SDCellBatch::Rgba8 high = SDCellBatch::toRgba8(SDColourRamp::at(1.0, coolwarm));
    const Pixel bottom = GLTestContext::pixel(middle, static_cast<int>(bar.getY1()) + 1);
    const Pixel top = GLTestContext::pixel(middle, static_cast<int>(bar.getY2()) - 1);
    EXPECT_NEAR(low.r, bottom.r, 6);
    EXPECT_NEAR(low.g, bottom.g, 6);
    EXPECT_NEAR(high.g, top.g, 6);
    EXPECT_NEAR(high.b, top.b, 6);
    // "-3.5" and "7.25" to its left, the name above it.
    EXPECT_GT(GLTestContext::countNear(static_cast<int>(bar.getX1()) - 40, static_cast<int>(bar.getY1()), 40,
                                       16, kText, 30),
              5);
    EXPECT_GT(GLTestContext::countNear(static_cast<int>(bar.getX1()) - 40, static_cast<int>(bar.getY2()) - 16,
                                       40, 16, kText, 30),
              5);

    // Without a range of values there is no bar.
    plane->getValues();
    getSimulation()->closeVisualization();
    ASSERT_TRUE(getSimulation()->newVisualization("cells.vis"));
    addModel("plane", 25, 25, 1);
    frame();
    EXPECT_EQ(
        0, GLTestContext::countNear(middle, static_cast<int>(bar.getY1()), 1,
                                    static_cast<int>(bar.getHeight()), Pixel{low.r, low.g, low.b, 255}, 6));
}

TEST_F(CellOverlayGLTest, TheKeyOfBlockColoursAndTheTriadOfCellCoordinatesArePainted) {
    const std::string logs = std::string(TESS_SHARED_DIR) + "/logs/";
    if (!std::filesystem::is_directory(logs)) {
        GTEST_SKIP() << "no real logs";
    }
    // By hand: gun_loader_crew has model blocks and no cell space, falling_mass one cell space. The key's
    // rows from the top: amber, blue, slate, dark grey. The camera looks along -z: the triad's red arm (x)
    // points right in the world, down the rows of cells.
    const Pixel colours[4] = {
        {255, 209, 51, 255}, {64, 128, 255, 255}, {107, 112, 122, 255}, {56, 56, 56, 255}};
    const Pixel red{255, 64, 64, 255};
    const VCCellView::DrawnModel key = VDCellLegends::blockKey();
    VDCellLegends legends(VDRect(0, 0, 800, 600), 8.0f, 13.0f);
    legends.place({}, &key);
    const VDCellLegends::Placed& placed = legends.getPlaced().at(0);
    const int x = static_cast<int>(placed.column.getX1()) + 7;
    const int c = static_cast<int>(VDAxesTriad::kInset);  // the triad's centre
    for (const bool blocks : {true, false}) {
        getSimulation()->closeVisualization();
        ASSERT_TRUE(getSimulation()->newVisualization("cells.vis"));
        ASSERT_TRUE(getSimulation()->importLogFile(
            logs + (blocks ? "gun_loader_crew" : "falling_mass_3d_8x8x8") + ".log"));
        frame();
        for (int row = 0; row < 4; ++row) {
            const int y = static_cast<int>(placed.column.getY2() - (row + 0.5f) * placed.rowHeight);
            EXPECT_EQ(blocks, GLTestContext::countNear(x, y, 1, 1, colours[row], 6) == 1) << blocks << row;
            EXPECT_EQ(blocks, GLTestContext::countNear(x, 0, 1, 600, colours[row], 6) > 0) << "anywhere";
        }
        EXPECT_EQ(!blocks, GLTestContext::countNear(c - 4, c - 28, 9, 24, red, 40) > 10) << "x down";
        EXPECT_EQ(blocks, GLTestContext::countNear(c + 4, c - 4, 24, 9, red, 40) > 10) << "x right";
    }
}

}  // namespace
