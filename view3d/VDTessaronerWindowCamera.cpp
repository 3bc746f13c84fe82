// The examining camera of the 3D view: fitted views, orbit drags, the wheel and the axes triad.
#include <GL/gl.h>

#include <algorithm>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "console/VDFitViewCommand.h"
#include "console/VDViewPresets.h"
#include "control/VCCellView.h"
#include "control/VCModelView.h"
#include "control/VCSimulation.h"
#include "gui/VDBitmapFont.h"
#include "gui/VDDefaultTheme.h"
#include "gui/VDEvent.h"
#include "gui/VDThemeStore.h"
#include "scene/SDCellPicker.h"
#include "shell/VDGarbageCan.h"
#include "view3d/VDAxesTriad.h"
#include "view3d/VDCellOverlay.h"
#include "view3d/VDCellSelection.h"
#include "view3d/VDFirstPersonCamera.h"
#include "view3d/VDTessaronerWindow.h"

namespace {

// Room kept around a fitted view, in pixels: below the strip for the names and column numbers written
// above the blocks, left for the row numbers, right for the legends.
constexpr float kStripRoom = 40.0f;
constexpr float kTextRows = 2.0f;
constexpr float kLeftRoom = 44.0f;
constexpr float kLegendRoom = 190.0f;
constexpr float kEdgeRoom = 20.0f;
// Without a theme to ask.
constexpr float kDefaultCharHeight = 13.0f;
// When nothing lies under the pointer and there is no centre to go by, the wheel zooms to this depth.
constexpr float kDefaultDepth = 10.0f;

}  // namespace

VDViewFit::Frame VDTessaronerWindow::fitFrame() const {
    const float width = m_rect.getWidth();
    const float height = m_rect.getHeight();
    const auto* theme = dynamic_cast<const VDDefaultTheme*>(currentTheme());
    const float charHeight = theme != nullptr ? theme->getCharHeight() : kDefaultCharHeight;
    bool legends = false;
    bool layered = false;
    VCSimulation* simulation = getSimulation();
    if (const VCCellView* cells = simulation != nullptr ? simulation->getCellView() : nullptr) {
        for (const VCCellView::DrawnModel& model : cells->getDrawnModels()) {
            legends = legends || model.legend != VCCellView::Legend::None;
            layered = layered || !model.layers.empty();
        }
    }
    // The key of block colours.
    if (const VCModelView* blocks = simulation != nullptr ? simulation->getModelView() : nullptr) {
        legends = legends || blocks->isDrawn();
    }
    float left = kLeftRoom;
    float right = legends ? kLegendRoom : kEdgeRoom;
    float bottom = kEdgeRoom;
    // Laid-out layers have their "z = k" between the name and the column numbers.
    float top = kStripRoom + (kTextRows + (layered ? 1.0f : 0.0f)) * (charHeight + 4.0f);
    // A small window keeps at least half of each side for the picture.
    const float across = std::min(1.0f, width / 2.0f / std::max(left + right, 1.0f));
    const float upward = std::min(1.0f, height / 2.0f / std::max(bottom + top, 1.0f));
    left *= across;
    right *= across;
    bottom *= upward;
    top *= upward;
    VDViewFit::Frame frame;
    if (width <= 0.0f || height <= 0.0f) {
        return frame;
    }
    frame.left = -1.0f + 2.0f * left / width;
    frame.right = 1.0f - 2.0f * right / width;
    frame.bottom = -1.0f + 2.0f * bottom / height;
    frame.top = 1.0f - 2.0f * top / height;
    return frame;
}

bool VDTessaronerWindow::drawsFlat() const {
    VCSimulation* simulation = getSimulation();
    if (const VCCellView* cells = simulation != nullptr ? simulation->getCellView() : nullptr) {
        for (const VCCellView::DrawnModel& model : cells->getDrawnModels()) {
            // Laid-out layers are maps too.
            if (model.placement != nullptr && model.placement->getLength() > 1 && model.layers.empty()) {
                return false;
            }
        }
    }
    return true;
}

Vector3 VDTessaronerWindow::orbitCentre(bool& aim) {
    aim = true;
    VCSimulation* simulation = getSimulation();
    VCCellView* cells = simulation != nullptr ? simulation->getCellView() : nullptr;
    if (m_selection.isActive() && cells != nullptr) {
        const SDCellPlacement* placement = cells->findPlacement(m_selection.getModel());
        if (placement != nullptr && m_selection.getX() < placement->getWidth() &&
            m_selection.getY() < placement->getHeight() && m_selection.getZ() < placement->getLength()) {
            return placement->cellCentre(m_selection.getX(), m_selection.getY(), m_selection.getZ());
        }
    }
    const VCModelView* models = simulation != nullptr ? simulation->getModelView() : nullptr;
    BoundingBox box;
    if (m_blockSelection.isActive() && models != nullptr &&
        models->findBlock(m_blockSelection.getModel(), box)) {
        return box.getCentre();
    }
    aim = false;
    Vector3 centre;
    if (m_controls.getFitCentre(centre)) {
        return centre;
    }
    if (cells != nullptr && cells->getBounds(box)) {
        return box.getCentre();
    }
    auto* camera = dynamic_cast<VDFirstPersonCamera*>(m_camera.get());
    return camera->getPosition() + camera->getOrientation().getForward() * kDefaultDepth;
}

Vector3 VDTessaronerWindow::pointUnder(int x, int y) {
    const VDPickRay ray = VDPickRay::through(
        m_camera->getProjectionMatrix(), m_camera->getViewMatrix(), x - static_cast<int>(m_rect.getX1()),
        y - static_cast<int>(m_rect.getY1()), m_rect.getWidth(), m_rect.getHeight());
    VCSimulation* simulation = getSimulation();
    float nearest = std::numeric_limits<float>::infinity();
    if (VCCellView* cells = simulation != nullptr ? simulation->getCellView() : nullptr) {
        const VDCellSelection::Hit hit = VDCellSelection::nearestCell(*cells, ray);
        if (hit.hit) {
            nearest = hit.distance;
        }
    }
    float block = nearest;
    if (!VDBlockSelection::blockAt(simulation, ray, block).empty()) {
        nearest = std::min(nearest, block);
    }
    if (nearest == std::numeric_limits<float>::infinity()) {
        bool aim = false;
        const float depth = (orbitCentre(aim) - ray.origin).dot(ray.direction);
        nearest = depth > 2.0f * m_camera->getNearPlane() ? depth : kDefaultDepth;
    }
    return ray.origin + ray.direction * nearest;
}

bool VDTessaronerWindow::handleCameraMouse(VDEvent* event) {
    auto* camera = dynamic_cast<VDFirstPersonCamera*>(m_camera.get());
    auto* button = dynamic_cast<VDMouseButtonEvent*>(event);
    const int type = event->getType();
    if (button != nullptr && (button->getButton() == VDMouseButtonEvent::WHEEL_UP ||
                              button->getButton() == VDMouseButtonEvent::WHEEL_DOWN)) {
        if (type == VDEvent::MOUSE_DOWN && !m_dragging && !m_controls.isOrbiting()) {
            m_snapshotNote.clear();
            VDCameraControls::zoom(*camera, pointUnder(button->getX(), button->getY()),
                                   button->getButton() == VDMouseButtonEvent::WHEEL_UP);
            requestRedisplay();
        }
        return true;
    }
    if (!m_controls.isOrbiting()) {
        return false;
    }
    if (type == VDEvent::MOUSE_MOVE) {
        auto* move = dynamic_cast<VDMouseMoveEvent*>(event);
        m_controls.orbitTo(*camera, move->getX(), move->getY());
        requestRedisplay();
    } else if (type == VDEvent::MOUSE_UP && button != nullptr &&
               (button->getButton() == VDMouseButtonEvent::MIDDLE ||
                button->getButton() == VDMouseButtonEvent::LEFT)) {
        m_controls.endOrbit();
    }
    // The click tracking still sees the pointer: a Shift+click that hardly moved still picks.
    return false;
}

bool VDTessaronerWindow::handleViewKey(int key) {
    const std::vector<VDViewPreset>& presets = viewpresets::all();
    if (key < '1' || key >= '1' + static_cast<int>(presets.size())) {
        return false;
    }
    // Exactly what the command does, replies included. It hands itself to the garbage can.
    auto view = std::make_unique<VDViewCommand>();
    std::string reply;
    if (view->parseArguments({"vis_view", presets[static_cast<size_t>(key - '1')].name}, reply)) {
        view->execute();
        if (getGarbageCan() != nullptr) {
            static_cast<void>(view.release());
        }
    }
    return true;
}

void VDTessaronerWindow::drawAxesTriad() {
    // Cell coordinates while a block whose rows run down is drawn, so that x, y and z mean what vis_cell
    // and vis_slice mean by them.
    VCSimulation* simulation = getSimulation();
    const VCCellView* cells = simulation != nullptr ? simulation->getCellView() : nullptr;
    const bool cellCoordinates = cells != nullptr && cells->drawsRowsDown();
    const auto* theme = dynamic_cast<const VDDefaultTheme*>(currentTheme());
    // Clear of the row and column numbers.
    std::vector<VDRect> numbers;
    if (cellCoordinates && theme != nullptr) {
        const VDCellOverlay overlay(m_camera->getProjectionMatrix(), m_camera->getViewMatrix(), m_rect);
        numbers =
            overlay.numberRectangles(cells->getDrawnModels(), theme->getCharWidth(), theme->getCharHeight());
    }
    float x = 0.0f;
    float y = 0.0f;
    VDAxesTriad::place(m_rect, numbers, x, y);
    VDAxesTriad::draw(VDAxesTriad::arms(m_camera->getViewMatrix(), cellCoordinates), x, y,
                      theme != nullptr ? theme->getTextFont() : nullptr);
}
