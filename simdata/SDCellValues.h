#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The values of one Cell-DEVS model's cells at the current time of its visualization: for each cell, the
// value of the last output it sent on port "out" at or before that time, and the time of that message.
// Cells are numbered as the model stores them: (x * height + y) * length + z.
//
// The time cursor writes; the 3D view reads, and asks only for what changed since it last looked, so a
// step of the cursor re-colours only the cells the step touched.
class SDCellValues {
  public:
    static constexpr uint32_t kNoTime = UINT32_MAX;

    // Cells keep their values when the space grows: a cell keeps its coordinates, not its number. Growth
    // marks every cell changed.
    void resize(unsigned width, unsigned height, unsigned length);
    size_t size() const { return m_values.size(); }

    bool hasValue(size_t cell) const { return cell < m_times.size() && m_times[cell] != kNoTime; }
    // Only meaningful when hasValue.
    double value(size_t cell) const { return m_values[cell]; }
    // The index, in the visualization's list of distinct event times, of the message the value came from;
    // kNoTime without a value.
    uint32_t timeIndex(size_t cell) const { return cell < m_times.size() ? m_times[cell] : kNoTime; }

    void set(size_t cell, double value, uint32_t timeIndex);
    void clear(size_t cell);
    // Every cell without a value; marks every cell changed.
    void clearAll();
    // Every cell at once, from arrays of size() values and time indices; marks every cell changed.
    void restore(const double* values, const uint32_t* timeIndices);

    // The range of the finite values the model's cells send over the whole log, so that a colour means the
    // same at every time. False while the model has sent no finite value.
    bool range(double& minimum, double& maximum) const;
    // Widens the range to hold a finite value; NaN and infinities are left out.
    void widenRange(double value);
    // Forgets the range, as before the first value.
    void resetRange();

    // Hands over the cells set or cleared since the last call, or `all` = true when so much changed (a
    // jump, a re-import, growth) that the reader should refresh every cell; then forgets them.
    void takeChanges(std::vector<uint32_t>& cells, bool& all);

  private:
    void changed(size_t cell);

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
};
