#include "simdata/SDCELLDevsModel.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "scene/SDDetailNodeCUBE.h"
#include "tests/support/LogRecorder.h"

namespace {

using Lines = std::vector<std::string>;

struct Counts {
    unsigned w, h, l;
    bool operator==(const Counts& o) const { return w == o.w && h == o.h && l == o.l; }
};
Counts counts(const SDCELLDevsModel& m) {
    return {m.getWidth(), m.getHeight(), m.getLength()};
}
std::ostream& operator<<(std::ostream& os, const Counts& c) {
    return os << c.w << "x" << c.h << "x" << c.l;
}

Vector3 centreOf(SDCELLDevsModel& m, unsigned x, unsigned y, unsigned z) {
    return m.getCell(x, y, z)->getCube()->getBoundingBox().getCentre();
}

void expectAt(const Vector3& expected, const Vector3& actual) {
    EXPECT_FLOAT_EQ(expected.x, actual.x);
    EXPECT_FLOAT_EQ(expected.y, actual.y);
    EXPECT_FLOAT_EQ(expected.z, actual.z);
}

TEST(SDCELLDevsModelTest, NewRecordHasOneCellAndPrintsItsWidthOnly) {
    LogRecorder rec;
    SDCELLDevsModel m;
    m.setName("life");
    EXPECT_EQ((Counts{1, 1, 1}), counts(m));
    EXPECT_NE(nullptr, m.getCell(0, 0, 0));
    EXPECT_EQ(nullptr, m.getCell(1, 0, 0));
    m.print();
    EXPECT_EQ(
        (Lines{"Model Data:", "Name: life", "Input ports: ", "Output ports: ", "CELL Space:", "Width: 1"}),
        rec.lines());

    rec.clear();
    m.ensureCell(19, 19, 0);
    m.print();
    EXPECT_EQ((Lines{"Width: 20", "Height: 20"}), Lines(rec.lines().begin() + 5, rec.lines().end()));
    rec.clear();
    m.ensureCell(0, 0, 2);
    m.print();
    EXPECT_EQ((Lines{"Width: 20", "Height: 20", "Length: 3"}),
              Lines(rec.lines().begin() + 5, rec.lines().end()));
}

// A record printed again and again (once per imported line) must show each change made between prints.
TEST(SDCELLDevsModelTest, PrintShowsEveryChangeMadeSinceThePreviousPrint) {
    LogRecorder rec;
    SDCELLDevsModel m;
    m.setName("heat");
    m.appendInputPort("in");
    SDCELLDevsModel other;
    other.setName("heat");
    other.appendInputPort("in");
    other.appendOutputPort("out");
    struct Step {
        const char* change;
        std::function<void()> apply;
        Lines expected;
    };
    const Step steps[] = {
        {"first print",
         [] {},
         {"Model Data:", "Name: heat", "Input ports: in | ", "Output ports: ", "CELL Space:", "Width: 1"}},
        {"nothing changed",
         [] {},
         {"Model Data:", "Name: heat", "Input ports: in | ", "Output ports: ", "CELL Space:", "Width: 1"}},
        {"an output port merged",
         [&] { m.mergePorts(&other); },
         {"Model Data:", "Name: heat", "Input ports: in | ", "Output ports: out | ",
          "CELL Space:", "Width: 1"}},
        {"grown along y",
         [&] { m.ensureCell(0, 4, 0); },
         {"Model Data:", "Name: heat", "Input ports: in | ", "Output ports: out | ",
          "CELL Space:", "Width: 1", "Height: 5"}},
        {"renamed",
         [&] { m.setName("h2"); },
         {"Model Data:", "Name: h2", "Input ports: in | ", "Output ports: out | ", "CELL Space:", "Width: 1",
          "Height: 5"}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.change);
        step.apply();
        rec.clear();
        m.print();
        EXPECT_EQ(step.expected, rec.lines());
    }
}

TEST(SDCELLDevsModelTest, EnsureCellAndGrowToOnlyGrow) {
    SDCELLDevsModel m;
    m.ensureCell(0, 0, 0);
    EXPECT_EQ((Counts{1, 1, 1}), counts(m));
    m.ensureCell(4, 0, 2);
    EXPECT_EQ((Counts{5, 1, 3}), counts(m));
    m.ensureCell(2, 3, 0);
    EXPECT_EQ((Counts{5, 4, 3}), counts(m));

    SDCELLDevsModel smaller;
    smaller.ensureCell(1, 7, 1);
    EXPECT_TRUE(m.growTo(&smaller));
    EXPECT_EQ((Counts{5, 8, 3}), counts(m));
    EXPECT_EQ((Counts{2, 8, 2}), counts(smaller));
    EXPECT_TRUE(smaller.growTo(&m));
    EXPECT_EQ((Counts{5, 8, 3}), counts(smaller));
    EXPECT_FALSE(m.growTo(nullptr));

    // Every index below the counts is a distinct cell; none beyond them exists.
    EXPECT_NE(m.getCell(4, 7, 2), m.getCell(4, 7, 1));
    EXPECT_NE(nullptr, m.getCell(4, 7, 2));
    EXPECT_EQ(nullptr, m.getCell(5, 0, 0));
    EXPECT_EQ(nullptr, m.getCell(0, 8, 0));
    EXPECT_EQ(nullptr, m.getCell(0, 0, 3));
    EXPECT_EQ(nullptr, m.getCell(UINT_MAX, UINT_MAX, UINT_MAX));
}

TEST(SDCELLDevsModelTest, GrowthKeepsEveryCellAndItsCubeInPlace) {
    SDCELLDevsModel m;
    m.ensureCell(1, 1, 1);
    std::vector<SDDetailNodeCUBE*> cubes;
    for (unsigned x = 0; x < 2; ++x) {
        for (unsigned y = 0; y < 2; ++y) {
            for (unsigned z = 0; z < 2; ++z) {
                SDDetailNodeCUBE* cube = m.getCell(x, y, z)->getCube();
                cube->setColor(x, y, z, 0.5f);
                cubes.push_back(cube);
            }
        }
    }
    m.ensureCell(0, 0, 4);  // z grows: every row is spread out
    m.ensureCell(0, 3, 0);  // then y
    m.ensureCell(6, 0, 0);  // then x: planes are appended
    SDCELLDevsModel other;
    other.ensureCell(0, 5, 5);
    m.growTo(&other);
    ASSERT_EQ((Counts{7, 6, 6}), counts(m));
    size_t i = 0;
    for (unsigned x = 0; x < 2; ++x) {
        for (unsigned y = 0; y < 2; ++y) {
            for (unsigned z = 0; z < 2; ++z, ++i) {
                SDCell* cell = m.getCell(x, y, z);
                ASSERT_TRUE(cell->hasCube());
                EXPECT_EQ(cubes[i], cell->getCube()) << x << y << z;
                EXPECT_EQ((std::array<float, 4>{float(x), float(y), float(z), 0.5f}),
                          cell->getCube()->getColor());
            }
        }
    }
    // The new cells have no cube until one is asked for, and then a default one.
    EXPECT_FALSE(m.getCell(6, 5, 5)->hasCube());
    EXPECT_FALSE(m.getCell(1, 1, 2)->hasCube());
    EXPECT_EQ(SDDetailNodeCUBE().getColor(), m.getCell(1, 1, 2)->getCube()->getColor());
}

TEST(SDCELLDevsModelTest, CopiedCellsGetTheirOwnDefaultCubeAndMovedCellsKeepTheirs) {
    SDCell cell;
    SDDetailNodeCUBE* cube = cell.getCube();
    cube->setColor(1, 0, 0, 1);
    SDCell copy(cell);
    EXPECT_NE(cube, copy.getCube());
    EXPECT_EQ(SDDetailNodeCUBE().getColor(), copy.getCube()->getColor());
    copy = cell;
    EXPECT_EQ(SDDetailNodeCUBE().getColor(), copy.getCube()->getColor());
    SDCell moved(std::move(cell));
    EXPECT_EQ(cube, moved.getCube());
    SDCell target;
    target = std::move(moved);
    EXPECT_EQ(cube, target.getCube());
}

TEST(SDCELLDevsModelTest, RefusesNegativeAndOversizedCoordinatesWithOneLine) {
    LogRecorder rec;
    SDCELLDevsModel m;
    m.setName("life");
    m.ensureCell(2, 3, 0);
    EXPECT_FALSE(m.acceptCell(-1, 2, 0));
    EXPECT_EQ((Lines{"Refused cell (-1,2,0) of CELL model life: negative coordinates"}), rec.lines());
    rec.clear();
    EXPECT_FALSE(m.acceptCell(4096, 4096, 1));
    EXPECT_EQ((Lines{"Refused cell (4096,4096,1) of CELL model life: more than 16777216 cells"}),
              rec.lines());
    rec.clear();
    EXPECT_FALSE(m.acceptCell(LLONG_MAX, 0, 0));
    EXPECT_FALSE(m.acceptCell(0, 0, LLONG_MIN));
    m.ensureCell(UINT_MAX, UINT_MAX, UINT_MAX);
    m.ensureCell(0, 0, 16777216);
    EXPECT_EQ(4u, rec.lines().size()) << rec.text();
    EXPECT_EQ("Refused cell (4294967295,4294967295,4294967295) of CELL model life: more than 16777216 cells",
              rec.lines()[2]);
    EXPECT_EQ((Counts{3, 4, 1}), counts(m));

    // Up to the limit is accepted: 4096 x 4096 x 1 cells is exactly 16,777,216.
    rec.clear();
    EXPECT_TRUE(m.acceptCell(4095, 4095, 0));
    EXPECT_EQ((Counts{4096, 4096, 1}), counts(m));
    EXPECT_TRUE(rec.lines().empty());

    // Two records each within the limit may not be combined beyond it.
    SDCELLDevsModel tall;
    tall.ensureCell(0, 0, 1);
    EXPECT_FALSE(m.growTo(&tall));
    EXPECT_EQ((Lines{"Refused growing CELL model life to 4096 x 4096 x 2 cells: more than 16777216 cells"}),
              rec.lines());
    EXPECT_EQ((Counts{4096, 4096, 1}), counts(m));
}

TEST(SDCELLDevsModelTest, ArrangeSpreadsCellsFromTheBoxCorner) {
    SDCELLDevsModel pair;
    pair.ensureCell(1, 0, 0);
    pair.arrange(Vector3(0, 0, 0), 4, 4, 4);
    expectAt(Vector3(-2, -2, -2), centreOf(pair, 0, 0, 0));
    expectAt(Vector3(0, -2, -2), centreOf(pair, 1, 0, 0));
    EXPECT_FLOAT_EQ(0.5f, pair.getCell(1, 0, 0)->getCube()->getBoundingBox().getDimensions().x);
    expectAt(Vector3(0, 0, 0), pair.getCentre());
    expectAt(Vector3(4, 4, 4), pair.getExtent());

    SDCELLDevsModel life;
    life.ensureCell(19, 19, 0);
    life.arrange(Vector3(0, 0, -5), 20, 20, 20);
    for (unsigned x = 0; x < 20; ++x) {
        for (unsigned y = 0; y < 20; ++y) {
            expectAt(Vector3(-10.0f + x, -10.0f + y, -15.0f), centreOf(life, x, y, 0));
        }
    }
    SDCELLDevsModel deep;
    deep.ensureCell(0, 1, 3);
    deep.arrange(Vector3(1, 1, 1), 2, 2, 2);
    expectAt(Vector3(0, 1, 1.5f), centreOf(deep, 0, 1, 3));
}

TEST(SDCELLDevsModelTest, ArrangeRefusesEdgesThatAreNotPositive) {
    LogRecorder rec;
    SDCELLDevsModel m;
    m.ensureCell(1, 0, 0);
    m.arrange(Vector3(0, 0, 0), 4, 4, 4);
    rec.clear();
    m.arrange(Vector3(9, 9, 9), 20, 0, 20);
    m.arrange(Vector3(9, 9, 9), -1, 2, 3);
    m.arrange(Vector3(9, 9, 9), 1, 1, std::numeric_limits<float>::quiet_NaN());
    ASSERT_EQ(3u, rec.lines().size());
    EXPECT_EQ("Negative dimensions sent to arrange a CELL model: { 20.000, 0.000, 20.000 }", rec.lines()[0]);
    EXPECT_EQ("Negative dimensions sent to arrange a CELL model: { -1.000, 2.000, 3.000 }", rec.lines()[1]);
    expectAt(Vector3(0, -2, -2), centreOf(m, 1, 0, 0));
    expectAt(Vector3(0, 0, 0), m.getCentre());
}

TEST(SDCELLDevsModelTest, InitFromTakesNameTagAndPortsButNotCounts) {
    SDDevsModel plain;
    plain.setName("top");
    plain.appendInputPort("in");
    plain.appendOutputPort("out");
    SDCELLDevsModel m;
    m.ensureCell(2, 0, 0);
    m.initFrom(&plain);
    EXPECT_EQ("top", m.getName());
    EXPECT_EQ(0, m.getTag());
    EXPECT_EQ((Lines{"in"}), m.getInputPorts());
    EXPECT_EQ((Lines{"out"}), m.getOutputPorts());
    EXPECT_EQ((Counts{3, 1, 1}), counts(m));
}

}  // namespace
