#pragma once

#include <string>
#include <vector>

// The named directions vis_view and the keys 1 to 7 look from: where the eye stands against the models
// (front: on the side the layers come towards; iso: above, right and in front, so that three faces of a
// block show) as the camera's yaw and pitch.
struct VDViewPreset {
    const char* name;
    float yaw;
    float pitch;
};

namespace viewpresets {

// In key order: front, back, left, right, top, bottom, iso.
const std::vector<VDViewPreset>& all();
// Null for a name that is not a preset.
const VDViewPreset* find(const std::string& name);
// "front | back | left | right | top | bottom | iso".
std::string names();

}  // namespace viewpresets
