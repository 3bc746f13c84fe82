#include "view3d/VDCamera.h"

#include <cmath>
#include <new>

#include "shell/Log.h"

namespace {
constexpr double kPi = 3.141592653589793;
}

VDCamera::VDCamera()
    : m_viewMatrix(identityMatrix4()),
      m_projectionMatrix(identityMatrix4()),
      m_frustum(new (std::nothrow) Frustum()) {
    if (!m_frustum) {
        logMessage("Out of memory: unable to create frustum for camera");
    }
}

VDCamera::~VDCamera() = default;

const double* VDCamera::getProjectionMatrix() {
    if (m_projectionDirty) {
        double f = 1.0 / std::tan(static_cast<double>(m_fieldOfView) / 180.0 * kPi / 2.0);
        double n = m_nearPlane;
        double r = m_farPlane;
        m_projectionMatrix = identityMatrix4();
        m_projectionMatrix[0] = f / static_cast<double>(m_aspectRatio);
        m_projectionMatrix[5] = f;
        m_projectionMatrix[10] = (n + r) / (n - r);
        m_projectionMatrix[11] = -1.0;
        m_projectionMatrix[14] = 2.0 * n * r / (n - r);
        m_projectionMatrix[15] = 0.0;
        m_projectionDirty = false;
        m_frustumDirty = true;
    }
    return m_projectionMatrix.data();
}

const double* VDCamera::getViewMatrix() {
    if (m_viewDirty) {
        updateView();
        m_viewDirty = false;
        m_frustumDirty = true;
    }
    return m_viewMatrix.data();
}

Frustum* VDCamera::getFrustum() {
    if (m_frustumDirty && m_frustum) {
        m_frustum->update(m_projectionMatrix.data(), m_viewMatrix.data());
        m_frustumDirty = false;
    }
    return m_frustum.get();
}

void VDCamera::setFieldOfView(float degrees) {
    if (degrees != m_fieldOfView) {
        m_fieldOfView = degrees;
        m_projectionDirty = true;
    }
}

void VDCamera::setNearPlane(float distance) {
    if (distance != m_nearPlane) {
        m_nearPlane = distance;
        m_projectionDirty = true;
    }
}

void VDCamera::setFarPlane(float distance) {
    if (distance != m_farPlane) {
        m_farPlane = distance;
        m_projectionDirty = true;
    }
}

void VDCamera::setAspectRatio(float widthOverHeight) {
    if (widthOverHeight != m_aspectRatio) {
        m_aspectRatio = widthOverHeight;
        m_projectionDirty = true;
    }
}
