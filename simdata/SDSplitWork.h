#pragma once

#include <cstddef>
#include <functional>

// Runs work(part, begin, end) over [0, count) in consecutive ranges, the first on the calling thread and
// each other on a thread of its own, and returns once all are done; an exception in any range is thrown
// here. A count below `least` is one range on the calling thread: a thread costs more than it saves on
// small work. Returns how many ranges ran (at most kMaxParts), numbered from 0 in the order of [0, count).
class SDSplitWork {
  public:
    static constexpr size_t kMaxParts = 2;

    static size_t run(size_t count, size_t least,
                      const std::function<void(size_t part, size_t begin, size_t end)>& work);
};
