// The models' hierarchy as the 3D view draws it, read back from the picture: blocks coloured by what their
// model does at the current time or by rules on their ports, arrows for the messages of the time, and runs
// of cell spaces alone drawn exactly as before.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "control/VCCellView.h"
#include "control/VCModelView.h"
#include "control/VCSimulation.h"
#include "scene/SDBlockLayout.h"
#include "scene/SDColourRamp.h"
#include "simdata/SDModelStructure.h"
#include "simdata/SDVisualization.h"
#include "tests/support/GLTestContext.h"
#include "tests/support/LogRecorder.h"
#include "view3d/VDCellOverlay.h"
#include "view3d/VDFirstPersonCamera.h"

namespace {

namespace fs = std::filesystem;
using Pixel = GLTestContext::Pixel;

bool near(Pixel pixel, const VCModelView::Colour& colour, int tolerance = 10) {
    auto close = [&](uint8_t channel, float value) {
        return std::abs(channel - static_cast<int>(value * 255.0f + 0.5f)) <= tolerance;
    };
    return close(pixel.r, colour[0]) && close(pixel.g, colour[1]) && close(pixel.b, colour[2]);
}

class ModelViewGLTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(GLTestContext::ensure());
        ASSERT_NE(nullptr, createSimulation());
        ASSERT_TRUE(getSimulation()->newVisualization("models"));
        camera.setAspectRatio(1.3333333f);
        camera.setFieldOfView(90.0f);
        camera.setNearPlane(0.1f);
        camera.setFarPlane(1000.0f);
    }
    void TearDown() override { destroySimulation(); }

    bool import(const fs::path& file) {
        if (!getSimulation()->importLogFile(file.string())) {
            return false;
        }
        fit();
        return true;
    }
    // As vis_fit looks at the models' structure.
    void fit() {
        VCModelView* models = getSimulation()->getModelView();
        models->updateLayout();
        BoundingBox box;
        if (models->getBounds(box)) {
            camera.fitBox(box, 20.0f);
        }
    }
    // One frame of the 3D pass: the scene, the cells and the models.
    void frame(bool models = true) {
        GLTestContext::reset();
        glMatrixMode(GL_PROJECTION);
        glLoadMatrixd(camera.getProjectionMatrix());
        glMatrixMode(GL_MODELVIEW);
        glLoadMatrixd(camera.getViewMatrix());
        glEnable(GL_DEPTH_TEST);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        if (models) {
            getSimulation()->render(camera.getFrustum());
        } else {
            getSimulation()->getCellView()->render(camera.getFrustum());
        }
        glFinish();
    }
    // The pixel where a world point appears.
    Pixel at(const Vector3& point) {
        const VDCellOverlay projector(camera.getProjectionMatrix(), camera.getViewMatrix(),
                                      VDRect(0, 0, 800, 600));
        float x = 0.0f;
        float y = 0.0f;
        EXPECT_TRUE(projector.project(point, x, y));
        return GLTestContext::pixel(static_cast<int>(x), static_cast<int>(y));
    }
    // The middle of a block's front face.
    Vector3 front(const std::string& model) {
        BoundingBox box;
        EXPECT_TRUE(getSimulation()->getModelView()->findBlock(model, box)) << model;
        return Vector3(box.getCentre().x, box.getCentre().y, box.getMax().z);
    }
    // Whether a world point, or the middle of a block's front face, shows `colour`.
    ::testing::AssertionResult shows(const Vector3& point, const VCModelView::Colour& colour,
                                     int tolerance = 10) {
        const Pixel p = at(point);
        if (near(p, colour, tolerance)) {
            return ::testing::AssertionSuccess();
        }
        return ::testing::AssertionFailure()
               << "(" << int(p.r) << ", " << int(p.g) << ", " << int(p.b) << ")";
    }
    ::testing::AssertionResult shows(const std::string& model, const VCModelView::Colour& colour) {
        return shows(front(model), colour) << " on " << model;
    }
    void at(const char* time) {
        int h = 0, m = 0, s = 0, ms = 0;
        std::sscanf(time, "%d:%d:%d:%d", &h, &m, &s, &ms);
        getSimulation()->timeGoto(((h * 60.0 + m) * 60.0 + s) * 1000.0 + ms);
    }

    VDFirstPersonCamera camera;
    LogRecorder rec;
};

fs::path realLog(const char* name) {
    return fs::path(TESS_SHARED_DIR) / "logs" / name;
}

TEST_F(ModelViewGLTest, TwoTimesOfARunDifferWhereItsModelsAreActiveAndItsMessagesPass) {
    const fs::path file = realLog("gun_loader_crew.log");
    if (!fs::exists(file)) {
        GTEST_SKIP() << "no real log at " << file;
    }
    ASSERT_TRUE(import(file));
    // From the log: at 00:00:10:000 safety_loader receives sin (active) and electric_fire has been passive
    // since its first D; at 00:00:20:004 electric_fire has its internal transition and sends out, and gunner
    // passes ecin on to fire; safety_loader has been passive since 00:00:10:000.
    at("00:00:10:000");
    frame();
    const std::vector<Pixel> before = GLTestContext::region(0, 0, 800, 600);
    EXPECT_TRUE(shows("electric_fire", VCModelView::kPassiveColour));
    EXPECT_TRUE(shows("safety_loader", VCModelView::kActiveColour));
    EXPECT_TRUE(shows("fire", VCModelView::kPassiveColour));

    at("00:00:20:004");
    frame();
    const std::vector<Pixel> after = GLTestContext::region(0, 0, 800, 600);
    EXPECT_TRUE(shows("electric_fire", VCModelView::kActiveColour));
    EXPECT_TRUE(shows("safety_loader", VCModelView::kPassiveColour));
    // fire received ecin and waits 4 ms: active now.
    EXPECT_TRUE(shows("fire", VCModelView::kActiveColour));

    // The arrow of the X into fire's ecin runs from gunner's frame to the port: along it, halfway.
    Vector3 port;
    ASSERT_TRUE(getSimulation()->getModelView()->portPosition("fire", "ecin", true, port));
    BoundingBox gunner;
    ASSERT_TRUE(getSimulation()->getModelView()->findBlock("gunner", gunner));
    const Vector3 middle((gunner.getMin().x + port.x) / 2.0f, port.y, port.z + SDBlockLayout::kMarkerHalf);
    EXPECT_TRUE(shows(middle, VCModelView::kInputColour, 40));

    // Nothing changes outside the structure's box on the screen.
    VCCellView::DrawnModel structure;
    ASSERT_TRUE(getSimulation()->getModelView()->getBounds(structure.bounds));
    VDRect box;
    ASSERT_TRUE(VDCellOverlay(camera.getProjectionMatrix(), camera.getViewMatrix(), VDRect(0, 0, 800, 600))
                    .blockRectangle(structure, box));
    int differentInside = 0;
    int differentOutside = 0;
    for (size_t i = 0; i < before.size(); ++i) {
        const float x = static_cast<float>(i % 800);
        const float y = static_cast<float>(i / 800);
        const bool inside =
            x >= box.getX1() - 1 && x <= box.getX2() + 1 && y >= box.getY1() - 1 && y <= box.getY2() + 1;
        const bool differs =
            before[i].r != after[i].r || before[i].g != after[i].g || before[i].b != after[i].b;
        (inside ? differentInside : differentOutside) += differs ? 1 : 0;
    }
    EXPECT_GT(differentInside, 500);
    EXPECT_EQ(0, differentOutside);
}

// A model file's link "out@gunner fin@loader" (samples/models/gun_loader_crew.ma) is a line that leaves
// gunner's output marker to the right.
TEST_F(ModelViewGLTest, AModelFilesLinksAreLinesFromPortToPort) {
    const fs::path file = realLog("gun_loader_crew.log");
    if (!fs::exists(file)) {
        GTEST_SKIP() << "no real log at " << file;
    }
    ASSERT_TRUE(import(file));
    Vector3 out;
    ASSERT_TRUE(getSimulation()->getModelView()->portPosition("gunner", "out", false, out));
    const Vector3 stub = out + Vector3(VCModelView::kLinkStub * 0.75f, 0.0f, 0.0f);
    frame();
    EXPECT_FALSE(shows(stub, VCModelView::kLinkColour, 40)) << "no link before the model file";
    ASSERT_TRUE(getSimulation()->importModelFile(
        (fs::path(TESS_SOURCE_DIR) / "samples" / "models" / "gun_loader_crew.ma").string()));
    frame();
    EXPECT_TRUE(shows(stub, VCModelView::kLinkColour, 40));
}

// With samples/models/gun_loader_crew.ma, every coupling line runs around the blocks of its frame, and at
// 00:00:20:004 the Y that electric_fire sends on out and gunner passes on to fire's ecin (the log's two
// messages of that time) follows the link "out@electric_fire ecin@fire".
TEST_F(ModelViewGLTest, CouplingLinesKeepOutOfBlocksAndMessagesFollowThem) {
    const fs::path file = realLog("gun_loader_crew.log");
    if (!fs::exists(file)) {
        GTEST_SKIP() << "no real log at " << file;
    }
    ASSERT_TRUE(import(file));
    ASSERT_TRUE(getSimulation()->importModelFile(
        (fs::path(TESS_SOURCE_DIR) / "samples" / "models" / "gun_loader_crew.ma").string()));
    at("00:00:20:004");
    frame();
    VCModelView* view = getSimulation()->getModelView();
    // The file's 17 links, all between models of the log.
    ASSERT_EQ(17u, view->getRoutes().size());
    // No pixel of a coupling line on the face of an atomic block: none ends inside one.
    const VDCellOverlay projector(camera.getProjectionMatrix(), camera.getViewMatrix(),
                                  VDRect(0, 0, 800, 600));
    for (const char* model :
         {"barrel", "safety_loader", "electric_fire", "manual_fire", "emergency_fire", "fire"}) {
        BoundingBox box;
        ASSERT_TRUE(view->findBlock(model, box)) << model;
        float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        ASSERT_TRUE(projector.project(Vector3(box.getMin().x, box.getMin().y, box.getMax().z), x1, y1));
        ASSERT_TRUE(projector.project(Vector3(box.getMax().x, box.getMax().y, box.getMax().z), x2, y2));
        // Short of the sides, where the ports' markers and their lines' ends stand.
        const int left = static_cast<int>(x1) + 4;
        const int bottom = static_cast<int>(y1) + 3;
        const int width = static_cast<int>(x2) - 4 - left;
        const int height = static_cast<int>(y2) - 3 - bottom;
        ASSERT_GT(width, 5) << model;
        ASSERT_GT(height, 5) << model;
        int lines = 0;
        for (const Pixel& p : GLTestContext::region(left, bottom, width, height)) {
            lines += near(p, VCModelView::kLinkColour, 30) ? 1 : 0;
        }
        EXPECT_EQ(0, lines) << "coupling pixels on " << model;
    }
    // The message: along the link's longest segment, in the Y's colour, not from gunner's frame.
    Vector3 out;
    Vector3 ecin;
    ASSERT_TRUE(view->portPosition("electric_fire", "out", false, out));
    ASSERT_TRUE(view->portPosition("fire", "ecin", true, ecin));
    const VCModelView::Route* link = nullptr;
    for (const VCModelView::Route& route : view->getRoutes()) {
        if (route.points.front() == out && route.points.back() == ecin) {
            link = &route;
        }
    }
    ASSERT_NE(nullptr, link);
    Vector3 middle;
    float longest = 0.0f;
    for (size_t i = 1; i + 2 < link->points.size(); ++i) {
        const float length = (link->points[i + 1] - link->points[i]).length();
        if (length > longest) {
            longest = length;
            middle = (link->points[i] + link->points[i + 1]) * 0.5f;
        }
    }
    EXPECT_TRUE(shows(middle, VCModelView::kOutputColour, 40));
    BoundingBox gunner;
    ASSERT_TRUE(view->findBlock("gunner", gunner));
    EXPECT_FALSE(
        shows(Vector3((gunner.getMin().x + ecin.x) / 2.0f, ecin.y, ecin.z + SDBlockLayout::kMarkerHalf),
              VCModelView::kInputColour, 40))
        << "no straight arrow from gunner's frame";
}

TEST_F(ModelViewGLTest, RulesOnAPortColourHideOrRampTheBlockAndClearingBringsBackTheActivity) {
    const fs::path file = realLog("gun_loader_crew.log");
    if (!fs::exists(file)) {
        GTEST_SKIP() << "no real log at " << file;
    }
    ASSERT_TRUE(import(file));
    at("00:00:20:004");  // electric_fire sends out = 1 and is active
    SDModelStructure& structure = *getVisualization()->getStructure();
    SDBlockLook& look = structure.look("electric_fire");
    const VCModelView::Colour red{1, 0, 0, 1};
    look.addRule(SDBlockLook::kOutputType, "out", 0.5, 1.5, red);
    frame();
    EXPECT_TRUE(shows("electric_fire", red));
    at("00:00:10:000");  // out carries nothing yet: the rule does not hold
    frame();
    EXPECT_TRUE(shows("electric_fire", VCModelView::kPassiveColour));

    at("00:00:20:004");
    look.clear();
    look.addRule(SDBlockLook::kInputType, "in", 1, 1, VCModelView::Colour{1, 0, 0, 0});
    frame();
    const Pixel hidden = at(front("electric_fire"));
    EXPECT_FALSE(near(hidden, red) || near(hidden, VCModelView::kActiveColour))
        << int(hidden.r) << ", " << int(hidden.g) << ", " << int(hidden.b);
    float distance = 0.0f;
    EXPECT_EQ("gunner", getSimulation()->getModelView()->pick(front("electric_fire") + Vector3(0, 0, 30),
                                                              Vector3(0, 0, -1), distance))
        << "a hidden block lets a pick through";

    look.clear();
    look.setRamp(SDBlockLook::kOutputType, "out");
    frame();
    // out only ever carries 1: the ramp's middle.
    EXPECT_TRUE(shows("electric_fire", SDColourRamp::at(0.5)));
    look.clear();
    frame();
    EXPECT_TRUE(shows("electric_fire", VCModelView::kActiveColour));
}

TEST_F(ModelViewGLTest, RunsOfCellSpacesAloneLookAsTheyDid) {
    std::vector<fs::path> files = {fs::path(TESS_SOURCE_DIR) / "samples" / "life_20x20.log",
                                   fs::path(TESS_SOURCE_DIR) / "samples" / "heat_40x40.log"};
    for (const char* name :
         {"morph_filter_2d_8x8.log", "water_spread_2d_25x25.log", "falling_mass_3d_8x8x8.log"}) {
        if (fs::exists(realLog(name))) {
            files.push_back(realLog(name));
        }
    }
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.filename().string());
        getSimulation()->closeVisualization();
        ASSERT_TRUE(getSimulation()->newVisualization("cells"));
        ASSERT_TRUE(getSimulation()->importLogFile(file.string()));
        getSimulation()->timeLast();
        VCCellView* cells = getSimulation()->getCellView();
        cells->updateLayout();
        BoundingBox box;
        ASSERT_TRUE(cells->getBounds(box));
        camera.fitBox(box, 20.0f);
        EXPECT_FALSE(getSimulation()->getModelView()->isDrawn());
        BoundingBox none;
        EXPECT_FALSE(getSimulation()->getModelView()->getBounds(none));
        frame(false);
        const std::vector<Pixel> cellsAlone = GLTestContext::region(0, 0, 800, 600);
        frame(true);
        const std::vector<Pixel> everything = GLTestContext::region(0, 0, 800, 600);
        size_t differing = 0;
        for (size_t i = 0; i < cellsAlone.size(); ++i) {
            differing += cellsAlone[i].r != everything[i].r || cellsAlone[i].g != everything[i].g ||
                                 cellsAlone[i].b != everything[i].b
                             ? 1
                             : 0;
        }
        EXPECT_EQ(0u, differing);
    }
}

}  // namespace

namespace {

// vis_structure off: at 00:00:10:000 safety_loader is active and electric_fire passive (as above); hidden,
// neither colour is in the picture, nothing is fitted, picked or labelled, and shown again all is back.
TEST_F(ModelViewGLTest, AHiddenStructureIsNeitherDrawnNorFittedNorPicked) {
    const fs::path file = realLog("gun_loader_crew.log");
    if (!fs::exists(file)) {
        GTEST_SKIP() << "no real log at " << file;
    }
    ASSERT_TRUE(import(file));
    at("00:00:10:000");
    VCModelView* models = getSimulation()->getModelView();
    const Vector3 eye = camera.getPosition();
    const Vector3 target = front("safety_loader");
    for (const bool shown : {true, false, true}) {
        SCOPED_TRACE(shown);
        models->setShown(shown);
        frame();
        for (const VCModelView::Colour& colour : {VCModelView::kActiveColour, VCModelView::kPassiveColour}) {
            const std::vector<Pixel> all = GLTestContext::region(0, 0, 800, 600);
            EXPECT_EQ(shown, std::count_if(all.begin(), all.end(),
                                           [&](Pixel p) { return near(p, colour, 6); }) > 50);
        }
        BoundingBox box;
        float distance = 0.0f;
        EXPECT_EQ(shown, models->getBounds(box));
        EXPECT_EQ(shown ? "safety_loader" : "", models->pick(eye, target - eye, distance));
        EXPECT_EQ(shown, !models->getLabels().names.empty());
    }
}

}  // namespace

namespace {

// thermal_cube at its end, 00:00:06:640: gencold and genheat wait (their last D, at 0 and 1.64 s, has a
// delay) and surface is active (top's * to it at 6.64 s). Its 4 x 4 x 4 cells stand from x = 12.75 to
// 16.25 and from y = -10.25 up, their back at z = -18.25 (centres one unit apart from column 13, the last
// row at y = -10 and the front layer at z = -15, cubes of 0.5). Beside them the structure is drawn smaller,
// at most two thirds of their 3.5 units wide, on their floor and against their back; each block is seen,
// picked and named where it is drawn.
TEST_F(ModelViewGLTest, BesideCellsTheStructureIsDrawnPickedAndNamedWhereItIsDrawnSmaller) {
    const fs::path file = realLog("thermal_cube_3d_4x4x4.log");
    if (!fs::exists(file)) {
        GTEST_SKIP() << "no real log at " << file;
    }
    ASSERT_TRUE(import(file));
    at("00:00:06:640");
    VCModelView* models = getSimulation()->getModelView();
    BoundingBox structure;
    ASSERT_TRUE(models->getBounds(structure));
    EXPECT_LE(structure.getMax().x - structure.getMin().x, 0.66f * 3.5f + 1e-3f);
    EXPECT_GT(structure.getMin().x, 16.25f);
    EXPECT_NEAR(-10.25f, structure.getMin().y, 1e-3f);
    EXPECT_NEAR(-18.25f, structure.getMin().z, 1e-3f);
    frame();
    const Vector3 eye = camera.getPosition();
    struct Case {
        const char* model;
        VCModelView::Colour colour;
    } cases[] = {
        {"gencold", VCModelView::kWaitingColour},
        {"genheat", VCModelView::kWaitingColour},
        {"surface", VCModelView::kActiveColour},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        BoundingBox box;
        ASSERT_TRUE(models->findBlock(c.model, box));
        EXPECT_TRUE(shows(c.model, c.colour));
        float distance = 0.0f;
        Vector3 towards = front(c.model) - eye;
        towards.normalise();
        EXPECT_EQ(c.model, models->pick(eye, towards, distance));
        EXPECT_NEAR((front(c.model) - eye).length(), distance, 1e-2f);
        const auto& names = models->getLabels().names;
        const auto name = std::find_if(names.begin(), names.end(), [&](const VCModelView::Label& label) {
            return label.text == c.model;
        });
        ASSERT_NE(names.end(), name);
        EXPECT_NEAR(box.getMin().x, name->anchor.x, 1e-4f) << "the name starts at the block's left edge";
        EXPECT_LE(name->room, structure.getMax().x - box.getMin().x + 1e-4f)
            << "and keeps within the structure";
    }
}

}  // namespace
