// Which models the 3D view draws and where, as the controller sees the registry: every Cell-DEVS model,
// life in its box, the others apart from it and from each other, also for the real simulators' logs.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "control/VCCellView.h"
#include "control/VCSimulation.h"
#include "scene/SDCellLayout.h"
#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDDevsModelList.h"
#include "simdata/SDVisualization.h"
#include "tests/support/LogRecorder.h"
#include "tests/support/TempDir.h"

namespace {

namespace fs = std::filesystem;

bool overlap(const BoundingBox& a, const BoundingBox& b) {
    return a.getMin().x < b.getMax().x && b.getMin().x < a.getMax().x && a.getMin().y < b.getMax().y &&
           b.getMin().y < a.getMax().y && a.getMin().z < b.getMax().z && b.getMin().z < a.getMax().z;
}

void expectApart(const std::vector<VCCellView::DrawnModel>& drawn) {
    for (size_t i = 0; i < drawn.size(); ++i) {
        if (drawn[i].name != "life") {
            EXPECT_FALSE(overlap(drawn[i].bounds, SDCellLayout::lifeRoom())) << drawn[i].name;
        }
        for (size_t j = i + 1; j < drawn.size(); ++j) {
            EXPECT_FALSE(overlap(drawn[i].bounds, drawn[j].bounds)) << drawn[i].name << " " << drawn[j].name;
        }
    }
}

class CellViewTest : public ::testing::Test {
  protected:
    void import(const std::string& lines) {
        const std::string path = dir.write("run" + std::to_string(++imports) + ".log", lines);
        ASSERT_TRUE(simulation.importLogFile(path));
    }
    std::vector<VCCellView::DrawnModel> drawn() {
        simulation.getCellView()->updateLayout();
        return simulation.getCellView()->getDrawnModels();
    }

    LogRecorder rec;
    TempDir dir;
    VCSimulation simulation;
    int imports = 0;
};

TEST_F(CellViewTest, EveryCellDevsModelIsDrawnAndPlainModelsAreNot) {
    EXPECT_EQ(nullptr, simulation.getCellView());
    ASSERT_TRUE(simulation.newVisualization("v"));
    ASSERT_NE(nullptr, simulation.getCellView());
    import(
        "msg Y / 00:00:01:000 / plane(2,4)(07) / out / 0.50000 to plane(01)\n"
        "msg X / 00:00:01:000 / top(01) / in / 1.00000 to cube(1,1,3)(09)\n"
        "msg Y / 00:00:01:000 / gunner(02) / out / 1.00000 to top(01)\n");
    const std::vector<VCCellView::DrawnModel> models = drawn();
    ASSERT_EQ(2u, models.size());
    EXPECT_EQ("cube", models[0].name);
    EXPECT_EQ("plane", models[1].name);
    EXPECT_EQ(3u, models[1].placement->getWidth());
    EXPECT_EQ(5u, models[1].placement->getHeight());
    EXPECT_EQ(4u, models[0].placement->getLength());
    EXPECT_EQ(simulation.getCellView()->findPlacement("plane"), models[1].placement);
    EXPECT_EQ(nullptr, simulation.getCellView()->findPlacement("gunner"));
    BoundingBox all;
    ASSERT_TRUE(simulation.getCellView()->getBounds(all));
    EXPECT_FLOAT_EQ(models[0].bounds.getMin().x, all.getMin().x);
    EXPECT_FLOAT_EQ(models[1].bounds.getMax().x, all.getMax().x);
    expectApart(models);

    simulation.closeVisualization();
    EXPECT_EQ(nullptr, simulation.getCellView());
}

TEST_F(CellViewTest, ARecordThatBecomesCellDevsOnReimportIsDrawnAndOthersStayPut) {
    ASSERT_TRUE(simulation.newVisualization("v"));
    import(
        "msg Y / 00:00:01:000 / zeta(1,1)(07) / out / 0.50000 to zeta(01)\n"
        "msg X / 00:00:01:000 / top(01) / in / 1.00000 to alpha(01)\n");
    ASSERT_EQ(1u, drawn().size());
    const Vector3 zeta = drawn()[0].bounds.getMin();
    // alpha, a plain record so far, is met as a cell space: the registry replaces the record.
    import(
        "msg Y / 00:00:02:000 / alpha(4,0)(03) / out / 2.00000 to alpha(01)\n"
        "msg Y / 00:00:02:000 / life(19,19)(03) / out / 2.00000 to life(01)\n");
    const std::vector<VCCellView::DrawnModel> models = drawn();
    ASSERT_EQ(3u, models.size());
    EXPECT_EQ("alpha", models[0].name);
    EXPECT_EQ("life", models[1].name);
    EXPECT_EQ(zeta, models[2].bounds.getMin()) << "zeta keeps its place";
    EXPECT_EQ(Vector3(-10, -10, -15), models[1].placement->cellCentre(0, 0, 0));
    expectApart(models);
}

TEST_F(CellViewTest, DrawnModelsReportTheRangeOfTheirValues) {
    ASSERT_TRUE(simulation.newVisualization("v"));
    import(
        "msg X / 00:00:01:000 / top(01) / in / 1.00000 to quiet(1,1)(07)\n"
        "msg Y / 00:00:01:000 / plane(1,1)(07) / out / 0.50000 to plane(01)\n"
        "msg Y / 00:00:02:000 / plane(0,1)(07) / out / -2.00000 to plane(01)\n");
    const std::vector<VCCellView::DrawnModel> models = drawn();
    ASSERT_EQ(2u, models.size());
    EXPECT_EQ("plane", models[0].name);
    ASSERT_TRUE(models[0].hasRange);
    EXPECT_EQ(-2.0, models[0].minimum);
    EXPECT_EQ(0.5, models[0].maximum);
    EXPECT_FALSE(models[1].hasRange) << "quiet sent nothing";
}

TEST_F(CellViewTest, HiddenCellsAreNotShownForPicking) {
    ASSERT_TRUE(simulation.newVisualization("v"));
    import("msg Y / 00:00:01:000 / plane(1,2)(07) / out / 0.50000 to plane(01)\n");
    SDCELLDevsModel* plane =
        dynamic_cast<SDCELLDevsModel*>(getVisualization()->getModelList()->findModel("plane"));
    ASSERT_NE(nullptr, plane);
    drawn();
    SDCellValues& values = plane->getValues();
    values.widenRange(0.5);
    values.set(5, 0.5, 0);  // cell (1, 2)
    VCCellView& view = *simulation.getCellView();
    EXPECT_TRUE(view.isCellShown("plane", 5));
    EXPECT_TRUE(view.isCellShown("plane", 0)) << "no value: the cube's own colour";
    EXPECT_FALSE(view.isCellShown("plane", 6)) << "beyond the counts";
    EXPECT_FALSE(view.isCellShown("ghost", 0));
    plane->getLook().addRule(plane->getRules(), 0.0, 1.0, {1, 1, 1, 0});
    EXPECT_FALSE(view.isCellShown("plane", 5));
    EXPECT_TRUE(view.isCellShown("plane", 0));
    plane->getLook().setNoValueColour({1, 1, 1, 0});
    EXPECT_FALSE(view.isCellShown("plane", 0));
}

TEST(CellViewRealLogsTest, TheRealCellSpacesStandApartFromEachOtherAndFromLife) {
    const fs::path folder = fs::path(TESS_SHARED_DIR) / "logs";
    if (!fs::is_directory(folder)) {
        GTEST_SKIP() << "no real logs at " << folder;
    }
    LogRecorder rec;
    TempDir dir;
    VCSimulation simulation;
    ASSERT_TRUE(simulation.newVisualization("all"));
    for (const char* log : {"water_spread_2d_25x25.log", "morph_filter_2d_8x8.log",
                            "falling_mass_3d_8x8x8.log", "thermal_cube_3d_4x4x4.log"}) {
        ASSERT_TRUE(simulation.importLogFile((folder / log).string())) << log;
    }
    ASSERT_TRUE(simulation.importLogFile(dir.write("life.log",
                                                   "msg Y / 00:00:01:000 / life(39,39)(03) / out / "
                                                   "1.00000 to life(01)\n")));
    simulation.getCellView()->updateLayout();
    const std::vector<VCCellView::DrawnModel> models = simulation.getCellView()->getDrawnModels();
    std::vector<std::string> names;
    for (const VCCellView::DrawnModel& model : models) {
        names.push_back(model.name);
    }
    EXPECT_EQ((std::vector<std::string>{"fallrock", "life", "opening", "plane", "surface"}), names);
    expectApart(models);
}

}  // namespace

TEST_F(CellViewTest, SpacesBeyondFortyCellsAnEdgeAreSolidUnlessTheirLookSaysOtherwise) {
    // A block's extent along its rows (world y, rows running down), columns (x) and layers (z): apart,
    // n cubes of 0.5 one unit apart span n - 0.5; solid, n cubes of 1 span n.
    using Look = VCCellView::CellLook;
    struct Case {
        const char* cell;  // the highest cell the log names
        bool override;
        Look look;
        float rows, columns, layers;
    } cases[] = {
        {"field(39,0)", false, Look::Auto, 39.5f, 0.5f, 0.5f},  // 40 cells: apart, as always
        {"field(40,0)", false, Look::Auto, 41.0f, 1.0f, 1.0f},  // 41: solid
        {"field(0,40)", false, Look::Auto, 1.0f, 41.0f, 1.0f},
        {"field(0,0,40)", false, Look::Auto, 1.0f, 1.0f, 41.0f},
        {"field(40,0)", true, Look::Apart, 40.5f, 0.5f, 0.5f},
        {"field(3,3)", true, Look::Solid, 4.0f, 4.0f, 1.0f},
        {"field(40,0)", true, Look::Auto, 41.0f, 1.0f, 1.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.cell) + (c.override ? " with a look" : ""));
        simulation.closeVisualization();
        ASSERT_TRUE(simulation.newVisualization("v"));
        import(std::string("msg Y / 00:00:01:000 / ") + c.cell + "(07) / out / 0.50000 to field(01)\n");
        VCCellView& view = *simulation.getCellView();
        if (c.override) {
            view.setCellLook("field", c.look == Look::Auto ? Look::Apart : Look::Auto);
            EXPECT_TRUE(view.setCellLook("field", c.look));
        }
        const std::vector<VCCellView::DrawnModel> models = drawn();
        ASSERT_EQ(1u, models.size());
        const BoundingBox& box = models[0].bounds;
        EXPECT_FLOAT_EQ(c.rows, box.getMax().y - box.getMin().y);
        EXPECT_FLOAT_EQ(c.columns, box.getMax().x - box.getMin().x);
        EXPECT_FLOAT_EQ(c.layers, box.getMax().z - box.getMin().z);
        EXPECT_EQ(c.rows > 40.6f || c.columns > 40.6f || c.layers > 40.6f || c.look == Look::Solid,
                  view.isSolid("field"));
    }

    // Life keeps its box of 20, whatever its size and whatever is asked.
    import("msg Y / 00:00:01:000 / life(59,59)(07) / out / 0.50000 to life(01)\n");
    VCCellView& view = *simulation.getCellView();
    EXPECT_FALSE(view.setCellLook("life", Look::Solid));
    EXPECT_FALSE(view.isSolid("life"));
    drawn();
    const SDCellPlacement* life = view.findPlacement("life");
    ASSERT_NE(nullptr, life);
    EXPECT_EQ(0.5f, life->getCubeEdge());
    EXPECT_EQ(Vector3(-10, -10, -15), life->cellCentre(0, 0, 0));
    EXPECT_FALSE(view.setCellLook("ghost", Look::Solid));
}
