#include "simdata/SDDevsModelList.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "simdata/SDCELLDevsModel.h"
#include "tests/support/LogRecorder.h"

namespace {

using Ports = std::vector<std::string>;

std::unique_ptr<SDDevsModel> model(const std::string& name, const Ports& in = {}, const Ports& out = {}) {
    auto m = std::make_unique<SDDevsModel>();
    m->setName(name);
    for (const std::string& p : in) {
        m->appendInputPort(p);
    }
    for (const std::string& p : out) {
        m->appendOutputPort(p);
    }
    return m;
}

TEST(SDDevsModelTest, MergePortsAddsOnlyMissingPortsOfTheSameName) {
    auto top = model("top", {"in2"}, {"out"});
    auto other = model("top", {"in1", "in2"}, {"out", "done"});
    EXPECT_EQ(2, top->mergePorts(other.get()));
    EXPECT_EQ((Ports{"in2", "in1"}), top->getInputPorts());
    EXPECT_EQ((Ports{"out", "done"}), top->getOutputPorts());
    EXPECT_EQ((Ports{"in1", "in2"}), other->getInputPorts());  // the other is left unchanged
    EXPECT_EQ(0, top->mergePorts(other.get()));

    auto stranger = model("Top", {"x"}, {"y"});
    EXPECT_EQ(0, top->mergePorts(stranger.get()));
    EXPECT_EQ(0, top->mergePorts(nullptr));
    EXPECT_FALSE(top->hasInputPort("x"));
    // Port names compare exactly.
    EXPECT_TRUE(top->hasInputPort("in1"));
    EXPECT_FALSE(top->hasInputPort("IN1"));
    EXPECT_FALSE(top->hasOutputPort("in1"));
}

TEST(SDDevsModelTest, PrintsNameAndPortLines) {
    LogRecorder rec;
    model("top", {"in"})->print();
    model("m", {"a", "b"}, {"%s%d"})->print();
    EXPECT_EQ((Ports{"Model Data:", "Name: top", "Input ports: in | ", "Output ports: ", "Model Data:",
                     "Name: m", "Input ports: a | b | ", "Output ports: %s%d | "}),
              rec.lines());
}

TEST(SDDevsModelListTest, AddFindRemoveAndOwnership) {
    LogRecorder rec;
    SDDevsModelList list;
    EXPECT_FALSE(list.addModel(nullptr));
    auto nameless = model("");
    EXPECT_FALSE(list.addModel(nameless.get()));
    EXPECT_EQ((Ports{"Unable to add Model. No name specified", "Unable to add Model. No name specified"}),
              rec.lines());
    rec.clear();

    SDDevsModel* a = model("a", {"in"}).release();
    ASSERT_TRUE(list.addModel(a));  // owned by the list from here on
    EXPECT_EQ((Ports{"Model Data:", "Name: a", "Input ports: in | ", "Output ports: "}), rec.lines());
    rec.clear();
    auto duplicate = model("a");
    EXPECT_FALSE(list.addModel(duplicate.get()));
    EXPECT_TRUE(rec.lines().empty());
    EXPECT_EQ(a, list.findModel("a"));
    EXPECT_EQ(nullptr, list.findModel("b"));

    EXPECT_FALSE(list.removeModel("b"));
    EXPECT_TRUE(list.removeModel("a"));
    std::unique_ptr<SDDevsModel> back(a);  // removeModel hands the record back to the caller
    EXPECT_EQ(nullptr, list.findModel("a"));
    EXPECT_EQ(0u, list.size());

    ASSERT_TRUE(list.addModel(back.release()));
    std::unique_ptr<SDDevsModel> taken = list.takeModel("a");
    ASSERT_NE(nullptr, taken);
    EXPECT_EQ("a", taken->getName());
    EXPECT_EQ(nullptr, list.takeModel("a"));

    // Records still registered are deleted with the list (checked by the leak sanitizer).
    list.addModel(model("x").release());
    auto* cells = new SDCELLDevsModel;
    cells->setName("cells");
    cells->arrange(Vector3(0, 0, 0), 1, 1, 1);
    EXPECT_TRUE(list.addModel(cells));
}

TEST(SDDevsModelListTest, PrintAllListsNamesPortsAndCellSpaceSizesInByteOrder) {
    LogRecorder rec;
    SDDevsModelList list;
    list.printAll();
    EXPECT_TRUE(rec.lines().empty());

    list.addModel(model("b", {}, {"out"}).release());
    list.addModel(model("a", {"in1", "in2"}).release());
    list.addModel(model("B").release());
    auto* cells = new SDCELLDevsModel;
    cells->setName("life");
    cells->ensureCell(4, 4, 0);
    list.addModel(cells);
    rec.clear();
    list.printAll();
    EXPECT_EQ(
        (Ports{"DEVS model: B", "input ports:", "output ports:", "DEVS model: a", "input ports:", "    -in1",
               "    -in2", "output ports:", "DEVS model: b", "input ports:", "output ports:", "    -out",
               "DEVS model: life", "input ports:", "output ports:", "CELL Space:", "Width: 5", "Height: 5"}),
        rec.lines());
}

}  // namespace
