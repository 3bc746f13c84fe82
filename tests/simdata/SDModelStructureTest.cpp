#include "simdata/SDModelStructure.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Kind = SDLogMessage::Kind;
using Activity = SDModelStructure::Activity;

// A run written by hand: Root > top > (gen, proc > (a, b)), a cell space `space` under top, and lines a
// corrupt log could hold. Times in milliseconds.
class SDModelStructureTest : public ::testing::Test {
  protected:
    void SetUp() override {
        add(Kind::Init, 0, "Root", "top");
        add(Kind::Init, 0, "top", "gen");
        add(Kind::Done, 0, "proc", "top", "", 0, 5);  // proc's parent from a D: it goes up
        add(Kind::Init, 0, "proc", "a");
        add(Kind::Init, 0, "proc", "b");
        add(Kind::Init, 0, "top", "space");
        add(Kind::Output, 0, "space(0,1)", "space", "out", 3);  // a cell: marks the space, no history
        add(Kind::Done, 0, "gen", "top", "", 0, 10);
        add(Kind::Done, 0, "a", "proc");  // passive
        add(Kind::Internal, 10, "top", "gen");
        add(Kind::Output, 10, "gen", "top", "out", 1.5);
        add(Kind::External, 10, "top", "proc", "in", 1.5);
        add(Kind::External, 10, "proc", "a", "in", 1.5);
        add(Kind::Done, 10, "gen", "top");
        add(Kind::Done, 10, "a", "proc", "", 0, 4);
        add(Kind::External, 10, "top", "proc", "in",
            2.5);  // a second value at the same time: the last counts
        add(Kind::Output, 14, "a", "proc", "done", -1);
        add(Kind::Done, 14, "a", "proc");
        add(Kind::Output, 14, "proc", "top", "out", -1);
        add(Kind::External, 14, "b", "proc", "back", 7);  // b is proc's child already: no new link
        add(Kind::Init, 20, "a", "top");                  // top would become its own descendant: refused
        add(Kind::Init, 20, "a", "a");                    // a model and itself: nothing
        add(Kind::Output, std::numeric_limits<double>::quiet_NaN(), "gen", "top", "out", 99);  // no time
    }
    void add(Kind kind, double time, const char* source, const char* destination, const char* port = "",
             double value = 0.0, double delay = -1.0) {
        SDLogMessage message;
        message.kind = kind;
        message.time = time;
        message.source = source;
        message.destination = destination;
        message.port = port;
        message.value = value;
        message.passive = delay < 0.0;
        message.delay = delay;
        structure.add(message);
    }
    uint32_t node(const char* name) { return structure.tree().find(name); }
    std::string names(const std::vector<uint32_t>& nodes) {
        std::string text;
        for (uint32_t n : nodes) {
            text += text.empty() ? "" : " ";
            text += structure.tree().name(n);
        }
        return text;
    }
    std::string ports(const char* model, bool input) {
        const SDModelTree::Node& held = structure.tree().node(node(model));
        std::string text;
        for (const SDModelTree::Port& port : input ? held.inputs : held.outputs) {
            text += text.empty() ? "" : " ";
            text += structure.tree().portNames().name(port.name);
        }
        return text;
    }

    SDModelStructure structure;
};

TEST_F(SDModelStructureTest, TheHierarchyComesFromTheFirstLineBetweenTwoModels) {
    const SDModelTree& tree = structure.tree();
    struct Expected {
        const char* model;
        const char* parent;  // "" for none
        const char* children;
        const char* inputs;
        const char* outputs;
        bool cellSpace;
        bool atomic;
    };
    const Expected table[] = {
        {"Root", "", "top", "", "", false, false},    {"top", "Root", "gen proc space", "", "", false, false},
        {"gen", "top", "", "", "out", false, true},   {"proc", "top", "a b", "in back", "out", false, false},
        {"a", "proc", "", "in", "done", false, true}, {"b", "proc", "", "", "", false, true},
        {"space", "top", "", "", "", true, false},
    };
    for (const Expected& e : table) {
        SCOPED_TRACE(e.model);
        const uint32_t n = node(e.model);
        ASSERT_NE(SDModelTree::kNone, n);
        const SDModelTree::Node& held = tree.node(n);
        EXPECT_EQ(e.parent, held.parent == SDModelTree::kNone ? std::string() : tree.name(held.parent));
        EXPECT_EQ(e.children, names(held.children));
        EXPECT_EQ(e.inputs, ports(e.model, true));
        EXPECT_EQ(e.outputs, ports(e.model, false));
        EXPECT_EQ(e.cellSpace, held.cellSpace);
        EXPECT_EQ(e.atomic, tree.isAtomic(n));
    }
    EXPECT_EQ(7u, tree.size()) << "cells are not models of the hierarchy";
    EXPECT_EQ(SDModelTree::kNone, tree.find("space(0,1)"));
    EXPECT_EQ("top", names(tree.topModels()));
    EXPECT_TRUE(structure.hasAtomicModel());
}

TEST_F(SDModelStructureTest, AnyTimeIsAnsweredFromTheLinesAtOrBeforeIt) {
    struct Expected {
        const char* model;
        double time;
        Activity activity;
        double next;  // -1: passive, -2: no D yet
    };
    const Expected table[] = {
        {"gen", 0, Activity::Waiting, 10},  {"gen", 5, Activity::Waiting, 10},
        {"gen", 10, Activity::Active, -1},  {"gen", 12, Activity::Passive, -1},
        {"a", 0, Activity::Passive, -1},    {"a", 10, Activity::Active, 14},
        {"a", 13, Activity::Waiting, 14},   {"a", 14, Activity::Active, -1},
        {"proc", 10, Activity::Active, 5},  {"proc", 14, Activity::Active, 5},
        {"b", 14, Activity::Unknown, -2},   {"top", 10, Activity::Unknown, -2},
        {"gen", -1, Activity::Unknown, -2},
    };
    const SDModelHistory& history = structure.history();
    for (const Expected& e : table) {
        SCOPED_TRACE(std::string(e.model) + " at " + std::to_string(e.time));
        EXPECT_EQ(e.activity, structure.activityAt(node(e.model), e.time));
        const SDModelHistory::Done done = history.doneAt(node(e.model), e.time);
        EXPECT_EQ(e.next != -2, done.known);
        EXPECT_EQ(e.next == -1, done.known && done.passive);
        if (e.next >= 0) {
            EXPECT_EQ(e.next, done.next);
        }
    }
}

TEST_F(SDModelStructureTest, PortsHoldTheirLastValueAndTheRunsRange) {
    const SDModelTree& tree = structure.tree();
    const SDModelHistory& history = structure.history();
    struct Expected {
        const char* model;
        const char* port;
        bool input;
        double time;
        bool has;
        double value;
        double since;
    };
    const Expected table[] = {
        {"gen", "out", false, 9, false, 0, 0},     {"gen", "out", false, 10, true, 1.5, 10},
        {"gen", "out", false, 1e9, true, 1.5, 10},  // the line without a time is never applied
        {"proc", "in", true, 10, true, 2.5, 10},   {"proc", "out", false, 20, true, -1, 14},
        {"proc", "back", true, 14, true, 7, 14},   {"a", "done", false, 13, false, 0, 0},
    };
    for (const Expected& e : table) {
        SCOPED_TRACE(std::string(e.model) + "." + e.port + " at " + std::to_string(e.time));
        const uint32_t slot = tree.portSlot(node(e.model), e.port, e.input);
        ASSERT_NE(SDModelTree::kNone, slot);
        double value = 0.0;
        double since = 0.0;
        EXPECT_EQ(e.has, history.valueAt(slot, e.time, value, since));
        if (e.has) {
            EXPECT_EQ(e.value, value);
            EXPECT_EQ(e.since, since);
        }
    }
    double low = 0.0;
    double high = 0.0;
    ASSERT_TRUE(history.range(tree.portSlot(node("proc"), "in", true), low, high));
    EXPECT_EQ(1.5, low);
    EXPECT_EQ(2.5, high);
    EXPECT_EQ(3u, history.valueWidth(tree.portSlot(node("proc"), "in", true))) << "\"1.5\" and \"2.5\"";
    EXPECT_EQ(SDModelTree::kNone, tree.portSlot(node("proc"), "in", false)) << "no output port of that name";

    // The X and Y lines of one time, in log order.
    const auto [first, last] = history.messagesAt(10);
    ASSERT_EQ(4u, last - first);
    EXPECT_EQ(1.5, history.message(first).value);
    EXPECT_EQ(2.5, history.message(last - 1).value);
    EXPECT_EQ(0u, history.messagesAt(12).second - history.messagesAt(12).first);
}

TEST(SDModelStructureCellsTest, CellSpacesAloneUnderCoupledModelsDrawNoHierarchy) {
    SDModelStructure structure;
    SDLogMessage message;
    message.kind = Kind::Init;
    for (auto [source, destination] : {std::pair{"Root", "top"}, {"top", "life"}, {"life", "life(3,4)"}}) {
        message.source = source;
        message.destination = destination;
        structure.add(message);
    }
    EXPECT_FALSE(structure.hasAtomicModel());
    EXPECT_TRUE(structure.tree().node(structure.tree().find("life")).cellSpace);
}

}  // namespace
