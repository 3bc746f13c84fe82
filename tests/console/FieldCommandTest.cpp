// vis_field typed as the console runs it, over one cell state fed to the open visualization as a reader
// feeds it.
#include <gtest/gtest.h>

#include <string>

#include "control/VCSimulationLink.h"
#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDEvent.h"
#include "simdata/SDEventList.h"
#include "simdata/SDLogMessage.h"
#include "simdata/SDTimeCursor.h"
#include "simdata/SDVisualization.h"
#include "tests/console/CommandFixture.h"

namespace {

class FieldCommandTest : public CommandTest {
  protected:
    void SetUp() override {
        CommandTest::SetUp();
        getEngineVariables()->setBool("console_logging", true);
    }
    // cells(0,0), of a space of two cells, holds "<0.5,12>" from 00:00:01:000 on. The cell also sends 7 on
    // "out" at that time, offered just before the state, and the state's value event just after: the
    // message is an output, the value of a state an event of its own kind.
    void open() {
        run("vis_new run");
        VCSimulation* simulation = getSimulation();
        SDVisualization* visualization = getVisualization();
        VCSimulationLink link(simulation->getModelList(), simulation->getEventList());
        link.setStructure(visualization->getStructure());
        link.setStateTexts(visualization->getStateTexts());
        SDCELLDevsModel space;
        space.setName("cells");
        space.ensureCell(0, 1, 0);
        link.offerModel(space);
        SDLogMessage init;
        init.source = "run";
        init.destination = "cells";
        link.offerMessage(init);
        SDEvent event;
        event.m_time = SDTime(1000);
        event.m_type = 1;
        event.m_source = "cells(0,0)";
        event.m_destination = "cells";
        event.m_port = "out";
        event.m_value = 7;
        link.offerEvent(event);
        link.offerState("cells(0,0)", 1000, "<0.5,12>");
        event.m_type = SDEvent::kStateType;
        event.m_value = 0.5;
        link.offerEvent(event);
        visualization->getCursor()->sync();
        run("time_goto end");
    }
};

TEST_F(FieldCommandTest, RepliesToEachLine) {
    struct Case {
        const char* line;
        Lines printed;  // the reply when the line is refused, else what it printed
    };
    const Case closed[] = {
        {"vis_field", {"usage: vis_field $model $k"}},
        {"vis_field cells", {"usage: vis_field $model $k"}},
        {"vis_field cells 1 2", {"usage: vis_field $model $k"}},
        {"vis_field cells -1", {"Numbers of a state count from 0: -1 is none of them"}},
        {"vis_field cells 1", {"Unable to choose a field. Visualization does not exist."}},
    };
    const Case opened[] = {
        {"vis_field nosuch 1", {"No model named nosuch"}},
        {"vis_field run 1", {"run has no state texts to take a number from"}},
        {"vis_range cells all", {"Colour range of cells: 0.5 .. 0.5 (all)"}},
        {"vis_field cells 1", {"Field of cells: number 1 of each state"}},
        // The range follows at once, before anything else reads the cells.
        {"vis_range cells all", {"Colour range of cells: 12 .. 12 (all)"}},
        {"vis_cell cells 0 0", {"cells(0,0) = 12.000000 <0.5,12> since 00:00:01:000"}},
    };
    auto play = [this](const Case& c) {
        const std::string reply = check(c.line);
        if (parsed == nullptr) {
            EXPECT_EQ(c.printed.front(), reply) << c.line;
            return;
        }
        EXPECT_EQ(c.printed, run(c.line)) << c.line;
    };
    for (const Case& c : closed) {
        play(c);
    }
    open();
    for (const Case& c : opened) {
        play(c);
    }
    EXPECT_EQ("vis_field cells", parser.completeLine("vis_field ce").line);
    // The fields went to the state's own event, not to the message before it: that keeps its 7.
    const SDEventList* events = getVisualization()->getEventList();
    ASSERT_EQ(2u, events->size());
    EXPECT_EQ(7.0, events->record(0).value);
}

}  // namespace
