#include "shell/LargeBlocks.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <vector>

namespace {

// Takes blocks as an event list does, some right after another (faster than a spare is made), some after a
// pause (finding the one made meanwhile), and fills each. False when one is misaligned, shared or not kept.
bool takeBlocks(int count) {
    std::vector<unsigned char*> blocks;
    for (int i = 0; i < count; ++i) {
        auto* block = static_cast<unsigned char*>(allocateLargeBlock(kLargePageBytes));
        if (block == nullptr || reinterpret_cast<uintptr_t>(block) % kLargePageBytes != 0) {
            return false;
        }
        std::memset(block, i + 1, kLargePageBytes);
        blocks.push_back(block);
        usleep(i % 3 == 2 ? 20000 : 0);
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
    const pid_t child = fork();  // while the spare's thread waits: the child must not wait for it
    ASSERT_GE(child, 0);
    if (child == 0) {
        _exit(takeBlocks(12) ? 0 : 1);
    }
    EXPECT_TRUE(takeBlocks(6));
    int status = 0;
    ASSERT_EQ(child, waitpid(child, &status, 0));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

}  // namespace
