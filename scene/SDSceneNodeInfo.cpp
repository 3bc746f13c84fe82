#include "scene/SDSceneNodeInfo.h"

#include <algorithm>

#include "shell/Log.h"

namespace {
std::uint64_t g_sceneFrame = 1;
}

std::uint64_t currentSceneFrame() {
    return g_sceneFrame;
}

void advanceSceneFrame() {
    ++g_sceneFrame;
}

SDSceneNodeInfo::SDSceneNodeInfo(std::unique_ptr<SDSceneNode> node) : m_node(std::move(node)) {}

SDSceneNodeInfo::~SDSceneNodeInfo() {
    m_node.reset();
    m_treeLocations.clear();
}

void SDSceneNodeInfo::addTreeLocation(SDTreeNode* treeNode) {
    if (treeNode != nullptr) {
        m_treeLocations.push_back(treeNode);
    }
}

bool SDSceneNodeInfo::removeTreeLocation(SDTreeNode* treeNode) {
    auto it = std::find(m_treeLocations.begin(), m_treeLocations.end(), treeNode);
    if (it == m_treeLocations.end()) {
        return false;
    }
    logMessage("Removed tree location from Scene node info");
    m_treeLocations.erase(it);
    return true;
}

void SDSceneNodeInfo::drawOnce() {
    if (!m_node || m_frameStamp == g_sceneFrame) {
        return;
    }
    m_frameStamp = g_sceneFrame;
    m_node->drawIfShown();
}
