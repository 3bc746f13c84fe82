#include "scene/SDSceneNode.h"

std::string SDSceneNode::print() const {
    return std::string("m_show =") + (m_show ? " true" : " false");
}

void SDSceneNode::drawIfShown() {
    if (m_show) {
        draw();
    }
}
