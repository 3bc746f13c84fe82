#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "simdata/SDLogMessage.h"
#include "simdata/SDNameTable.h"

// The hierarchy of the models a log names, read from its message lines alone: every message passes between
// a model and its parent (I, * and X go down, D and Y go up), so a model's parent is the other end of the
// first message that has it as the child, and a parent's children are kept in the order they became its
// children.
//
// Cells (name(x,y..)) are not models of the hierarchy: a line between a cell and its cell space only marks
// that space as one; the cell space takes part like any other model through its own lines. "Root" is the
// simulator's root: it has no parent, and the models under it are the top of what is drawn.
//
// Each model also has the ports its own lines show, in first-appearance order: X lines it receives give its
// input ports, Y lines it sends its output ports. Every port gets a number ("slot") that the history keys
// its values by.
class SDModelTree {
  public:
    static constexpr uint32_t kNone = UINT32_MAX;
    static constexpr std::string_view kRootName = "Root";

    struct Port {
        uint32_t name;  // number in portNames()
        uint32_t slot;
    };
    struct Node {
        uint32_t parent = kNone;
        std::vector<uint32_t> children;
        std::vector<Port> inputs;
        std::vector<Port> outputs;
        bool cellSpace = false;
    };
    // A line between two models of the hierarchy: their numbers, and the port's slot (X and Y only).
    struct Ends {
        uint32_t source = kNone;
        uint32_t destination = kNone;
        uint32_t slot = kNone;
    };

    SDModelTree() = default;
    SDModelTree(const SDModelTree&) = delete;
    SDModelTree& operator=(const SDModelTree&) = delete;

    // Notes what one message line says. True, with `ends` set, when both ends are models of the hierarchy
    // (neither is a cell nor the same model), so that the line belongs to their history.
    bool add(const SDLogMessage& message, Ends& ends);

    size_t size() const { return m_nodes.size(); }
    // A model's number is the number of its name: name(n) for n below size().
    std::string_view name(uint32_t node) const { return m_names.name(node); }
    const Node& node(uint32_t node) const { return m_nodes[node]; }
    // The model of that name, or kNone.
    uint32_t find(std::string_view name) const;
    const SDNameTable& portNames() const { return m_ports; }
    // The slot of a model's port, or kNone.
    uint32_t portSlot(uint32_t node, std::string_view port, bool input) const;
    size_t slotCount() const { return m_slotCount; }

    // The models below Root, then those without a parent (other than Root), in first-appearance order.
    std::vector<uint32_t> topModels() const;
    // Whether a model is a plain atomic one: not Root, not a cell space, no children.
    bool isAtomic(uint32_t node) const;
    // Grows whenever a model, a link or a port is added.
    uint64_t revision() const { return m_revision; }

  private:
    uint32_t nodeOf(std::string_view name);
    void link(uint32_t parent, uint32_t child);
    uint32_t addPort(std::vector<Port>& ports, std::string_view port);

    SDNameTable m_names;  // model names; a model's number is its name's
    SDNameTable m_ports;
    std::vector<Node> m_nodes;
    size_t m_slotCount = 0;
    uint64_t m_revision = 0;
    uint32_t m_lastSpace = kNone;  // cell lines come in long runs of one space
};
