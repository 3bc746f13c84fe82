#pragma once

#include <cstddef>
#include <iterator>
#include <string>
#include <vector>

// A bounded list of lines, newest first; the oldest line goes when a new one would exceed the capacity.
// The lines live in a ring whose strings are reused: once the log is full, a new line overwrites the
// oldest in place, without allocating, however many lines pass through (an import prints millions).
class VDStringLog {
  public:
    // Walks from the newest line to the oldest.
    class const_iterator {
      public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = std::string;
        using difference_type = std::ptrdiff_t;
        using pointer = const std::string*;
        using reference = const std::string&;

        const_iterator() = default;
        reference operator*() const { return m_log->lineAt(m_age); }
        pointer operator->() const { return &m_log->lineAt(m_age); }
        const_iterator& operator++() {
            ++m_age;
            return *this;
        }
        const_iterator operator++(int) {
            const_iterator before = *this;
            ++m_age;
            return before;
        }
        bool operator==(const const_iterator& other) const { return m_age == other.m_age; }
        bool operator!=(const const_iterator& other) const { return m_age != other.m_age; }

      private:
        friend class VDStringLog;
        const_iterator(const VDStringLog* log, int age) : m_log(log), m_age(age) {}
        const VDStringLog* m_log = nullptr;
        int m_age = 0;  // 0 is the newest line
    };

    // Until its owner sets one, a log keeps as many lines as the console does.
    static constexpr int DEFAULT_CAPACITY = 1000;

    VDStringLog() = default;
    VDStringLog(const VDStringLog&) = default;
    VDStringLog& operator=(const VDStringLog&) = default;
    virtual ~VDStringLog();

    virtual int getCapacity() const;
    // Drops the oldest lines beyond `capacity` (a negative capacity counts as 0); returns how many went.
    virtual int setCapacity(int capacity);
    virtual int getCount() const;
    // Inserts `text` as the newest line. A log of capacity 0 keeps nothing.
    virtual void addLine(const std::string& text);
    // From the newest line to past the oldest.
    virtual const_iterator begin() const;
    virtual const_iterator end() const;

  private:
    // `age` 0 is the newest line, getCount() - 1 the oldest.
    const std::string& lineAt(int age) const;
    // Moves the oldest line to the front of the ring.
    void straighten();

    // Oldest to newest from m_oldest, wrapping at the end. Holds exactly the lines kept; it only wraps once
    // it is full, so while it grows m_oldest is 0.
    std::vector<std::string> m_ring;
    size_t m_oldest = 0;
    int m_capacity = DEFAULT_CAPACITY;
};
