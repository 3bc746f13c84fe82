#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace fuzz {

// The inputs kept for one fuzz target under `root` (the source tree): its seeds in tests/fuzz/corpus/ and
// the inputs it once failed on in tests/fuzz/regressions/, in name order.
inline std::vector<std::filesystem::path> savedInputs(const std::string& root, const std::string& target) {
    std::vector<std::filesystem::path> inputs;
    for (const char* kind : {"corpus", "regressions"}) {
        const std::filesystem::path dir = std::filesystem::path(root) / "tests/fuzz" / kind / target;
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(dir, error)) {
            if (entry.is_regular_file()) {
                inputs.push_back(entry.path());
            }
        }
    }
    std::sort(inputs.begin(), inputs.end());
    return inputs;
}

}  // namespace fuzz
