#pragma once

#include <list>
#include <string>

// A bounded list of lines, newest first; the oldest line goes when a new one would exceed the capacity.
class VDStringLog {
  public:
    using const_iterator = std::list<std::string>::const_iterator;

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
    std::list<std::string> m_lines;
    int m_capacity = DEFAULT_CAPACITY;
};
