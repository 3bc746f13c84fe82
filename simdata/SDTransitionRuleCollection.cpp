#include "simdata/SDTransitionRuleCollection.h"

#include <utility>

#include "shell/Log.h"

SDTransitionRuleCollection::~SDTransitionRuleCollection() = default;

void SDTransitionRuleCollection::addRule(SDTransitionRule rule) {
    m_ruleList.push_back(std::move(rule));
}

bool SDTransitionRuleCollection::removeRule(unsigned index) {
    if (index >= m_ruleList.size()) {
        return false;
    }
    m_ruleList.erase(m_ruleList.begin() + index);
    return true;
}

const SDTransitionRule* SDTransitionRuleCollection::getRule(size_t index) const {
    return index < m_ruleList.size() ? &m_ruleList[index] : nullptr;
}

int SDTransitionRuleCollection::evaluate(int type, const std::string& port, double value) const {
    int result = -1;
    for (const SDTransitionRule& rule : m_ruleList) {
        if (!rule.appliesTo(type, port, value)) {
            continue;
        }
        if (result == -1) {
            result = rule.getStateIndex();
        } else {
            logMessage("Warning: Multiple transition rules apply for: port: %s, value: %.3f", port.c_str(),
                       value);
            logMessage("Using first rule triggered");
        }
    }
    return result;
}

int SDTransitionRuleCollection::firstApplicable(int type, const std::string& port, double value) const {
    for (const SDTransitionRule& rule : m_ruleList) {
        // As in evaluate, a rule whose state is -1 counts as no match.
        if (rule.getStateIndex() != -1 && rule.appliesTo(type, port, value)) {
            return rule.getStateIndex();
        }
    }
    return -1;
}
