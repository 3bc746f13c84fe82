#include "simdata/SDVisualization.h"

#include <gtest/gtest.h>

#include <memory>

#include "scene/SDDetailNodeCUBE.h"
#include "scene/SDSceneGraph.h"
#include "simdata/ModelOffer.h"
#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDDevsModelList.h"
#include "simdata/SDEventList.h"
#include "tests/support/LogRecorder.h"

namespace {

TEST(SDVisualizationTest, StartsEmptyAndUnnamed) {
    SDVisualization vis;
    EXPECT_EQ("", vis.getName());
    EXPECT_EQ("00:00:00:000", vis.getTime().toString());
    ASSERT_NE(nullptr, vis.getModelList());
    ASSERT_NE(nullptr, vis.getEventList());
    ASSERT_NE(nullptr, vis.getSceneGraph());
    EXPECT_EQ(0u, vis.getModelList()->size());
    EXPECT_EQ(0u, vis.getEventList()->size());
    vis.setName("demo.vis");
    EXPECT_EQ("demo.vis", vis.getName());
}

TEST(SDVisualizationTest, TimeHooksOnlyLog) {
    SDVisualization vis;
    LogRecorder rec;
    vis.timeIncremented(SDTime(90000));
    vis.timeDecremented(SDTime(-1000));
    EXPECT_EQ(
        (std::vector<std::string>{"Time incremented to: 00:01:30:000", "Time decremented to: -1:59:59:000"}),
        rec.lines());
    EXPECT_EQ(0.0, vis.getTime().getMilliseconds());
}

TEST(SDVisualizationTest, DeletingReleasesModelsEventsAndNodes) {
    auto vis = std::make_unique<SDVisualization>();
    auto* plain = new SDDevsModel;
    plain->setName("top");
    offerModel(*vis->getModelList(), plain);
    auto* life = new SDCELLDevsModel;
    life->setName("life");
    life->ensureCell(19, 19, 0);
    offerModel(*vis->getModelList(), life);
    life->arrange(Vector3(0, 0, -5), 20, 20, 20);
    auto* event = new SDEvent;
    event->m_source = "top";
    vis->getEventList()->addEvent(event);
    auto cube = std::make_unique<SDDetailNodeCUBE>();
    EXPECT_EQ(0, vis->getSceneGraph()->addNode(std::move(cube)));
    // The leak sanitizer checks that everything above goes with the visualization.
    vis.reset();
}

}  // namespace
