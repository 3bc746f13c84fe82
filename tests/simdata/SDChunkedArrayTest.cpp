#include "simdata/SDChunkedArray.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "simdata/SDEventList.h"

namespace {

struct Item {
    uint64_t a;
    uint64_t b;
};

// Sizes around the first chunk's doublings and the large chunks' boundaries (131,072 items of 16 bytes);
// each push copies an item of the array itself, which growing may move.
TEST(SDChunkedArrayTest, HoldsEveryItemAcrossChunkBoundariesAndASmallArrayStaysSmall) {
    for (size_t count : {size_t{1}, size_t{65}, size_t{131073}, size_t{300001}}) {
        SDChunkedArray<Item> items;
        items.push_back(Item{0, 0});
        for (uint64_t i = 1; i < count; ++i) {
            items.push_back(items[i - 1]);
            items[i] = Item{i, ~i};
        }
        if (count < 131072) {
            EXPECT_LE(items.memoryBytes(), 2 * count * sizeof(Item) + 1100) << count;
        }
        const Item* first = &items[0];
        items.resize(count + 70000);
        size_t wrong = 0;
        for (uint64_t i = 1; i < count; ++i) {
            wrong += items[i].a != i || items[i].b != ~i;
        }
        EXPECT_EQ(wrong, 0u) << count;
        EXPECT_EQ(items[count + 69999].a, 0u);
        if (count >= 131072) {
            EXPECT_EQ(&items[0], first) << "the first chunk is whole and stays";
        }
    }
}

// Late events are merged into their place across the chunks, as a sort that keeps arrival order among
// equal times places them.
TEST(SDChunkedArrayTest, AnEventListOfManyChunksMergesLateEventsInOrder) {
    SDEventList list;
    std::vector<std::pair<double, double>> expected;
    for (uint64_t i = 0; i < 150000; ++i) {
        // Every 997th event is 500 ms late; times come in pairs, so ties must keep their order.
        SDEvent event;
        event.m_time = SDTime(static_cast<double>(i / 2) - (i % 997 == 0 && i >= 1000 ? 500.0 : 0.0));
        event.m_value = static_cast<double>(i);
        list.addEventCopy(event);
        expected.emplace_back(event.m_time.getMilliseconds(), event.m_value);
    }
    std::stable_sort(expected.begin(), expected.end(),
                     [](const auto& x, const auto& y) { return x.first < y.first; });
    ASSERT_EQ(list.size(), expected.size());
    size_t wrong = 0;
    for (size_t i = 0; i < expected.size(); ++i) {
        wrong += list.record(i).value != expected[i].second;
    }
    EXPECT_EQ(wrong, 0u);
}

}  // namespace
