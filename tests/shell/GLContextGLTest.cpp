// Checks the GL test context itself: a real context exists and what is drawn can be read back.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include "tests/support/GLTestContext.h"

TEST(GLContextGLTest, DrawsAndReadsBackAFilledRectangle) {
    ASSERT_TRUE(GLTestContext::ensure());
    GLTestContext::reset();
    glMatrixMode(GL_PROJECTION);
    glOrtho(0, 800, 0, 600, -1, 1);
    glColor3f(1, 0, 0);
    glRecti(100, 100, 200, 150);
    EXPECT_EQ(255, GLTestContext::pixel(150, 120).r);
    EXPECT_EQ(0, GLTestContext::pixel(50, 50).r);
    EXPECT_EQ(100 * 50, GLTestContext::countNear(0, 0, 800, 600, {255, 0, 0, 255}));
}
