#include "simdata/SDModelTree.h"

namespace {

// A cell's space is the text before its coordinates.
std::string_view spaceOf(std::string_view cell) {
    return cell.substr(0, cell.rfind('('));
}

}  // namespace

bool SDModelTree::add(const SDLogMessage& message, Ends& ends) {
    std::string_view parent = message.parent();
    std::string_view child = message.child();
    const bool cellChild = SDLogMessage::isCell(child);
    const bool cellParent = SDLogMessage::isCell(parent);
    if (cellChild || cellParent) {
        // A space's lines to its own cells say only that it is one; a line between a cell and another
        // model links that model with the cell's space.
        const std::string_view space = spaceOf(cellChild ? child : parent);
        if (m_lastSpace == kNone || m_names.name(m_lastSpace) != space) {
            m_lastSpace = nodeOf(space);
            if (!m_nodes[m_lastSpace].cellSpace) {
                m_nodes[m_lastSpace].cellSpace = true;
                ++m_revision;
            }
        }
        parent = cellParent ? spaceOf(parent) : parent;
        child = cellChild ? spaceOf(child) : child;
        if (parent != child) {
            link(nodeOf(parent), nodeOf(child));
        }
        return false;
    }
    if (parent == child) {
        return false;
    }
    const uint32_t parentNode = nodeOf(parent);
    const uint32_t childNode = nodeOf(child);
    link(parentNode, childNode);
    ends.source = message.goesDown() ? parentNode : childNode;
    ends.destination = message.goesDown() ? childNode : parentNode;
    ends.slot = kNone;
    if (message.kind == SDLogMessage::Kind::External) {
        ends.slot = addPort(m_nodes[ends.destination].inputs, message.port);
    } else if (message.kind == SDLogMessage::Kind::Output) {
        ends.slot = addPort(m_nodes[ends.source].outputs, message.port);
    }
    return true;
}

uint32_t SDModelTree::nodeOf(std::string_view name) {
    const uint32_t node = m_names.intern(name);
    if (node == m_nodes.size()) {
        m_nodes.emplace_back();
        ++m_revision;
    }
    return node;
}

void SDModelTree::link(uint32_t parent, uint32_t child) {
    Node& node = m_nodes[child];
    if (node.parent != kNone || m_names.name(child) == kRootName) {
        return;
    }
    // A corrupt log must not make a model its own ancestor.
    for (uint32_t above = parent; above != kNone; above = m_nodes[above].parent) {
        if (above == child) {
            return;
        }
    }
    node.parent = parent;
    m_nodes[parent].children.push_back(child);
    ++m_revision;
}

uint32_t SDModelTree::addPort(std::vector<Port>& ports, std::string_view port) {
    const uint32_t name = m_ports.intern(port);
    for (const Port& held : ports) {
        if (held.name == name) {
            return held.slot;
        }
    }
    const auto slot = static_cast<uint32_t>(m_slotCount++);
    ports.push_back(Port{name, slot});
    ++m_revision;
    return slot;
}

uint32_t SDModelTree::find(std::string_view name) const {
    uint32_t node = kNone;
    return m_names.find(name, node) ? node : kNone;
}

uint32_t SDModelTree::portSlot(uint32_t node, std::string_view port, bool input) const {
    uint32_t name = 0;
    if (node >= m_nodes.size() || !m_ports.find(port, name)) {
        return kNone;
    }
    for (const Port& held : input ? m_nodes[node].inputs : m_nodes[node].outputs) {
        if (held.name == name) {
            return held.slot;
        }
    }
    return kNone;
}

std::vector<uint32_t> SDModelTree::topModels() const {
    std::vector<uint32_t> top;
    const uint32_t root = find(kRootName);
    if (root != kNone) {
        top = m_nodes[root].children;
    }
    for (uint32_t node = 0; node < m_nodes.size(); ++node) {
        if (m_nodes[node].parent == kNone && node != root) {
            top.push_back(node);
        }
    }
    return top;
}

bool SDModelTree::isAtomic(uint32_t node) const {
    return node < m_nodes.size() && m_nodes[node].children.empty() && !m_nodes[node].cellSpace &&
           m_names.name(node) != kRootName;
}
