// Seeing inside the real falling_mass block (8 x 8 x 8 cells of fallrock): vis_slice, vis_layers, the
// PageUp/PageDown keys and the hidden background, as the console and the 3D view run them; what is drawn,
// picked and said.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "console/VDDEVSFitViewEvent.h"
#include "control/VCCellView.h"
#include "control/VCSimulation.h"
#include "gui/VDEvent.h"
#include "gui/VDKey.h"
#include "scene/SDCellBatch.h"
#include "scene/SDColourRamp.h"
#include "shell/EngineVariables.h"
#include "simdata/SDCellLook.h"
#include "tests/console/CommandFixture.h"
#include "tests/support/GLTestContext.h"
#include "view3d/VDCamera.h"
#include "view3d/VDPickRay.h"
#include "view3d/VDTessaronerWindow.h"

namespace {

namespace fs = std::filesystem;

class CellSliceGLTest : public CommandTest {
  protected:
    void SetUp() override {
        CommandTest::SetUp();
        const fs::path file = fs::path(TESS_SHARED_DIR) / "logs" / "falling_mass_3d_8x8x8.log";
        if (!fs::exists(file)) {
            GTEST_SKIP() << "no real log at " << file;
        }
        ASSERT_TRUE(GLTestContext::ensure());
        window.setRectangle(VDRect(0, 0, 800, 600));
        window.initialise();
        ASSERT_TRUE(getSimulation()->newVisualization("rock"));
        ASSERT_TRUE(getSimulation()->importLogFile(file.string()));
        cells = getSimulation()->getCellView();
        cells->updateLayout();
        // Every cell here: at the start no cell has a value, and that background would be hidden.
        ASSERT_TRUE(cells->setBackgroundShown("fallrock", true));
        getEngineVariables()->setBool("console_logging", true);
    }
    // Whether the console shows the line, as a reply or as what a command or key logged.
    static bool said(const std::string& line) {
        const Lines all = printed();
        return std::find(all.begin(), all.end(), line) != all.end();
    }

    // Draws a frame, so the batches hold what the view shows.
    size_t drawn() {
        GLTestContext::reset();
        getSimulation()->render(nullptr);
        return cells->getShownCount("fallrock");
    }
    // The cells a pick may hit, each with its coordinates.
    std::vector<std::array<unsigned, 3>> pickable() {
        std::vector<std::array<unsigned, 3>> shown;
        for (unsigned x = 0; x < 8; ++x) {
            for (unsigned y = 0; y < 8; ++y) {
                for (unsigned z = 0; z < 8; ++z) {
                    if (cells->isCellShown("fallrock", (x * 8 + y) * 8 + z)) {
                        shown.push_back({x, y, z});
                    }
                }
            }
        }
        return shown;
    }
    // Picks along -z through the point (x, y) of the world, from well in front of every cube.
    bool pickThrough(float x, float y) {
        VDPickRay ray;
        ray.origin = Vector3(x, y, 100.0f);
        ray.direction = Vector3(0.0f, 0.0f, -1.0f);
        return window.getSelection().pick(getSimulation(), ray);
    }
    void key(int value) {
        VDKeyDownEvent down{VDKey(value)};
        window.handleEvent(&down);
    }

    VDTessaronerWindow window;
    VCCellView* cells = nullptr;
};

TEST_F(CellSliceGLTest, VisSliceDrawsAndPicksOneLayerAndRefusesWhatItCannotDo) {
    // Cell (2, 5, 0) of the block's front column along z: the pick from in front meets its nearest cell.
    const Vector3 column = cells->findPlacement("fallrock")->cellCentre(2, 5, 0);
    struct Case {
        const char* line;
        const char* said;
        size_t shown;  // cells drawn; on the slice when one holds
        int axis;      // -1: the whole block
        unsigned layer;
        int pickedZ;  // -1: the pick through the column meets nothing
    } cases[] = {
        {"vis_slice fallrock z 3", "fallrock sliced at z = 3: 64 of its 512 cells", 64, 2, 3, 3},
        {"vis_slice fallrock x 2", "fallrock sliced at x = 2: 64 of its 512 cells", 64, 0, 2, 7},
        {"vis_slice fallrock y 4", "fallrock sliced at y = 4: 64 of its 512 cells", 64, 1, 4, -1},
        // Refusals leave the slice as it was.
        {"vis_slice fallrock w 3", "Slice refused: the axis is x, y or z, not w", 64, 1, 4, -1},
        {"vis_slice fallrock z 8", "Slice refused: fallrock has z from 0 to 7, not 8", 64, 1, 4, -1},
        {"vis_slice fallrock z -1", "Slice refused: the layer is a whole number from 0, not -1", 64, 1, 4,
         -1},
        {"vis_slice fallrock z", "usage: vis_slice $model x|y|z $k | $model off", 64, 1, 4, -1},
        {"vis_slice nosuch z 1", "No model named nosuch", 64, 1, 4, -1},
        {"vis_slice fallrock off", "fallrock drawn whole: 512 cells", 512, -1, 0, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const Lines out = run(c.line);
        EXPECT_TRUE(check(c.line) == c.said || (!out.empty() && out.back() == c.said))
            << ::testing::PrintToString(out);
        EXPECT_EQ(c.shown, drawn());
        const auto shown = pickable();
        EXPECT_EQ(c.shown, shown.size());
        for (const auto& cell : shown) {
            if (c.axis >= 0) {
                ASSERT_EQ(c.layer, cell[static_cast<size_t>(c.axis)]);
            }
        }
        const bool hit = pickThrough(column.x, column.y);
        EXPECT_EQ(c.pickedZ >= 0, hit);
        if (hit) {
            EXPECT_EQ(2u, window.getSelection().getX());
            EXPECT_EQ(5u, window.getSelection().getY());
            EXPECT_EQ(static_cast<unsigned>(c.pickedZ), window.getSelection().getZ());
        }
    }
}

TEST_F(CellSliceGLTest, VisLayersLaysTheLayersOutAsAGridWherePicksFindThem) {
    const Vector3 origin = cells->findPlacement("fallrock")->cellCentre(0, 0, 0);
    run("vis_layers fallrock on");
    EXPECT_TRUE(said("fallrock: its 8 z layers side by side"));
    // Eight maps of 8 x 8 for a 4:3 picture: three a row, 9 units apart across and down (one empty cell),
    // z = 0 at the top left.
    BoundingBox box;
    ASSERT_TRUE(cells->getBounds(box));
    EXPECT_FLOAT_EQ(3 * 8 + 2 - 0.5f, box.getMax().x - box.getMin().x);
    EXPECT_FLOAT_EQ(3 * 8 + 2 - 0.5f, box.getMax().y - box.getMin().y);
    EXPECT_FLOAT_EQ(0.5f, box.getMax().z - box.getMin().z);
    EXPECT_EQ(512u, drawn());
    struct Map {
        unsigned z, column, row;
    } maps[] = {{0, 0, 0}, {2, 2, 0}, {3, 0, 1}, {5, 2, 1}, {7, 1, 2}};
    for (const Map& map : maps) {
        SCOPED_TRACE(map.z);
        const Vector3 at = cells->findPlacement("fallrock")->cellCentre(6, 1, 0) +
                           Vector3(9.0f * map.column, -9.0f * map.row, 0);
        Vector3 centre;
        ASSERT_TRUE(cells->cellCentre("fallrock", 6, 1, map.z, centre));
        EXPECT_NEAR(at.x, centre.x, 1e-4f);
        EXPECT_NEAR(at.y, centre.y, 1e-4f);
        EXPECT_NEAR(origin.z, centre.z, 1e-4f);
        ASSERT_TRUE(pickThrough(at.x, at.y));
        EXPECT_EQ(6u, window.getSelection().getX());
        EXPECT_EQ(1u, window.getSelection().getY());
        EXPECT_EQ(map.z, window.getSelection().getZ());
    }
    EXPECT_FALSE(pickThrough(origin.x + 8.0f, origin.y)) << "the empty cell between z = 0 and z = 1";
    EXPECT_FALSE(pickThrough(origin.x, origin.y - 8.0f)) << "the empty cell between z = 0 and z = 3";
    EXPECT_FALSE(pickThrough(origin.x + 27.0f, origin.y - 18.0f)) << "the place a ninth map would take";

    // A slice of a laid-out block leaves one laid-out layer; off puts the block together again.
    run("vis_slice fallrock z 3");
    EXPECT_EQ(64u, drawn());
    run("vis_layers fallrock off");
    EXPECT_TRUE(said("fallrock drawn as one block"));
    ASSERT_TRUE(cells->getBounds(box));
    EXPECT_FLOAT_EQ(7.5f, box.getMax().x - box.getMin().x);
    EXPECT_FLOAT_EQ(7.5f, box.getMax().z - box.getMin().z);
    run("vis_layers nosuch on");
    EXPECT_TRUE(said("No model named nosuch"));
}

TEST_F(CellSliceGLTest, PageUpAndPageDownMoveTheSliceOfTheOnlyBlockAndTheStripSaysWhere) {
    EXPECT_EQ("", window.stripNote());
    struct Step {
        int key;
        const char* strip;
    } steps[] = {
        {VDKey::KEY_PAGE_DOWN, "z = 7 of 0..7"},  // from the whole block, the front layer first
        {VDKey::KEY_PAGE_DOWN, "z = 6 of 0..7"},
        {VDKey::KEY_PAGE_UP, "z = 7 of 0..7"},
        {VDKey::KEY_PAGE_UP, "z = 7 of 0..7"},  // no further than the block
    };
    for (const Step& step : steps) {
        const auto revision = getSimulation()->getSceneRevision();
        key(step.key);
        EXPECT_EQ(step.strip, window.stripNote());
        EXPECT_LT(revision, getSimulation()->getSceneRevision()) << "the kept picture must be drawn afresh";
    }
    EXPECT_TRUE(said("fallrock sliced at z = 6: 64 of its 512 cells"));
    EXPECT_EQ(64u, pickable().size());
    // Off by command: the strip says nothing more, and PageUp starts again from the back layer.
    run("vis_slice fallrock off");
    EXPECT_EQ("", window.stripNote());
    key(VDKey::KEY_PAGE_UP);
    EXPECT_EQ("z = 0 of 0..7", window.stripNote());
}

// Top faces keep the cells' colours: at the end, 45 distinct cells have sent 1 on out (counted by hand in
// the log); the other 467 have no value. (With the model file they hold 0: see ModelFileE2ETest.)
TEST_F(CellSliceGLTest, TheBackgroundOfTheBlockIsHiddenAndABoxMarksItsExtent) {
    getSimulation()->timeLast();
    BoundingBox box;
    ASSERT_TRUE(cells->getBounds(box));
    VDDEVSFitViewEvent fit(box, "");
    window.handleEvent(&fit);
    const auto colour = [](const std::array<float, 4>& c) {
        const SDCellBatch::Rgba8 bytes = SDCellBatch::toRgba8(c);
        return GLTestContext::Pixel{bytes.r, bytes.g, bytes.b, 255};
    };
    const std::string none = "fallrock: the background no value (467 of 512 cells) is ";
    for (const auto& [line, said, shown] : {std::tuple{"hide", none + "hidden", 45u},
                                            {"show", none + "drawn", 512u},
                                            {"hide", none + "hidden", 45u}}) {
        SCOPED_TRACE(line);
        EXPECT_EQ(said, run(std::string("vis_background fallrock ") + line).back());
        GLTestContext::reset();
        glMatrixMode(GL_PROJECTION);
        glLoadMatrixd(window.getCamera()->getProjectionMatrix());
        glMatrixMode(GL_MODELVIEW);
        glLoadMatrixd(window.getCamera()->getViewMatrix());
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LEQUAL);
        cells->render(nullptr);
        EXPECT_EQ(shown, cells->getShownCount("fallrock"));
        EXPECT_GT(GLTestContext::countNear(0, 0, 800, 600, colour(SDColourRamp::at(0.5)), 2), 300)
            << "the rock";
        EXPECT_EQ(shown == 512,
                  GLTestContext::countNear(0, 0, 800, 600, colour(SDCellLook::kNoValueColour), 2) > 300);
        const int grey =
            GLTestContext::countNear(0, 0, 800, 600, GLTestContext::Pixel{140, 140, 140, 255}, 0);
        const bool hidden = shown < 512u;
        EXPECT_EQ(hidden, grey > 500) << grey << " pixels of the box";
    }
    EXPECT_EQ("no value (most cells: hidden)", cells->getDrawnModels()[0].swatches.back().text);
}

}  // namespace

TEST_F(CellSliceGLTest, VisCellsDrawsTheBlockSolidOrApartAndSaysSo) {
    // 8 cells an edge: apart by the rule, 7.5 units across (8 cubes of 0.5 a unit apart); solid, 8.
    struct Step {
        const char* command;
        const char* said;
        float across;  // along x of the world, 0 when nothing changes
    } steps[] = {
        {"vis_cells fallrock solid", "fallrock drawn solid: each cube fills its cell", 8.0f},
        {"vis_cells fallrock apart", "fallrock drawn apart: cubes of edge 0.5, one unit apart", 7.5f},
        {"vis_cells fallrock solid", "fallrock drawn solid: each cube fills its cell", 8.0f},
        {"vis_cells fallrock auto",
         "fallrock drawn apart: cubes of edge 0.5, one unit apart (auto: solid beyond 40 cells an edge)",
         7.5f},
        {"vis_cells nosuch solid", "No model named nosuch", 0.0f},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.command);
        run(step.command);
        EXPECT_TRUE(said(step.said));
        BoundingBox box;
        ASSERT_TRUE(cells->getBounds(box));
        EXPECT_FLOAT_EQ(step.across == 0.0f ? 7.5f : step.across, box.getMax().x - box.getMin().x);
        EXPECT_EQ(512u, drawn());
    }
    EXPECT_EQ("usage: vis_cells $model solid | apart | auto", check("vis_cells fallrock round"));
    // A slice of a solid block shows its layer's 64 cells.
    run("vis_cells fallrock solid");
    run("vis_slice fallrock z 3");
    EXPECT_EQ(64u, drawn());
}
