#include "control/VCSceneGraph.h"

#include <utility>

#include "scene/SDSceneGraph.h"

VCSceneGraph::~VCSceneGraph() {
    m_graph = nullptr;
}

void VCSceneGraph::render(Frustum* frustum) {
    if (m_graph != nullptr) {
        m_graph->render(frustum);
    }
}

int VCSceneGraph::addNode(std::unique_ptr<SDSceneNode> node) {
    if (m_graph == nullptr) {
        return -1;
    }
    return m_graph->addNode(std::move(node));
}
