#include "shell/LargeBlocks.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <vector>

namespace {

// Takes `count` blocks of one large page as an event list does, one right after another (faster than a spare
// can be made) and with pauses (each then finds the one made meanwhile); writes each whole. False when a
// block is missing, misaligned, shared with another, or does not keep what was written.
bool takeBlocks(int count) {
    std::vector<unsigned char*> blocks;
    for (int i = 0; i < count; ++i) {
        auto* block = static_cast<unsigned char*>(allocateLargeBlock(kLargePageBytes));
        if (block == nullptr || reinterpret_cast<uintptr_t>(block) % kLargePageBytes != 0) {
            return false;
        }
        std::memset(block, i + 1, kLargePageBytes);
        blocks.push_back(block);
        if (i % 3 == 2) {
            usleep(20000);
        }
    }
    bool kept = std::set<unsigned char*>(blocks.begin(), blocks.end()).size() == blocks.size();
    for (size_t i = 0; i < blocks.size(); ++i) {
        kept = kept && blocks[i][0] == i + 1 && blocks[i][kLargePageBytes - 1] == i + 1;
        freeLargeBlock(blocks[i]);
    }
    return kept;
}

TEST(LargeBlocksTest, BlocksComeWholeAndApartInTheProgramAndInAForkedChild) {
    EXPECT_TRUE(takeBlocks(12));
    // A child forked while a spare is being made must neither wait for the parent's thread nor share memory.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        _exit(takeBlocks(12) ? 0 : 1);
    }
    EXPECT_TRUE(takeBlocks(6));
    int status = 0;
    ASSERT_EQ(child, waitpid(child, &status, 0));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    // Larger blocks are not taken from the spare.
    void* larger = allocateLargeBlock(3 * kLargePageBytes);
    ASSERT_NE(nullptr, larger);
    std::memset(larger, 7, 3 * kLargePageBytes);
    freeLargeBlock(larger);
}

}  // namespace
