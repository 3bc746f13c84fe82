#include "scene/SDDetailNodeCUBE.h"

#include <GL/freeglut.h>

#include <cstdio>

SDDetailNodeCUBE::SDDetailNodeCUBE()
    : m_position(Vector3(0.0f, 0.0f, 0.0f), Vector3(1.0f, 1.0f, 1.0f)), m_color{0.0f, 0.8f, 0.4f, 1.0f} {}

void SDDetailNodeCUBE::draw() {
    const Vector3& centre = m_position.getCentre();
    const Vector3& dimensions = m_position.getDimensions();
    glPushMatrix();
    glEnable(GL_BLEND);
    glColor4f(m_color[0], m_color[1], m_color[2], m_color[3]);
    glTranslated(centre.x, centre.y, centre.z);
    // setSize keeps the three edges equal; x stands for all of them.
    glutSolidCube(dimensions.x);
    glDisable(GL_BLEND);
    glPopMatrix();
}

int SDDetailNodeCUBE::classifyAgainstBox(const BoundingBox& other) const {
    return classifyBoxAgainstBox(m_position, other);
}

int SDDetailNodeCUBE::findOctant(const Vector3& centre, std::array<bool, 8>& flags) const {
    return findBoxOctant(m_position, centre, flags);
}

std::string SDDetailNodeCUBE::print() const {
    char colour[256];  // four of the largest floats in %.1f need under 180 characters
    std::snprintf(colour, sizeof colour, "{%.1f,%.1f,%.1f,%.1f}", m_color[0], m_color[1], m_color[2],
                  m_color[3]);
    return std::string("m_color =") + colour + "; m_position =" + m_position.print() + "; " +
           SDDetailNode::print();
}

void SDDetailNodeCUBE::setColor(float r, float g, float b, float a) {
    m_color = {r, g, b, a};
}

void SDDetailNodeCUBE::setPosition(const Vector3& centre) {
    m_position.setCentre(centre);
}

void SDDetailNodeCUBE::setSize(float edge) {
    m_position.setDimensions(Vector3(edge, edge, edge));
}
