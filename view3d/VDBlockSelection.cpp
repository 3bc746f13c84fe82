#include "view3d/VDBlockSelection.h"

#include <GL/gl.h>

#include "control/VCModelReading.h"
#include "control/VCModelView.h"
#include "control/VCSimulation.h"
#include "scene/SDBlockBatch.h"
#include "shell/Log.h"
#include "simdata/SDModelStructure.h"
#include "simdata/SDTimeCursor.h"
#include "simdata/SDVisualization.h"
#include "view3d/VDPickRay.h"

namespace {

// The outline stands a little off the block, so that its faces and edges do not cover it.
constexpr float kOutlineMargin = 0.08f;
// Cyan, as the picked cell's outline: no look of a block comes near it.
constexpr SDBlockBatch::Colour kOutlineColour{0.0f, 1.0f, 1.0f, 1.0f};

}  // namespace

std::string VDBlockSelection::blockAt(VCSimulation* simulation, const VDPickRay& ray, float& distance) {
    VCModelView* models = simulation != nullptr ? simulation->getModelView() : nullptr;
    return models != nullptr ? models->pick(ray.origin, ray.direction, distance) : "";
}

void VDBlockSelection::select(const std::string& model) {
    m_model = model;
    for (const std::string& line : VCModelReading::read(model).lines) {
        logText(line);
    }
}

std::string VDBlockSelection::describe(VCSimulation* simulation) {
    SDVisualization* visualization = getVisualization();
    VCModelView* models = simulation != nullptr ? simulation->getModelView() : nullptr;
    BoundingBox box;
    if (m_model.empty() || visualization == nullptr || models == nullptr ||
        !models->findBlock(m_model, box)) {
        m_model.clear();
        return "";
    }
    SDModelStructure& structure = *visualization->getStructure();
    const uint32_t node = structure.tree().find(m_model);
    switch (structure.activityAt(node, visualization->getCursor()->time())) {
        case SDModelStructure::Activity::Active:
            return m_model + ": active";
        case SDModelStructure::Activity::Waiting:
            return m_model + ": waiting";
        case SDModelStructure::Activity::Passive:
            return m_model + ": passive";
        default:
            return m_model;
    }
}

void VDBlockSelection::drawOutline(VCSimulation* simulation) {
    VCModelView* models = simulation != nullptr ? simulation->getModelView() : nullptr;
    BoundingBox box;
    if (m_model.empty() || models == nullptr || !models->findBlock(m_model, box)) {
        return;
    }
    const Vector3 margin(kOutlineMargin, kOutlineMargin, kOutlineMargin);
    box.setMinMax(box.getMin() - margin, box.getMax() + margin);
    SDBlockBatch outline;
    outline.addOutline(box, kOutlineColour);
    outline.draw();
}
