#pragma once

#include <memory>
#include <string>

#include "simdata/SDCondition.h"

// "A message of type `type` on port `port` whose value passes the condition puts the model into state
// `stateIndex`." The rule owns its condition; a copy gets a copy of it.
class SDTransitionRule {
  public:
    SDTransitionRule() = default;
    SDTransitionRule(int type, std::string port, std::unique_ptr<SDCondition> condition, int stateIndex);
    SDTransitionRule(const SDTransitionRule& other);
    SDTransitionRule& operator=(const SDTransitionRule& other);
    SDTransitionRule(SDTransitionRule&&) noexcept = default;
    SDTransitionRule& operator=(SDTransitionRule&&) noexcept = default;
    virtual ~SDTransitionRule();

    int getType() const { return m_type; }
    const std::string& getPort() const { return m_port; }
    const SDCondition* getCondition() const { return m_condition.get(); }
    int getStateIndex() const { return m_stateIndex; }

    // True when type and port match exactly and the condition holds. A rule without a condition never
    // applies.
    bool appliesTo(int type, const std::string& port, double value) const;

  private:
    std::string m_port;
    std::unique_ptr<SDCondition> m_condition;
    int m_stateIndex = -1;
    int m_type = 0;
};
