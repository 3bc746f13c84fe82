#include "simdata/SDScenarioStates.h"

std::unique_ptr<SDInitialValues> SDScenarioStates::valuesOf(size_t field, const std::array<int, 3>& origin,
                                                            const std::array<unsigned, 3>& counts) const {
    auto values = std::make_unique<SDInitialValues>();
    if (field < defaults.size()) {
        values->setCommon(defaults[field]);
    }
    bool sized = false;
    for (const Override& entry : overrides) {
        if (field >= entry.numbers.size()) {
            continue;
        }
        if (!sized && !values->sizeCells(counts[0], counts[1], counts[2])) {
            break;
        }
        sized = true;
        for (const std::array<int, 3>& cell : entry.cells) {
            const long long x = static_cast<long long>(cell[0]) - origin[0];
            const long long y = static_cast<long long>(cell[1]) - origin[1];
            const long long z = static_cast<long long>(cell[2]) - origin[2];
            // Cells the space cannot hold are passed over (setCell refuses those beyond its counts).
            if (x >= 0 && y >= 0 && z >= 0) {
                values->setCell(static_cast<unsigned>(x), static_cast<unsigned>(y), static_cast<unsigned>(z),
                                entry.numbers[field]);
            }
        }
    }
    if (values->empty()) {
        return nullptr;
    }
    return values;
}
