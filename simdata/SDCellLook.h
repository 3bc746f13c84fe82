#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include "scene/SDColourRamp.h"
#include "scene/SDDetailNodeCUBE.h"
#include "simdata/SDColoredCUBE.h"
#include "simdata/SDTransitionRuleCollection.h"

// How the user wants one Cell-DEVS model's cells to look: colour rules and the look of cells without a
// value. A rule is a transition rule of the model (an output on port "out" whose value lies in a range)
// whose state number selects one coloured-cube state here. The states paint a stand-in cube, the swatch,
// and the colour is read back from it: one state per rule, none per cell, however many cells there are.
class SDCellLook {
  public:
    using Colour = std::array<float, 4>;
    // The cube's own colour: cells with no value look as cubes always have.
    static constexpr Colour kNoValueColour{0.0f, 0.8f, 0.4f, 1.0f};
    static constexpr int kOutputType = 1;
    static constexpr const char* kPort = "out";

    SDCellLook();
    SDCellLook(const SDCellLook&) = delete;
    SDCellLook& operator=(const SDCellLook&) = delete;

    // Appends "low <= value <= high gets `colour`" to `rules` after the rules already there. Returns the
    // position (0-based) of the first earlier rule whose range overlaps, which keeps the overlap, or -1.
    int addRule(SDTransitionRuleCollection& rules, double low, double high, const Colour& colour);
    // Removes every rule and its state; returns how many rules there were.
    size_t clearRules(SDTransitionRuleCollection& rules);
    // The colour of the first rule that applies to `value`; false when none does.
    //
    // The collection's evaluate() would log a warning pair for every value that several rules match, and
    // a pass over a million cells would flood the log; the first applicable rule is taken without looking
    // further (the answer evaluate() gives), and overlaps are reported once, by addRule.
    bool ruleColour(const SDTransitionRuleCollection& rules, double value, Colour& colour);

    void setNoValueColour(const Colour& colour);
    const Colour& getNoValueColour() const { return m_noValue; }
    // Whether the user chose that look: cells without a value are then drawn even as a block's background.
    bool hasNoValueColour() const { return m_noValueSet; }

    // The rule at `index` of `rules` as this look made it: its range and colour. False past the last rule
    // and for a rule of another kind.
    bool describeRule(const SDTransitionRuleCollection& rules, size_t index, double& low, double& high,
                      Colour& colour) const;

    // The range of values the colour ramp spans: the middle of the model's values over the run, 1st to
    // 99th percentile with round ends (Robust, the default), all its values over the whole log, the values
    // the cells hold at the current time, or a fixed range.
    enum class Range { Log, Now, Fixed, Robust };
    void setRange(Range range, double low = 0.0, double high = 0.0);
    Range getRange() const { return m_range; }
    double getFixedLow() const { return m_fixedLow; }
    double getFixedHigh() const { return m_fixedHigh; }

    // The ramp: chosen by the range when not set (coolwarm for a range from below 0 to above 0, else
    // inferno), or one set by name.
    void setMap(bool chosen, SDColourRamp::Map map = SDColourRamp::Map::Inferno);
    bool isMapChosen() const { return m_mapChosen; }
    SDColourRamp::Map getMap() const { return m_map; }
    // Linear (the default) or logarithmic.
    void setLogScale(bool log);
    bool isLogScale() const { return m_logScale; }

    // Changes with every change of look, and is never the same for two looks, so a reader that saw one
    // version knows it must recolour when the number differs, even for another model's look.
    unsigned long getVersion() const { return m_version; }

  private:
    void changed();

    SDDetailNodeCUBE m_swatch;
    std::vector<SDColoredCUBE> m_states;  // state number = position; each paints m_swatch
    Colour m_noValue = kNoValueColour;
    bool m_noValueSet = false;
    Range m_range = Range::Robust;
    bool m_mapChosen = false;
    SDColourRamp::Map m_map = SDColourRamp::Map::Inferno;
    bool m_logScale = false;
    double m_fixedLow = 0.0;
    double m_fixedHigh = 0.0;
    unsigned long m_version = 0;
};
