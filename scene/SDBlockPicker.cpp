#include "scene/SDBlockPicker.h"

#include <algorithm>
#include <limits>

#include "scene/SDBlockLayout.h"

bool rayEntersBox(const BoundingBox& box, const Vector3& origin, const Vector3& direction, float& distance) {
    float enter = -std::numeric_limits<float>::infinity();
    float leave = std::numeric_limits<float>::infinity();
    const float o[3] = {origin.x, origin.y, origin.z};
    const float d[3] = {direction.x, direction.y, direction.z};
    const float low[3] = {box.getMin().x, box.getMin().y, box.getMin().z};
    const float high[3] = {box.getMax().x, box.getMax().y, box.getMax().z};
    for (int axis = 0; axis < 3; ++axis) {
        if (d[axis] == 0.0f) {
            if (o[axis] < low[axis] || o[axis] > high[axis]) {
                return false;
            }
            continue;
        }
        float near = (low[axis] - o[axis]) / d[axis];
        float far = (high[axis] - o[axis]) / d[axis];
        if (near > far) {
            std::swap(near, far);
        }
        enter = std::max(enter, near);
        leave = std::min(leave, far);
    }
    if (enter > leave || leave < 0.0f) {
        return false;
    }
    distance = std::max(enter, 0.0f);
    return true;
}

SDBlockHit pickBlock(const SDBlockLayout& layout, const Vector3& origin, const Vector3& direction,
                     const std::function<bool(uint32_t model)>& shown) {
    SDBlockHit solid;
    SDBlockHit frame;
    unsigned frameLevel = 0;
    for (uint32_t model = 0; model < layout.size(); ++model) {
        const SDBlockLayout::Block& block = layout.block(model);
        float distance = 0.0f;
        if (!block.placed || !rayEntersBox(block.box, origin, direction, distance) || !shown(model)) {
            continue;
        }
        if (!block.frame) {
            if (!solid.hit || distance < solid.distance) {
                solid = SDBlockHit{true, model, distance};
            }
        } else if (!frame.hit || block.level > frameLevel ||
                   (block.level == frameLevel && distance < frame.distance)) {
            frame = SDBlockHit{true, model, distance};
            frameLevel = block.level;
        }
    }
    return solid.hit ? solid : frame;
}
