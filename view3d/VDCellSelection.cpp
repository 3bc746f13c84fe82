#include "view3d/VDCellSelection.h"

#include <GL/gl.h>

#include <cstdio>
#include <limits>

#include "control/VCCellReading.h"
#include "control/VCCellView.h"
#include "control/VCSimulation.h"
#include "scene/SDCellPicker.h"
#include "scene/SDCellPlacement.h"
#include "shell/Log.h"
#include "shell/LogFormat.h"
#include "view3d/VDPickRay.h"

namespace {

// The outline stands a little off the cube, so that the cube's own faces do not cover it.
constexpr float kOutlineGrowth = 1.15f;

}  // namespace

bool VDCellSelection::pick(VCSimulation* simulation, const VDPickRay& ray, float within) {
    m_active = false;
    VCCellView* cells = simulation != nullptr ? simulation->getCellView() : nullptr;
    if (cells == nullptr) {
        return false;
    }
    const Hit hit = nearestCell(*cells, ray, within);
    m_active = hit.hit;
    if (m_active) {
        m_model = hit.model;
        m_x = hit.x;
        m_y = hit.y;
        m_z = hit.z;
    }
    if (m_active) {
        logText(VCCellReading::readStored(m_model, m_x, m_y, m_z).describe());
    }
    return m_active;
}

VDCellSelection::Hit VDCellSelection::nearestCell(VCCellView& cells, const VDPickRay& ray, float within) {
    Hit nearest;
    nearest.distance = within;
    // Placed as the next frame will draw them, should no frame have been drawn since the run changed.
    cells.updateLayout();
    for (const VCCellView::DrawnModel& drawn : cells.getDrawnModels()) {
        // A laid-out block is picked layer by layer: cell (x, y, 0) of layer k is cell (x, y, k).
        const size_t pieces = drawn.layers.empty() ? 1 : drawn.layers.size();
        const size_t length = drawn.placement->getLength();
        for (size_t piece = 0; piece < pieces; ++piece) {
            const bool layer = !drawn.layers.empty();
            const SDCellHit hit = pickCell(
                layer ? *drawn.layers[piece] : *drawn.placement, ray.origin, ray.direction,
                [&](size_t cell) {
                    return cells.isCellShown(drawn.name, layer ? cell * length + piece : cell);
                },
                nearest.distance, drawn.flat);
            if (hit.hit && hit.distance < nearest.distance) {
                nearest = Hit{true,  hit.distance, drawn.name,
                              hit.x, hit.y,        layer ? static_cast<unsigned>(piece) : hit.z};
            }
        }
    }
    return nearest;
}

std::string VDCellSelection::describe() {
    if (!m_active) {
        return "";
    }
    const VCCellReading reading = VCCellReading::readStored(m_model, m_x, m_y, m_z);
    if (reading.result == VCCellReading::Result::Value) {
        return reading.label + " = " + numberText(reading.value);
    }
    if (reading.result == VCCellReading::Result::NoValue) {
        return reading.label + " has no value yet";
    }
    m_active = false;
    return "";
}

void VDCellSelection::drawOutline(VCSimulation* simulation) {
    VCCellView* cells = simulation != nullptr ? simulation->getCellView() : nullptr;
    const SDCellPlacement* placement = m_active && cells != nullptr ? cells->findPlacement(m_model) : nullptr;
    Vector3 c;
    if (placement == nullptr || !cells->cellCentre(m_model, m_x, m_y, m_z, c)) {
        return;
    }
    const float h = placement->getCubeEdge() / 2.0f * kOutlineGrowth;
    glPushAttrib(GL_ENABLE_BIT | GL_LINE_BIT | GL_CURRENT_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    // Seen through whatever stands in front: a picked cell deep in a block stays findable.
    glDisable(GL_DEPTH_TEST);
    glLineWidth(2.0f);
    // Cyan: no colour of the cells' ramp comes near it.
    glColor3f(0.0f, 1.0f, 1.0f);
    glBegin(GL_LINES);
    for (int axis = 0; axis < 3; ++axis) {
        // The four edges along this axis, at the corners of the other two.
        for (int corner = 0; corner < 4; ++corner) {
            const float a = (corner & 1) != 0 ? h : -h;
            const float b = (corner & 2) != 0 ? h : -h;
            const Vector3 from = axis == 0   ? Vector3(-h, a, b)
                                 : axis == 1 ? Vector3(a, -h, b)
                                             : Vector3(a, b, -h);
            const Vector3 to = axis == 0 ? Vector3(h, a, b) : axis == 1 ? Vector3(a, h, b) : Vector3(a, b, h);
            glVertex3f(c.x + from.x, c.y + from.y, c.z + from.z);
            glVertex3f(c.x + to.x, c.y + to.y, c.z + to.z);
        }
    }
    glEnd();
    glPopAttrib();
}
