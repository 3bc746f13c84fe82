// Whole state texts fed to the link as a reader feeds them: vis_cell and vis_model show the state held at
// each time, and vis_field takes another number of each state as the cells' values. The expected lines
// are read off the run below by hand.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "control/VCCellReading.h"
#include "control/VCModelReading.h"
#include "control/VCSimulation.h"
#include "control/VCSimulationLink.h"
#include "control/VCStateField.h"
#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDCellValues.h"
#include "simdata/SDDevsModelList.h"
#include "simdata/SDEvent.h"
#include "simdata/SDLogMessage.h"
#include "simdata/SDTimeCursor.h"
#include "simdata/SDVisualization.h"
#include "tests/support/LogRecorder.h"

namespace {

using Lines = std::vector<std::string>;

// Whether a state's value event comes before the state, after it, or not at all (a text without a number).
enum class Order { EventFirst, StateFirst, NoEvent };

class StateTextsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(simulation.newVisualization("run"));
        visualization = getVisualization();
        link = std::make_unique<VCSimulationLink>(simulation.getModelList(), simulation.getEventList());
        link->setStructure(visualization->getStructure());
        link->setStateTexts(visualization->getStateTexts());
        // A 2x2 space and two plain models under the run's top model.
        SDCELLDevsModel space;
        space.setName("cells");
        space.ensureCell(1, 1, 0);
        space.appendOutputPort("out");
        link->offerModel(space);
        for (const char* plain : {"queue", "gen"}) {
            SDDevsModel model;
            model.setName(plain);
            link->offerModel(model);
            init("run", plain);
        }
        init("run", "cells");
        for (const char* cell : {"cells(0,0)", "cells(1,0)", "cells(0,1)", "cells(1,1)"}) {
            init("cells", cell);
        }
        state("cells(0,0)", 0, "<0.5,12>", 0.5, Order::EventFirst);
        state("cells(1,0)", 0, "closed", 0, Order::NoEvent);
        link->offerState("queue", 0, "{level: 4, busy: 1}");
        output("gen", 1500, 7.0);  // an output on "out" that carries no state
        state("cells(0,0)", 1500, "<0.25>", 0.25, Order::StateFirst);
        output("cells(0,0)", 1500, 99.0);  // the cell's own output on "out": a message, not its value
        state("cells(1,0)", 1500, "<2,7,9>", 2, Order::EventFirst);
        state("cells(0,0)", 3000, "open", 0, Order::NoEvent);
        state("cells(1,0)", 3000, "<3,\n8>", 3, Order::StateFirst);
        link->offerState("queue", 3000, "{level: 2}");
        // Late, out of time order: it moves the events after it.
        state("cells(1,1)", 1000, "<5,6>", 5, Order::EventFirst);
        visualization->getCursor()->sync();
    }

    void init(const char* parent, const char* child) {
        SDLogMessage message;
        message.kind = SDLogMessage::Kind::Init;
        message.source = parent;
        message.destination = child;
        link->offerMessage(message);
    }
    void output(const char* model, double milliseconds, double value, int type = 1) {
        SDEvent event;
        event.m_time = SDTime(milliseconds);
        event.m_type = type;
        event.m_source = model;
        event.m_destination = model[0] == 'c' ? "cells" : "run";
        event.m_port = "out";
        event.m_value = value;
        link->offerEvent(event);
    }
    void state(const char* cell, double milliseconds, const char* text, double value, Order order) {
        if (order == Order::EventFirst) {
            output(cell, milliseconds, value, SDEvent::kStateType);
        }
        link->offerState(cell, milliseconds, text);
        if (order == Order::StateFirst) {
            output(cell, milliseconds, value, SDEvent::kStateType);
        }
    }

    std::string cell(long long x, long long y) { return VCCellReading::read("cells", x, y, 0).describe(); }
    // The state line of vis_model, or "" without one.
    std::string modelState(const std::string& model) {
        for (const std::string& line : VCModelReading::read(model).lines) {
            if (line.rfind("  state", 0) == 0) {
                return line;
            }
        }
        return "";
    }

    LogRecorder rec;
    VCSimulation simulation;
    SDVisualization* visualization = nullptr;
    std::unique_ptr<VCSimulationLink> link;
};

// vis_model and vis_cell show the state held at each time. A state without a number leaves the value as it
// was; the cell's own output on "out" (99) is none of them.
TEST_F(StateTextsTest, ModelsAndCellsShowTheStateTheyHeldAtEachTime) {
    const struct {
        double time;
        const char* model;
        const char* line;  // a cell's whole line, a plain model's state line or ""
    } cases[] = {
        {0, "queue", "  state = 4.000000 {level: 4, busy: 1} since 00:00:00:000"},
        {1500, "queue", "  state = 4.000000 {level: 4, busy: 1} since 00:00:00:000"},
        {3000, "queue", "  state = 2.000000 {level: 2} since 00:00:03:000"},
        {1500, "run", ""},
        {3000, "gen", ""},
        {0, "cells(0,0)", "cells(0,0) = 0.500000 <0.5,12> since 00:00:00:000"},
        {0, "cells(1,0)", "cells(1,0) has no value yet, state closed since 00:00:00:000"},
        {0, "cells(1,1)", "cells(1,1) has no value yet"},
        {1500, "cells(0,0)", "cells(0,0) = 0.250000 <0.25> since 00:00:01:500"},
        {1500, "cells(1,0)", "cells(1,0) = 2.000000 <2,7,9> since 00:00:01:500"},
        {1500, "cells(1,1)", "cells(1,1) = 5.000000 <5,6> since 00:00:01:000"},
        {3000, "cells(0,0)", "cells(0,0) = 0.250000 since 00:00:01:500, state open since 00:00:03:000"},
        {3000, "cells(1,0)", "cells(1,0) = 3.000000 <3, 8> since 00:00:03:000"},
        {3000, "cells(1,1)", "cells(1,1) = 5.000000 <5,6> since 00:00:01:000"},
    };
    for (const auto& c : cases) {
        simulation.timeGoto(c.time);
        const std::string model = c.model;
        EXPECT_EQ(c.line,
                  model.rfind("cells(", 0) == 0 ? cell(model[6] - '0', model[8] - '0') : modelState(model))
            << c.model << " at " << c.time;
    }
}

// A field makes another number of each state the value.
TEST_F(StateTextsTest, AFieldMakesAnotherNumberOfEachStateTheValue) {
    const long long at[3][2] = {{0, 0}, {1, 0}, {1, 1}};
    const double times[3] = {0, 1500, 3000};
    // The values of the three cells at a time, "-" for none.
    const auto values = [&](double time) {
        simulation.timeGoto(time);
        std::string shown;
        for (const auto& xy : at) {
            const std::string line = cell(xy[0], xy[1]);
            const size_t is = line.find(" = ") + 3;
            shown += is == 2 ? " -" : " " + line.substr(is, line.find(' ', is) - is);
        }
        return shown.substr(1);
    };
    struct Case {
        int field;
        Lines reply;
        double range[2];
        const char* values[3];  // at 0, 1500 and 3000
    };
    const Case cases[] = {
        {1,
         {"Field of cells: number 1 of each state",
          "1 of the 5 states with a number has no number 1: no value from its time on"},
         {6, 12},
         {"12.000000 - -", "nan 7.000000 6.000000", "nan 8.000000 6.000000"}},
        {2,
         {"Field of cells: number 2 of each state",
          "4 of the 5 states with a number have no number 2: no value from their times on"},
         {9, 9},
         {"nan - -", "nan 9.000000 nan", "nan nan nan"}},
        {0,
         {"Field of cells: number 0 of each state"},
         {0.25, 5},
         {"0.500000 - -", "0.250000 2.000000 5.000000", "0.250000 3.000000 5.000000"}},
    };
    auto* space = dynamic_cast<SDCELLDevsModel*>(visualization->getModelList()->findModel("cells"));
    ASSERT_NE(nullptr, space);
    for (const Case& c : cases) {
        simulation.timeGoto(3000);  // the values change where the cursor stands
        const uint64_t run = simulation.getRunRevision();
        EXPECT_EQ(c.reply, simulation.chooseField("cells", c.field));
        EXPECT_GT(simulation.getRunRevision(), run) << "plots and pictures follow";
        for (int t = 0; t < 3; ++t) {
            EXPECT_EQ(c.values[t], values(times[t])) << "field " << c.field << " at " << times[t];
        }
        double range[2] = {0, 0};
        ASSERT_TRUE(space->getValues().range(range[0], range[1]));
        EXPECT_EQ(c.range[0], range[0]) << "field " << c.field;
        EXPECT_EQ(c.range[1], range[1]) << "field " << c.field;
        // The plain model's output on "out" is no state's.
        double value = 0;
        uint32_t index = 0;
        ASSERT_TRUE(visualization->getCursor()->output("gen", "out", value, index));
        EXPECT_EQ(7.0, value);
    }
}

TEST_F(StateTextsTest, AFieldHoldsForPlainModelsLaterStatesAndInitialValues) {
    // A plain model: its state line shows the number chosen, or none.
    EXPECT_EQ(Lines{"Field of queue: number 1 of each state"}, simulation.chooseField("queue", 1));
    simulation.timeGoto(0);
    EXPECT_EQ("  state = 1.000000 {level: 4, busy: 1} since 00:00:00:000", modelState("queue"));
    simulation.timeGoto(3000);
    EXPECT_EQ("  state {level: 2} since 00:00:03:000", modelState("queue"));

    // States read after the choice take it once their import ends.
    simulation.chooseField("cells", 1);
    state("cells(0,1)", 3000, "<1,2>", 1, Order::EventFirst);
    VCStateField::follow(*visualization);
    EXPECT_EQ("cells(0,1) = 2.000000 <1,2> since 00:00:03:000", cell(0, 1));

    // A model without states whose initial values follow the choice is no refusal.
    std::vector<std::string> asked;
    simulation.setFieldHook([&asked](const std::string& model, int field) {
        asked.push_back(model + " " + std::to_string(field));
        return model == "grid";
    });
    EXPECT_EQ(Lines{"Field of grid: number 2 of each state"}, simulation.chooseField("grid", 2));
    EXPECT_EQ(Lines{"No model named other"}, simulation.chooseField("other", 2));
    EXPECT_EQ((Lines{"grid 2", "other 2"}), asked);
}

}  // namespace
