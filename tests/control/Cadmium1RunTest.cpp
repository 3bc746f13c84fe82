// A Cadmium 1 run imported as the command line imports it: the message file and the state file into one
// visualization, in either order, or either alone. What the cells should hold is read from the samples by
// hand.
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "control/VCSimulation.h"
#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDDevsModelList.h"
#include "simdata/SDEventList.h"
#include "simdata/SDModelStructure.h"
#include "simdata/SDTimeCursor.h"
#include "simdata/SDVisualization.h"
#include "tests/support/LogRecorder.h"
#include "tests/support/TempDir.h"

namespace {

using Cells = std::map<std::string, std::string>;  // "x,y" -> value, "-" for none yet

std::string sample(const std::string& name) {
    return std::string(TESS_SOURCE_DIR) + "/samples/cadmium1/" + name;
}

class Cadmium1RunTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(m_simulation.newVisualization("forest")); }

    SDCELLDevsModel* space(const std::string& name) {
        return dynamic_cast<SDCELLDevsModel*>(getVisualization()->getModelList()->findModel(name));
    }
    // Every cell of the 2D space at `milliseconds`.
    Cells cellsAt(const std::string& name, double milliseconds) {
        m_simulation.timeGoto(milliseconds);
        SDCELLDevsModel* model = space(name);
        getVisualization()->getCursor()->sync();
        const SDCellValues& values = model->getValues();
        Cells all;
        size_t index = 0;
        for (unsigned x = 0; x < model->getWidth(); ++x) {
            for (unsigned y = 0; y < model->getHeight(); ++y, ++index) {
                char value[32];
                std::snprintf(value, sizeof value, "%g", values.value(index));
                all[std::to_string(x) + "," + std::to_string(y)] = values.hasValue(index) ? value : "-";
            }
        }
        return all;
    }
    // Each model's output ports; a port listed twice shows as "<port> twice".
    std::map<std::string, std::set<std::string>> ports() {
        std::map<std::string, std::set<std::string>> all;
        for (const auto& [name, model] : getVisualization()->getModelList()->getModels()) {
            all[name];
            for (const std::string& port : model->getOutputPorts()) {
                all[name].insert(all[name].count(port) ? port + " twice" : port);
            }
        }
        return all;
    }

    LogRecorder m_log;
    VCSimulation m_simulation;
};

TEST_F(Cadmium1RunTest, TheTwoFilesInEitherOrderOrAloneMakeOneRun) {
    // By hand from the samples: at 0, 1.5 s and 3.00025 s. A state without a number keeps the value before.
    const Cells both[] = {
        {{"0,0", "0.5"}, {"0,1", "0"}, {"1,0", "0"}, {"1,1", "-"}, {"2,0", "2"}, {"2,1", "0"}},
        {{"0,0", "3"}, {"0,1", "0"}, {"1,0", "1.25"}, {"1,1", "0.75"}, {"2,0", "2"}, {"2,1", "0"}},
        {{"0,0", "3"}, {"0,1", "0"}, {"1,0", "1.25"}, {"1,1", "0.75"}, {"2,0", "2"}, {"2,1", "4"}},
    };
    // A cell's value comes from its states: its messages on cell_out are arrows and port values only.
    const Cells none = {{"0,0", "-"}, {"0,1", "-"}, {"1,0", "-"}, {"1,1", "-"}, {"2,0", "-"}, {"2,1", "-"}};
    const Cells messagesOnly[] = {none, none, none};
    const double times[] = {0, 1500, 3000.25};
    const struct {
        const char* what;
        std::vector<std::string> files;
        const Cells* cells;
        size_t events;  // 9 cell states with a number and 7 messages
        std::map<std::string, std::set<std::string>> ports;
    } cases[] = {
        {"messages, then states",
         {"forest_messages.txt", "forest_state.txt"},
         both,
         16,
         {{"forest", {}}, {"fire", {"cell_out", "out"}}, {"clock", {"tick", "alarm"}}}},
        {"states, then messages",
         {"forest_state.txt", "forest_messages.txt"},
         both,
         16,
         {{"forest", {}}, {"fire", {"cell_out", "out"}}, {"clock", {"tick", "alarm"}}}},
        {"messages alone",
         {"forest_messages.txt"},
         messagesOnly,
         7,
         {{"forest", {}}, {"fire", {"cell_out"}}, {"clock", {"tick", "alarm"}}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (const std::string& file : c.files) {
            EXPECT_TRUE(m_simulation.importLogFile(sample(file))) << m_log.text();
        }
        EXPECT_EQ(c.ports, ports());
        ASSERT_NE(nullptr, space("fire"));
        EXPECT_EQ((std::array<unsigned, 3>{3, 2, 1}),
                  (std::array<unsigned, 3>{space("fire")->getWidth(), space("fire")->getHeight(),
                                           space("fire")->getLength()}));
        EXPECT_EQ(c.events, getVisualization()->getEventList()->size());
        ASSERT_EQ(3u, m_simulation.timeCount());
        for (size_t i = 0; i < 3; ++i) {
            EXPECT_DOUBLE_EQ(times[i], m_simulation.timeAt(i));
            EXPECT_EQ(c.cells[i], cellsAt("fire", times[i])) << "at " << times[i];
        }
        // One top model holds the space and the clock.
        const SDModelTree& tree = getVisualization()->getStructure()->tree();
        const std::vector<uint32_t> tops = tree.topModels();
        ASSERT_EQ(1u, tops.size());
        EXPECT_EQ("forest", tree.name(tops[0]));
        EXPECT_EQ(2u, tree.node(tops[0]).children.size());
        m_simulation.closeVisualization();
        ASSERT_TRUE(m_simulation.newVisualization("forest"));
    }
}

TEST_F(Cadmium1RunTest, ASpaceKeepsTheOriginOfItsNegativeCoordinatesInTheRegistry) {
    TempDir dir;
    const std::string path = dir.write("grid_state.txt",
                                       "00:00:00:000\n"
                                       "State for model grid_(-2,1) is 7\n"
                                       "State for model grid_(0,-1) is 8\n"
                                       "State for model grid_(1,2) is 6\n");
    ASSERT_TRUE(m_simulation.importLogFile(path));
    ASSERT_NE(nullptr, space("grid"));
    // By hand: x from -2 to 1, y from -1 to 2; the reader's own sizes are checked with the loader.
    EXPECT_EQ((std::array<int, 3>{-2, -1, 0}), space("grid")->getOrigin());
}

}  // namespace
