#include "view3d/VDViewFit.h"

#include <algorithm>
#include <limits>

namespace {

// Along one screen axis: with the eye `distance` behind the centre and shifted by `shift`, a corner at
// `across` (sideways) and `ahead` (along the view) appears at (across - shift) / ((ahead + distance) * tan).
// It is inside [low, high] when shift lies between across - high*tan*(ahead + d) and across -
// low*tan*(ahead + d); over all corners that range is open once d reaches the value returned, and `shift`
// is then set to its middle.
struct Axis {
    float lowSlope;
    float highSlope;
    float mostBelowHigh = std::numeric_limits<float>::lowest();  // max of across - highSlope * ahead
    float leastAboveLow = std::numeric_limits<float>::max();     // min of across - lowSlope * ahead

    void add(float across, float ahead) {
        mostBelowHigh = std::max(mostBelowHigh, across - highSlope * ahead);
        leastAboveLow = std::min(leastAboveLow, across - lowSlope * ahead);
    }
    float distance() const { return (mostBelowHigh - leastAboveLow) / (highSlope - lowSlope); }
    float shift(float d) const {
        return ((mostBelowHigh - highSlope * d) + (leastAboveLow - lowSlope * d)) / 2.0f;
    }
};

}  // namespace

Vector3 VDViewFit::eyeFor(const BoundingBox& box, const Vector3& forward, const Vector3& right,
                          const Vector3& up, float tanHalfWidth, float tanHalfHeight, const Frame& frame,
                          float nearest) {
    Axis across{frame.left * tanHalfWidth, frame.right * tanHalfWidth};
    Axis upward{frame.bottom * tanHalfHeight, frame.top * tanHalfHeight};
    const Vector3 centre = box.getCentre();
    float distance = std::numeric_limits<float>::lowest();
    for (int corner = 0; corner < 8; ++corner) {
        const Vector3 offset = box.getCorner(corner) - centre;
        const float ahead = offset.dot(forward);
        across.add(offset.dot(right), ahead);
        upward.add(offset.dot(up), ahead);
        distance = std::max(distance, nearest - ahead);
    }
    distance = std::max({distance, across.distance(), upward.distance()});
    return centre - forward * distance + right * across.shift(distance) + up * upward.shift(distance);
}
