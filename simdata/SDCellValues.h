#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class SDInitialValues;

// The values of one Cell-DEVS model's cells at the current time of its visualization: for each cell, the
// value of the last output it sent on port "out" at or before that time, and the time of that message.
// Cells are numbered as the model stores them: (x * height + y) * length + z.
//
// The time cursor writes; the 3D view reads, and asks only for what changed since it last looked, so a
// step of the cursor re-colours only the cells the step touched.
//
// Before a cell's first output its value is its initial value, when the model file gave it one: a cell
// that is cleared takes it, with the time index kInitialTime.
class SDCellValues {
  public:
    static constexpr uint32_t kNoTime = UINT32_MAX;
    static constexpr uint32_t kInitialTime = UINT32_MAX - 1;

    // Where cleared cells take their values from (null: they have none). Not owned; it must outlive its
    // use here, or be replaced first. Applies to the cells cleared from now on.
    void setInitial(const SDInitialValues* initial) { m_initial = initial; }

    // Cells keep their values when the space grows: a cell keeps its coordinates, not its number. Growth
    // marks every cell changed.
    void resize(unsigned width, unsigned height, unsigned length);
    size_t size() const { return m_values.size(); }

    bool hasValue(size_t cell) const { return cell < m_times.size() && m_times[cell] != kNoTime; }
    // Only meaningful when hasValue.
    double value(size_t cell) const { return m_values[cell]; }
    // The index, in the visualization's list of distinct event times, of the message the value came from;
    // kNoTime without a value, kInitialTime for an initial value.
    uint32_t timeIndex(size_t cell) const { return cell < m_times.size() ? m_times[cell] : kNoTime; }
    bool isInitial(size_t cell) const { return timeIndex(cell) == kInitialTime; }

    void set(size_t cell, double value, uint32_t timeIndex);
    // Back to the cell's initial value, or to no value.
    void clear(size_t cell);
    // Every cell cleared; marks every cell changed.
    void clearAll();
    // Every cell at once, from arrays of size() values and time indices (kNoTime clears the cell); marks
    // every cell changed.
    void restore(const double* values, const uint32_t* timeIndices);

    // The range of the finite values the model's cells send over the whole log, so that a colour means the
    // same at every time. False while the model has sent no finite value.
    bool range(double& minimum, double& maximum) const;
    // The middle of the run: from the k-th smallest to the k-th largest of the finite values the range was
    // widened with, k being their count / 100 rounded up (1st to 99th percentile), the ends rounded
    // outwards to round numbers (SDNiceNumbers::roundOutwards) within range(). The whole range when those
    // two values are equal. False while there is no value.
    bool robustRange(double& minimum, double& maximum) const;
    // The same of the values above 0 only, for a log scale, ends rounded to 1, 2 or 5 times a power of ten;
    // `robust` false gives their smallest and largest. False while there is none above 0.
    bool positiveRange(double& minimum, double& maximum, bool robust) const;
    // Widens the range to hold a finite value, met `count` times; NaN and infinities are left out.
    void widenRange(double value, size_t count = 1);
    // Forgets the range, as before the first value.
    void resetRange();
    // Whether every finite value the range was widened with is a whole number, with at most
    // kMaxDistinct of them; they are then in `values`, ascending.
    static constexpr size_t kMaxDistinct = 16;
    bool distinctValues(std::vector<double>& values) const;

    // The range of the finite values the cells hold now; false when none holds one.
    bool currentRange(double& minimum, double& maximum) const;
    // The smallest value above 0 the cells hold now; false when none holds one.
    bool currentPositiveMinimum(double& minimum) const;
    // Bytes held for the robust range: every value of the run.
    size_t spreadBytes() const { return m_spread.capacity() * sizeof(double); }

    // The value that at least half of the cells hold now, cells without a value (or with one that is not
    // a finite number) counting as one value of their own: what a block's background is. On a tie of two
    // halves, cells without a value come first, then the lower value. False when no value is held by half
    // of the cells. Worked out when asked after a change, and kept up to date cheaply from the cells that
    // change while one value holds more than half of them.
    struct Background {
        bool noValue = false;
        double value = 0.0;
        size_t count = 0;
    };
    bool background(Background& background) const;

    // Hands over the cells set or cleared since the last call, or `all` = true when so much changed (a
    // jump, a re-import, growth) that the reader should refresh every cell; then forgets them.
    void takeChanges(std::vector<uint32_t>& cells, bool& all);

  private:
    void changed(size_t cell);
    // Gives a cell without a value its initial value, if it has one.
    void takeInitial(size_t cell);
    void takeInitialAll();
    void noteDistinct(double value);
    // Whether the cell holds the background found last; keeps its count as a cell leaves or joins it.
    bool holdsBackground(size_t cell) const;
    void leaveBackground(size_t cell);
    void joinBackground(size_t cell);
    void settleSpread() const;

    unsigned m_width = 0;
    unsigned m_height = 0;
    unsigned m_length = 0;
    std::vector<double> m_values;
    std::vector<uint32_t> m_times;
    std::vector<uint32_t> m_changed;
    bool m_allChanged = true;
    bool m_hasRange = false;
    double m_minimum = 0.0;
    double m_maximum = 0.0;
    const SDInitialValues* m_initial = nullptr;
    // The whole numbers met by widenRange, while they are few and all whole.
    std::vector<double> m_distinct;
    bool m_discrete = true;
    // Every finite value of the run, reordered when the robust ranges are worked out (when asked after a
    // change): those up to 0 first.
    mutable std::vector<double> m_spread;
    mutable bool m_spreadKnown = false;
    mutable bool m_hasRobust = false;
    mutable double m_robust[2] = {0.0, 0.0};
    mutable bool m_hasPositive = false;
    mutable double m_positive[2] = {0.0, 0.0};
    mutable double m_robustPositive[2] = {0.0, 0.0};
    // currentRange, worked out when asked after a change.
    mutable bool m_currentKnown = false;
    mutable bool m_hasCurrent = false;
    mutable double m_currentMinimum = 0.0;
    mutable double m_currentMaximum = 0.0;
    // background, worked out when asked after a change that could move it.
    mutable bool m_backgroundKnown = false;
    mutable bool m_hasBackground = false;
    mutable Background m_background;
    mutable bool m_hasCurrentPositive = false;
    mutable double m_currentPositive = 0.0;
};
