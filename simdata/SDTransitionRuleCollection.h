#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "simdata/SDTransitionRule.h"

// A model's transition rules in order; the first rule that applies to a message wins.
class SDTransitionRuleCollection {
  public:
    SDTransitionRuleCollection() = default;
    SDTransitionRuleCollection(const SDTransitionRuleCollection&) = default;
    SDTransitionRuleCollection& operator=(const SDTransitionRuleCollection&) = default;
    virtual ~SDTransitionRuleCollection();

    void addRule(SDTransitionRule rule);
    // Returns false when there is no rule at `index`.
    bool removeRule(unsigned index);
    size_t getNumRules() const { return m_ruleList.size(); }
    const SDTransitionRule* getRule(size_t index) const;

    // The state number of the first applicable rule, or -1. Every further rule that applies is reported
    // with a warning, so conflicting rules show up in the log.
    int evaluate(int type, const std::string& port, double value) const;
    // The same answer without looking past the first applicable rule, and so without warnings: for
    // callers that evaluate many values and report conflicting rules once, when the rules are made.
    int firstApplicable(int type, const std::string& port, double value) const;

  private:
    std::vector<SDTransitionRule> m_ruleList;
};
