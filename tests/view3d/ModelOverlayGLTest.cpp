// A block's name as the picture shows it: wholly above its block's frame, descenders included, so that the
// frame's top edge cuts no letter ("top" once read "ton"); and a port's label over the arrows along its row.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdlib>
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

    // The camera's matrices, as the 3D pass sets them.
    void pass3D() {
        glMatrixMode(GL_PROJECTION);
        glLoadMatrixd(camera.getProjectionMatrix());
        glMatrixMode(GL_MODELVIEW);
        glLoadMatrixd(camera.getViewMatrix());
    }
    // Window pixels, as the 2D pass sets them.
    static void pass2D() {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, 800, 0, 600, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
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
        pass3D();
        SDBlockBatch batch;
        batch.addFrame(box, VCModelView::kActiveColour, true);
        batch.draw();
        int frameLow = 0;
        int frameTop = 0;
        ASSERT_TRUE(litRows(350, 450, frameLow, frameTop));  // along the top edge
        // The name alone, in the 2D pass.
        GLTestContext::reset();
        pass2D();
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

// A port's label on the line of an arrow to or from its port: the arrow shows on either side, never
// through the label. Camera and scale as above: the marker at (0, 0, -10) is pixel (400, 300), 30 pixels a
// unit; a label starts 0.2 units (6 pixels) from its marker, and a few characters of it cover at least
// the 20 pixels looked at next to it.
TEST_F(ModelOverlayGLTest, AnArrowAlongAPortsRowPassesUnderItsLabel) {
    struct Case {
        const char* text;
        bool input;  // an input's label stands left of its marker, the arrow coming from the left
        VCModelView::Colour colour;
        int labelFrom, labelTo;  // columns of row 300 the label covers
        int lineFrom, lineTo;    // columns of the arrow clear of the label
    } cases[] = {
        {"in_2 0.2", true, VCModelView::kInputColour, 370, 390, 170, 230},
        {"out_2 1", false, VCModelView::kOutputColour, 410, 430, 580, 630},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        GLTestContext::reset();
        pass3D();
        SDBlockBatch batch;
        const Vector3 marker(0.0f, 0.0f, -10.0f);
        const Vector3 far(c.input ? -8.0f : 8.0f, 0.0f, -10.0f);
        batch.addArrow(c.input ? far : marker, c.input ? marker : far, c.colour);
        batch.draw();
        pass2D();
        VCModelView::Labels labels;
        VCModelView::Label label;
        label.anchor = marker + Vector3(c.input ? -0.2f : 0.2f, 0.0f, 0.0f);
        label.text = c.text;
        label.room = 3.0f;
        label.rightAligned = c.input;
        labels.ports.push_back(label);
        VDModelOverlay(camera.getProjectionMatrix(), camera.getViewMatrix(), VDRect(0, 0, 800, 600))
            .draw(labels);
        const std::vector<Pixel> picture = GLTestContext::region(0, 0, 800, 600);
        auto arrowIn = [&](int x0, int x1) {
            int found = 0;
            for (int y = 298; y <= 302; ++y) {
                for (int x = x0; x < x1; ++x) {
                    const Pixel& p = picture[static_cast<size_t>(y) * 800 + static_cast<size_t>(x)];
                    const auto close = [](uint8_t channel, float value) {
                        return std::abs(channel - static_cast<int>(value * 255.0f + 0.5f)) <= 12;
                    };
                    found += close(p.r, c.colour[0]) && close(p.g, c.colour[1]) && close(p.b, c.colour[2]);
                }
            }
            return found;
        };
        EXPECT_GT(arrowIn(c.lineFrom, c.lineTo), 0) << "the arrow is drawn";
        EXPECT_EQ(0, arrowIn(c.labelFrom, c.labelTo)) << "under the label";
    }
}

}  // namespace
