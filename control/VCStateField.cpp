#include "control/VCStateField.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <unordered_map>

#include "loader/SLDataText.h"
#include "simdata/SDCellName.h"
#include "simdata/SDDevsModelList.h"
#include "simdata/SDEventList.h"
#include "simdata/SDModelStructure.h"
#include "simdata/SDStateTexts.h"
#include "simdata/SDVisualization.h"

namespace {

bool sameValue(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace

VCStateField::Outcome VCStateField::choose(SDVisualization& visualization, const std::string& model,
                                           int field, bool initialFollowed) {
    Outcome outcome;
    SDStateTexts& states = *visualization.getStateTexts();
    const std::vector<uint32_t> models = referencesOf(states, model);
    if (models.empty() && !initialFollowed) {
        const bool known = visualization.getModelList()->findModel(model) != nullptr ||
                           visualization.getStructure()->tree().find(model) != SDModelTree::kNone;
        outcome.lines.push_back(known ? model + " has no state texts to take a number from"
                                      : "No model named " + model);
        return outcome;
    }
    states.chooseField(model, field);
    size_t carried = 0;
    const size_t missing = apply(states, *visualization.getEventList(), models, field, carried);
    outcome.done = true;
    outcome.lines.push_back("Field of " + model + ": number " + std::to_string(field) + " of each state");
    if (missing > 0) {
        outcome.lines.push_back(std::to_string(missing) + " of the " + std::to_string(carried) +
                                " states with a number " + (missing == 1 ? "has" : "have") + " no number " +
                                std::to_string(field) + ": no value from " +
                                (missing == 1 ? "its time" : "their times") + " on");
    }
    return outcome;
}

void VCStateField::follow(SDVisualization& visualization) {
    SDStateTexts& states = *visualization.getStateTexts();
    for (const auto& chosen : states.chosenFields()) {
        size_t carried = 0;
        apply(states, *visualization.getEventList(), referencesOf(states, chosen.first), chosen.second,
              carried);
    }
}

int VCStateField::fieldOf(const SDStateTexts& states, std::string_view reference) {
    int field = states.chosenField(reference);
    std::string_view space;
    long long coordinates[3];
    std::string scratch;
    if (field < 0 && splitCellName(reference, space, coordinates, scratch)) {
        field = states.chosenField(space);
    }
    return std::max(field, 0);
}

std::string VCStateField::oneLine(std::string_view text) {
    std::string line(text);
    std::replace_if(
        line.begin(), line.end(), [](char c) { return c == '\n' || c == '\r' || c == '\t'; }, ' ');
    return line;
}

std::vector<uint32_t> VCStateField::referencesOf(const SDStateTexts& states, const std::string& model) {
    std::vector<uint32_t> models;
    std::string scratch;
    for (uint32_t number = 0; number < states.modelCount(); ++number) {
        const std::string_view name = states.name(number);
        std::string_view space;
        long long coordinates[3];
        if (name == model || (splitCellName(name, space, coordinates, scratch) && space == model)) {
            models.push_back(number);
        }
    }
    return models;
}

size_t VCStateField::apply(SDStateTexts& states, SDEventList& events, const std::vector<uint32_t>& models,
                           int field, size_t& carried) {
    if (!eventsKnown(states, events, models)) {
        findEvents(states, events, models);
    }
    size_t missing = 0;
    carried = 0;
    for (uint32_t model : models) {
        for (uint32_t row = 0; row < states.count(model); ++row) {
            const SDStateTexts::State state = states.state({model, row});
            if (state.event >= SDStateTexts::kUnplaced) {
                continue;
            }
            ++carried;
            double value = 0.0;
            if (!SLDataText::number(state.text, field, value)) {
                value = std::numeric_limits<double>::quiet_NaN();
                ++missing;
            }
            if (!sameValue(events.record(state.event).value, value)) {
                events.setValue(state.event, value);
            }
        }
    }
    return missing;
}

bool VCStateField::eventsKnown(const SDStateTexts& states, const SDEventList& events,
                               const std::vector<uint32_t>& models) {
    const SDNameTable& names = events.getNames();
    uint32_t out = 0;
    const bool hasOut = names.find("out", out);
    for (uint32_t model : models) {
        uint32_t source = 0;
        const bool hasSource = names.find(states.name(model), source);
        for (uint32_t row = 0; row < states.count(model); ++row) {
            const SDStateTexts::State state = states.state({model, row});
            if (state.event == SDStateTexts::kNoEvent) {
                continue;
            }
            if (state.event == SDStateTexts::kUnplaced || !hasOut || !hasSource ||
                state.event >= events.size()) {
                return false;
            }
            const SDEventList::Record& record = events.record(state.event);
            if (record.source != source || record.port != out || record.type == 0 ||
                record.time != state.time) {
                return false;
            }
        }
    }
    return true;
}

void VCStateField::findEvents(SDStateTexts& states, const SDEventList& events,
                              const std::vector<uint32_t>& models) {
    const SDNameTable& names = events.getNames();
    uint32_t out = 0;
    if (!names.find("out", out)) {
        return;
    }
    // Per model (by its name's number among the events), the states that carry a value, in time order.
    struct Waiting {
        uint32_t model;
        std::vector<uint32_t> rows;
        size_t next = 0;
    };
    std::vector<Waiting> waiting;
    std::unordered_map<uint32_t, size_t> bySource;
    for (uint32_t model : models) {
        uint32_t source = 0;
        Waiting entry{model, {}, 0};
        for (uint32_t row = 0; row < states.count(model); ++row) {
            const SDStateTexts::State state = states.state({model, row});
            if (state.event == SDStateTexts::kNoEvent) {
                continue;
            }
            // Found again below, or left unknown.
            states.setEvent({model, row}, SDStateTexts::kUnplaced);
            if (std::isfinite(state.time)) {
                entry.rows.push_back(row);
            }
        }
        if (!entry.rows.empty() && names.find(states.name(model), source)) {
            std::stable_sort(entry.rows.begin(), entry.rows.end(), [&](uint32_t a, uint32_t b) {
                return states.state({model, a}).time < states.state({model, b}).time;
            });
            bySource.emplace(source, waiting.size());
            waiting.push_back(std::move(entry));
        }
    }
    for (size_t index = 0; index < events.size() && !bySource.empty(); ++index) {
        const SDEventList::Record& record = events.record(index);
        if (record.type == 0 || record.port != out) {
            continue;
        }
        const auto found = bySource.find(record.source);
        if (found == bySource.end()) {
            continue;
        }
        Waiting& entry = waiting[found->second];
        // A state whose event is gone is passed; an output that carries no state is too.
        while (entry.next < entry.rows.size() &&
               states.state({entry.model, entry.rows[entry.next]}).time < record.time) {
            ++entry.next;
        }
        if (entry.next < entry.rows.size() &&
            states.state({entry.model, entry.rows[entry.next]}).time == record.time) {
            states.setEvent({entry.model, entry.rows[entry.next]}, index);
            ++entry.next;
        }
    }
}
