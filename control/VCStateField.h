#pragma once

#include <string>
#include <string_view>
#include <vector>

class SDEventList;
class SDStateTexts;
class SDVisualization;

// Which number of the state texts gives a model its values (vis_field). A cell's value over time comes
// from the events that carry its states; choosing another number rewrites their values, so that the time
// cursor, plots, exports and the colour range follow the event list as they always do. A state without
// that number gives the cell no value from then on (its event carries NaN, which every view shows as no
// value). A state with no number at all carries no event, under any choice: the cell keeps what it had.
class VCStateField {
  public:
    struct Outcome {
        bool done = false;
        std::vector<std::string> lines;  // the reply, refusals included
    };

    // Number `field` (from 0) of each state text of `model`, a cell space (all its cells) or a model that
    // logged states. `initialFollowed` says the model's initial values followed the choice already (they
    // then count as something to choose for even without state texts).
    static Outcome choose(SDVisualization& visualization, const std::string& model, int field,
                          bool initialFollowed);
    // After an import: the states read since then take the numbers chosen before.
    static void follow(SDVisualization& visualization);

    // The number that gives the value of a model reference ("cells(3,4)", "queue"): the one chosen for it,
    // else the one chosen for its cell space, else 0.
    static int fieldOf(const SDStateTexts& states, std::string_view reference);
    // A state text on one line: line breaks and tabs as blanks.
    static std::string oneLine(std::string_view text);

  private:
    // The model numbers in the store of `model` itself and of its cells.
    static std::vector<uint32_t> referencesOf(const SDStateTexts& states, const std::string& model);
    // Sets the values of the events that carry those models' states; returns how many states lack the
    // number.
    static size_t apply(SDStateTexts& states, SDEventList& events, const std::vector<uint32_t>& models,
                        int field, size_t& carried);
    // Whether every state with an event names one that is its own: events that came out of time order
    // move the ones after them.
    static bool eventsKnown(const SDStateTexts& states, const SDEventList& events,
                            const std::vector<uint32_t>& models);
    // Finds the events again: each state's is the next output on "out" from its model at its time.
    static void findEvents(SDStateTexts& states, const SDEventList& events,
                           const std::vector<uint32_t>& models);
};
