#include "simdata/SDNameTable.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace {

// A cell name as a 3D run writes it: 22 characters for a 100×100×100 space.
std::string cellName(int n) {
    const int x = n / 10000, y = n / 100 % 100, z = n % 100;
    return "heat(" + std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(z) + ")(" +
           std::to_string(100000 + n) + ")";
}

TEST(SDNameTableTest, EveryNameReadsBackAsGivenUnderTheNumberOfItsFirstAppearance) {
    // Lengths around the 8-byte words names are laid in, a NUL inside a name, and names longer than
    // the 1 MiB chunks that hold the others.
    const std::vector<std::string> texts = {
        "",
        "a",
        "1234567",
        "12345678",
        "123456789",
        std::string("nul\0inside", 10),
        "Root",
        "top",
        std::string((size_t{1} << 20) + 5, 'L'),
        "after-long",
        std::string(3 << 20, 'M'),
        "life(0,3)(06)",
        "out",
    };
    SDNameTable table;
    for (size_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(i, table.intern(texts[i])) << i;
    }
    // Enough further names to fill several chunks and grow the index many times.
    for (int n = 0; n < 200000; ++n) {
        table.intern(cellName(n));
    }
    ASSERT_EQ(texts.size() + 200000, table.size());
    for (size_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(texts[i], table.name(static_cast<uint32_t>(i))) << i;
        uint32_t id = 99;
        ASSERT_TRUE(table.find(texts[i], id)) << i;
        EXPECT_EQ(i, id);
        EXPECT_EQ(i, table.intern(texts[i]));  // a name met again keeps its number
    }
    for (int n = 0; n < 200000; n += 997) {
        EXPECT_EQ(cellName(n), table.name(static_cast<uint32_t>(texts.size() + n)));
    }
    EXPECT_EQ(texts.size() + 200000, table.size());

    // Near misses are not found, and leave the number alone.
    for (const std::string& absent : {std::string("nul"), std::string("12345679"), std::string("Roo"),
                                      std::string((size_t{1} << 20) + 4, 'L'), cellName(200000)}) {
        uint32_t id = 7;
        EXPECT_FALSE(table.find(absent, id)) << absent.substr(0, 20);
        EXPECT_EQ(7u, id);
    }
}

TEST(SDNameTableTest, TextsStayInPlaceAndAMillionCellNamesCostLittleMoreThanTheirText) {
    SDNameTable table;
    const std::string_view first = table.name(table.intern("life(0,0)(03)"));
    const char* where = first.data();
    for (int n = 0; n < 1000000; ++n) {
        table.intern(cellName(n));
    }
    EXPECT_EQ(where, table.name(0).data());
    EXPECT_EQ("life(0,0)(03)", table.name(0));
    // 22 characters a name: a header word and 24 bytes of text, its number's place (4) and a share of
    // an index at most half full of 8-byte slots (2,097,152 of them here): 52 bytes a name. A name
    // held as a string of its own costs 32 bytes besides its text on the heap, 80 with the index.
    const double perName = static_cast<double>(table.memoryBytes()) / 1000001.0;
    EXPECT_LT(perName, 56.0);
    EXPECT_GT(perName, 40.0);  // the figure counts what is held
}

}  // namespace
