#pragma once

#include <string>

#include "scene/BoundingBox.h"
#include "scene/Vector3.h"
#include "view3d/VDViewFit.h"

class VDFirstPersonCamera;

// The camera moves made for examining a run, over the first-person camera: fitted views from a named side
// (or the side that suits the models: head-on for flat ones, from above and to one side for blocks), an
// orbit around a centre by dragging, and the wheel's zoom towards the point under the pointer.
class VDCameraControls {
  public:
    // Degrees of orbit per pixel dragged.
    static constexpr float kOrbitDegreesPerPixel = 0.5f;
    // Each notch of the wheel moves this share of the way to the point under the pointer (or, backwards,
    // undoes one such move).
    static constexpr float kZoomShare = 0.2f;

    // Fits the view to the box from `preset` (a name of VDViewPresets); without one, from the preset the
    // view already is when the camera has not been turned since, else head-on when the models are `flat`
    // (no cell space more than one layer deep, or its layers laid out as maps) and from "iso" when they are
    // not. Returns the side chosen.
    std::string fit(VDFirstPersonCamera& camera, const BoundingBox& box, const std::string& preset,
                    const VDViewFit::Frame& frame, bool flat);
    // The centre of the last fitted box; false before the first fit.
    bool getFitCentre(Vector3& centre) const;

    // An orbit drag: starts at a pointer position, turns the camera around `centre` as the pointer moves
    // (right: the models turn right; up: they tip towards the viewer), ends on release. With `aim`, the
    // centre comes to the middle of the picture.
    void beginOrbit(int x, int y, const Vector3& centre, bool aim);
    bool isOrbiting() const { return m_orbiting; }
    void orbitTo(VDFirstPersonCamera& camera, int x, int y);
    void endOrbit() { m_orbiting = false; }

    // One notch of the wheel towards (`in`) or away from `point`.
    static bool zoom(VDFirstPersonCamera& camera, const Vector3& point, bool in);

  private:
    std::string m_preset;  // the preset last fitted by name
    bool m_fitted = false;
    Vector3 m_fitCentre;
    bool m_orbiting = false;
    bool m_aim = false;
    Vector3 m_orbitCentre;
    int m_lastX = 0;
    int m_lastY = 0;
};
