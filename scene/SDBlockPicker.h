#pragma once

#include <cstdint>
#include <functional>

#include "scene/BoundingBox.h"
#include "scene/Vector3.h"

class SDBlockLayout;

// The block of a model hierarchy that a line of sight points at.
struct SDBlockHit {
    bool hit = false;
    uint32_t model = 0;
    float distance = 0.0f;  // along the ray to where it enters the block, 0 when it starts inside
};

// Where the ray from `origin` along `direction` (unit length) enters the box; false when it misses it or
// the box lies behind the origin.
bool rayEntersBox(const BoundingBox& box, const Vector3& origin, const Vector3& direction, float& distance);

// What the ray points at among the placed blocks that `shown` accepts. A frame holds its children, so the
// ray always enters it first: a solid block it meets wins (the nearest of them), and only when it meets
// none does the innermost frame it enters (of the nearest, when two are as deep).
SDBlockHit pickBlock(const SDBlockLayout& layout, const Vector3& origin, const Vector3& direction,
                     const std::function<bool(uint32_t model)>& shown);
