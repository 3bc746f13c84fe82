// Long use: a visualization opened, filled, drawn and closed fifty times over must leave nothing behind.
// LeakSanitizer at exit finds what is lost; the live heap between the rounds finds what piles up while
// still reachable.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "control/VCSimulation.h"
#include "shell/PropertySet.h"
#include "simdata/SDDevsModelList.h"
#include "simdata/SDEventList.h"
#include "simdata/SDVisualization.h"
#include "tests/support/GLTestContext.h"
#include "tests/support/MemoryUsage.h"
#include "view3d/Frustum.h"

namespace {

const std::string kSample = std::string(TESS_SOURCE_DIR) + "/samples/life_20x20.log";

TEST(LongUseGLTest, FiftyRoundsOfOpenFillDrawCloseLeaveNothingBehind) {
    ASSERT_TRUE(GLTestContext::ensure());
    GLTestContext::reset();
    glMatrixMode(GL_PROJECTION);
    glFrustum(-4.0 / 3.0, 4.0 / 3.0, -1.0, 1.0, 1.0, 100.0);
    glMatrixMode(GL_MODELVIEW);
    double projection[16];
    double view[16];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetDoublev(GL_MODELVIEW_MATRIX, view);
    Frustum frustum;
    frustum.update(projection, view);

    VCSimulation simulation;
    const int kRounds = 50;
    const int kWarmUp = 5;  // the GL driver and the log settle their caches in the first frames
    long long heapAfterWarmUp = 0;
    long residentAfterWarmUp = 0;
    for (int round = 1; round <= kRounds; ++round) {
        ASSERT_TRUE(simulation.newVisualization("round"));
        ASSERT_TRUE(simulation.importLogFile(kSample));
        for (int i = 0; i < 100; ++i) {
            PropertySet cube;
            cube.set("type", "CUBE");
            cube.set("position_x", std::to_string(i % 10 * 2 - 9));
            cube.set("position_y", std::to_string(i / 10 * 2 - 9));
            cube.set("position_z", "-30");
            cube.set("size", "1");
            ASSERT_EQ(i, simulation.addDetailNode(cube));
        }
        ASSERT_EQ(5031u, getVisualization()->getEventList()->size());
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        simulation.render(&frustum);
        glFinish();
        if (round == 1) {
            // The frame did draw: the cells and cubes cover a good part of the window.
            const GLTestContext::Pixel black{0, 0, 0, 255};
            EXPECT_LT(GLTestContext::countNear(0, 0, 800, 600, black, 0), 800 * 600 * 9 / 10);
        }
        simulation.closeVisualization();
        ASSERT_EQ(nullptr, getVisualization());
        if (round == kWarmUp) {
            heapAfterWarmUp = liveHeapBytes();
            residentAfterWarmUp = residentKiB();
        }
    }
    const long long heapGrowth = liveHeapBytes() - heapAfterWarmUp;
    std::printf("after %d more rounds: live heap %+lld bytes, resident %+ld KiB\n", kRounds - kWarmUp,
                heapGrowth, residentKiB() - residentAfterWarmUp);
    // One round allocates megabytes; less than a kilobyte a round may stay behind.
    EXPECT_LT(heapGrowth, 45 * 1024);
}

}  // namespace
