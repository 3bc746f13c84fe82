#include "control/VCPalette.h"

#include <vector>

#include "control/VCSimulation.h"
#include "loader/SLPaletteFile.h"
#include "shell/Log.h"
#include "shell/LogFormat.h"
#include "simdata/SDCELLDevsModel.h"
#include "simdata/SDDevsModelList.h"
#include "simdata/SDVisualization.h"

namespace {

bool refuse(std::string& failure, const std::string& why) {
    failure = why;
    logText(why);
    return false;
}

std::string ruleLine(const std::string& model, size_t number, const SLPaletteFile::Entry& entry) {
    return model + formatText(" rule %zu: %f <= value <= %f is colour (%.3f, %.3f, %.3f, %.3f)", number,
                              entry.low, entry.high, static_cast<double>(entry.colour[0]),
                              static_cast<double>(entry.colour[1]), static_cast<double>(entry.colour[2]),
                              static_cast<double>(entry.colour[3]));
}

}  // namespace

bool applyPalette(const std::string& model, const std::string& path, std::string& failure,
                  std::vector<std::string>& errors) {
    failure.clear();
    errors.clear();
    SDVisualization* visualization = getVisualization();
    if (visualization == nullptr) {
        return refuse(failure, "Unable to apply a palette. Visualization does not exist.");
    }
    std::vector<SDCELLDevsModel*> spaces;
    if (model.empty()) {
        for (const auto& [name, record] : visualization->getModelList()->getModels()) {
            if (auto* cells = dynamic_cast<SDCELLDevsModel*>(record.get())) {
                spaces.push_back(cells);
            }
        }
        if (spaces.empty()) {
            return refuse(failure, "No cell space to apply the palette " + path + " to");
        }
    } else {
        SDDevsModel* found = visualization->getModelList()->findModel(model);
        if (found == nullptr) {
            return refuse(failure, "No model named " + model);
        }
        auto* cells = dynamic_cast<SDCELLDevsModel*>(found);
        if (cells == nullptr) {
            return refuse(failure, model + " is not a Cell-DEVS model");
        }
        spaces.push_back(cells);
    }
    SLPaletteFile palette(path);
    const bool loaded = palette.load();
    errors = palette.getErrors();
    if (!loaded) {
        failure = palette.getFailure();
        return false;
    }
    const std::vector<SLPaletteFile::Entry>& entries = palette.getEntries();
    if (entries.empty()) {
        return refuse(failure, "Palette " + path + ": no colour could be read; nothing changed");
    }
    for (SDCELLDevsModel* space : spaces) {
        colourCellSpace(*space, entries, path);
    }
    return true;
}

void colourCellSpace(SDCELLDevsModel& space, const std::vector<SLPaletteFile::Entry>& entries,
                     const std::string& source) {
    SDCellLook& look = space.getLook();
    look.clearRules(space.getRules());
    for (size_t i = 0; i < entries.size(); ++i) {
        look.addRule(space.getRules(), entries[i].low, entries[i].high, entries[i].colour);
        logText(ruleLine(space.name(), i + 1, entries[i]));
    }
    logText("Palette " + source + ": " + std::to_string(entries.size()) + " colour rules for " +
            space.name());
}
