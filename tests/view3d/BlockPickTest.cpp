// Picking a model's block in the viewer window, driven as the main window passes clicks to it (no drawing).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "control/VCModelReading.h"
#include "control/VCModelView.h"
#include "control/VCSimulation.h"
#include "gui/VDEvent.h"
#include "tests/support/LogRecorder.h"
#include "view3d/VDCellOverlay.h"
#include "view3d/VDFirstPersonCamera.h"
#include "view3d/VDTessaronerWindow.h"

namespace {

namespace fs = std::filesystem;

class BlockPickTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const fs::path file = fs::path(TESS_SHARED_DIR) / "logs" / "gun_loader_crew.log";
        if (!fs::exists(file)) {
            GTEST_SKIP() << "no real log at " << file;
        }
        ASSERT_NE(nullptr, createSimulation());
        window.setRectangle(VDRect(0, 0, 800, 600));
        window.initialise();
        ASSERT_TRUE(getSimulation()->newVisualization("pick"));
        ASSERT_TRUE(getSimulation()->importLogFile(file.string()));
        VCModelView* models = getSimulation()->getModelView();
        models->updateLayout();
        BoundingBox box;
        ASSERT_TRUE(models->getBounds(box));
        dynamic_cast<VDFirstPersonCamera*>(window.getCamera())->fitBox(box, 20.0f);
        rec.clear();
    }
    void TearDown() override { destroySimulation(); }

    // Clicks where a world point appears.
    void clickOn(const Vector3& point) {
        const VDCellOverlay projector(window.getCamera()->getProjectionMatrix(),
                                      window.getCamera()->getViewMatrix(), VDRect(0, 0, 800, 600));
        float x = 0.0f;
        float y = 0.0f;
        ASSERT_TRUE(projector.project(point, x, y));
        VDMouseDownEvent down(VDMouseButtonEvent::LEFT, static_cast<int>(x), static_cast<int>(y));
        window.handleEvent(&down);
        VDMouseUpEvent up(VDMouseButtonEvent::LEFT, static_cast<int>(x), static_cast<int>(y));
        window.handleEvent(&up);
    }
    BoundingBox block(const std::string& model) {
        BoundingBox box;
        EXPECT_TRUE(getSimulation()->getModelView()->findBlock(model, box)) << model;
        return box;
    }

    VDTessaronerWindow window;
    LogRecorder rec;
};

TEST_F(BlockPickTest, AClickOnABlockSelectsItsModelAndPrintsItsVisModelLines) {
    struct Case {
        std::string model;
        Vector3 point;
    };
    const BoundingBox gunner = block("gunner");
    const std::vector<Case> cases = {
        {"barrel", block("barrel").getCentre()},
        {"fire", block("fire").getCentre()},
        // Inside gunner's frame, off its children: just within its bottom-left corner.
        {"gunner", Vector3(gunner.getMin().x + 0.15f, gunner.getMin().y + 0.15f, gunner.getMax().z)},
    };
    VDBlockSelection& selection = window.getBlockSelection();
    for (const Case& c : cases) {
        rec.clear();
        clickOn(c.point);
        ASSERT_TRUE(selection.isActive()) << c.model;
        EXPECT_EQ(c.model, selection.getModel());
        EXPECT_EQ(VCModelReading::read(c.model).lines, rec.lines()) << c.model;
        EXPECT_FALSE(window.getSelection().isActive()) << "no cell is picked with it";
    }
    EXPECT_EQ("gunner: passive", selection.describe(getSimulation())) << "at the start, after its first D";

    // A click on nothing lets it go; so does closing the visualization.
    clickOn(block("top").getMax() + Vector3(5, 5, 0));
    EXPECT_FALSE(selection.isActive());
    clickOn(block("barrel").getCentre());
    ASSERT_TRUE(selection.isActive());
    getSimulation()->closeVisualization();
    EXPECT_EQ("", selection.describe(getSimulation()));
    EXPECT_FALSE(selection.isActive());
}

}  // namespace
