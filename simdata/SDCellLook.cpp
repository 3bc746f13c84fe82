#include "simdata/SDCellLook.h"

#include <memory>

#include "simdata/SDCondition.h"

namespace {
unsigned long g_lastVersion = 0;
}

SDCellLook::SDCellLook() {
    changed();
}

void SDCellLook::changed() {
    m_version = ++g_lastVersion;
}

int SDCellLook::addRule(SDTransitionRuleCollection& rules, double low, double high, const Colour& colour) {
    int overlapping = -1;
    for (size_t i = 0; i < rules.getNumRules() && overlapping < 0; ++i) {
        const SDTransitionRule* rule = rules.getRule(i);
        const auto* range = dynamic_cast<const SDRangeCondition*>(rule->getCondition());
        if (range != nullptr && rule->getType() == kOutputType && rule->getPort() == kPort &&
            range->getLow() <= high && low <= range->getHigh()) {
            overlapping = static_cast<int>(i);
        }
    }
    const int state = static_cast<int>(m_states.size());
    m_states.emplace_back(&m_swatch, colour);
    rules.addRule(SDTransitionRule(kOutputType, kPort, std::make_unique<SDRangeCondition>(low, high), state));
    changed();
    return overlapping;
}

size_t SDCellLook::clearRules(SDTransitionRuleCollection& rules) {
    const size_t count = rules.getNumRules();
    while (rules.removeRule(0)) {
    }
    m_states.clear();
    changed();
    return count;
}

bool SDCellLook::ruleColour(const SDTransitionRuleCollection& rules, double value, Colour& colour) {
    const int state = rules.firstApplicable(kOutputType, kPort, value);
    if (state < 0 || static_cast<size_t>(state) >= m_states.size()) {
        return false;
    }
    m_states[static_cast<size_t>(state)].apply();
    colour = m_swatch.getColor();
    return true;
}

void SDCellLook::setNoValueColour(const Colour& colour) {
    m_noValue = colour;
    m_noValueSet = true;
    changed();
}

bool SDCellLook::describeRule(const SDTransitionRuleCollection& rules, size_t index, double& low,
                              double& high, Colour& colour) const {
    const SDTransitionRule* rule = rules.getRule(index);
    const auto* range =
        rule != nullptr ? dynamic_cast<const SDRangeCondition*>(rule->getCondition()) : nullptr;
    if (range == nullptr || rule->getStateIndex() < 0 ||
        static_cast<size_t>(rule->getStateIndex()) >= m_states.size()) {
        return false;
    }
    low = range->getLow();
    high = range->getHigh();
    colour = m_states[static_cast<size_t>(rule->getStateIndex())].getColor();
    return true;
}

void SDCellLook::setRange(Range range, double low, double high) {
    m_range = range;
    m_fixedLow = low;
    m_fixedHigh = high;
    changed();
}

void SDCellLook::setMap(bool chosen, SDColourRamp::Map map) {
    m_mapChosen = chosen;
    m_map = map;
    changed();
}

void SDCellLook::setLogScale(bool log) {
    m_logScale = log;
    changed();
}
