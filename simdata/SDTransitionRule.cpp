#include "simdata/SDTransitionRule.h"

#include <utility>

SDTransitionRule::SDTransitionRule(int type, std::string port, std::unique_ptr<SDCondition> condition,
                                   int stateIndex)
    : m_port(std::move(port)), m_condition(std::move(condition)), m_stateIndex(stateIndex), m_type(type) {}

SDTransitionRule::SDTransitionRule(const SDTransitionRule& other)
    : m_port(other.m_port),
      m_condition(other.m_condition ? other.m_condition->clone() : nullptr),
      m_stateIndex(other.m_stateIndex),
      m_type(other.m_type) {}

SDTransitionRule& SDTransitionRule::operator=(const SDTransitionRule& other) {
    if (this != &other) {
        m_port = other.m_port;
        m_condition = other.m_condition ? other.m_condition->clone() : nullptr;
        m_stateIndex = other.m_stateIndex;
        m_type = other.m_type;
    }
    return *this;
}

SDTransitionRule::~SDTransitionRule() = default;

bool SDTransitionRule::appliesTo(int type, const std::string& port, double value) const {
    return m_type == type && m_port == port && m_condition != nullptr && m_condition->test(value);
}
