#include "scene/BoundingBox.h"

#include <cstdio>

BoundingBox::BoundingBox(const Vector3& centre, const Vector3& dimensions)
    : m_centre(centre), m_dimensions(dimensions) {
    updateMinMax();
}

void BoundingBox::getCentreAndDimensions(Vector3& centre, Vector3& dimensions) const {
    centre = m_centre;
    dimensions = m_dimensions;
}

void BoundingBox::getMinMax(Vector3& min, Vector3& max) const {
    min = m_min;
    max = m_max;
}

void BoundingBox::setCentreAndDimensions(const Vector3& centre, const Vector3& dimensions) {
    m_centre = centre;
    m_dimensions = dimensions;
    updateMinMax();
}

void BoundingBox::setCentre(const Vector3& centre) {
    m_centre = centre;
    updateMinMax();
}

void BoundingBox::setDimensions(const Vector3& dimensions) {
    m_dimensions = dimensions;
    updateMinMax();
}

void BoundingBox::setMinMax(const Vector3& min, const Vector3& max) {
    m_min = min;
    m_max = max;
    m_centre = (min + max) / 2.0f;
    m_dimensions = max - min;
}

Vector3 BoundingBox::getCorner(int index) const {
    return Vector3((index & 4) ? m_max.x : m_min.x, (index & 2) ? m_max.y : m_min.y,
                   (index & 1) ? m_max.z : m_min.z);
}

std::string BoundingBox::print() const {
    const char* format = "{%.1f,%.1f,%.1f} -> {%.1f,%.1f,%.1f}";
    double values[6] = {m_min.x, m_min.y, m_min.z, m_max.x, m_max.y, m_max.z};
    int size =
        std::snprintf(nullptr, 0, format, values[0], values[1], values[2], values[3], values[4], values[5]);
    if (size < 0) {
        return std::string();
    }
    // Huge coordinates print with many digits; size the buffer to the text.
    std::string text(static_cast<size_t>(size) + 1, '\0');
    std::snprintf(&text[0], text.size(), format, values[0], values[1], values[2], values[3], values[4],
                  values[5]);
    text.resize(static_cast<size_t>(size));
    return text;
}

void BoundingBox::updateMinMax() {
    Vector3 half = m_dimensions / 2.0f;
    m_min = m_centre - half;
    m_max = m_centre + half;
}

int findBoxOctant(const BoundingBox& box, const Vector3& point, std::array<bool, 8>& flags) {
    const Vector3& min = box.getMin();
    const Vector3& max = box.getMax();
    // [axis side]: side 0 low, 1 high
    bool x[2] = {min.x<point.x, max.x> point.x};
    bool y[2] = {min.y<point.y, max.y> point.y};
    bool z[2] = {min.z<point.z, max.z> point.z};
    int found = -1;
    int count = 0;
    for (int i = 0; i < 8; ++i) {
        bool reached = x[(i >> 2) & 1] && y[(i >> 1) & 1] && z[i & 1];
        flags[static_cast<size_t>(i)] = reached;
        if (reached) {
            found = i;
            ++count;
        }
    }
    return count == 1 ? found : -1;
}

int classifyBoxAgainstBox(const BoundingBox& box, const BoundingBox& other) {
    const Vector3& min = box.getMin();
    const Vector3& max = box.getMax();
    const Vector3& otherMin = other.getMin();
    const Vector3& otherMax = other.getMax();
    float mins[3] = {min.x, min.y, min.z};
    float maxs[3] = {max.x, max.y, max.z};
    float otherMins[3] = {otherMin.x, otherMin.y, otherMin.z};
    float otherMaxs[3] = {otherMax.x, otherMax.y, otherMax.z};
    for (int a = 0; a < 3; ++a) {
        bool below = mins[a] < otherMins[a] && maxs[a] < otherMins[a];
        bool above = mins[a] > otherMaxs[a] && maxs[a] > otherMaxs[a];
        if (below || above) {
            return 0;
        }
    }
    for (int a = 0; a < 3; ++a) {
        if (!(mins[a] >= otherMins[a] && maxs[a] <= otherMaxs[a])) {
            return 1;
        }
    }
    return 2;
}
