#pragma once

#include "scene/Vector3.h"
#include "view3d/Matrix4.h"

// A rotation kept as a matrix whose columns are the local right, up and backward axes, refreshed lazily
// by update().
class Orientation {
  public:
    Orientation() : m_matrix(identityMatrix4()) {}
    virtual void update() = 0;
    virtual ~Orientation() = default;

    // Each brings the matrix up to date first.
    Vector3 getForward();  // minus the third column
    Vector3 getRight();    // the first column
    Vector3 getUp();       // the second column
    const Matrix4& getMatrix() {
        update();
        return m_matrix;
    }

  protected:
    Matrix4 m_matrix;
};

// Yaw about world Y, then pitch about X, then roll about Z, in degrees: Ry(yaw) · Rx(pitch) · Rz(roll).
class RPYOrientation : public Orientation {
  public:
    RPYOrientation();

    void update() override;

    // Each marks the matrix stale only when the value really changes.
    void setYaw(float yaw);
    void setPitch(float pitch);
    void setRoll(float roll);
    float getYaw() const { return m_yaw; }
    float getPitch() const { return m_pitch; }
    float getRoll() const { return m_roll; }
    bool isDirty() const { return m_dirty; }

  private:
    float m_yaw = 0.0f;
    float m_pitch = 0.0f;
    float m_roll = 0.0f;
    bool m_dirty = true;
};

// Looks from an eye towards a target with an up hint. Target and up start at zero, so all three must be
// given before use.
class TargetOrientation : public Orientation {
  public:
    TargetOrientation() = default;

    void update() override;

    // Copies each vector that differs from the stored one.
    void set(const Vector3& target, const Vector3& eye, const Vector3& up);
    const Vector3& getTarget() const { return m_target; }
    const Vector3& getEye() const { return m_eye; }
    const Vector3& getUpHint() const { return m_up; }
    bool isDirty() const { return m_dirty; }

  private:
    Vector3 m_target;
    Vector3 m_eye;
    Vector3 m_up;
    bool m_dirty = false;
};
