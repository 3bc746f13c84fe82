#include "scene/SDOctTreeNode.h"

#include <algorithm>

#include "scene/SDNodeList.h"
#include "scene/SDSceneNodeInfo.h"
#include "shell/Log.h"
#include "view3d/Frustum.h"

SDOctTreeNode::SDOctTreeNode(SDNodeList* nodeList, SDOctTreeNode* parent, const BoundingBox& box, int depth)
    : SDTreeNode(nodeList, depth), m_parent(parent), m_boundingBox(box) {
    const Vector3& centre = m_boundingBox.getCentre();
    const Vector3& dimensions = m_boundingBox.getDimensions();
    if (depth <= 1) {
        logMessage("Created octtree at depth %d: Centre: (%.3f, %.3f, %.3f) Dimensions: (%.3f, %.3f, %.3f)",
                   depth, centre.x, centre.y, centre.z, dimensions.x, dimensions.y, dimensions.z);
    }
    if (depth >= kLeafDepth) {
        return;
    }
    Vector3 childDimensions = dimensions / 2.0f;
    Vector3 offset = childDimensions / 2.0f;
    for (int i = 0; i < 8; ++i) {
        Vector3 childCentre(centre.x + ((i & 4) ? offset.x : -offset.x),
                            centre.y + ((i & 2) ? offset.y : -offset.y),
                            centre.z + ((i & 1) ? offset.z : -offset.z));
        m_children[static_cast<size_t>(i)] = std::make_unique<SDOctTreeNode>(
            nodeList, this, BoundingBox(childCentre, childDimensions), depth + 1);
    }
}

SDOctTreeNode::~SDOctTreeNode() {
    if (m_depth < 2) {
        const Vector3& centre = m_boundingBox.getCentre();
        const Vector3& dimensions = m_boundingBox.getDimensions();
        logMessage("Deleting octtree at depth %d: Centre: (%.3f, %.3f, %.3f) Dimensions: (%.3f, %.3f, %.3f)",
                   m_depth, centre.x, centre.y, centre.z, dimensions.x, dimensions.y, dimensions.z);
    }
    for (auto& child : m_children) {
        child.reset();
    }
    // SDTreeNode's destructor then takes this node out of its records' tree locations.
}

SDOctTreeNode* SDOctTreeNode::getChild(int octant) const {
    if (octant < 0 || octant > 7) {
        return nullptr;
    }
    return m_children[static_cast<size_t>(octant)].get();
}

bool SDOctTreeNode::addNode(int index) {
    return insertNode(index, 0);
}

bool SDOctTreeNode::removeNode(int index) {
    auto it = std::find(m_nodeIndices.begin(), m_nodeIndices.end(), index);
    if (it == m_nodeIndices.end()) {
        return false;
    }
    m_nodeIndices.erase(it);
    decrementCount();
    return true;
}

bool SDOctTreeNode::insertNode(int index, int splitLevel) {
    SDSceneNodeInfo* info = m_nodeList != nullptr ? m_nodeList->getNodeInfo(index) : nullptr;
    SDSceneNode* node = info != nullptr ? info->getNode() : nullptr;
    if (node == nullptr) {
        logMessage("Unable to retrieve node object from node list index");
        return false;
    }
    if (isLeaf()) {
        storeHere(index);
        return true;
    }
    std::array<bool, 8> flags{};
    int octant = node->findOctant(m_boundingBox.getCentre(), flags);
    if (octant >= 0) {
        return m_children[static_cast<size_t>(octant)]->insertNode(index, splitLevel);
    }
    bool anyFlag = std::find(flags.begin(), flags.end(), true) != flags.end();
    // A box that reaches no octant at all (flat on a centre plane, or with NaN coordinates) would be
    // stored nowhere and never drawn; it stays here instead.
    if (splitLevel < info->getMaxSplitLevel() && anyFlag) {
        for (int i = 0; i < 8; ++i) {
            if (flags[static_cast<size_t>(i)]) {
                m_children[static_cast<size_t>(i)]->insertNode(index, splitLevel + 1);
            }
        }
        return true;
    }
    storeHere(index);
    return true;
}

void SDOctTreeNode::storeHere(int index) {
    const Vector3& centre = m_boundingBox.getCentre();
    const Vector3& dimensions = m_boundingBox.getDimensions();
    logMessage("Adding node to tree node with bounding box: Centre(%.3f,%.3f,%.3f) Dim(%.3f,%.3f,%.3f)",
               centre.x, centre.y, centre.z, dimensions.x, dimensions.y, dimensions.z);
    m_nodeIndices.push_back(index);
    incrementCount();
    if (SDSceneNodeInfo* info = m_nodeList->getNodeInfo(index)) {
        info->addTreeLocation(this);
    }
}

void SDOctTreeNode::incrementCount() {
    for (SDOctTreeNode* n = this; n != nullptr; n = n->m_parent) {
        ++n->m_nodeCount;
    }
}

void SDOctTreeNode::decrementCount() {
    for (SDOctTreeNode* n = this; n != nullptr; n = n->m_parent) {
        --n->m_nodeCount;
    }
}

void SDOctTreeNode::render(const Frustum* frustum, int cullState) {
    if (m_nodeCount == 0) {
        return;
    }
    if (cullState == 1) {
        // Without a frustum nothing can be shown to be visible.
        cullState = frustum != nullptr ? frustum->classifyBox(m_boundingBox) : 2;
    }
    if (cullState == 2) {
        return;
    }
    for (int index : m_nodeIndices) {
        if (SDSceneNodeInfo* info = m_nodeList->getNodeInfo(index)) {
            info->drawOnce();
        }
    }
    if (!isLeaf()) {
        for (auto& child : m_children) {
            child->render(frustum, cullState);
        }
    }
}
