#include "scene/SDNodeList.h"

#include "shell/Log.h"

SDNodeList::~SDNodeList() {
    for (size_t i = 0; i < m_nodes.size(); ++i) {
        if (m_nodes[i]) {
            logMessage("Deleting scene node %d", static_cast<int>(i));
            m_nodes[i].reset();
        }
    }
}

int SDNodeList::getNumNodes() const {
    return static_cast<int>(m_nodes.size());
}

SDSceneNodeInfo* SDNodeList::getNodeInfo(int index) {
    if (index < 0 || static_cast<size_t>(index) >= m_nodes.size()) {
        return nullptr;
    }
    return m_nodes[static_cast<size_t>(index)].get();
}

int SDNodeList::addNode(std::unique_ptr<SDSceneNode> node) {
    if (!node) {
        return -1;
    }
    m_nodes.push_back(std::make_unique<SDSceneNodeInfo>(std::move(node)));
    return static_cast<int>(m_nodes.size()) - 1;
}
