#include "console/VDViewPresets.h"

namespace viewpresets {

const std::vector<VDViewPreset>& all() {
    // Yaw turns the view to the left (90: looking along -X), pitch tilts it up.
    static const std::vector<VDViewPreset> presets = {
        {"front", 0.0f, 0.0f}, {"back", 180.0f, 0.0f},  {"left", -90.0f, 0.0f}, {"right", 90.0f, 0.0f},
        {"top", 0.0f, -90.0f}, {"bottom", 0.0f, 90.0f}, {"iso", 35.0f, -30.0f},
    };
    return presets;
}

const VDViewPreset* find(const std::string& name) {
    for (const VDViewPreset& preset : all()) {
        if (name == preset.name) {
            return &preset;
        }
    }
    return nullptr;
}

std::string names() {
    std::string text;
    for (const VDViewPreset& preset : all()) {
        text += text.empty() ? "" : " | ";
        text += preset.name;
    }
    return text;
}

}  // namespace viewpresets
