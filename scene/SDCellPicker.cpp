#include "scene/SDCellPicker.h"

#include <algorithm>
#include <limits>

#include "scene/SDCellPlacement.h"

namespace {

constexpr float kInfinity = std::numeric_limits<float>::infinity();

// Where the ray is between the planes at `low` and `high` of one axis: [near, far]; false when never.
bool slab(float origin, float direction, float low, float high, float& near, float& far) {
    if (direction == 0.0f) {
        near = -kInfinity;
        far = kInfinity;
        return origin >= low && origin <= high;
    }
    near = (low - origin) / direction;
    far = (high - origin) / direction;
    if (near > far) {
        std::swap(near, far);
    }
    return true;
}

}  // namespace

SDCellHit pickCell(const SDCellPlacement& placement, const Vector3& worldOrigin,
                   const Vector3& worldDirection, const std::function<bool(size_t cell)>& shown, float within,
                   bool flat) {
    // The cells' axes are the block's own; the frame is a turn, so distances along the ray stay the same.
    const Vector3 origin = placement.toLocal(worldOrigin);
    const Vector3 direction = placement.toLocal(worldDirection);
    SDCellHit best;
    best.distance = within;
    const float half = placement.getCubeEdge() / 2.0f;
    const std::vector<float>& xs = placement.xs();
    const std::vector<float>& ys = placement.ys();
    const std::vector<float>& zs = placement.zs();
    const size_t height = ys.size();
    const size_t length = zs.size();
    // Axis by axis, so that only the columns and rows the ray crosses are looked at further.
    for (size_t x = 0; x < xs.size(); ++x) {
        float nearX = 0.0f;
        float farX = 0.0f;
        if (!slab(origin.x, direction.x, xs[x] - half, xs[x] + half, nearX, farX) || farX < 0.0f ||
            nearX > best.distance) {
            continue;
        }
        for (size_t y = 0; y < height; ++y) {
            float nearY = 0.0f;
            float farY = 0.0f;
            if (!slab(origin.y, direction.y, ys[y] - half, ys[y] + half, nearY, farY)) {
                continue;
            }
            const float nearXY = std::max(nearX, nearY);
            const float farXY = std::min(farX, farY);
            if (nearXY > farXY || farXY < 0.0f || nearXY > best.distance) {
                continue;
            }
            for (size_t z = 0; z < length; ++z) {
                float nearZ = 0.0f;
                float farZ = 0.0f;
                // A square is the plane of its cube's front face.
                const float back = flat ? zs[z] + half : zs[z] - half;
                if (!slab(origin.z, direction.z, back, zs[z] + half, nearZ, farZ)) {
                    continue;
                }
                const float enter = std::max(nearXY, nearZ);
                const float leave = std::min(farXY, farZ);
                if (enter > leave || leave < 0.0f) {
                    continue;
                }
                const float distance = std::max(enter, 0.0f);
                const size_t cell = (x * height + y) * length + z;
                if ((!best.hit ? distance <= best.distance : distance < best.distance) && shown(cell)) {
                    best.hit = true;
                    best.cell = cell;
                    best.x = static_cast<unsigned>(x);
                    best.y = static_cast<unsigned>(y);
                    best.z = static_cast<unsigned>(z);
                    best.distance = distance;
                }
            }
        }
    }
    return best;
}
