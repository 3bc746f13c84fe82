// The controller's views: merging in the model-list view, forwarding in the others.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "control/VCModelList.h"
#include "control/VCSceneGraph.h"
#include "scene/SDDetailNodeCUBE.h"
#include "scene/SDSceneGraph.h"
#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDDevsModelList.h"
#include "tests/support/LogRecorder.h"

namespace {

using Lines = std::vector<std::string>;

SDDevsModel* plain(const std::string& name, const std::string& input, const std::string& output) {
    auto* model = new SDDevsModel();
    model->setName(name);
    if (!input.empty()) {
        model->appendInputPort(input);
    }
    if (!output.empty()) {
        model->appendOutputPort(output);
    }
    return model;
}

SDCELLDevsModel* cell(const std::string& name, unsigned x, unsigned y, const std::string& output) {
    auto* model = new SDCELLDevsModel();
    model->setName(name);
    model->ensureCell(x, y, 0);
    if (!output.empty()) {
        model->appendOutputPort(output);
    }
    return model;
}

// Offers like the loader does: a refused record is the caller's to delete.
bool offer(VCModelList& view, SDDevsModel* model) {
    const bool taken = view.addModel(model);
    if (!taken) {
        delete model;
    }
    return taken;
}

class VCModelListTest : public ::testing::Test {
  protected:
    LogRecorder rec;
    SDDevsModelList registry;
    VCModelList view{&registry};
};

TEST_F(VCModelListTest, ARepeatedPlainNameMergesItsPortsAndPrintsOnceMore) {
    EXPECT_EQ(&registry, view.getModelList());
    EXPECT_TRUE(offer(view, plain("m", "", "y")));
    rec.clear();
    EXPECT_FALSE(offer(view, plain("m", "x", "")));
    EXPECT_EQ((Lines{"Model Data:", "Name: m", "Input ports: x | ", "Output ports: y | "}), rec.lines());
    ASSERT_EQ(1u, registry.size());
    EXPECT_EQ((Lines{"x"}), registry.findModel("m")->getInputPorts());
    EXPECT_EQ((Lines{"y"}), registry.findModel("m")->getOutputPorts());
}

TEST_F(VCModelListTest, TheSameRecordAgainIsRefusedSilently) {
    EXPECT_TRUE(offer(view, plain("m", "x", "y")));
    rec.clear();
    EXPECT_FALSE(offer(view, plain("m", "x", "y")));
    EXPECT_TRUE(rec.lines().empty()) << rec.text();
}

TEST_F(VCModelListTest, ACellRecordReplacesAPlainOneOfItsName) {
    EXPECT_TRUE(offer(view, plain("m", "in", "")));
    rec.clear();
    EXPECT_FALSE(offer(view, cell("m", 2, 0, "out")));
    ASSERT_EQ(1u, registry.size());
    auto* merged = dynamic_cast<SDCELLDevsModel*>(registry.findModel("m"));
    ASSERT_NE(nullptr, merged);
    EXPECT_EQ(3u, merged->getWidth());
    EXPECT_EQ(1u, merged->getHeight());
    EXPECT_EQ((Lines{"in"}), merged->getInputPorts());
    EXPECT_EQ((Lines{"out"}), merged->getOutputPorts());
    const Lines printed{"Model Data:",          "Name: m",     "Input ports: in | ",
                        "Output ports: out | ", "CELL Space:", "Width: 3"};
    Lines twice = printed;
    twice.insert(twice.end(), printed.begin(), printed.end());
    EXPECT_EQ(twice, rec.lines());
}

TEST_F(VCModelListTest, CellRecordsGrowTheRegisteredOneAndKeepEveryCellsPorts) {
    EXPECT_TRUE(offer(view, cell("life", 0, 0, "out")));
    SDDevsModel* registered = registry.findModel("life");
    rec.clear();
    auto* other = cell("life", 4, 2, "");
    other->appendInputPort("neighborchange");
    EXPECT_FALSE(offer(view, other));
    EXPECT_EQ((Lines{"Model Data:", "Name: life", "Input ports: neighborchange | ", "Output ports: out | ",
                     "CELL Space:", "Width: 5", "Height: 3"}),
              rec.lines());
    // A plain reference to the cell space (its own identifier) keeps the cell record.
    EXPECT_FALSE(offer(view, plain("life", "", "")));
    EXPECT_EQ(registered, registry.findModel("life"));
    EXPECT_EQ(5u, static_cast<SDCELLDevsModel*>(registered)->getWidth());
}

TEST_F(VCModelListTest, ANamelessRecordIsRefused) {
    EXPECT_FALSE(offer(view, plain("", "", "")));
    EXPECT_EQ((Lines{"Unable to add Model. No name specified"}), rec.lines());
}

TEST(VCSceneGraphTest, AddsNodesUnderTheGraphsIndices) {
    LogRecorder rec;
    SDSceneGraph graph;
    VCSceneGraph view(&graph);
    EXPECT_EQ(0, view.addNode(std::make_unique<SDDetailNodeCUBE>()));
    EXPECT_EQ(1, view.addNode(std::make_unique<SDDetailNodeCUBE>()));
    EXPECT_EQ(-1, view.addNode(nullptr));
    EXPECT_EQ(2, graph.getNodeList()->getNumNodes());
    view.render(nullptr);  // no frustum: nothing is drawn (and no context is needed)
}

}  // namespace
