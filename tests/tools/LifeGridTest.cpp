// The Game of Life board: the rules, the torus, and the seeded random start.
#include "tools/LifeGrid.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

namespace {

LifeGrid board(int width, int height, std::initializer_list<std::pair<int, int>> live) {
    LifeGrid grid(width, height);
    for (const auto& [x, y] : live) {
        grid.set(x, y, true);
    }
    return grid;
}

LifeGrid steps(LifeGrid grid, int count) {
    for (int i = 0; i < count; ++i) {
        grid = grid.step();
    }
    return grid;
}

TEST(LifeGridTest, BlinkerTurnsEveryStepAndBlockStaysStill) {
    const LifeGrid across = board(5, 5, {{1, 2}, {2, 2}, {3, 2}});
    const LifeGrid down = board(5, 5, {{2, 1}, {2, 2}, {2, 3}});
    EXPECT_EQ(down, across.step());
    EXPECT_EQ(across, down.step());

    const LifeGrid block = board(6, 6, {{2, 2}, {2, 3}, {3, 2}, {3, 3}});
    EXPECT_EQ(block, block.step());
}

TEST(LifeGridTest, BirthNeedsThreeSurvivalTwoOrThreeAndCrowdingKills) {
    // A plus sign: the centre has four neighbours and dies; each arm tip has three and survives; the four
    // diagonal corners have three live neighbours each and are born.
    const LifeGrid plus = board(7, 7, {{3, 3}, {2, 3}, {4, 3}, {3, 2}, {3, 4}});
    const LifeGrid next = plus.step();
    EXPECT_FALSE(next.alive(3, 3));
    EXPECT_TRUE(next.alive(2, 3));
    EXPECT_TRUE(next.alive(2, 2));
    EXPECT_TRUE(next.alive(4, 4));
    EXPECT_FALSE(next.alive(1, 3));  // one neighbour: stays dead
    EXPECT_EQ(8, next.population());

    // A lone cell and a pair die of loneliness.
    EXPECT_EQ(0, board(5, 5, {{2, 2}}).step().population());
    EXPECT_EQ(0, board(5, 5, {{1, 1}, {1, 2}}).step().population());
}

TEST(LifeGridTest, TheBoardWrapsAtEveryEdge) {
    const LifeGrid corners = board(6, 5, {{5, 4}, {0, 4}, {5, 0}});
    EXPECT_EQ(3, corners.liveNeighbours(0, 0));
    EXPECT_TRUE(corners.alive(-1, -1));
    EXPECT_TRUE(corners.alive(6, 5 + 4));

    // A blinker across the left/right edge turns like any other.
    const LifeGrid across = board(5, 5, {{4, 2}, {0, 2}, {1, 2}});
    EXPECT_EQ(board(5, 5, {{0, 1}, {0, 2}, {0, 3}}), across.step());
}

TEST(LifeGridTest, GliderMovesOneDiagonalStepEveryFourGenerationsAndCirclesTheTorus) {
    const LifeGrid glider = board(8, 8, {{1, 0}, {2, 1}, {0, 2}, {1, 2}, {2, 2}});
    const LifeGrid moved = board(8, 8, {{2, 1}, {3, 2}, {1, 3}, {2, 3}, {3, 3}});
    EXPECT_EQ(moved, steps(glider, 4));
    for (int i = 1; i < 4; ++i) {
        EXPECT_NE(glider, steps(glider, i));
        EXPECT_EQ(5, steps(glider, i).population());
    }
    // Eight diagonal moves bring it back where it started.
    EXPECT_EQ(glider, steps(glider, 32));
}

TEST(LifeGridTest, RandomBoardsFollowTheSeedAndTheDensity) {
    // The generator's output is fixed by its arithmetic: pinned so that samples can be made again.
    LifeRandom random(0);
    EXPECT_EQ(0xE220A8397B1DCDAFull, random.next());
    EXPECT_EQ(0x6E789E6AA1B965F4ull, random.next());

    EXPECT_EQ(LifeGrid::random(30, 20, 0.3, 42), LifeGrid::random(30, 20, 0.3, 42));
    EXPECT_NE(LifeGrid::random(30, 20, 0.3, 42), LifeGrid::random(30, 20, 0.3, 43));
    EXPECT_EQ(0, LifeGrid::random(10, 10, 0.0, 7).population());
    EXPECT_EQ(100, LifeGrid::random(10, 10, 1.0, 7).population());
    const int population = LifeGrid::random(100, 100, 0.3, 7).population();
    EXPECT_GT(population, 2800);
    EXPECT_LT(population, 3200);
}

}  // namespace
