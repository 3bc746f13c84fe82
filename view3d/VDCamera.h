#pragma once

#include <memory>

#include "view3d/Frustum.h"
#include "view3d/Matrix4.h"

// A perspective camera. The projection, the view and the frustum are each rebuilt lazily: a setter marks
// the projection or the view stale, fetching a stale matrix rebuilds it and marks the frustum stale, and
// fetching the frustum rebuilds its planes from the matrices as they stand.
class VDCamera {
  public:
    VDCamera();
    // Recomputes m_viewMatrix from the camera's placement.
    virtual void updateView() = 0;
    virtual ~VDCamera();
    virtual const double* getProjectionMatrix();
    virtual const double* getViewMatrix();

    // Null when the frustum could not be created. Does not refresh the matrices: fetch both first.
    Frustum* getFrustum();

    // Each marks the projection stale only when the value really changes.
    void setFieldOfView(float degrees);
    void setNearPlane(float distance);
    void setFarPlane(float distance);
    void setAspectRatio(float widthOverHeight);

    float getFieldOfView() const { return m_fieldOfView; }
    float getNearPlane() const { return m_nearPlane; }
    float getFarPlane() const { return m_farPlane; }
    float getAspectRatio() const { return m_aspectRatio; }
    bool isProjectionDirty() const { return m_projectionDirty; }
    bool isViewDirty() const { return m_viewDirty; }
    bool isFrustumDirty() const { return m_frustumDirty; }

  protected:
    // Vertical field of view in degrees; aspect ratio is width over height.
    float m_fieldOfView = 90.0f;
    float m_nearPlane = 0.1f;
    float m_farPlane = 1000.0f;
    float m_aspectRatio = 1.3333333f;

    Matrix4 m_viewMatrix;
    bool m_viewDirty = true;
    Matrix4 m_projectionMatrix;
    bool m_projectionDirty = true;
    std::unique_ptr<Frustum> m_frustum;
    bool m_frustumDirty = true;
};
