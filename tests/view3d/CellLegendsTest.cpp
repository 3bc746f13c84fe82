// Where the legends of the cell spaces in view stand: one in the middle of the right edge, several stacked
// from the top without overlapping, within the window and below the button strip.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "control/VCCellView.h"
#include "view3d/VDCellLegends.h"

namespace {

const VDRect kWindow(0, 0, 800, 600);
constexpr float kCharWidth = 8.0f;
constexpr float kCharHeight = 13.0f;

VCCellView::DrawnModel legend(VCCellView::Legend kind, size_t swatches = 0) {
    VCCellView::DrawnModel model;
    model.name = "m";
    model.legend = kind;
    model.swatches.resize(swatches);
    return model;
}

std::vector<const VCCellView::DrawnModel*> pointers(const std::vector<VCCellView::DrawnModel>& models) {
    std::vector<const VCCellView::DrawnModel*> all;
    for (const VCCellView::DrawnModel& model : models) {
        all.push_back(&model);
    }
    return all;
}

TEST(CellLegendsTest, OneLegendStandsInTheMiddleOfTheRightEdge) {
    // With a swatch ("no value") below it, the bar stays where it has always been.
    for (const VCCellView::DrawnModel& model :
         {legend(VCCellView::Legend::Ramp), legend(VCCellView::Legend::Values, 2),
          legend(VCCellView::Legend::Ramp, 1)}) {
        VDCellLegends legends(kWindow, kCharWidth, kCharHeight);
        legends.place({&model});
        ASSERT_EQ(1u, legends.getPlaced().size());
        const VDCellLegends::Placed& placed = legends.getPlaced()[0];
        const VDRect& column = placed.bar.getHeight() > 0 ? placed.bar : placed.column;
        EXPECT_EQ(800 - 24, column.getX2());
        EXPECT_EQ(800 - 24 - 14, column.getX1());
        EXPECT_FLOAT_EQ(300, (column.getY1() + column.getY2()) / 2);
    }
    VDCellLegends legends(kWindow, kCharWidth, kCharHeight);
    const VCCellView::DrawnModel ramp = legend(VCCellView::Legend::Ramp);
    legends.place({&ramp});
    EXPECT_EQ(160, legends.getPlaced()[0].column.getHeight()) << "the colour bar as it has always been";
}

TEST(CellLegendsTest, SeveralStackFromTheTopWithoutOverlappingAndLongListsAreCut) {
    struct Case {
        std::vector<VCCellView::DrawnModel> models;
        size_t placed;
    };
    const std::vector<Case> cases = {
        {{legend(VCCellView::Legend::Ramp), legend(VCCellView::Legend::Rules, 3)}, 2},
        {{legend(VCCellView::Legend::Ramp, 1), legend(VCCellView::Legend::Values, 30),
          legend(VCCellView::Legend::Rules, 20)},
         3},
        {{legend(VCCellView::Legend::Rules, 17), legend(VCCellView::Legend::None),
          legend(VCCellView::Legend::Values, 16), legend(VCCellView::Legend::Ramp),
          legend(VCCellView::Legend::Rules, 40), legend(VCCellView::Legend::Ramp)},
         4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.models.size());
        VDCellLegends legends(kWindow, kCharWidth, kCharHeight);
        legends.place(pointers(c.models));
        const std::vector<VDCellLegends::Placed>& placed = legends.getPlaced();
        ASSERT_EQ(c.placed, placed.size());
        float above = 600 - 40;  // the strip
        for (const VDCellLegends::Placed& legend : placed) {
            EXPECT_NE(VCCellView::Legend::None, legend.model->legend);
            // The name (one text line) fits between the column and whatever is above it.
            EXPECT_LE(legend.column.getY2() + kCharHeight, above);
            EXPECT_GE(legend.column.getY1(), 0);
            EXPECT_LT(legend.column.getY1(), legend.column.getY2());
            EXPECT_EQ(legend.model->swatches.size(),
                      legend.rows - (legend.hiddenRows > 0 ? 1 : 0) + legend.hiddenRows)
                << "every swatch is shown or counted in the last row";
            if (legend.bar.getHeight() > 0) {
                EXPECT_FLOAT_EQ(legend.column.getY2(), legend.bar.getY2()) << "the bar on top";
            } else {
                EXPECT_FLOAT_EQ(legend.rows * legend.rowHeight, legend.column.getHeight());
            }
            above = legend.column.getY1();
        }
    }
    // The key of block colours takes the last of the four places, its four colours whole.
    const VCCellView::DrawnModel key = VDCellLegends::blockKey();
    VDCellLegends legends(kWindow, kCharWidth, kCharHeight);
    legends.place(pointers(cases.back().models), &key);
    ASSERT_EQ(4u, legends.getPlaced().size());
    EXPECT_EQ(&key, legends.getPlaced()[3].model);
    EXPECT_EQ(4u, legends.getPlaced()[3].rows);
}

// The ends of a colour bar name the range; an end beyond which some value lies (drawn in the end's colour)
// reads "≤" or "≥". The thermal cube's robust range, 20 to 28.5 with values on both sides, as its log holds.
TEST(CellLegendsTest, AnEndWithValuesBeyondItReadsAtMostOrAtLeast) {
    VCCellView::DrawnModel model = legend(VCCellView::Legend::Ramp);
    model.hasRange = true;
    model.minimum = 20.0;
    model.maximum = 28.5;
    for (bool beyond : {false, true}) {
        model.belowRange = model.aboveRange = beyond;
        EXPECT_EQ(beyond ? "≤ 20" : "20", VDCellLegends::endLabel(model, false));
        EXPECT_EQ(beyond ? "≥ 28.5" : "28.5", VDCellLegends::endLabel(model, true));
    }
}

}  // namespace
