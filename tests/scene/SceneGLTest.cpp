// Cubes and the scene graph drawn into a real context and read back.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <memory>

#include "scene/SDDetailNodeCUBE.h"
#include "scene/SDSceneGraph.h"
#include "tests/scene/SceneTestSupport.h"
#include "tests/support/GLTestContext.h"
#include "view3d/Frustum.h"

namespace {

using Pixel = GLTestContext::Pixel;

// Orthographic, 2 pixels per unit: world x -200 .. 200 and y -150 .. 150 fill the 800x600 window.
const Matrix kProjection = orthoMatrix(-200, 200, -150, 150, -1000, 1000);

// Looks at the world from +x: world (x, y, z) lands at eye (-z, y, x), so the cubes' +x faces, which
// the scene light (along (1, 1, 0)) lights, face the viewer.
const Matrix kFromPlusX = {0, 0, 1, 0, 0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 0, 1};

int pixelX(float eyeX) {
    return static_cast<int>((eyeX + 200) * 2);
}
int pixelY(float eyeY) {
    return static_cast<int>((eyeY + 150) * 2);
}

void loadMatrices(const Matrix& projection, const Matrix& view) {
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixd(projection.data());
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixd(view.data());
}

std::unique_ptr<SDDetailNodeCUBE> cube(const Vector3& centre, float size, float r, float g, float b,
                                       float a) {
    auto c = std::make_unique<SDDetailNodeCUBE>();
    c->setPosition(centre);
    c->setSize(size);
    c->setColor(r, g, b, a);
    return c;
}

void expectNear(Pixel expected, Pixel actual, int tolerance = 3) {
    EXPECT_NEAR(expected.r, actual.r, tolerance);
    EXPECT_NEAR(expected.g, actual.g, tolerance);
    EXPECT_NEAR(expected.b, actual.b, tolerance);
}

class SceneGLTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(GLTestContext::ensure());
        GLTestContext::reset();
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
};

TEST_F(SceneGLTest, ANewCubeDrawsInItsColourAtItsPlace) {
    loadMatrices(kProjection, identityMatrix());
    SDDetailNodeCUBE plain;
    plain.setPosition(Vector3(50, 25, 0));
    plain.setSize(20);
    plain.drawIfShown();
    expectNear({0, 204, 102, 255}, GLTestContext::pixel(pixelX(50), pixelY(25)));
    // Exactly its 20x20 units, nothing else.
    EXPECT_EQ(40 * 40, GLTestContext::countNear(0, 0, 800, 600, {0, 204, 102, 255}));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));

    plain.m_show = false;
    plain.setPosition(Vector3(-50, 25, 0));
    plain.drawIfShown();
    expectNear({0, 0, 0, 255}, GLTestContext::pixel(pixelX(-50), pixelY(25)));
}

TEST_F(SceneGLTest, AHalfTransparentCubeBlendsWithTheOneBehind) {
    loadMatrices(kProjection, identityMatrix());
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    cube(Vector3(0, 0, -50), 40, 1, 0, 0, 1)->draw();
    cube(Vector3(0, 0, 50), 20, 0, 0, 1, 0.5f)->draw();
    expectNear({128, 0, 128, 255}, GLTestContext::pixel(pixelX(0), pixelY(0)), 2);
    // Where only the red one is.
    expectNear({255, 0, 0, 255}, GLTestContext::pixel(pixelX(15), pixelY(0)), 2);
}

TEST_F(SceneGLTest, TheSceneGraphLightsVisibleCubesAndCullsTheOthers) {
    loadMatrices(kProjection, kFromPlusX);
    glEnable(GL_DEPTH_TEST);
    SDSceneGraph graph;
    // Eye (100, 100): in the leaf spanning world z -800 .. 0.
    graph.addNode(cube(Vector3(100, 100, -100), 20, 1, 1, 1, 1));
    // Eye (-100, 100): in the leaf spanning world z 0 .. 800.
    graph.addNode(cube(Vector3(100, 100, 100), 20, 1, 1, 1, 1));

    // The frustum sees eye x from 50 on only, though the window shows everything.
    Frustum narrow;
    Matrix narrowProjection = orthoMatrix(50, 200, -150, 150, -1000, 1000);
    narrow.update(narrowProjection.data(), kFromPlusX.data());
    graph.render(&narrow);

    // Lit: ambient 0.2 plus diffuse cos 45 degrees on the +x face.
    expectNear({231, 231, 231, 255}, GLTestContext::pixel(pixelX(100), pixelY(100)));
    expectNear({0, 0, 0, 255}, GLTestContext::pixel(pixelX(-100), pixelY(100)), 0);
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
    EXPECT_TRUE(glIsEnabled(GL_COLOR_MATERIAL));

    // With the whole window in the frustum the other cube appears as well.
    Frustum wide;
    wide.update(kProjection.data(), kFromPlusX.data());
    graph.render(&wide);
    expectNear({231, 231, 231, 255}, GLTestContext::pixel(pixelX(-100), pixelY(100)));
}

TEST_F(SceneGLTest, AnEmptySceneGraphSetsUpTheLightAndDrawsNothing) {
    loadMatrices(kProjection, identityMatrix());
    SDSceneGraph graph;
    Frustum frustum;
    frustum.update(kProjection.data(), identityMatrix().data());
    graph.render(&frustum);
    GLfloat position[4] = {};
    glGetLightfv(GL_LIGHT0, GL_POSITION, position);
    EXPECT_FLOAT_EQ(1, position[0]);
    EXPECT_FLOAT_EQ(1, position[1]);
    EXPECT_FLOAT_EQ(0, position[2]);
    EXPECT_FLOAT_EQ(0, position[3]);
    EXPECT_EQ(0, 800 * 600 - GLTestContext::countNear(0, 0, 800, 600, {0, 0, 0, 255}, 0));
}

TEST_F(SceneGLTest, ACubeStoredInSeveralOctreeNodesBlendsOnlyOncePerFrame) {
    loadMatrices(kProjection, kFromPlusX);
    // No depth test: every extra draw of the translucent face would darken or brighten the result.
    glEnable(GL_CULL_FACE);
    SDSceneGraph graph;
    graph.addNode(cube(Vector3(0, 0, 0), 20, 1, 1, 1, 0.5f));
    ASSERT_EQ(8, graph.getRoot()->getNodeCount());
    Frustum frustum;
    frustum.update(kProjection.data(), kFromPlusX.data());
    graph.render(&frustum);
    // One layer: 0.907 x 0.5 over black. Eight layers would come to about 230.
    expectNear({116, 116, 116, 255}, GLTestContext::pixel(pixelX(0), pixelY(0)));

    // The next frame draws it again, once.
    glClear(GL_COLOR_BUFFER_BIT);
    graph.render(&frustum);
    expectNear({116, 116, 116, 255}, GLTestContext::pixel(pixelX(0), pixelY(0)));
}

}  // namespace
