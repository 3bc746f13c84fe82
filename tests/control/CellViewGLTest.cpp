// Cells drawn in batches: the same picture as drawing each cube on its own, coloured by value, ramp and
// rules, hidden cells left out altogether, and a constant number of draw calls whatever the cell count.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "control/VCCellView.h"
#include "control/VCModelList.h"
#include "control/VCSimulation.h"
#include "scene/SDCellBatch.h"
#include "scene/SDColourRamp.h"
#include "scene/SDDetailNodeCUBE.h"
#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDDevsModelList.h"
#include "tests/support/GLTestContext.h"
#include "tests/support/LogRecorder.h"
#include "view3d/Frustum.h"

namespace {

using Pixel = GLTestContext::Pixel;
const Pixel kCubeColour{0, 204, 102, 255};
const Pixel kBlack{0, 0, 0, 255};

// The program's GL state for the 3D pass, and its camera: 90° vertical field of view, aspect 1.3333333,
// planes at 0.1 and 1000, turned by `yaw` degrees and placed at `eye`.
void programCamera(float yaw, const Vector3& eye, Frustum* frustum = nullptr) {
    GLTestContext::reset();
    const double f = 1.0 / std::tan(3.141592653589793 / 4.0);
    const double n = 0.1;
    const double r = 1000.0;
    double projection[16] = {0};
    projection[0] = f / static_cast<double>(1.3333333f);
    projection[5] = f;
    projection[10] = (n + r) / (n - r);
    projection[11] = -1.0;
    projection[14] = 2.0 * n * r / (n - r);
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixd(projection);
    glMatrixMode(GL_MODELVIEW);
    glRotated(-yaw, 0, 1, 0);
    glTranslated(-eye.x, -eye.y, -eye.z);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    if (frustum != nullptr) {
        double view[16];
        glGetDoublev(GL_MODELVIEW_MATRIX, view);
        frustum->update(projection, view);
    }
}

// Looking from the origin down -z, 90° vertical field of view: at the depth of life's cells (z = -15)
// one unit spans 20 pixels, so cell (x, y) of a 20 × 20 life lies at pixel (200 + 20x, 100 + 20y).
void lookAtLife() {
    GLTestContext::reset();
    glMatrixMode(GL_PROJECTION);
    glFrustum(-4.0 / 3.0, 4.0 / 3.0, -1.0, 1.0, 1.0, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
}

Pixel lifeCell(int x, int y) {
    return GLTestContext::pixel(200 + 20 * x, 100 + 20 * y);
}

float depthAt(int x, int y) {
    float depth = 0.0f;
    glReadPixels(x, y, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    return depth;
}

Pixel rgb(const SDColourRamp::Colour& colour) {
    const SDCellBatch::Rgba8 c = SDCellBatch::toRgba8(colour);
    return Pixel{c.r, c.g, c.b, 255};
}

void expectPixel(const Pixel& expected, const Pixel& actual, const char* what) {
    EXPECT_NEAR(expected.r, actual.r, 2) << what;
    EXPECT_NEAR(expected.g, actual.g, 2) << what;
    EXPECT_NEAR(expected.b, actual.b, 2) << what;
}

class CellViewGLTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(GLTestContext::ensure());
        ASSERT_TRUE(simulation.newVisualization("v"));
    }
    // Registers a Cell-DEVS record of those counts, as an import leaves it.
    SDCELLDevsModel* addModel(const std::string& name, unsigned width, unsigned height, unsigned length) {
        auto record = std::make_unique<SDCELLDevsModel>();
        record->setName(name);
        record->ensureCell(width - 1, height - 1, length - 1);
        SDCELLDevsModel* model = record.get();
        if (simulation.getModelList()->addModel(model)) {
            record.release();  // the registry owns it now
        }
        // These pictures are of every cell as its colour says: a block's background is drawn too.
        simulation.getCellView()->updateLayout();
        simulation.getCellView()->setBackgroundShown(name, true);
        return model;
    }

    LogRecorder rec;
    VCSimulation simulation;
};

// The box around a block with hidden cells: grey 0.55 in 8 bits.
constexpr uint8_t kOutlineGrey = 140;

int differingPixels(const std::vector<Pixel>& a, const std::vector<Pixel>& b) {
    int differ = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
        differ += a[i].r != b[i].r || a[i].g != b[i].g || a[i].b != b[i].b;
    }
    return differ;
}

TEST_F(CellViewGLTest, HidingCellsOfAnOverlappingBlockLeavesThePictureOfTheCubesStillDrawn) {
    // Every third cell has a value and keeps the cube's colour through a rule; the others have none, and
    // cells without a value are hidden.
    SDCELLDevsModel* life = addModel("life", 60, 60, 1);
    SDCellValues& values = life->getValues();
    values.widenRange(1.0);
    SDCELLDevsModel reference;
    reference.ensureCell(59, 59, 0);
    for (unsigned cell = 0; cell < 3600; ++cell) {
        if (cell % 3 == 0) {
            values.set(cell, 1.0, 0);
        } else {
            reference.getCell(cell / 60, cell % 60, 0)->getCube()->m_show = false;
        }
    }
    life->getLook().addRule(life->getRules(), 1.0, 1.0, {0.0f, 0.8f, 0.4f, 1.0f});
    life->getLook().setNoValueColour({0.0f, 0.0f, 0.0f, 0.0f});

    programCamera(10.0f, Vector3(2, 3, 4));
    reference.arrange(Vector3(0, 0, -5), 20, 20, 20);
    reference.drawCells();
    const std::vector<Pixel> expected = GLTestContext::region(0, 0, 800, 600);
    programCamera(10.0f, Vector3(2, 3, 4));
    simulation.render(nullptr);
    EXPECT_EQ(0, differingPixels(expected, GLTestContext::region(0, 0, 800, 600)));

    // Shown again, every cell: the whole block as before.
    life->getLook().setNoValueColour({0.0f, 0.8f, 0.4f, 1.0f});
    for (unsigned cell = 0; cell < 3600; ++cell) {
        reference.getCell(cell / 60, cell % 60, 0)->getCube()->m_show = true;
    }
    programCamera(10.0f, Vector3(2, 3, 4));
    reference.drawCells();
    const std::vector<Pixel> whole = GLTestContext::region(0, 0, 800, 600);
    programCamera(10.0f, Vector3(2, 3, 4));
    simulation.render(nullptr);
    EXPECT_EQ(0, differingPixels(whole, GLTestContext::region(0, 0, 800, 600)));
    EXPECT_GT(differingPixels(expected, whole), 1000);
}

TEST_F(CellViewGLTest, BatchedCellsGiveThePictureOfCubesDrawnOneByOne) {
    struct Case {
        unsigned width, height, length;
        float yaw;
        Vector3 eye;
    } cases[] = {
        {20, 20, 1, 0.0f, Vector3(0, 1, 1)},    // the sample run at the start camera
        {100, 100, 1, 0.0f, Vector3(0, 1, 1)},  // overlapping cubes
        {100, 100, 1, 25.0f, Vector3(6, 5, -1)},
        {100, 100, 1, 160.0f, Vector3(3, -2, -40)},  // from behind
        {40, 40, 1, -10.0f, Vector3(-3, 12, 2)},     // cubes that just touch
        {10, 10, 10, 30.0f, Vector3(3, 7, 12)},
        {10, 10, 10, 0.0f, Vector3(0.5f, 0, 0)},  // the eye level with cells and between them
        {33, 17, 9, -20.0f, Vector3(-5, 2, 9)},
        {50, 45, 60, 35.0f, Vector3(14, 15, 16)},  // overlapping in every direction
        {50, 45, 60, 0.0f, Vector3(0, 0, 0)},      // from inside the block
        {7, 60, 3, -70.0f, Vector3(-25, -3, -6)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + "x" +
                     std::to_string(c.length) + " yaw " + std::to_string(c.yaw));
        // One by one, as each cube draws itself.
        SDCELLDevsModel reference;
        reference.setName("life");
        reference.ensureCell(c.width - 1, c.height - 1, c.length - 1);
        programCamera(c.yaw, c.eye);
        reference.arrange(Vector3(0, 0, -5), 20, 20, 20);
        reference.drawCells();
        const std::vector<Pixel> expected = GLTestContext::region(0, 0, 800, 600);

        // Sent whole, and in parts of 600 indices with the driver finishing each (as a million cells are).
        for (size_t part : {SDCellBatch::kIndicesPerPart, size_t{600}}) {
            SCOPED_TRACE("parts of " + std::to_string(part));
            SDCellBatch::setIndicesPerPart(part);
            simulation.closeVisualization();
            ASSERT_TRUE(simulation.newVisualization("v"));
            addModel("life", c.width, c.height, c.length);
            Frustum frustum;
            programCamera(c.yaw, c.eye, &frustum);
            simulation.render(&frustum);
            const std::vector<Pixel> actual = GLTestContext::region(0, 0, 800, 600);

            EXPECT_EQ(0, differingPixels(expected, actual));
            EXPECT_GT(800 * 600 - GLTestContext::countNear(0, 0, 800, 600, kBlack, 0), 5000)
                << "the cells are in view";
        }
        SDCellBatch::setIndicesPerPart(SDCellBatch::kIndicesPerPart);
    }
}

TEST_F(CellViewGLTest, SolidCellsGiveThePictureOfEveryFaceOfEveryCubeOfEdgeOne) {
    // A block of cubes of edge 1 that fill their cells. First drawn whole, then some cells hidden by an
    // update of only those cells (as a time step or a rule leaves them), then shown again: each picture is
    // the one every shown cube drawn whole, one by one, leaves. One colour for all: where two cubes' faces
    // meet on an edge at the same depth, the one drawn last wins the pixel, and cubes one by one come in
    // another order than faces by direction.
    struct Case {
        const char* what;
        unsigned width, height, length;
        bool rowsDown;
        float yaw;
        Vector3 eye;
        bool (*hidden)(unsigned x, unsigned y, unsigned z);
    } cases[] = {
        {"nothing hidden", 45, 12, 6, false, 20.0f, Vector3(8, 14, 6),
         [](unsigned, unsigned, unsigned) { return false; }},
        {"a cavity inside, a tunnel to it from the front", 45, 12, 6, false, -15.0f, Vector3(-4, 9, 2),
         [](unsigned x, unsigned y, unsigned z) {
             const bool cavity = x >= 20 && x < 24 && y >= 4 && y < 8 && z >= 1 && z < 4;
             return cavity || (x == 22 && y == 6 && z >= 4);
         }},
        {"edges and corners", 45, 12, 6, false, 30.0f, Vector3(30, -10, 4),
         [](unsigned x, unsigned y, unsigned z) {
             const int ends = (x == 0 || x == 44) + (y == 0 || y == 11) + (z == 0 || z == 5);
             return ends >= 2 && (x + y + z) % 3 != 0;
         }},
        {"holes a rule makes, rows running down", 50, 20, 4, true, -25.0f, Vector3(-12, 15, 10),
         [](unsigned x, unsigned y, unsigned z) { return (x * 7 + y * 3 + z * 5) % 11 < 3; }},
        {"half the block hidden", 42, 42, 3, true, 10.0f, Vector3(25, 8, 12),
         [](unsigned x, unsigned y, unsigned z) { return x + y + z > 40; }},
        {"the eye inside an opaque cell", 45, 12, 6, false, 30.0f, Vector3(10.2f, 0.3f, -37.2f),
         [](unsigned x, unsigned y, unsigned z) { return x >= 9 && x < 12 && y >= 4 && y < 7 && z >= 2; }},
        {"the eye inside a hidden cavity", 45, 12, 6, false, 20.0f, Vector3(-9.9f, -1.2f, -36.7f),
         [](unsigned x, unsigned y, unsigned z) { return x >= 9 && x < 12 && y >= 4 && y < 7 && z >= 2; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Vector3 first(-20.0f, -6.0f, -40.0f);
        const SDCellPlacement placement =
            (c.rowsDown ? SDCellPlacement::rowsDown(first, c.width, c.height, c.length)
                        : SDCellPlacement::unitSpaced(first, c.width, c.height, c.length))
                .withCubeEdge(1.0f);
        auto colourOf = [](size_t) { return std::array<float, 4>{0.0f, 0.8f, 0.4f, 1.0f}; };
        auto isHidden = [&](size_t cell, bool hiding) {
            const unsigned z = static_cast<unsigned>(cell % c.length);
            const unsigned y = static_cast<unsigned>(cell / c.length % c.height);
            const unsigned x = static_cast<unsigned>(cell / c.length / c.height);
            return hiding && c.hidden(x, y, z);
        };
        auto reference = [&](bool hiding) {
            programCamera(c.yaw, c.eye);
            for (size_t cell = 0; cell < placement.cellCount(); ++cell) {
                if (!isHidden(cell, hiding)) {
                    SDDetailNodeCUBE cube;
                    cube.setPosition(placement.cellCentre(cell));
                    cube.setSize(1.0f);
                    const std::array<float, 4> colour = colourOf(cell);
                    cube.setColor(colour[0], colour[1], colour[2], colour[3]);
                    cube.draw();
                }
            }
            return GLTestContext::region(0, 0, 800, 600);
        };

        SDCellBatch batch;
        ASSERT_TRUE(batch.build(placement));
        ASSERT_TRUE(batch.beginUpdate(true));
        for (size_t cell = 0; cell < placement.cellCount(); ++cell) {
            batch.setCell(cell, SDCellBatch::toRgba8(colourOf(cell)));
        }
        batch.endUpdate();
        for (bool hiding : {false, true, false}) {
            SCOPED_TRACE(hiding ? "hidden" : "shown");
            if (hiding || batch.getShownCount() < batch.getCellCount()) {
                ASSERT_TRUE(batch.beginUpdate(false));
                for (size_t cell = 0; cell < placement.cellCount(); ++cell) {
                    if (isHidden(cell, true)) {
                        const std::array<float, 4> colour = colourOf(cell);
                        batch.setCell(cell, SDCellBatch::toRgba8(
                                                {colour[0], colour[1], colour[2], hiding ? 0.0f : 1.0f}));
                    }
                }
                batch.endUpdate();
            }
            const std::vector<Pixel> expected = reference(hiding);
            programCamera(c.yaw, c.eye);
            batch.draw();
            EXPECT_EQ(0, differingPixels(expected, GLTestContext::region(0, 0, 800, 600)));
            EXPECT_GT(800 * 600 - GLTestContext::countNear(0, 0, 800, 600, kBlack, 0), 5000)
                << "the cells are in view";
        }
    }
}

TEST_F(CellViewGLTest, RecolouringSomeCellsOfASolidBlockGivesThePictureOfTheBlockColouredAfresh) {
    // A solid block drawn green, then some cells recoloured by an update of those cells alone: a few
    // (their faces' colours rewritten where they stand), a whole layer (every colour sent again), and
    // cells turned translucent (the faces made again). Each picture is the one a batch coloured so from
    // the start draws, and the new colour shows.
    const SDCellPlacement placement =
        SDCellPlacement::unitSpaced(Vector3(-20.0f, -6.0f, -40.0f), 45, 12, 6).withCubeEdge(1.0f);
    const SDCellBatch::Rgba8 green{0, 204, 102, 255};
    const SDCellBatch::Rgba8 red{230, 20, 20, 255};
    const SDCellBatch::Rgba8 glass{230, 20, 20, 128};
    struct Case {
        const char* what;
        SDCellBatch::Rgba8 colour;
        bool (*recoloured)(size_t cell);
    } cases[] = {
        {"a few cells", red, [](size_t cell) { return cell % 97 == 5; }},
        {"the front layer", red, [](size_t cell) { return cell % 6 == 5; }},
        {"cells turned translucent", glass, [](size_t cell) { return cell % 6 == 5 && cell % 5 == 0; }},
    };
    auto paint = [&](SDCellBatch& batch, bool everyCell, const Case* c) {
        ASSERT_TRUE(batch.beginUpdate(everyCell));
        for (size_t cell = 0; cell < placement.cellCount(); ++cell) {
            const bool changed = c != nullptr && c->recoloured(cell);
            if (everyCell || changed) {
                batch.setCell(cell, changed ? c->colour : green);
            }
        }
        batch.endUpdate();
    };
    auto picture = [&](SDCellBatch& batch) {
        programCamera(15.0f, Vector3(6, 10, 4));
        batch.draw();
        return GLTestContext::region(0, 0, 800, 600);
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SDCellBatch updated;
        ASSERT_TRUE(updated.build(placement));
        paint(updated, true, nullptr);
        const std::vector<Pixel> before = picture(updated);
        paint(updated, false, &c);
        const std::vector<Pixel> after = picture(updated);

        SDCellBatch fresh;
        ASSERT_TRUE(fresh.build(placement));
        paint(fresh, true, &c);
        EXPECT_EQ(0, differingPixels(picture(fresh), after));
        EXPECT_GT(differingPixels(before, after), 100) << "the new colour shows";
    }
}

TEST_F(CellViewGLTest, ASliceIsThePictureOfItsLayersCubesAndOnlyTheyAreSent) {
    // Ten cells along each edge of life's box of 20 stand two units apart. A cube has 6 faces of two
    // triangles: at most 36 indices a cell shown, 3,600 for a layer of 100 (all 1,000 cells: 36,000).
    struct Case {
        int axis;
        unsigned layer;
        unsigned long long mostIndices;  // 0: not checked
    } cases[] = {
        {0, 3, 3600},  // a hundred cells in a row as they are stored
        {1, 0, 3600},  // rows of ten, ninety hidden cells between them
        {1, 9, 3600},  // the last row of every layer: the block ends hidden
        {2, 5, 0},     // single cells nine apart: the hidden ones are sent collapsed
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("axis " + std::to_string(c.axis) + " layer " + std::to_string(c.layer));
        SDCELLDevsModel reference;
        reference.ensureCell(9, 9, 9);
        for (unsigned x = 0; x < 10; ++x) {
            for (unsigned y = 0; y < 10; ++y) {
                for (unsigned z = 0; z < 10; ++z) {
                    const unsigned at[3] = {x, y, z};
                    reference.getCell(x, y, z)->getCube()->m_show = at[c.axis] == c.layer;
                }
            }
        }
        programCamera(30.0f, Vector3(3, 7, 12));
        reference.arrange(Vector3(0, 0, -5), 20, 20, 20);
        reference.drawCells();
        const std::vector<Pixel> expected = GLTestContext::region(0, 0, 800, 600);

        simulation.closeVisualization();
        ASSERT_TRUE(simulation.newVisualization("v"));
        addModel("life", 10, 10, 10);
        simulation.getCellView()->updateLayout();
        ASSERT_TRUE(simulation.getCellView()->setSlice("life", c.axis, c.layer));
        programCamera(30.0f, Vector3(3, 7, 12));
        SDCellBatch::resetDrawCallCount();
        simulation.render(nullptr);
        // The layer's cubes, and the grey box around the block its hidden cells call for.
        const std::vector<Pixel> actual = GLTestContext::region(0, 0, 800, 600);
        int outline = 0;
        int other = 0;
        for (size_t i = 0; i < expected.size(); ++i) {
            const Pixel& a = actual[i];
            if (a.r != expected[i].r || a.g != expected[i].g || a.b != expected[i].b) {
                (a.r == kOutlineGrey && a.g == kOutlineGrey && a.b == kOutlineGrey ? outline : other) += 1;
            }
        }
        EXPECT_EQ(0, other);
        EXPECT_GT(outline, 500) << "twelve edges around the block";
        EXPECT_GT(800 * 600 - GLTestContext::countNear(0, 0, 800, 600, kBlack, 0), 2000) << "the layer shows";
        if (c.mostIndices != 0) {
            EXPECT_GT(SDCellBatch::indexCount(), 0u);
            EXPECT_LE(SDCellBatch::indexCount(), c.mostIndices);
        }
    }
}

TEST_F(CellViewGLTest, CornersOnQuarterUnitsTakeHalfTheMemory) {
    // A block's cells stand one unit apart: each of a cell's eight corners takes three 16-bit quarters
    // and a colour of four bytes, 80 bytes a cell (three floats would make it 128). The index patterns
    // serve runs of 8,192 cells, so they are the same for 16,384 cells and for 32,768: the difference
    // between the two blocks is 16,384 cells' corners.
    auto bytesOf = [&](unsigned width, unsigned length, VCCellView::CellLook look) {
        simulation.closeVisualization();
        EXPECT_TRUE(simulation.newVisualization("v"));
        addModel("heat", width, 64, length);
        simulation.getCellView()->setCellLook("heat", look);
        programCamera(30.0f, Vector3(3, 7, 12));
        simulation.render(nullptr);
        return simulation.getCellView()->getBufferBytes();
    };
    const size_t small = bytesOf(64, 4, VCCellView::CellLook::Apart);
    EXPECT_EQ(size_t{16384} * 80, bytesOf(128, 4, VCCellView::CellLook::Apart) - small);
    // Solid, only the block's surface is kept, four corners of 6 + 4 bytes a face: 64 x 64 x 4 has
    // 2 (64 x 64 + 64 x 4 + 64 x 4) = 9,216 faces, 64 x 64 x 8 has 2 (64 x 64 + 64 x 8 + 64 x 8) = 10,240.
    const size_t solid = bytesOf(64, 4, VCCellView::CellLook::Solid);
    EXPECT_EQ(size_t{10240 - 9216} * 40, bytesOf(64, 8, VCCellView::CellLook::Solid) - solid);
    EXPECT_LT(solid, small / 2);
}

TEST_F(CellViewGLTest, CellsTakeTheRampOverTheirRangeAndCellsWithoutValueStayGreen) {
    SDCELLDevsModel* life = addModel("life", 20, 20, 1);
    SDCellValues& values = life->getValues();
    values.widenRange(-1.0);
    values.widenRange(3.0);
    values.set(0 * 20 + 0, -1.0, 0);  // cell (0, 0): the minimum
    values.set(19 * 20 + 0, 3.0, 0);  // cell (19, 0): the maximum
    values.set(10 * 20 + 5, 1.0, 0);  // cell (10, 5): halfway
    values.set(4 * 20 + 4, std::numeric_limits<double>::quiet_NaN(), 0);
    values.set(5 * 20 + 4, std::numeric_limits<double>::infinity(), 0);
    lookAtLife();
    simulation.render(nullptr);

    // -1 .. 3 runs across 0: coolwarm, 0 in its middle and 3 at its top, so -1 a third of the way up.
    const SDColourRamp::Map coolwarm = SDColourRamp::Map::Coolwarm;
    expectPixel(rgb(SDColourRamp::at(1.0 / 3.0, coolwarm)), lifeCell(0, 0), "minimum");
    expectPixel(rgb(SDColourRamp::at(1.0, coolwarm)), lifeCell(19, 0), "maximum");
    expectPixel(rgb(SDColourRamp::at(2.0 / 3.0, coolwarm)), lifeCell(10, 5), "1");
    expectPixel(kCubeColour, lifeCell(4, 4), "NaN draws as no value");
    expectPixel(kCubeColour, lifeCell(5, 4), "infinity draws as no value");
    expectPixel(kCubeColour, lifeCell(7, 7), "no value");

    // The next frame recolours what changed since, and nothing else.
    const std::vector<Pixel> before = GLTestContext::region(0, 0, 800, 600);
    values.set(7 * 20 + 7, 3.0, 1);
    values.clear(10 * 20 + 5);
    lookAtLife();
    simulation.render(nullptr);
    expectPixel(rgb(SDColourRamp::at(1.0, coolwarm)), lifeCell(7, 7), "set");
    expectPixel(kCubeColour, lifeCell(10, 5), "cleared");
    const std::vector<Pixel> after = GLTestContext::region(0, 0, 800, 600);
    int changed = 0;
    for (size_t i = 0; i < before.size(); ++i) {
        changed += before[i].r != after[i].r || before[i].g != after[i].g;
    }
    EXPECT_GT(changed, 2 * 80);
    EXPECT_LT(changed, 2 * 200) << "two cells changed";
}

TEST_F(CellViewGLTest, RulesRecolourAndAlphaZeroLeavesCellsOutDepthIncluded) {
    SDCELLDevsModel* life = addModel("life", 20, 20, 1);
    SDCellValues& values = life->getValues();
    for (size_t cell = 0; cell < 400; ++cell) {
        values.widenRange(static_cast<double>(cell % 10));
        values.set(cell, static_cast<double>(cell % 10), 0);  // cell (x, y) holds y % 10
    }
    SDCellLook& look = life->getLook();
    look.addRule(life->getRules(), 2.0, 4.0, {1.0f, 0.0f, 0.0f, 1.0f});
    look.addRule(life->getRules(), 3.0, 9.0, {0.0f, 0.0f, 1.0f, 0.0f});  // 3 and 4 stay red: first wins
    lookAtLife();
    simulation.render(nullptr);

    expectPixel(rgb(SDColourRamp::at(0.0)), lifeCell(6, 0), "no rule: the ramp");
    expectPixel(rgb(SDColourRamp::at(1.0 / 9.0)), lifeCell(6, 1), "no rule: the ramp");
    for (int y : {2, 3, 4, 12, 14}) {
        expectPixel(Pixel{255, 0, 0, 255}, lifeCell(6, y), "red rule");
    }
    for (int y : {5, 9, 15, 19}) {
        expectPixel(kBlack, lifeCell(6, y), "hidden");
        EXPECT_EQ(1.0f, depthAt(200 + 20 * 6, 100 + 20 * y)) << "a hidden cell writes no depth";
    }
    EXPECT_LT(depthAt(200 + 20 * 6, 100 + 20 * 2), 1.0f);
    EXPECT_EQ(0, GLTestContext::countNear(0, 0, 800, 600, Pixel{0, 0, 255, 255}, 40));

    // Clearing the rules brings the ramp back everywhere.
    look.clearRules(life->getRules());
    lookAtLife();
    simulation.render(nullptr);
    expectPixel(rgb(SDColourRamp::at(5.0 / 9.0)), lifeCell(6, 5), "ramp again");
    expectPixel(rgb(SDColourRamp::at(2.0 / 9.0)), lifeCell(6, 2), "ramp again");
}

TEST_F(CellViewGLTest, TheNoValueLookCanBeChangedOrHidden) {
    SDCELLDevsModel* life = addModel("life", 20, 20, 1);
    life->getValues().widenRange(1.0);
    life->getValues().set(3 * 20 + 3, 1.0, 0);
    life->getLook().setNoValueColour({0.0f, 0.0f, 1.0f, 1.0f});
    lookAtLife();
    simulation.render(nullptr);
    expectPixel(Pixel{0, 0, 255, 255}, lifeCell(8, 8), "blue without value");

    life->getLook().setNoValueColour({0.0f, 0.0f, 1.0f, 0.0f});
    lookAtLife();
    simulation.render(nullptr);
    expectPixel(rgb(SDColourRamp::at(0.5)), lifeCell(3, 3), "the one value: one colour");
    EXPECT_EQ(1.0f, depthAt(200 + 20 * 8, 100 + 20 * 8));
    const int drawn = 800 * 600 - GLTestContext::countNear(0, 0, 800, 600, kBlack, 0);
    EXPECT_GT(drawn, 80);
    EXPECT_LT(drawn, 200) << "only the cell with a value";
    EXPECT_EQ(0, GLTestContext::countNear(0, 0, 800, 600, Pixel{0, 0, 255, 255}, 40));
}

TEST_F(CellViewGLTest, DrawCallsDependOnTheViewNotOnTheNumberOfCells) {
    // Seen from far above, left and in front, every cell of a block shows the same three faces.
    auto callsFrom = [&](const Vector3& eye) {
        programCamera(0.0f, eye);
        SDCellBatch::resetDrawCallCount();
        simulation.render(nullptr);
        return SDCellBatch::drawCallCount();
    };
    // Blocks of several layers are shaded by face: one call for each of the three faces that show.
    addModel("small", 4, 4, 4);
    EXPECT_EQ(3u, callsFrom(Vector3(0, 200, 100)));
    simulation.closeVisualization();
    ASSERT_TRUE(simulation.newVisualization("v"));
    addModel("large", 100, 100, 10);
    EXPECT_EQ(3u, callsFrom(Vector3(0, 200, 100)));
    // With the eye among the cells, each kind of outline or set of faces takes one call: a bounded number.
    const unsigned long inside = callsFrom(Vector3(50, 30, -18));
    EXPECT_GT(inside, 1u);
    EXPECT_LE(inside, 72u);

    // Seen from behind the row of blocks, looking away: nothing to draw.
    Frustum frustum;
    programCamera(180.0f, Vector3(0, 1, 30), &frustum);
    SDCellBatch::resetDrawCallCount();
    simulation.render(&frustum);
    EXPECT_EQ(0u, SDCellBatch::drawCallCount());
}

// Looks at `target` from `eye` (y up), through the 90° frustum of lookAtLife.
void lookFrom(const Vector3& eye, const Vector3& target) {
    lookAtLife();
    const Vector3 f = (target - eye) * (1.0f / std::sqrt((target - eye).dot(target - eye)));
    Vector3 s(-f.z, 0.0f, f.x);  // f x up
    s = s * (1.0f / std::sqrt(s.dot(s)));
    const Vector3 u(s.y * f.z - s.z * f.y, s.z * f.x - s.x * f.z, s.x * f.y - s.y * f.x);
    const GLfloat m[16] = {s.x, u.x, -f.x, 0, s.y, u.y, -f.y, 0, s.z, u.z, -f.z, 0, 0, 0, 0, 1};
    glMultMatrixf(m);
    glTranslatef(-eye.x, -eye.y, -eye.z);
}

// The distinct colours of the picture other than the black background, with how many pixels show each.
std::map<std::array<int, 3>, int> colourCounts() {
    std::map<std::array<int, 3>, int> counts;
    for (const Pixel& p : GLTestContext::region(0, 0, 800, 600)) {
        if (p.r != 0 || p.g != 0 || p.b != 0) {
            ++counts[{p.r, p.g, p.b}];
        }
    }
    return counts;
}

TEST_F(CellViewGLTest, BlocksOfSeveralLayersShowTheirFacesInShadesOfOneHueAndOutlinesOnRequest) {
    // Every cell of one colour, seen from above, right and in front: three faces of each cube show.
    struct Case {
        const char* name;
        unsigned length;
        bool outlined;
        size_t shades;  // distinct levels of the colour in the picture
    } cases[] = {
        {"block", 3, false, 3},  // top, front and side
        {"block", 3, true, 3},   // the same, with dark edges
        {"plane", 1, false, 1},  // one layer keeps the legend's colour on every face
        {"life", 3, false, 1},   // life keeps its flat look
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + (c.outlined ? " outlined" : ""));
        simulation.closeVisualization();
        ASSERT_TRUE(simulation.newVisualization("v"));
        simulation.setCellOutlines(c.outlined);
        SDCELLDevsModel* model = addModel(c.name, 3, 3, c.length);
        model->getLook().setNoValueColour({200 / 255.0f, 100 / 255.0f, 40 / 255.0f, 1.0f});
        simulation.getCellView()->updateLayout();
        const Vector3 centre = simulation.getCellView()->findPlacement(c.name)->bounds().getCentre();
        const float away = c.name == std::string("life") ? 30.0f : 4.0f;
        lookFrom(centre + Vector3(away, 1.4f * away, 1.8f * away), centre);
        simulation.render(nullptr);

        // Every colour drawn is the cell's colour scaled by one factor (its hue kept), or an edge.
        std::set<int> levels;  // the factor, in percent
        int edges = 0;
        int brightest = 0;
        for (const auto& [rgb, count] : colourCounts()) {
            if (rgb[0] < 40 && rgb[1] < 40 && rgb[2] < 40) {
                edges += count;
                continue;
            }
            const double k = rgb[0] / 200.0;
            EXPECT_NEAR(k * 100, rgb[1], 2.5) << rgb[0] << "," << rgb[1] << "," << rgb[2];
            EXPECT_NEAR(k * 40, rgb[2], 2.5) << rgb[0] << "," << rgb[1] << "," << rgb[2];
            if (count > 30) {
                levels.insert(static_cast<int>(std::lround(k * 20)) * 5);
                brightest = std::max(brightest, rgb[0]);
            }
        }
        EXPECT_EQ(c.shades, levels.size());
        EXPECT_NEAR(200, brightest, 2) << "the top, or every face, shows the colour itself";
        if (c.outlined) {
            EXPECT_GT(edges, 200) << "dark edges around the cubes";
        } else {
            EXPECT_EQ(0, edges);
        }
        // The top is the world's top whatever frame the block is drawn in: seen from straight above and
        // below, the middle of the picture is the top face at full colour and the bottom at half.
        for (const float side : {1.0f, -1.0f}) {
            if (c.shades == 1) {
                break;
            }
            lookFrom(centre + Vector3(0.0f, 6.0f * side, 1.0f), centre);
            simulation.render(nullptr);
            EXPECT_NEAR(side > 0 ? 200 : 100, GLTestContext::pixel(400, 300).r, 3) << "seen from " << side;
        }
        simulation.setCellOutlines(false);
    }
}

TEST_F(CellViewGLTest, ACellSpaceOfMoreThanFourMillionCellsIsDrawnAndItsSliceShows) {
    // Four million cells were once the most the view drew of one model; now the registry's limit is.
    addModel("life", 20, 20, 1);
    addModel("huge", 2049, 2048, 1);
    simulation.getCellView()->updateLayout();
    ASSERT_TRUE(simulation.getCellView()->setSlice("huge", 0, 1024));
    const SDCellPlacement* placement = simulation.getCellView()->findPlacement("huge");
    ASSERT_NE(nullptr, placement);
    auto centreSeen = [&](unsigned x, unsigned y) {
        // The eye 10 units in front of the cell.
        const Vector3 cell = placement->cellCentre(x, y, 0);
        lookAtLife();
        glTranslatef(-cell.x, -cell.y, -cell.z - 10.0f);
        simulation.render(nullptr);
        return GLTestContext::pixel(400, 300);
    };
    expectPixel(kCubeColour, centreSeen(1024, 1024), "a cell of the slice");
    expectPixel(kCubeColour, centreSeen(1024, 0), "the slice's first cell");
    expectPixel(kBlack, centreSeen(1023, 1024), "a cell off the slice");
    expectPixel(kBlack, centreSeen(2048, 2047), "the last cell, off the slice");
    EXPECT_EQ(std::string::npos, rec.text().find("Unable to draw")) << rec.text();
    lookAtLife();
    simulation.render(nullptr);
    expectPixel(kCubeColour, lifeCell(3, 3), "life is drawn");
}

TEST_F(CellViewGLTest, AModelOtherThanLifeIsDrawnWhereItsPlacementSays) {
    SDCELLDevsModel* plane = addModel("plane", 3, 3, 1);
    plane->getValues().widenRange(0.0);
    plane->getValues().set(1 * 3 + 1, 0.0, 0);
    simulation.getCellView()->updateLayout();
    const SDCellPlacement* placement = simulation.getCellView()->findPlacement("plane");
    ASSERT_NE(nullptr, placement);
    // The eye 10 units in front of the middle cell: one unit spans 30 pixels there.
    const Vector3 middle = placement->cellCentre(1, 1, 0);
    lookAtLife();
    glTranslatef(-middle.x, -middle.y, -middle.z - 10.0f);
    simulation.render(nullptr);
    expectPixel(rgb(SDColourRamp::at(0.5)), GLTestContext::pixel(400, 300), "the middle cell");
    expectPixel(kCubeColour, GLTestContext::pixel(430, 330), "a corner cell");
    expectPixel(kCubeColour, GLTestContext::pixel(370, 270), "a corner cell");
    expectPixel(kBlack, GLTestContext::pixel(415, 300), "between cells");
    expectPixel(kBlack, GLTestContext::pixel(470, 300), "beyond the block");
}

}  // namespace
