#include "view3d/VDCameraControls.h"

#include "console/VDViewPresets.h"
#include "view3d/VDFirstPersonCamera.h"

std::string VDCameraControls::fit(VDFirstPersonCamera& camera, const BoundingBox& box,
                                  const std::string& preset, const VDViewFit::Frame& frame, bool flat) {
    const VDViewPreset* chosen = viewpresets::find(preset);
    if (chosen != nullptr) {
        m_preset = chosen->name;
    } else {
        // A preset view keeps its side as long as nothing has turned the camera away from it.
        const VDViewPreset* last = viewpresets::find(m_preset);
        if (last != nullptr && camera.getYaw() == last->yaw && camera.getPitch() == last->pitch &&
            camera.getRoll() == 0.0f) {
            chosen = last;
        } else {
            m_preset.clear();
            chosen = viewpresets::find(flat ? "front" : "iso");
        }
    }
    camera.fitView(box, chosen->yaw, chosen->pitch, frame);
    m_fitted = true;
    m_fitCentre = box.getCentre();
    return chosen->name;
}

bool VDCameraControls::getFitCentre(Vector3& centre) const {
    if (m_fitted) {
        centre = m_fitCentre;
    }
    return m_fitted;
}

void VDCameraControls::beginOrbit(int x, int y, const Vector3& centre, bool aim) {
    m_orbiting = true;
    m_aim = aim;
    m_orbitCentre = centre;
    m_lastX = x;
    m_lastY = y;
}

void VDCameraControls::orbitTo(VDFirstPersonCamera& camera, int x, int y) {
    if (!m_orbiting) {
        return;
    }
    const float yaw = static_cast<float>(m_lastX - x) * kOrbitDegreesPerPixel;
    const float pitch = static_cast<float>(y - m_lastY) * kOrbitDegreesPerPixel;
    m_lastX = x;
    m_lastY = y;
    camera.orbit(m_orbitCentre, yaw, pitch, m_aim);
}

bool VDCameraControls::zoom(VDFirstPersonCamera& camera, const Vector3& point, bool in) {
    // Out undoes in: from d/(1 - s) away, a share s in leaves d.
    return camera.moveTowards(point, in ? kZoomShare : -kZoomShare / (1.0f - kZoomShare));
}
