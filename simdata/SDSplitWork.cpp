#include "simdata/SDSplitWork.h"

#include <algorithm>
#include <future>
#include <thread>
#include <vector>

size_t SDSplitWork::run(size_t count, size_t least,
                        const std::function<void(size_t part, size_t begin, size_t end)>& work) {
    const size_t cores = std::max<size_t>(1, std::thread::hardware_concurrency());
    const size_t parts = count < least ? 1 : std::min(kMaxParts, cores);
    std::vector<std::future<void>> others;
    for (size_t part = 1; part < parts; ++part) {
        others.push_back(
            std::async(std::launch::async, work, part, count * part / parts, count * (part + 1) / parts));
    }
    // Should this range throw, the futures of std::async wait for the others as they go: those use what the
    // caller holds.
    work(0, 0, count / parts);
    for (auto& other : others) {
        other.get();
    }
    return parts;
}
