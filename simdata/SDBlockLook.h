#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "scene/SDDetailNodeCUBE.h"
#include "simdata/SDColoredCUBE.h"
#include "simdata/SDTransitionRuleCollection.h"

// How the user wants one model's block coloured, in place of the look of its activity: by the values on its
// ports. A rule is a transition rule of the block (an X on an input port, or a Y on an output port, whose
// value lies in a range) whose state number selects one coloured-cube state here; the states paint a
// stand-in cube, the swatch, and the colour is read back from it, as the cells' looks do.
//
// Rules are tried in the order they were added, each against the value its own port holds at the time;
// the first that holds wins (a colour of alpha 0 hides the block). Where none holds, a ramp over one
// port's range over the whole run may colour the block; otherwise it shows its activity.
class SDBlockLook {
  public:
    using Colour = std::array<float, 4>;
    static constexpr int kInputType = 0;
    static constexpr int kOutputType = 1;
    // The value a port holds now; false while it has none.
    using ValueOf = std::function<bool(int type, const std::string& port, double& value)>;

    SDBlockLook();
    SDBlockLook(const SDBlockLook&) = delete;
    SDBlockLook& operator=(const SDBlockLook&) = delete;

    // Appends "low <= value <= high on that port gets `colour`". Returns the position (0-based) of the first
    // earlier rule of the same port whose range overlaps, which keeps the overlap, or -1.
    int addRule(int type, const std::string& port, double low, double high, const Colour& colour);
    // Removes the port's rules, and the ramp when it is the port's; returns how many rules there were.
    size_t clearPort(int type, const std::string& port);
    // Removes every rule and the ramp; returns how many rules there were.
    size_t clear();
    void setRamp(int type, const std::string& port);

    bool hasRamp() const { return m_ramp; }
    int getRampType() const { return m_rampType; }
    const std::string& getRampPort() const { return m_rampPort; }
    bool empty() const { return m_rules.getNumRules() == 0 && !m_ramp; }
    const SDTransitionRuleCollection& getRules() const { return m_rules; }

    // The colour of the first rule that holds for its port's value now; false when none does.
    bool ruleColour(const ValueOf& valueOf, Colour& colour);

    // Changes with every change of look, never the same for two looks.
    unsigned long getVersion() const { return m_version; }

  private:
    void changed();

    SDTransitionRuleCollection m_rules;
    SDDetailNodeCUBE m_swatch;
    std::vector<SDColoredCUBE> m_states;  // state number = position; each paints m_swatch
    bool m_ramp = false;
    int m_rampType = kOutputType;
    std::string m_rampPort;
    unsigned long m_version = 0;
};
