#pragma once

#include <memory>
#include <string>

// A test on a message value; a transition rule applies only when its condition holds.
class SDCondition {
  public:
    virtual ~SDCondition();
    virtual bool test(double value) const = 0;
    // A copy of the same kind, so that a rule that owns its condition can be copied.
    virtual std::unique_ptr<SDCondition> clone() const = 0;
};

// value <op> threshold. Every comparison with NaN is false except "!=".
class SDComparisonCondition : public SDCondition {
  public:
    enum class Op { Greater, GreaterEqual, Less, LessEqual, Equal, NotEqual };

    SDComparisonCondition(Op op, double threshold) : m_op(op), m_threshold(threshold) {}
    ~SDComparisonCondition() override;
    bool test(double value) const override;
    std::unique_ptr<SDCondition> clone() const override;

    // From the operator's text: ">", ">=", "<", "<=", "==" or "!="; null for any other text.
    static std::unique_ptr<SDComparisonCondition> fromText(const std::string& op, double threshold);

    Op getOp() const { return m_op; }
    double getThreshold() const { return m_threshold; }

  private:
    Op m_op;
    double m_threshold;
};

// low <= value <= high, both ends included. NaN lies in no range.
class SDRangeCondition : public SDCondition {
  public:
    SDRangeCondition(double low, double high) : m_low(low), m_high(high) {}
    ~SDRangeCondition() override;
    bool test(double value) const override { return value >= m_low && value <= m_high; }
    std::unique_ptr<SDCondition> clone() const override;

    double getLow() const { return m_low; }
    double getHigh() const { return m_high; }

  private:
    double m_low;
    double m_high;
};
