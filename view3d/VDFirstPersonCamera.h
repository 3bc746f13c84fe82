#pragma once

#include "scene/BoundingBox.h"
#include "scene/Vector3.h"
#include "view3d/Orientation.h"
#include "view3d/VDCamera.h"
#include "view3d/VDViewFit.h"

// A camera placed at an eye position and turned by yaw, pitch and roll (degrees); it moves along its own
// axes. With all angles 0 it looks along -Z with +Y up. Angles are neither clamped nor wrapped.
class VDFirstPersonCamera : public VDCamera {
  public:
    VDFirstPersonCamera() = default;
    // The inverse of the placement: Rz(-roll) · Rx(-pitch) · Ry(-yaw) · T(-position).
    void updateView() override;
    ~VDFirstPersonCamera() override;

    // Returns whether the position changed.
    bool setPosition(const Vector3& position);
    const Vector3& getPosition() const { return m_eyePosition; }

    // Distances along the camera's forward (where it looks), right and up axes.
    void move(float forward, float side, float up);

    // Angle increments in degrees; a delta of exactly 0 changes nothing.
    void changeYaw(float delta);
    void changePitch(float delta);
    void changeRoll(float delta);

    // Absolute angles in degrees.
    void setAngles(float yaw, float pitch, float roll);

    // Looks at the box from its front (along -Z), tilted down by `downDegrees`, from as close as keeps
    // all of it inside the view with a margin; moves the far plane out when the box reaches past it.
    void fitBox(const BoundingBox& box, float downDegrees);

    // Turns to the angles given and stands where the whole box appears inside `frame` of the picture (see
    // VDViewFit), with a field of view of kFitFieldOfView, which keeps near cubes from stretching; moves
    // the far plane out when the box reaches past it.
    static constexpr float kFitFieldOfView = 40.0f;
    void fitView(const BoundingBox& box, float yaw, float pitch, const VDViewFit::Frame& frame);

    // Turns by the angles given (degrees) around `centre`, which stays where it appears in the picture;
    // with `aim`, the camera turns to look straight at it, so that it ends in the middle of the picture.
    // Pitch stays within kOrbitPitchLimit of the horizontal, so the picture never turns upside down.
    static constexpr float kOrbitPitchLimit = 89.0f;
    void orbit(const Vector3& centre, float yawChange, float pitchChange, bool aim);

    // Moves the eye `share` of the way to `point` (a negative share moves away from it); a share of 1 or
    // more is refused, so the eye never reaches or passes the point. Returns whether it moved.
    bool moveTowards(const Vector3& point, float share);

    float getYaw() const { return m_orientation.getYaw(); }
    float getPitch() const { return m_orientation.getPitch(); }
    float getRoll() const { return m_orientation.getRoll(); }
    RPYOrientation& getOrientation() { return m_orientation; }

  private:
    Vector3 m_eyePosition;
    RPYOrientation m_orientation;
};
