// A Cell-DEVS record laid out in the viewer's box draws its cubes where the layout puts them.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include "scene/SDDetailNodeCUBE.h"
#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDColoredCUBE.h"
#include "tests/support/GLTestContext.h"

namespace {

// Looking from the origin down -z with a 90° vertical field of view in the 800×600 window: at the depth
// of the box's back face (z = -15) one unit spans 20 pixels and the world origin is the window centre,
// so cell (x, y) of a 20 × 20 record in the box lies at pixel (200 + 20x, 100 + 20y), about 10 pixels
// wide.
void lookAtTheBox() {
    GLTestContext::reset();
    glMatrixMode(GL_PROJECTION);
    glFrustum(-4.0 / 3.0, 4.0 / 3.0, -1.0, 1.0, 1.0, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    // Only the faces turned towards the eye, so a translucent cube blends one layer over the background.
    glEnable(GL_CULL_FACE);
}

const GLTestContext::Pixel kCubeColour{0, 204, 102, 255};

TEST(CellDrawGLTest, ALifeRecordDrawsOneCubePerShownCell) {
    ASSERT_TRUE(GLTestContext::ensure());
    SDCELLDevsModel life;
    life.setName("life");
    life.ensureCell(19, 19, 0);
    life.getCell(3, 4, 0)->getCube()->m_show = false;
    SDColoredCUBE red(life.getCell(10, 10, 0)->getCube(), {1, 0, 0, 0.5f});
    red.apply();

    lookAtTheBox();
    life.arrange(Vector3(0, 0, -5), 20, 20, 20);
    life.drawCells();

    for (int x : {0, 7, 19}) {
        for (int y : {0, 12, 19}) {
            EXPECT_EQ(kCubeColour.g, GLTestContext::pixel(200 + 20 * x, 100 + 20 * y).g) << x << "," << y;
        }
    }
    // Between neighbouring cubes and outside the box there is only background.
    EXPECT_EQ(0, GLTestContext::pixel(210, 110).g);
    EXPECT_EQ(0, GLTestContext::countNear(0, 0, 185, 600, kCubeColour));
    EXPECT_EQ(0, GLTestContext::countNear(596, 0, 204, 600, kCubeColour));
    // The hidden cell leaves a hole; the painted one blends red at half opacity over the black background.
    EXPECT_EQ(0, GLTestContext::countNear(255, 175, 10, 10, kCubeColour));
    const GLTestContext::Pixel painted = GLTestContext::pixel(400, 300);
    EXPECT_NEAR(128, painted.r, 3);
    EXPECT_EQ(0, painted.g);

    // 398 default cubes, each a front face of about 100 pixels plus the sides seen off the axis.
    const int drawn = GLTestContext::countNear(0, 0, 800, 600, kCubeColour);
    EXPECT_GT(drawn, 398 * 100);
    EXPECT_LT(drawn, 398 * 200);
}

}  // namespace
