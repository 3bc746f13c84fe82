#include "simdata/SDChunkedArray.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "simdata/SDEventList.h"

namespace {

struct Item {
    uint64_t a;
    uint64_t b;
};

// Sizes around the first chunk's doublings and the boundaries of the large chunks (65,536 items of 32
// bytes, 131,072 of 16).
TEST(SDChunkedArrayTest, HoldsEveryItemPushedAndResizedAcrossChunkBoundaries) {
    for (size_t count :
         {size_t{0}, size_t{1}, size_t{64}, size_t{65}, size_t{131072}, size_t{131073}, size_t{300001}}) {
        SDChunkedArray<Item> items;
        for (size_t i = 0; i < count; ++i) {
            items.push_back(Item{i, ~i});
        }
        ASSERT_EQ(items.size(), count);
        size_t wrong = 0;
        for (size_t i = 0; i < count; ++i) {
            wrong += items[i].a != i || items[i].b != ~i;
        }
        EXPECT_EQ(wrong, 0u) << count;
        items.resize(count + 70000);
        EXPECT_EQ(items[count + 69999].a, 0u);
        EXPECT_EQ(items[count].b, 0u);
        if (count > 0) {
            EXPECT_EQ(items[count - 1].a, count - 1) << count;
        }
    }
}

TEST(SDChunkedArrayTest, ItemsPastTheFirstChunkStayWhereTheyAreAndASmallArrayStaysSmall) {
    SDChunkedArray<Item> items;
    for (uint64_t i = 0; i < 200000; ++i) {
        items.push_back(Item{i, i});
    }
    const Item* held = &items[150000];
    for (uint64_t i = 0; i < 300000; ++i) {
        items.push_back(items[i]);  // an item of the array itself, while the array grows
    }
    EXPECT_EQ(&items[150000], held);
    // Item 499,999 copied item 299,999, itself a copy of item 99,999.
    EXPECT_EQ(items[499999].a, 99999u);

    SDChunkedArray<Item> small;
    for (uint64_t i = 0; i < 1000; ++i) {
        small.push_back(Item{i, i});
    }
    EXPECT_LE(small.memoryBytes(), 1024u * sizeof(Item) + 64u);
}

// Events that arrive late are merged into their place across the chunks, as a sort that keeps arrival
// order among equal times would place them.
TEST(SDChunkedArrayTest, AnEventListOfManyChunksMergesLateEventsInOrder) {
    SDEventList list;
    std::vector<std::pair<double, uint64_t>> expected;
    for (uint64_t i = 0; i < 150000; ++i) {
        // Every 997th event is 500 ms late; times repeat in pairs, so ties must keep their order.
        const double time = static_cast<double>(i / 2) - (i % 997 == 0 && i >= 1000 ? 500.0 : 0.0);
        SDEvent event;
        event.m_time = SDTime(time);
        event.m_value = static_cast<double>(i);
        event.m_source = "m";
        list.addEventCopy(event);
        expected.emplace_back(time, i);
    }
    std::stable_sort(expected.begin(), expected.end(),
                     [](const auto& x, const auto& y) { return x.first < y.first; });
    ASSERT_EQ(list.size(), expected.size());
    size_t wrong = 0;
    for (size_t i = 0; i < expected.size(); ++i) {
        wrong += list.record(i).value != static_cast<double>(expected[i].second);
    }
    EXPECT_EQ(wrong, 0u);
}

}  // namespace
