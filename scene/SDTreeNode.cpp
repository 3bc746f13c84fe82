#include "scene/SDTreeNode.h"

#include "scene/SDNodeList.h"
#include "scene/SDSceneNodeInfo.h"

SDTreeNode::SDTreeNode(SDNodeList* nodeList, int depth) : m_nodeList(nodeList), m_depth(depth) {}

SDTreeNode::~SDTreeNode() {
    if (m_nodeList != nullptr) {
        for (int index : m_nodeIndices) {
            if (SDSceneNodeInfo* info = m_nodeList->getNodeInfo(index)) {
                info->removeTreeLocation(this);
            }
        }
    }
    m_nodeIndices.clear();
}
