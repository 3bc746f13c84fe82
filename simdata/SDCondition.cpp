#include "simdata/SDCondition.h"

SDCondition::~SDCondition() = default;

SDComparisonCondition::~SDComparisonCondition() = default;

bool SDComparisonCondition::test(double value) const {
    switch (m_op) {
        case Op::Greater:
            return value > m_threshold;
        case Op::GreaterEqual:
            return value >= m_threshold;
        case Op::Less:
            return value < m_threshold;
        case Op::LessEqual:
            return value <= m_threshold;
        case Op::Equal:
            return value == m_threshold;
        case Op::NotEqual:
            return value != m_threshold;
    }
    return false;
}

std::unique_ptr<SDCondition> SDComparisonCondition::clone() const {
    return std::make_unique<SDComparisonCondition>(m_op, m_threshold);
}

std::unique_ptr<SDComparisonCondition> SDComparisonCondition::fromText(const std::string& op,
                                                                       double threshold) {
    static const struct {
        const char* text;
        Op op;
    } kOps[] = {{">", Op::Greater},    {">=", Op::GreaterEqual}, {"<", Op::Less},
                {"<=", Op::LessEqual}, {"==", Op::Equal},        {"!=", Op::NotEqual}};
    for (const auto& entry : kOps) {
        if (op == entry.text) {
            return std::make_unique<SDComparisonCondition>(entry.op, threshold);
        }
    }
    return nullptr;
}

SDRangeCondition::~SDRangeCondition() = default;

std::unique_ptr<SDCondition> SDRangeCondition::clone() const {
    return std::make_unique<SDRangeCondition>(m_low, m_high);
}
