// A block's name as the picture shows it: wholly above its block's frame, descenders included, so that the
// frame's top edge cuts no letter ("top" once read "ton").
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "control/VCModelView.h"
#include "gui/VDThemeStore.h"
#include "scene/SDBlockBatch.h"
#include "tests/support/GLTestContext.h"
#include "view3d/VDFirstPersonCamera.h"
#include "view3d/VDModelOverlay.h"

namespace {

using Pixel = GLTestContext::Pixel;

class ModelOverlayGLTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(GLTestContext::ensure());
        glViewport(0, 0, 800, 600);
        ASSERT_TRUE(createThemeStore());
        camera.setAspectRatio(800.0f / 600.0f);
        camera.setFieldOfView(90.0f);
        camera.setPosition(Vector3(0.0f, 0.0f, 0.0f));
    }
    void TearDown() override { destroyThemeStore(); }

    // The lowest and highest rows (window coordinates, y up) with a lit pixel between x0 and x1; false
    // when none is lit.
    static bool litRows(int x0, int x1, int& lowest, int& highest) {
        const std::vector<Pixel> picture = GLTestContext::region(0, 0, 800, 600);
        lowest = 600;
        highest = -1;
        for (int y = 0; y < 600; ++y) {
            for (int x = x0; x < x1; ++x) {
                const Pixel& p = picture[static_cast<size_t>(y) * 800 + static_cast<size_t>(x)];
                if (p.r > 40 || p.g > 40 || p.b > 40) {
                    lowest = std::min(lowest, y);
                    highest = std::max(highest, y);
                }
            }
        }
        return highest >= 0;
    }

    VDFirstPersonCamera camera;
};

TEST_F(ModelOverlayGLTest, ANameStandsWhollyAboveItsBlocksFrame) {
    // A block 4 units wide (pixels 340 .. 460) whose top edge runs at y = 0, 10 units ahead: 30 pixels a
    // unit, the edge on row 300. Its name is anchored as the view puts it, a little above the edge at the
    // block's left.
    const float above = 0.06f;
    BoundingBox box;
    box.setMinMax(Vector3(-2.0f, -3.0f, -10.0f), Vector3(2.0f, 0.0f, -10.0f));
    for (const std::string& name : {std::string("top"), std::string("gpq"), std::string("Root")}) {
        SCOPED_TRACE(name);
        // The frame alone, drawn bold as an active model's is, in the 3D pass.
        GLTestContext::reset();
        glMatrixMode(GL_PROJECTION);
        glLoadMatrixd(camera.getProjectionMatrix());
        glMatrixMode(GL_MODELVIEW);
        glLoadMatrixd(camera.getViewMatrix());
        SDBlockBatch batch;
        batch.addFrame(box, VCModelView::kActiveColour, true);
        batch.draw();
        int frameLow = 0;
        int frameTop = 0;
        ASSERT_TRUE(litRows(350, 450, frameLow, frameTop));  // along the top edge
        // The name alone, in the 2D pass.
        GLTestContext::reset();
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, 800, 0, 600, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        VCModelView::Labels labels;
        labels.names.push_back(VCModelView::Label{Vector3(-2.0f, above, -10.0f), name, 3.0f, false, {}});
        VDModelOverlay(camera.getProjectionMatrix(), camera.getViewMatrix(), VDRect(0, 0, 800, 600))
            .draw(labels);
        int inkLow = 0;
        int inkTop = 0;
        ASSERT_TRUE(litRows(330, 420, inkLow, inkTop)) << "the name is written";
        EXPECT_GT(inkLow, frameTop) << "the lowest ink of the name on or under the frame's top edge";
    }
}

}  // namespace
