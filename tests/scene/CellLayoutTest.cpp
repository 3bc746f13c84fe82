// Where the cell spaces stand: life in its box, every other model in a block of its own, never on top of
// another, and staying put when later imports add or grow models.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>

#include "scene/SDCellLayout.h"

namespace {

using Models = std::map<std::string, SDCellLayout::Counts>;

bool overlap(const BoundingBox& a, const BoundingBox& b) {
    return a.getMin().x < b.getMax().x && b.getMin().x < a.getMax().x && a.getMin().y < b.getMax().y &&
           b.getMin().y < a.getMax().y && a.getMin().z < b.getMax().z && b.getMin().z < a.getMax().z;
}

// No two blocks share any volume, and only life enters life's room.
void expectApart(const SDCellLayout& layout) {
    const auto& placements = layout.getPlacements();
    for (auto a = placements.begin(); a != placements.end(); ++a) {
        if (a->first != SDCellLayout::kLifeName) {
            EXPECT_FALSE(overlap(a->second.bounds(), SDCellLayout::lifeRoom()))
                << a->first << " in life's box";
        }
        for (auto b = std::next(a); b != placements.end(); ++b) {
            EXPECT_FALSE(overlap(a->second.bounds(), b->second.bounds())) << a->first << " and " << b->first;
        }
    }
}

TEST(CellLayoutTest, OtherModelsStandOneUnitApartInARowRightOfLifeInNameOrder) {
    SDCellLayout layout;
    layout.place(Models{{"plane", {25, 25, 1}}, {"fallrock", {8, 8, 8}}, {"life", {20, 20, 1}}});
    const SDCellPlacement* fallrock = layout.find("fallrock");
    const SDCellPlacement* plane = layout.find("plane");
    ASSERT_NE(nullptr, fallrock);
    ASSERT_NE(nullptr, plane);
    // Rows run down, columns to the right, layers towards the viewer.
    EXPECT_EQ(Vector3(1, -1, 1), fallrock->cellCentre(3, 4, 5) - fallrock->cellCentre(2, 3, 4));
    EXPECT_EQ(Vector3(1, -1, 0), plane->cellCentre(1, 1, 0) - plane->cellCentre(0, 0, 0));
    EXPECT_GT(fallrock->bounds().getMin().x, SDCellLayout::lifeRoom().getMax().x);
    EXPECT_GT(plane->bounds().getMin().x, fallrock->bounds().getMax().x) << "name order, left to right";
    // Level with life's bottom (the last row), fronts on the plane of its cells.
    EXPECT_FLOAT_EQ(-10.0f, fallrock->cellCentre(7, 0, 0).y);
    EXPECT_FLOAT_EQ(-3.0f, fallrock->cellCentre(0, 0, 0).y);
    EXPECT_FLOAT_EQ(-15.0f, fallrock->cellCentre(0, 0, 7).z);
    EXPECT_FLOAT_EQ(-15.0f, plane->cellCentre(0, 0, 0).z);
    expectApart(layout);

    // The same models give the same places.
    SDCellLayout again;
    again.place(Models{{"fallrock", {8, 8, 8}}, {"plane", {25, 25, 1}}});
    EXPECT_EQ(fallrock->bounds().getMin(), again.find("fallrock")->bounds().getMin());
    EXPECT_EQ(plane->bounds().getMin(), again.find("plane")->bounds().getMin());
}

TEST(CellLayoutTest, ModelsKeepTheirPlacesWhenOthersAppearOrGrowWithinTheirs) {
    SDCellLayout layout;
    layout.place(Models{{"opening", {8, 8, 1}}, {"plane", {25, 25, 1}}});
    const Vector3 opening = layout.find("opening")->cellCentre(0, 0, 0);
    const Vector3 plane = layout.find("plane")->cellCentre(0, 0, 0);

    // A new model whose name sorts first goes to the end instead of pushing the others along.
    layout.place(Models{{"aaa", {3, 3, 3}}, {"opening", {8, 8, 1}}, {"plane", {25, 25, 1}}});
    EXPECT_EQ(opening, layout.find("opening")->cellCentre(0, 0, 0));
    EXPECT_EQ(plane, layout.find("plane")->cellCentre(0, 0, 0));
    EXPECT_GT(layout.find("aaa")->bounds().getMin().x, layout.find("plane")->bounds().getMax().x);

    // More rows and layers cost no room in the row; more columns than the gap allows move the model to
    // the end and leave the others where they were.
    layout.place(Models{{"aaa", {3, 3, 3}}, {"opening", {30, 8, 4}}, {"plane", {25, 25, 1}}});
    EXPECT_EQ(opening.x, layout.find("opening")->cellCentre(0, 0, 0).x);
    layout.place(Models{{"aaa", {3, 3, 3}}, {"opening", {30, 40, 4}}, {"plane", {25, 25, 1}}});
    EXPECT_EQ(plane, layout.find("plane")->cellCentre(0, 0, 0));
    EXPECT_GT(layout.find("opening")->bounds().getMin().x, layout.find("aaa")->bounds().getMax().x);
    expectApart(layout);
    EXPECT_EQ(nullptr, layout.find("missing"));
}

TEST(CellLayoutTest, NoSequenceOfImportsMakesBlocksOverlap) {
    std::mt19937 random(12345);
    const char* names[] = {"a", "life", "m", "plane", "q", "z"};
    SDCellLayout layout;
    Models models;
    for (int round = 0; round < 300; ++round) {
        const std::string name = names[random() % 6];
        SDCellLayout::Counts& counts = models[name];
        // Models only grow, as the records do.
        counts.width += static_cast<unsigned>(random() % 7);
        counts.height += static_cast<unsigned>(random() % 3);
        counts.length += static_cast<unsigned>(random() % 3);
        layout.place(models);
        expectApart(layout);
        ASSERT_EQ(models.size(), layout.getPlacements().size());
        if (HasFailure()) {
            FAIL() << "after round " << round;
        }
    }
    // Models no longer given are forgotten.
    layout.place(Models{{"q", {1, 1, 1}}});
    EXPECT_EQ(1u, layout.getPlacements().size());
}

// Two spaces, a and b (a first in name order); the row starts at column 13 with 2 empty columns between
// neighbours, and a grid of c maps of H columns a row takes c (H + 1) - 1 columns (one empty column between
// maps): each b stands clear of a's grid. `before`: both were first laid out whole, then the counts below
// were given.
TEST(CellLayoutTest, LaidOutLayersTakeTheirGridsWidthInTheRow) {
    struct Case {
        const char* what;
        SDCellLayout::Counts a, b;
        bool before;
        float aX, bX;  // x of each one's cell (0, 0, 0)
    } cases[] = {
        {"a whole", {4, 4, 4, 0}, {8, 8, 1, 0}, false, 13.0f, 19.0f},
        {"a in 2 columns of maps", {4, 4, 4, 2}, {8, 8, 1, 0}, false, 13.0f, 24.0f},
        {"a in 3 columns of 8", {8, 8, 8, 3}, {3, 3, 3, 0}, false, 13.0f, 41.0f},
        {"a in one row of 4", {4, 4, 4, 4}, {8, 8, 1, 0}, false, 13.0f, 34.0f},
        {"more columns than layers", {4, 4, 2, 3}, {8, 8, 1, 0}, false, 13.0f, 24.0f},
        {"both laid out", {4, 4, 4, 2}, {4, 4, 4, 2}, false, 13.0f, 24.0f},
        // Laid out later, a outgrows its place and goes to the end; b stays.
        {"a later", {4, 4, 4, 2}, {8, 8, 1, 0}, true, 29.0f, 19.0f},
        // The last one grows where it stands.
        {"b later", {4, 4, 4, 0}, {4, 4, 4, 2}, true, 13.0f, 19.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SDCellLayout layout;
        if (c.before) {
            layout.place(Models{{"a", {c.a.width, c.a.height, c.a.length, 0}},
                                {"b", {c.b.width, c.b.height, c.b.length, 0}}});
        }
        layout.place(Models{{"a", c.a}, {"b", c.b}});
        const SDCellPlacement* a = layout.find("a");
        const SDCellPlacement* b = layout.find("b");
        ASSERT_NE(nullptr, a);
        ASSERT_NE(nullptr, b);
        EXPECT_FLOAT_EQ(c.aX, a->cellCentre(0, 0, 0).x);
        EXPECT_FLOAT_EQ(c.bX, b->cellCentre(0, 0, 0).x);
    }
}

}  // namespace
