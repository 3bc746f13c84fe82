#include "scene/SDSceneGraph.h"

#include <GL/gl.h>

#include "shell/Log.h"
#include "view3d/Frustum.h"

SDSceneGraph::SDSceneGraph() : m_nodeList(std::make_unique<SDNodeList>()) {
    BoundingBox world(Vector3(0.0f, 0.0f, 0.0f), Vector3(kWorldSize, kWorldSize, kWorldSize));
    m_root = std::make_unique<SDOctTreeNode>(m_nodeList.get(), nullptr, world, 1);
}

SDSceneGraph::~SDSceneGraph() {
    m_root.reset();
    m_nodeList.reset();
}

SDNodeList* SDSceneGraph::getNodeList() {
    return m_nodeList.get();
}

int SDSceneGraph::addNode(std::unique_ptr<SDSceneNode> node) {
    int index = m_nodeList->addNode(std::move(node));
    logMessage("Adding node to node list at position %d", index);
    if (m_nodeList->getNodeInfo(index) == nullptr) {
        logMessage(
            "Added an invalid nodeIndex to the scene graph. Perhaps node index is for a different node list");
        return -1;
    }
    if (m_root->addNode(index)) {
        logMessage("Node added successfully to Scene graph");
    } else {
        logMessage("Unable to add node to scene graph");
    }
    return index;
}

void SDSceneGraph::render(Frustum* frustum) {
    if (frustum == nullptr) {
        return;
    }
    // A new frame: every node may be drawn once again.
    advanceSceneFrame();
    const GLfloat lightDirection[4] = {1.0f, 1.0f, 0.0f, 0.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, lightDirection);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    m_root->render(frustum, 1);
    glDisable(GL_LIGHTING);
}
