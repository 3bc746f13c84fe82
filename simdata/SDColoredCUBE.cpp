#include "simdata/SDColoredCUBE.h"

#include "scene/SDDetailNodeCUBE.h"

SDColoredCUBE::SDColoredCUBE(SDDetailNodeCUBE* target) : m_target(target) {}

SDColoredCUBE::SDColoredCUBE(SDDetailNodeCUBE* target, const std::array<float, 4>& color)
    : m_target(target), m_color(color), m_hasColor(true) {}

SDColoredCUBE::~SDColoredCUBE() {
    m_target = nullptr;
}

void SDColoredCUBE::apply() {
    if (m_target != nullptr && m_hasColor) {
        m_target->setColor(m_color[0], m_color[1], m_color[2], m_color[3]);
    }
}

void SDColoredCUBE::remove() {}

void SDColoredCUBE::setColor(float red, float green, float blue, float alpha) {
    m_color = {red, green, blue, alpha};
    m_hasColor = true;
}
