#include "simdata/SDBlockLook.h"

#include <memory>
#include <utility>

#include "simdata/SDCondition.h"

namespace {
unsigned long g_lastVersion = 0;
}

SDBlockLook::SDBlockLook() {
    changed();
}

void SDBlockLook::changed() {
    m_version = ++g_lastVersion;
}

int SDBlockLook::addRule(int type, const std::string& port, double low, double high, const Colour& colour) {
    int overlapping = -1;
    for (size_t i = 0; i < m_rules.getNumRules() && overlapping < 0; ++i) {
        const SDTransitionRule* rule = m_rules.getRule(i);
        const auto* range = dynamic_cast<const SDRangeCondition*>(rule->getCondition());
        if (range != nullptr && rule->getType() == type && rule->getPort() == port &&
            range->getLow() <= high && low <= range->getHigh()) {
            overlapping = static_cast<int>(i);
        }
    }
    const int state = static_cast<int>(m_states.size());
    m_states.emplace_back(&m_swatch, colour);
    m_rules.addRule(SDTransitionRule(type, port, std::make_unique<SDRangeCondition>(low, high), state));
    changed();
    return overlapping;
}

size_t SDBlockLook::clearPort(int type, const std::string& port) {
    // The rules of other ports are added again in their order, with fresh state numbers.
    struct Kept {
        int type;
        std::string port;
        double low;
        double high;
        Colour colour;
    };
    std::vector<Kept> kept;
    size_t removed = 0;
    for (size_t i = 0; i < m_rules.getNumRules(); ++i) {
        const SDTransitionRule* rule = m_rules.getRule(i);
        const auto* range = dynamic_cast<const SDRangeCondition*>(rule->getCondition());
        const auto state = static_cast<size_t>(rule->getStateIndex());
        if (rule->getType() == type && rule->getPort() == port) {
            ++removed;
        } else if (range != nullptr && state < m_states.size()) {
            kept.push_back(Kept{rule->getType(), rule->getPort(), range->getLow(), range->getHigh(),
                                m_states[state].getColor()});
        }
    }
    const bool ramp = m_ramp && !(m_rampType == type && m_rampPort == port);
    clear();
    for (const Kept& rule : kept) {
        addRule(rule.type, rule.port, rule.low, rule.high, rule.colour);
    }
    m_ramp = ramp;
    return removed;
}

size_t SDBlockLook::clear() {
    const size_t count = m_rules.getNumRules();
    while (m_rules.removeRule(0)) {
    }
    m_states.clear();
    m_ramp = false;
    changed();
    return count;
}

void SDBlockLook::setRamp(int type, const std::string& port) {
    m_ramp = true;
    m_rampType = type;
    m_rampPort = port;
    changed();
}

bool SDBlockLook::ruleColour(const ValueOf& valueOf, Colour& colour) {
    for (size_t i = 0; i < m_rules.getNumRules(); ++i) {
        const SDTransitionRule* rule = m_rules.getRule(i);
        double value = 0.0;
        if (!valueOf(rule->getType(), rule->getPort(), value) ||
            !rule->appliesTo(rule->getType(), rule->getPort(), value)) {
            continue;
        }
        const auto state = static_cast<size_t>(rule->getStateIndex());
        if (rule->getStateIndex() < 0 || state >= m_states.size()) {
            continue;
        }
        m_states[state].apply();
        colour = m_swatch.getColor();
        return true;
    }
    return false;
}
