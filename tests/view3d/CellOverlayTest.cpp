// Fitting the camera to the drawn models, and finding where the models appear in the window, without GL.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "control/VCCellView.h"
#include "scene/SDCellLayout.h"
#include "view3d/VDCellOverlay.h"
#include "view3d/VDFirstPersonCamera.h"

namespace {

// The camera as the viewer window makes it.
void startCamera(VDFirstPersonCamera& camera) {
    camera.setAspectRatio(1.3333333f);
    camera.setFieldOfView(90.0f);
    camera.setNearPlane(0.1f);
    camera.setFarPlane(1000.0f);
    camera.setPosition(Vector3(0.0f, 1.0f, 1.0f));
}

BoundingBox around(const SDCellLayout& layout) {
    BoundingBox all;
    bool first = true;
    Vector3 low;
    Vector3 high;
    for (const auto& [name, placement] : layout.getPlacements()) {
        const BoundingBox box = placement.bounds();
        low = first ? box.getMin()
                    : Vector3(std::min(low.x, box.getMin().x), std::min(low.y, box.getMin().y),
                              std::min(low.z, box.getMin().z));
        high = first ? box.getMax()
                     : Vector3(std::max(high.x, box.getMax().x), std::max(high.y, box.getMax().y),
                               std::max(high.z, box.getMax().z));
        first = false;
    }
    all.setMinMax(low, high);
    return all;
}

TEST(FitViewTest, EveryBlockEndsUpInsideTheViewSeenFromTheFrontAndAbove) {
    const std::vector<std::map<std::string, SDCellLayout::Counts>> scenes = {
        {{"life", {20, 20, 1}}},
        {{"fallrock", {8, 8, 8}}, {"life", {20, 20, 1}}, {"opening", {8, 8, 1}}, {"plane", {25, 25, 1}}},
        {{"surface", {4, 4, 4}}},
        {{"heat", {100, 100, 100}}},
        {{"long", {3000, 2, 1}}, {"tall", {2, 900, 1}}},  // past the usual far plane
    };
    for (const auto& models : scenes) {
        SCOPED_TRACE(models.begin()->first + " and " + std::to_string(models.size() - 1) + " more");
        SDCellLayout layout;
        layout.place(models);
        VDFirstPersonCamera camera;
        startCamera(camera);
        camera.fitBox(around(layout), 20.0f);
        EXPECT_EQ(0.0f, camera.getYaw());
        EXPECT_EQ(-20.0f, camera.getPitch());
        EXPECT_GT(camera.getPosition().y, around(layout).getCentre().y) << "from above";
        EXPECT_GT(camera.getPosition().z, around(layout).getMax().z) << "from the front";
        camera.getProjectionMatrix();
        camera.getViewMatrix();
        const Frustum* frustum = camera.getFrustum();
        for (const auto& [name, placement] : layout.getPlacements()) {
            EXPECT_EQ(0, frustum->classifyBox(placement.bounds())) << name << " wholly in view";
        }
    }
}

TEST(FitViewTest, TheBlocksFillMostOfTheView) {
    SDCellLayout layout;
    layout.place({{"plane", {25, 25, 1}}});
    VDFirstPersonCamera camera;
    startCamera(camera);
    camera.fitBox(around(layout), 20.0f);
    const VDCellOverlay overlay(camera.getProjectionMatrix(), camera.getViewMatrix(), VDRect(0, 0, 800, 600));
    const BoundingBox box = layout.find("plane")->bounds();
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    ASSERT_TRUE(overlay.project(Vector3(box.getMin().x, box.getMin().y, box.getMax().z), x1, y1));
    ASSERT_TRUE(overlay.project(Vector3(box.getMax().x, box.getMin().y, box.getMax().z), x2, y2));
    EXPECT_NEAR(400, (x1 + x2) / 2, 1) << "centred across";
    ASSERT_TRUE(overlay.project(Vector3(box.getMin().x, box.getMax().y, box.getMax().z), x2, y2));
    // Not a speck in the distance: the front face spans most of the window's height.
    EXPECT_GT(y2 - y1, 600 * 0.6);
}

TEST(CellOverlayTest, ProjectsLikeTheCameraAndPicksTheModelNearestTheMiddle) {
    VDFirstPersonCamera camera;
    startCamera(camera);
    const VDCellOverlay overlay(camera.getProjectionMatrix(), camera.getViewMatrix(), VDRect(0, 0, 800, 600));
    float x = 0;
    float y = 0;
    ASSERT_TRUE(overlay.project(Vector3(0, 1, -9), x, y));
    EXPECT_FLOAT_EQ(400, x);
    EXPECT_FLOAT_EQ(300, y);
    // 10 ahead, 10 up: the top edge of the 90° view.
    ASSERT_TRUE(overlay.project(Vector3(0, 11, -9), x, y));
    EXPECT_NEAR(600, y, 0.01);
    EXPECT_FALSE(overlay.project(Vector3(0, 1, 5), x, y)) << "behind the eye";

    auto model = [](const std::string& name, const Vector3& centre) {
        VCCellView::DrawnModel drawn;
        drawn.name = name;
        drawn.bounds = BoundingBox(centre, Vector3(2, 2, 2));
        return drawn;
    };
    std::vector<VCCellView::DrawnModel> models = {
        model("left", Vector3(-6, 1, -10)), model("behind", Vector3(0, 1, 10)),
        model("near middle", Vector3(1, 2, -10)), model("outside", Vector3(100, 1, -10))};
    EXPECT_EQ(2, overlay.nearestToCentre(models));
    models.erase(models.begin() + 2);
    EXPECT_EQ(0, overlay.nearestToCentre(models));
    models.erase(models.begin());
    EXPECT_EQ(-1, overlay.nearestToCentre(models)) << "behind the eye or outside the window";
}

TEST(CellOverlayTest, ANameStandsAboveItsBlockOrBelowItWhenAnotherBlockIsAbove) {
    VDFirstPersonCamera camera;
    startCamera(camera);
    const VDCellOverlay overlay(camera.getProjectionMatrix(), camera.getViewMatrix(), VDRect(0, 0, 800, 600));
    auto model = [](const Vector3& centre, const Vector3& size) {
        VCCellView::DrawnModel drawn;
        drawn.bounds = BoundingBox(centre, size);
        return drawn;
    };
    const VCCellView::DrawnModel small = model(Vector3(0, -2, -10), Vector3(2, 2, 2));
    const VCCellView::DrawnModel tall = model(Vector3(0, 2, -10), Vector3(4, 6, 2));  // right on top of it
    VDRect smallBlock;
    VDRect tallBlock;
    ASSERT_TRUE(overlay.blockRectangle(small, smallBlock));
    ASSERT_TRUE(overlay.blockRectangle(tall, tallBlock));
    float x = 0;
    float y = 0;
    ASSERT_TRUE(overlay.nameSpot(small, 40, 13, {}, x, y));
    EXPECT_EQ(smallBlock.getX1(), x);
    EXPECT_GT(y, smallBlock.getY2()) << "above its own block";
    ASSERT_TRUE(overlay.nameSpot(small, 40, 13, {tallBlock}, x, y));
    EXPECT_LT(y + 13, smallBlock.getY1()) << "below, since the other block stands above";
    ASSERT_TRUE(overlay.nameSpot(tall, 40, 13, {smallBlock}, x, y));
    EXPECT_GT(y, tallBlock.getY2());
    const VCCellView::DrawnModel behind = model(Vector3(0, 1, 5), Vector3(2, 2, 2));
    EXPECT_FALSE(overlay.nameSpot(behind, 40, 13, {}, x, y)) << "not ahead of the eye";
}

}  // namespace
