#include "scene/SDBlockLayout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scene/SDBlockPicker.h"

namespace {

using Model = SDBlockLayout::Model;

bool inside(const BoundingBox& inner, const BoundingBox& outer) {
    return inner.getMin().x > outer.getMin().x && inner.getMin().y > outer.getMin().y &&
           inner.getMin().z > outer.getMin().z && inner.getMax().x < outer.getMax().x &&
           inner.getMax().y < outer.getMax().y && inner.getMax().z < outer.getMax().z;
}

// A box grown by the room its labels take: inputs left, outputs right, the name above.
BoundingBox withLabels(const BoundingBox& box, const Model& model) {
    const float left =
        model.inputs > 0 ? SDBlockLayout::kLabelGap + model.inputChars * SDBlockLayout::kChar : 0;
    const float right =
        model.outputs > 0 ? SDBlockLayout::kLabelGap + model.outputChars * SDBlockLayout::kChar : 0;
    BoundingBox grown;
    grown.setMinMax(box.getMin() - Vector3(left, 0, 0),
                    box.getMax() + Vector3(right, SDBlockLayout::kRow, 0));
    return grown;
}

bool overlap(const BoundingBox& a, const BoundingBox& b) {
    return a.getMin().x < b.getMax().x && b.getMin().x < a.getMax().x && a.getMin().y < b.getMax().y &&
           b.getMin().y < a.getMax().y;
}

// 0 top { 1 gen, 2 proc { 3 a, 4 b, 5 c }, 6 sink }, 7 alone, 8 unreached
class BlockLayoutTest : public ::testing::Test {
  protected:
    void SetUp() override {
        models.resize(9);
        models[0] = Model{{1, 2, 6}, 2, 1, 3, 9, 7};
        models[1] = Model{{}, 0, 1, 3, 0, 12};
        models[2] = Model{{3, 4, 5, 1}, 1, 2, 4, 5, 6};  // 1 again: placed where first reached only
        models[3] = Model{{}, 3, 1, 30, 4, 4};           // a long name
        models[4] = Model{{}, 1, 1, 1, 2, 2};
        models[5] = Model{{}, 0, 0, 1, 0, 0};
        models[6] = Model{{}, 1, 0, 4, 3, 0};
        models[7] = Model{{}, 0, 0, 5, 0, 0};
        layout.place(models, {0, 7}, Vector3(13, -10, -15));
    }
    const BoundingBox& box(uint32_t model) { return layout.block(model).box; }

    std::vector<Model> models;
    SDBlockLayout layout;
};

TEST_F(BlockLayoutTest, ChildrenNestInsideTheirFrameAndNeighboursKeepClearWithTheirLabels) {
    for (uint32_t m = 0; m < 8; ++m) {
        EXPECT_TRUE(layout.block(m).placed) << m;
    }
    EXPECT_FALSE(layout.block(8).placed);
    EXPECT_TRUE(layout.block(0).frame);
    EXPECT_TRUE(layout.block(2).frame);
    EXPECT_FALSE(layout.block(3).frame);
    EXPECT_EQ(2u, layout.block(4).level);

    const std::vector<std::vector<uint32_t>> families = {{0, 1, 2, 6}, {2, 3, 4, 5}};
    for (const std::vector<uint32_t>& family : families) {
        const uint32_t parent = family[0];
        for (size_t i = 1; i < family.size(); ++i) {
            EXPECT_TRUE(inside(withLabels(box(family[i]), models[family[i]]), box(parent)))
                << family[i] << " in " << parent;
            for (size_t j = i + 1; j < family.size(); ++j) {
                EXPECT_FALSE(overlap(withLabels(box(family[i]), models[family[i]]),
                                     withLabels(box(family[j]), models[family[j]])))
                    << family[i] << " and " << family[j];
            }
        }
    }
    EXPECT_FALSE(overlap(withLabels(box(0), models[0]), withLabels(box(7), models[7])));
    // In order: each next child is right of the one before in its row, or in a row below.
    for (uint32_t m : {4u, 5u}) {
        const BoundingBox& before = box(m - 1);
        EXPECT_TRUE(box(m).getMin().x > before.getMax().x || box(m).getMax().y < before.getMin().y) << m;
    }
    // The long name has its room.
    EXPECT_GE(layout.block(3).nameWidth, 30 * SDBlockLayout::kChar);

    BoundingBox all;
    ASSERT_TRUE(layout.bounds(all));
    EXPECT_EQ(13.0f, all.getMin().x) << "the structure starts at the corner given";
    EXPECT_EQ(-10.0f, all.getMin().y);
    for (uint32_t m = 0; m < 8; ++m) {
        EXPECT_TRUE(
            inside(box(m), BoundingBox(all.getCentre(), all.getDimensions() + Vector3(0.01f, 0.01f, 0.01f))))
            << m;
    }
}

TEST_F(BlockLayoutTest, PortsStandOnTheirSideOneRowEachFromTheTop) {
    for (uint32_t m : {0u, 2u, 3u}) {
        for (bool input : {true, false}) {
            const unsigned count = input ? models[m].inputs : models[m].outputs;
            for (unsigned k = 0; k < count; ++k) {
                const Vector3 p = layout.portPosition(m, input, k);
                EXPECT_EQ(input ? box(m).getMin().x : box(m).getMax().x, p.x);
                EXPECT_GT(p.y, box(m).getMin().y);
                EXPECT_LT(p.y, box(m).getMax().y);
                if (k > 0) {
                    EXPECT_FLOAT_EQ(SDBlockLayout::kPortPitch, layout.portPosition(m, input, k - 1).y - p.y);
                }
            }
        }
    }
}

TEST_F(BlockLayoutTest, APickTakesTheSolidBlockItPointsAtElseTheInnermostFrame) {
    auto through = [&](const Vector3& target) {
        return Vector3(target.x, target.y, target.z + 30.0f);  // looking along -z from the front
    };
    const Vector3 back(0, 0, -1);
    auto all = [](uint32_t) { return true; };
    struct Case {
        Vector3 target;
        bool hit;
        uint32_t model;
    };
    const BoundingBox& frame = box(2);
    // A spot of proc's frame that none of its children covers: just inside its bottom edge.
    const Vector3 frameOnly(frame.getMin().x + 0.1f, frame.getMin().y + 0.1f, frame.getCentre().z);
    const Case cases[] = {
        {box(4).getCentre(), true, 4},
        {box(1).getCentre(), true, 1},
        {frameOnly, true, 2},
        {Vector3(box(0).getMin().x + 0.05f, box(0).getMin().y + 0.05f, box(0).getCentre().z), true, 0},
        {Vector3(0, 0, 0), false, 0},
    };
    for (const Case& c : cases) {
        const SDBlockHit hit = pickBlock(layout, through(c.target), back, all);
        EXPECT_EQ(c.hit, hit.hit);
        if (c.hit) {
            EXPECT_EQ(c.model, hit.model);
        }
    }
    // A hidden block lets the ray through to its frame.
    const SDBlockHit hit =
        pickBlock(layout, through(box(4).getCentre()), back, [](uint32_t m) { return m != 4; });
    ASSERT_TRUE(hit.hit);
    EXPECT_EQ(2u, hit.model);
}

}  // namespace
