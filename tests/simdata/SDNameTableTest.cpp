#include "simdata/SDNameTable.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A cell name as a 3D run writes it: 19 to 23 characters for a 100×100×100 space.
std::string cellName(int n) {
    return "heat(" + std::to_string(n / 10000) + "," + std::to_string(n / 100 % 100) + "," +
           std::to_string(n % 100) + ")(" + std::to_string(100000 + n) + ")";
}

TEST(SDNameTableTest, NamesReadBackUnderTheirFirstNumberInPlaceAndCostLittleMoreThanTheirText) {
    // Lengths around the 8-byte words names are laid in, a NUL inside, names longer than a 1 MiB chunk.
    const std::vector<std::string> texts = {"",
                                            "1234567",
                                            "12345678",
                                            "123456789",
                                            std::string("nul\0inside", 10),
                                            std::string((1 << 20) + 5, 'L'),
                                            "after-long",
                                            std::string(3 << 20, 'M'),
                                            "out"};
    SDNameTable table;
    for (size_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(i, table.intern(texts[i])) << i;
    }
    const char* first = table.name(1).data();
    const uint32_t cells = static_cast<uint32_t>(texts.size());
    for (int n = 0; n < 1000000; ++n) {  // many chunks, the index grown many times
        table.intern(cellName(n));
    }
    ASSERT_EQ(cells + 1000000u, table.size());
    EXPECT_EQ(first, table.name(1).data());
    for (size_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(texts[i], table.name(static_cast<uint32_t>(i))) << i;
        EXPECT_EQ(i, table.intern(texts[i])) << i;
    }
    for (int n = 0; n < 1000000; n += 9973) {
        EXPECT_EQ(cellName(n), table.name(cells + n));
    }
    for (const std::string& absent : {std::string("nul"), std::string("12345679"), cellName(1000000)}) {
        uint32_t id = 7;
        EXPECT_FALSE(table.find(absent, id)) << absent;
        EXPECT_EQ(7u, id);
    }
    // Less the 4 MiB of the two long names, a cell name takes a header word and 24 bytes of text, 4 bytes
    // for its number's place, and two 8-byte slots of an index at most half full: 52 bytes. Held as a
    // string of its own it would take 32 bytes besides its text on the heap: over 70.
    const double perName = static_cast<double>(table.memoryBytes() - (4u << 20)) / 1000000.0;
    EXPECT_LT(perName, 56.0);
    EXPECT_GT(perName, 40.0);
}

}  // namespace
