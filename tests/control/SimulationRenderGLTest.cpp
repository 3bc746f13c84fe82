// What the controller draws in a frame: detail nodes through the scene graph and the "life" cell space.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <string>

#include "control/VCSimulation.h"
#include "shell/PropertySet.h"
#include "tests/support/GLTestContext.h"
#include "tests/support/LogRecorder.h"
#include "tests/support/TempDir.h"
#include "view3d/Frustum.h"

namespace {

const GLTestContext::Pixel kCubeColour{0, 204, 102, 255};
const GLTestContext::Pixel kBlack{0, 0, 0, 255};

int litPixels(int x, int y, int width, int height) {
    return width * height - GLTestContext::countNear(x, y, width, height, kBlack, 0);
}

class SimulationRenderGLTest : public ::testing::Test {
  protected:
    // The eye at the origin looking down -z, 90° vertical field of view in the 800×600 window: at the
    // depth of the cell box's back face (z = -15) one unit spans 20 pixels, so cell (x, y) of a 20 × 20
    // space lies at pixel (200 + 20x, 100 + 20y).
    void SetUp() override {
        ASSERT_TRUE(GLTestContext::ensure());
        GLTestContext::reset();
        glMatrixMode(GL_PROJECTION);
        glFrustum(-4.0 / 3.0, 4.0 / 3.0, -1.0, 1.0, 1.0, 100.0);
        glMatrixMode(GL_MODELVIEW);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glEnable(GL_CULL_FACE);
        double projection[16];
        double view[16];
        glGetDoublev(GL_PROJECTION_MATRIX, projection);
        glGetDoublev(GL_MODELVIEW_MATRIX, view);
        frustum.update(projection, view);
    }

    // Imports a log whose cells reach (19, 19) of the cell space of that name.
    void importCorners(const std::string& name) {
        const std::string path =
            dir.write("life.log", "msg Y / 00:00:00:100 / " + name + "(0,0)(03) / out / 1.00000 to " + name +
                                      "(02)\n" + "msg Y / 00:00:00:100 / " + name +
                                      "(19,19)(402) / out / 1.00000 to " + name + "(02)\n");
        ASSERT_TRUE(simulation.newVisualization("v"));
        ASSERT_TRUE(simulation.importLogFile(path));
    }

    LogRecorder rec;
    TempDir dir;
    Frustum frustum;
    VCSimulation simulation;
};

TEST_F(SimulationRenderGLTest, TheLifeCellSpaceFillsItsBox) {
    importCorners("life");
    simulation.render(&frustum);

    for (int x : {0, 7, 19}) {
        for (int y : {0, 12, 19}) {
            EXPECT_EQ(kCubeColour.g, GLTestContext::pixel(200 + 20 * x, 100 + 20 * y).g) << x << "," << y;
        }
    }
    // Nothing left, right, below or above the box.
    EXPECT_EQ(0, litPixels(0, 0, 185, 600));
    EXPECT_EQ(0, litPixels(596, 0, 204, 600));
    EXPECT_EQ(0, litPixels(0, 0, 800, 85));
    EXPECT_EQ(0, litPixels(0, 496, 800, 104));
    // Every one of the 400 cells: a front face of about 100 pixels plus sides seen off the axis.
    const int drawn = GLTestContext::countNear(0, 0, 800, 600, kCubeColour);
    EXPECT_GT(drawn, 400 * 100);
    EXPECT_LT(drawn, 400 * 200);
}

TEST_F(SimulationRenderGLTest, OnlyTheExactNameGetsLifesBox) {
    importCorners("Life");
    simulation.render(&frustum);
    // Drawn as any other model: one unit between cells, in a block right of life's box, which stays empty.
    EXPECT_EQ(0, litPixels(0, 0, 640, 600));
    EXPECT_GT(GLTestContext::countNear(640, 0, 160, 600, kCubeColour), 20 * 100);
}

TEST_F(SimulationRenderGLTest, ADetailNodeCubeIsDrawnThroughTheSceneGraph) {
    ASSERT_TRUE(simulation.newVisualization("v"));
    PropertySet cube;
    cube.set("type", "CUBE");
    cube.set("position_z", "-10");
    cube.set("size", "2.000000");
    ASSERT_EQ(0, simulation.addDetailNode(cube));
    simulation.render(&frustum);

    // Its front face at z = -9 spans about 67 pixels around the centre of the window, lit by the
    // scene's ambient light only.
    const GLTestContext::Pixel centre = GLTestContext::pixel(400, 300);
    EXPECT_EQ(0, centre.r);
    EXPECT_GT(centre.g, 20);
    EXPECT_GT(litPixels(367, 267, 66, 66), 66 * 66 * 9 / 10);
    EXPECT_EQ(litPixels(0, 0, 800, 600), litPixels(360, 260, 80, 80));
}

TEST_F(SimulationRenderGLTest, NothingIsDrawnWithoutAVisualization) {
    importCorners("life");
    PropertySet cube;
    cube.set("type", "CUBE");
    cube.set("position_z", "-10");
    cube.set("size", "2");
    ASSERT_EQ(0, simulation.addDetailNode(cube));
    simulation.closeVisualization();
    simulation.render(&frustum);
    EXPECT_EQ(0, litPixels(0, 0, 800, 600));
}

}  // namespace
